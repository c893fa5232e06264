#include "recordingwriter.h"

#include <algorithm>
#include <fstream>
#include <numeric>

#include "boxwriter.h"

namespace {

constexpr std::uint32_t kTimeScale = 1000;
constexpr std::int64_t kSecondsFrom1904To1970 = 2082844800;
constexpr std::uint16_t kLanguageUndetermined = 0x55C4;

struct Placement {
    std::uint64_t end;  // when the sample ends, in milliseconds
    std::size_t track;
    std::size_t sample;
};

std::uint32_t TrackDuration(const RecordingTrack& track) {
    return std::accumulate(track.durations.begin(), track.durations.end(), std::uint32_t{0});
}

// How the movie and media headers (version 0) start: creation and modification time, time
// scale, duration.
void WriteHeaderTimes(BoxWriter& out, std::uint32_t created, std::uint32_t duration) {
    out.U32(created);
    out.U32(created);
    out.U32(kTimeScale);
    out.U32(duration);
}

void WriteTimeToSample(BoxWriter& out, const RecordingTrack& track) {
    std::vector<std::pair<std::uint32_t, std::uint32_t>> runs;  // count, delta
    for (std::uint32_t delta : track.durations) {
        if (!runs.empty() && runs.back().second == delta) {
            ++runs.back().first;
        } else {
            runs.emplace_back(1, delta);
        }
    }
    auto box = out.FullBox("stts", 0, 0);
    out.U32(static_cast<std::uint32_t>(runs.size()));
    for (const auto& [count, delta] : runs) {
        out.U32(count);
        out.U32(delta);
    }
}

void WriteSyncSamples(BoxWriter& out, const RecordingTrack& track) {
    const auto count = static_cast<std::uint32_t>(track.samples.size());
    auto box = out.FullBox("stss", 0, 0);
    out.U32((count + track.syncInterval - 1) / track.syncInterval);
    for (std::uint32_t sample = 1; sample <= count; sample += track.syncInterval) {
        out.U32(sample);
    }
}

void WriteSampleSizes(BoxWriter& out, const RecordingTrack& track) {
    auto box = out.FullBox("stsz", 0, 0);
    if (track.constantSize && !track.samples.empty()) {
        out.U32(static_cast<std::uint32_t>(track.samples.front().size()));
        out.U32(static_cast<std::uint32_t>(track.samples.size()));
        return;
    }
    out.U32(0);
    out.U32(static_cast<std::uint32_t>(track.samples.size()));
    for (const auto& sample : track.samples) {
        out.U32(static_cast<std::uint32_t>(sample.size()));
    }
}

void WriteMetadataDescription(BoxWriter& out) {
    auto stsd = out.FullBox("stsd", 0, 0);
    out.U32(1);
    auto entry = out.Box("mett");
    out.Zeros(6);
    out.U16(1);  // data reference index
    out.CString("");
    out.CString("application/octet-stream");
}

void WriteSampleTable(BoxWriter& out, const RecordingTrack& track,
                      const std::vector<std::uint32_t>& chunkOffsets) {
    auto stbl = out.Box("stbl");
    if (track.kind == RecordingTrack::Kind::Video) {
        out.Bytes(track.sampleDescription);
    } else {
        WriteMetadataDescription(out);
    }
    WriteTimeToSample(out, track);
    if (track.kind == RecordingTrack::Kind::Video) {
        WriteSyncSamples(out, track);
    }
    {
        auto stsc = out.FullBox("stsc", 0, 0);
        out.U32(1);
        out.U32(1);  // from the first chunk on:
        out.U32(1);  // one sample per chunk,
        out.U32(1);  // described by the first entry
    }
    WriteSampleSizes(out, track);
    auto stco = out.FullBox("stco", 0, 0);
    out.U32(static_cast<std::uint32_t>(chunkOffsets.size()));
    for (std::uint32_t offset : chunkOffsets) {
        out.U32(offset);
    }
}

void WriteTrack(BoxWriter& out, const RecordingTrack& track, std::uint32_t trackId,
                std::uint32_t created, const std::vector<std::uint32_t>& chunkOffsets) {
    const bool video = track.kind == RecordingTrack::Kind::Video;
    const std::uint32_t duration = TrackDuration(track);
    auto trak = out.Box("trak");
    {
        auto tkhd = out.FullBox("tkhd", 0, 3);  // enabled, in the movie
        out.U32(created);
        out.U32(created);
        out.U32(trackId);
        out.U32(0);
        out.U32(duration);
        out.Zeros(8);
        out.U16(0);  // layer
        out.U16(0);  // alternate group
        out.U16(0);  // volume
        out.U16(0);
        out.IdentityMatrix();
        out.U32(static_cast<std::uint32_t>(video ? track.width : 0) << 16);
        out.U32(static_cast<std::uint32_t>(video ? track.height : 0) << 16);
    }
    auto mdia = out.Box("mdia");
    {
        auto mdhd = out.FullBox("mdhd", 0, 0);
        WriteHeaderTimes(out, created, duration);
        out.U16(kLanguageUndetermined);
        out.U16(0);
    }
    {
        auto hdlr = out.FullBox("hdlr", 0, 0);
        out.U32(0);
        out.FourCC(video ? "vide" : "meta");
        out.Zeros(12);
        out.CString(video ? "VideoHandler" : "MetadataHandler");
    }
    auto minf = out.Box("minf");
    if (video) {
        auto vmhd = out.FullBox("vmhd", 0, 1);
        out.Zeros(8);  // graphics mode and colour
    } else {
        auto nmhd = out.FullBox("nmhd", 0, 0);
    }
    {
        auto dinf = out.Box("dinf");
        auto dref = out.FullBox("dref", 0, 0);
        out.U32(1);
        auto url = out.FullBox("url ", 0, 1);  // data in this file
    }
    WriteSampleTable(out, track, chunkOffsets);
}

std::vector<std::uint8_t> FileType() {
    BoxWriter out;
    {
        auto ftyp = out.Box("ftyp");
        out.FourCC("isom");
        out.U32(0x200);
        for (const char* brand : {"isom", "iso2", "avc1", "mp41"}) {
            out.FourCC(brand);
        }
    }
    return out.data();
}

// The 28 bytes of media data that precede the samples; readers see them as a free box.
std::vector<std::uint8_t> LeadingData() {
    BoxWriter out;
    {
        auto free = out.Box("free");
        out.Bytes(std::span(reinterpret_cast<const std::uint8_t*>("KORVANE SAMPLE CARD "), 20));
    }
    return out.data();
}

}  // namespace

