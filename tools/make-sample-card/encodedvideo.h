#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

// What one camera shows: an ffmpeg test source with a label burned in.
struct TestPattern {
    std::string source;  // lavfi source name: "testsrc2", "smptebars", ...
    std::string label;   // "CH1 FRONT"; drawn with a running clock when a font is available
    int width = 0;
    int height = 0;
    int seconds = 0;
    int bitrateKbps = 0;  // constant bit rate; 0 for constant quality (small files)
};

// An H.264 stream encoded once by ffmpeg and reused by every recording of a card: the sample
// description box and the samples in decode order. Without B-frames, so decode order is
// presentation order, and with a sync sample every kFramesPerSecond samples, as the recorder
// writes them.
class EncodedVideo {
public:
    static constexpr int kFramesPerSecond = 30;

    // Encodes `pattern` with ffmpeg into `workFolder` and loads the result.
    bool Encode(const TestPattern& pattern, const std::filesystem::path& workFolder,
                std::string& error);
    // Loads the first track of an MP4 file that ffmpeg wrote.
    bool Load(const std::filesystem::path& path, std::string& error);

    std::size_t SampleCount() const { return samples_.size(); }
    std::span<const std::uint8_t> Sample(std::size_t index) const;
    // The complete stsd box of the track (avc1 entry with its avcC).
    std::span<const std::uint8_t> SampleDescription() const;
    int width() const { return width_; }
    int height() const { return height_; }

private:
    struct SampleRef {
        std::uint32_t offset;
        std::uint32_t size;
    };

    std::vector<std::uint8_t> file_;  // the whole ffmpeg output; samples point into it
    std::vector<SampleRef> samples_;
    SampleRef sampleDescription_{};
    int width_ = 0;
    int height_ = 0;
};
