#include "encodedvideo.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <optional>
#include <string_view>

#include "childprocess.h"

namespace {

constexpr const char* kFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

// A box found in a byte buffer: where its payload starts and ends.
struct BoxRange {
    std::size_t start = 0;    // offset of the header
    std::size_t payload = 0;  // offset of the payload
    std::size_t end = 0;      // one past the last byte
};

std::uint32_t ReadU32(const std::vector<std::uint8_t>& data, std::size_t offset) {
    return static_cast<std::uint32_t>(data[offset]) << 24 | data[offset + 1] << 16 |
           data[offset + 2] << 8 | data[offset + 3];
}

// The first direct child of type `type` between `begin` and `end`. Sizes are checked against
// the range so that a damaged file cannot lead outside the buffer.
std::optional<BoxRange> FindChild(const std::vector<std::uint8_t>& data, std::size_t begin,
                                  std::size_t end, std::string_view type) {
    std::size_t position = begin;
    while (end >= 8 && position <= end - 8) {
        const std::uint32_t size = ReadU32(data, position);
        if (size < 8 || size > end - position) {
            return std::nullopt;
        }
        if (std::string_view(reinterpret_cast<const char*>(&data[position + 4]), 4) == type) {
            return BoxRange{position, position + 8, position + size};
        }
        position += size;
    }
    return std::nullopt;
}

std::optional<BoxRange> FindPath(const std::vector<std::uint8_t>& data,
                                 std::initializer_list<std::string_view> path) {
    BoxRange range{0, 0, data.size()};
    for (std::string_view type : path) {
        const auto child = FindChild(data, range.payload, range.end, type);
        if (!child) {
            return std::nullopt;
        }
        range = *child;
    }
    return range;
}

// The 32-bit entries of a full box table: version and flags, the entry count, then
// `fieldsPerEntry` words per entry after `skip` extra header words.
std::optional<std::vector<std::uint32_t>> ReadTable(const std::vector<std::uint8_t>& data,
                                                    const BoxRange& box, std::size_t skip,
                                                    std::size_t fieldsPerEntry) {
    const std::size_t countOffset = box.payload + 4 + 4 * skip;
    if (countOffset + 4 > box.end) {
        return std::nullopt;
    }
    const std::size_t count = ReadU32(data, countOffset);
    const std::size_t words = count * fieldsPerEntry;
    if (words > (box.end - countOffset - 4) / 4) {
        return std::nullopt;
    }
    std::vector<std::uint32_t> table(words);
    for (std::size_t i = 0; i < words; ++i) {
        table[i] = ReadU32(data, countOffset + 4 + 4 * i);
    }
    return table;
}

std::string FilterGraph(const TestPattern& pattern) {
    std::string graph = pattern.source + "=size=" + std::to_string(pattern.width) + "x" +
                        std::to_string(pattern.height) +
                        ":rate=" + std::to_string(EncodedVideo::kFramesPerSecond) +
                        ":duration=" + std::to_string(pattern.seconds);
    // Labels below this height would be unreadable smudges.
    if (pattern.height >= 120 && std::filesystem::exists(kFontFile)) {
        const int fontSize = pattern.height / 20;
        graph +=
            ",drawtext=fontfile=" + std::string(kFontFile) + ":text='" + pattern.label +
            "  %{pts\\:hms}':x=" + std::to_string(fontSize) + ":y=" + std::to_string(fontSize) +
            ":fontsize=" + std::to_string(fontSize) +
            ":fontcolor=white:box=1:boxcolor=black@0.6:boxborderw=" + std::to_string(fontSize / 4);
    }
    return graph;
}

}  // namespace

bool EncodedVideo::Encode(const TestPattern& pattern, const std::filesystem::path& workFolder,
                          std::string& error) {
    const std::filesystem::path output = workFolder / (pattern.source + ".mp4");
    const std::string keyInterval = std::to_string(kFramesPerSecond);
    std::vector<std::string> command = {"ffmpeg",
                                              "-nostdin",
                                              "-hide_banner",
                                              "-v",
                                              "error",
                                              "-y",
                                              "-f",
                                              "lavfi",
                                              "-i",
                                              FilterGraph(pattern),
                                              "-c:v",
                                              "libx264",
                                              "-preset",
                                              "veryfast",
                                              "-profile:v",
                                              "main",
                                              "-pix_fmt",
                                              "yuv420p",
                                              "-bf",
                                              "0",
                                              "-g",
                                              keyInterval,
                                              "-keyint_min",
                                              keyInterval,
                                              "-sc_threshold",
                                              "0",
                                              output.string()};
    std::vector<std::string> rate = {"-crf", "30"};
    if (pattern.bitrateKbps > 0) {
        // Filler data keeps the rate constant even for patterns that compress to nothing, so
        // the file size follows from the rate (benchmarks ask for recordings of a given size).
        const std::string kbps = std::to_string(pattern.bitrateKbps) + "k";
        rate = {"-b:v", kbps, "-minrate", kbps, "-maxrate", kbps,
                "-bufsize", std::to_string(pattern.bitrateKbps * 2) + "k",
                "-x264-params", "nal-hrd=cbr:force-cfr=1"};
    }
    command.insert(command.end() - 1, rate.begin(), rate.end());
    if (!RunChildProcess(command, error)) {
        error = "encoding " + pattern.source + ": " + error;
        return false;
    }
    return Load(output, error);
}

