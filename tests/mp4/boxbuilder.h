#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

// Builders of small MP4 byte images for the reader's tests and fuzz seeds.
namespace mp4test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes U32(std::uint32_t value) {
    return {static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
            static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)};
}

inline Bytes Text(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

inline Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts) {
        out.insert(out.end(), part.begin(), part.end());
    }
    return out;
}

// Writes `bytes` as the file `path` and returns the path.
inline std::filesystem::path WriteBytes(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return path;
}

// A box with an arbitrary size field (to show what the reader does with wrong sizes).
inline Bytes RawBox(std::uint32_t sizeField, std::string_view type, const Bytes& payload = {}) {
    return Cat({U32(sizeField), Text(type), payload});
}

inline Bytes Box(std::string_view type, const Bytes& payload = {}) {
    return RawBox(static_cast<std::uint32_t>(8 + payload.size()), type, payload);
}

inline Bytes Box(std::string_view type, std::initializer_list<Bytes> parts) {
    return Box(type, Cat(parts));
}

// A box whose payload starts with a version-and-flags word.
inline Bytes FullBox(std::string_view type, std::uint32_t versionAndFlags, const Bytes& payload) {
    return Box(type, Cat({U32(versionAndFlags), payload}));
}

// Track header, version 0: the duration lies at byte 28.
inline Bytes Tkhd(std::uint32_t durationMs) {
    return FullBox("tkhd", 7, Cat({U32(0), U32(0), U32(1), U32(0), U32(durationMs), Bytes(60)}));
}

// Chunk offsets with their entry count.
inline Bytes Stco(const std::vector<std::uint32_t>& offsets) {
    Bytes payload = U32(static_cast<std::uint32_t>(offsets.size()));
    payload.reserve(4 + 4 * offsets.size());
    for (const std::uint32_t offset : offsets) {
        for (int shift = 24; shift >= 0; shift -= 8) {
            payload.push_back(static_cast<std::uint8_t>(offset >> shift));
        }
    }
    return FullBox("stco", 0, payload);
}

// A recording in the recorder's layout: ftyp, mdat (28 leading bytes, then every track's samples,
// one sample per chunk), moov with one trak per track; or ftyp, moov, mdat with MovieFirst(), so
// that the last sample ends the file.
class RecordingBuilder {
public:
    // Video tracks get a "vmhd", the metadata track an "nmhd" media header.
    RecordingBuilder& VideoTrack(std::vector<Bytes> samples, std::uint32_t durationMs = 60000) {
        tracks_.push_back({true, std::move(samples), durationMs, {}});
        return *this;
    }
    RecordingBuilder& MetadataTrack(std::vector<Bytes> samples, std::uint32_t durationMs = 60000) {
        tracks_.push_back({false, std::move(samples), durationMs, {}});
        return *this;
    }
    // Chunk offsets appended to the last track's table, pointing wherever they say.
    RecordingBuilder& ExtraChunkOffsets(std::vector<std::uint32_t> offsets) {
        tracks_.back().extraOffsets = std::move(offsets);
        return *this;
    }
    RecordingBuilder& MovieFirst() {
        movieFirst_ = true;
        return *this;
    }

    Bytes Build() const {
        const Bytes ftyp = Box("ftyp", Text(std::string_view("isom\0\0\0\0isomavc1", 16)));
        // The movie box's size does not depend on the offset values: build it once to know
        // where the media data starts.
        const std::size_t moovSize = Moov(0).size();
        const std::size_t firstSample = ftyp.size() + (movieFirst_ ? moovSize : 0) + 8 + 28;
        const Bytes moov = Moov(static_cast<std::uint32_t>(firstSample));
        Bytes media(28);  // the recorder's leading bytes; zeros end the walk of the media data
        for (const Track& track : tracks_) {
            for (const Bytes& sample : track.samples) {
                media.insert(media.end(), sample.begin(), sample.end());
            }
        }
        return movieFirst_ ? Cat({ftyp, moov, Box("mdat", media)})
                           : Cat({ftyp, Box("mdat", media), moov});
    }

private:
    struct Track {
        bool video;
        std::vector<Bytes> samples;
        std::uint32_t durationMs;
        std::vector<std::uint32_t> extraOffsets;
    };

    Bytes Moov(std::uint32_t firstSample) const {
        Bytes traks;
        std::uint32_t offset = firstSample;
        for (const Track& track : tracks_) {
            std::vector<std::uint32_t> offsets;
            for (const Bytes& sample : track.samples) {
                offsets.push_back(offset);
                offset += static_cast<std::uint32_t>(sample.size());
            }
            offsets.insert(offsets.end(), track.extraOffsets.begin(), track.extraOffsets.end());
            traks = Cat({traks, Trak(track, offsets)});
        }
        return Box("moov", {FullBox("mvhd", 0, Bytes(96)), traks});
    }

    static Bytes Trak(const Track& track, const std::vector<std::uint32_t>& offsets) {
        const Bytes header = track.video ? FullBox("vmhd", 1, Bytes(8)) : FullBox("nmhd", 0, {});
        const Bytes stbl = Box("stbl", {FullBox("stsd", 0, U32(0)), FullBox("stts", 0, U32(0)),
                                        FullBox("stsc", 0, U32(0)), Stco(offsets)});
        const Bytes minf = Box("minf", {header, stbl});
        const Bytes mdia = Box("mdia", {FullBox("mdhd", 0, Bytes(20)), minf});
        return Box("trak", {Tkhd(track.durationMs), mdia});
    }

    std::vector<Track> tracks_;
    bool movieFirst_ = false;
};

}  // namespace mp4test