bool WriteRecording(const std::filesystem::path& path, std::span<const RecordingTrack> tracks,
                    std::int64_t created, std::string& error) {
    // Interleave: every sample goes where the recorder would have it finished.
    std::vector<Placement> order;
    for (std::size_t t = 0; t < tracks.size(); ++t) {
        std::uint64_t end = 0;
        for (std::size_t s = 0; s < tracks[t].samples.size(); ++s) {
            end += tracks[t].durations[s];
            order.push_back({end, t, s});
        }
    }
    std::stable_sort(order.begin(), order.end(),
                     [](const Placement& a, const Placement& b) { return a.end < b.end; });

    const std::vector<std::uint8_t> fileType = FileType();
    const std::vector<std::uint8_t> leading = LeadingData();
    std::uint64_t offset = fileType.size() + 8 + leading.size();
    std::vector<std::vector<std::uint32_t>> chunkOffsets(tracks.size());
    for (const Placement& placement : order) {
        chunkOffsets[placement.track].push_back(static_cast<std::uint32_t>(offset));
        offset += tracks[placement.track].samples[placement.sample].size();
    }
    const std::uint64_t mediaSize = offset - fileType.size();
    if (offset > 0x7FFFFFFF) {
        error = path.string() + ": a recording must stay below 2 GiB";
        return false;
    }

    const auto created1904 = static_cast<std::uint32_t>(created + kSecondsFrom1904To1970);
    std::uint32_t movieDuration = 0;
    for (const RecordingTrack& track : tracks) {
        movieDuration = std::max(movieDuration, TrackDuration(track));
    }
    BoxWriter movie;
    {
        auto moov = movie.Box("moov");
        {
            auto mvhd = movie.FullBox("mvhd", 0, 0);
            WriteHeaderTimes(movie, created1904, movieDuration);
            movie.U32(0x10000);  // rate 1.0
            movie.U16(0x100);    // volume 1.0
            movie.Zeros(10);
            movie.IdentityMatrix();
            movie.Zeros(24);
            movie.U32(static_cast<std::uint32_t>(tracks.size() + 1));
        }
        {
            auto iods = movie.FullBox("iods", 0, 0);
            movie.U8(0x10);  // initial object descriptor
            movie.U8(7);
            movie.U16(0x004F);  // descriptor id 1, no URL, no inline profiles
            for (int profile = 0; profile < 5; ++profile) {
                movie.U8(0xFF);  // OD, scene, audio, visual, graphics: no profile required
            }
        }
        for (std::size_t t = 0; t < tracks.size(); ++t) {
            WriteTrack(movie, tracks[t], static_cast<std::uint32_t>(t + 1), created1904,
                       chunkOffsets[t]);
        }
    }

    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    const auto put = [&out](std::span<const std::uint8_t> bytes) {
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    };
    put(fileType);
    BoxWriter mediaHeader;
    mediaHeader.U32(static_cast<std::uint32_t>(mediaSize));
    mediaHeader.FourCC("mdat");
    put(mediaHeader.data());
    put(leading);
    for (const Placement& placement : order) {
        put(tracks[placement.track].samples[placement.sample]);
    }
    put(movie.data());
    out.close();
    if (!out) {
        error = "cannot write " + path.string();
        return false;
    }
    return true;
}