bool EncodedVideo::Load(const std::filesystem::path& path, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    file_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) {
        error = "cannot read " + path.string();
        return false;
    }
    error = path.string() + ": not an MP4 file with one video track";
    const auto track = FindPath(file_, {"moov", "trak"});
    if (!track) {
        return false;
    }
    const auto tableOf = [&](std::string_view type) {
        return FindPath(file_, {"moov", "trak", "mdia", "minf", "stbl", type});
    };
    const auto header = FindPath(file_, {"moov", "trak", "tkhd"});
    const auto stsd = tableOf("stsd");
    const auto stsz = tableOf("stsz");
    const auto stsc = tableOf("stsc");
    const auto stco = tableOf("stco");
    const auto stss = tableOf("stss");
    if (!header || !stsd || !stsz || !stsc || !stco || !stss) {
        return false;
    }
    // Width and height close the track header; version 1 has 12 more bytes of times before.
    const std::size_t sizeOffset = header->payload + (file_[header->payload] == 1 ? 88 : 76);
    if (sizeOffset + 8 > header->end) {
        return false;
    }
    width_ = static_cast<int>(ReadU32(file_, sizeOffset) >> 16);
    height_ = static_cast<int>(ReadU32(file_, sizeOffset + 4) >> 16);
    sampleDescription_ = {static_cast<std::uint32_t>(stsd->start),
                          static_cast<std::uint32_t>(stsd->end - stsd->start)};

    // stsz: version and flags, a constant size (0 here), the count, the sizes.
    const auto sizes = ReadTable(file_, *stsz, 1, 1);
    const auto runs = ReadTable(file_, *stsc, 0, 3);
    const auto chunks = ReadTable(file_, *stco, 0, 1);
    const auto syncs = ReadTable(file_, *stss, 0, 1);
    if (!sizes || !runs || !chunks || !syncs || runs->empty() ||
        ReadU32(file_, stsz->payload + 4) != 0) {
        return false;
    }

    samples_.clear();
    std::size_t run = 0;
    for (std::size_t chunk = 0; chunk < chunks->size(); ++chunk) {
        while (run + 1 < runs->size() / 3 && (*runs)[3 * (run + 1)] <= chunk + 1) {
            ++run;
        }
        std::size_t offset = (*chunks)[chunk];
        for (std::uint32_t k = 0; k < (*runs)[3 * run + 1] && samples_.size() < sizes->size();
             ++k) {
            const std::uint32_t size = (*sizes)[samples_.size()];
            if (size > file_.size() || offset > file_.size() - size) {
                return false;
            }
            samples_.push_back({static_cast<std::uint32_t>(offset), size});
            offset += size;
        }
    }
    if (samples_.size() != sizes->size()) {
        return false;
    }
    // The recorder's layout needs a sync sample exactly every kFramesPerSecond samples.
    for (std::size_t i = 0; i < syncs->size(); ++i) {
        if ((*syncs)[i] != i * kFramesPerSecond + 1) {
            error = path.string() + ": sync samples are not every " +
                    std::to_string(kFramesPerSecond) + " frames";
            return false;
        }
    }
    if (syncs->size() != (samples_.size() + kFramesPerSecond - 1) / kFramesPerSecond) {
        error = path.string() + ": too few sync samples";
        return false;
    }
    error.clear();
    return true;
}

std::span<const std::uint8_t> EncodedVideo::Sample(std::size_t index) const {
    const SampleRef& ref = samples_.at(index);
    return {file_.data() + ref.offset, ref.size};
}

std::span<const std::uint8_t> EncodedVideo::SampleDescription() const {
    return {file_.data() + sampleDescription_.offset, sampleDescription_.size};
}
