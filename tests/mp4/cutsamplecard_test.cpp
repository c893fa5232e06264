// Cuts of recordings written by the sample-card maker in the recorder's layout (two H.264
// channels at 30 frames a second with a sync frame every 30, a metadata track), checked with
// our reader, ffprobe, ffmpeg's decoder and VLC.

#include "mp4/mp4fileloader.h"
#include "mp4/timerangeextractor.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>

#include "cutcheck.h"
#include "testsupport/tempdir.h"

namespace {

constexpr int kSeconds = 60;
constexpr int kFramesPerSecond = 30;

struct CommandResult {
    int status = -1;
    std::string output;  // standard output and standard error
};

CommandResult RunCommand(const std::string& command) {
    CommandResult result;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) {
        return result;
    }
    char buffer[4096];
    while (const std::size_t got = fread(buffer, 1, sizeof buffer, pipe)) {
        result.output.append(buffer, got);
    }
    result.status = pclose(pipe);
    return result;
}

struct Recording {
    std::filesystem::path path;
    bool tagged = false;
};

class CutSampleCardTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = std::make_unique<TempDir>();
        const std::filesystem::path card = dir_->path() / "card";
        const std::filesystem::path manifest = dir_->path() / "manifest.txt";
        // Two recordings of a minute: the first tagged, the second untagged.
        const CommandResult made = RunCommand(std::string(KORVANE_MAKE_SAMPLE_CARD) +
                                              " --count 2 --duration 60 --resolution 160x120 "
                                              "--no-extras --manifest " +
                                              manifest.string() + " " + card.string());
        ASSERT_EQ(made.status, 0) << made.output;
        std::ifstream in(manifest);
        std::string line;
        while (std::getline(in, line)) {
            std::istringstream fields(line);
            std::string kind, path, channels, layout;
            std::getline(fields, kind, '\t');
            std::getline(fields, path, '\t');
            std::getline(fields, channels, '\t');
            std::getline(fields, layout, '\t');
            recordings_.push_back({card / path, layout == "tagged"});
        }
    }
    static void TearDownTestSuite() {
        recordings_.clear();
        dir_.reset();
    }

    static std::unique_ptr<TempDir> dir_;
    static std::vector<Recording> recordings_;
    TempDir out_;
};

std::unique_ptr<TempDir> CutSampleCardTest::dir_;
std::vector<Recording> CutSampleCardTest::recordings_;

CRecordingInfo LoadMetadata(const std::filesystem::path& path) {
    CRecordingInfo recording({2024, 5, 2, 8, 10, 0}, RecordingType::Always, path.string(),
                             path.filename().string());
    MP4FileLoader loader;
    EXPECT_TRUE(loader.GetMetadataFromMP4File(recording)) << loader.LastError();
    return recording;
}

// `part` equals `count` elements of `whole` from `first` on, field by field.
template <typename Sample, typename Fields>
void ExpectSlice(const std::vector<Sample>& part, const std::vector<Sample>& whole,
                 std::size_t first, std::size_t count, Fields fields) {
    ASSERT_EQ(part.size(), count);
    ASSERT_LE(first + count, whole.size());
    for (std::size_t k = 0; k < count; ++k) {
        EXPECT_EQ(fields(part[k]), fields(whole[first + k])) << "sample " << k;
    }
}

TEST_F(CutSampleCardTest, CutsPlayAndKeepEveryTrack) {
    ASSERT_EQ(recordings_.size(), 2u);
    const std::pair<int, int> ranges[] = {{10, 19}, {0, 0}, {0, 59}, {55, 200}, {59, 59}};
    for (const Recording& recording : recordings_) {
        const CRecordingInfo source = LoadMetadata(recording.path);
        // Metadata samples a second: tagged one record; untagged one sentence, four readings.
        const int metadataPerSecond = recording.tagged ? 1 : 5;
        for (const auto& [start, end] : ranges) {
            SCOPED_TRACE(recording.path.filename().string() + " " + std::to_string(start) + " to " +
                         std::to_string(end));
            const int seconds = std::min(end + 1, kSeconds) - start;
            const std::filesystem::path output =
                out_.path() / ("cut-" + std::to_string(start) + "-" + std::to_string(end) +
                               (recording.tagged ? "-t" : "-u") + ".mp4");
            std::string error;
            ASSERT_TRUE(ExtractTimeRange(recording.path, start, end, output, error)) << error;

            std::vector<std::uint32_t> sync;
            for (int frame = 1; frame <= seconds * kFramesPerSecond; frame += kFramesPerSecond) {
                sync.push_back(static_cast<std::uint32_t>(frame));
            }
            const auto frames = [&](int count) { return static_cast<std::uint32_t>(count); };
            const cutcheck::ExpectedTrack video{frames(start * kFramesPerSecond),
                                                frames(seconds * kFramesPerSecond),
                                                frames(seconds * 1000), sync};
            cutcheck::ExpectCut(recording.path, output,
                                {video,
                                 video,
                                 {frames(start * metadataPerSecond),
                                  frames(seconds * metadataPerSecond), frames(seconds * 1000)}});

            const CommandResult probe = RunCommand(
                "ffprobe -v error -show_entries stream=nb_frames -of csv=p=0 " + output.string());
            EXPECT_EQ(probe.status, 0);
            EXPECT_EQ(probe.output, std::to_string(seconds * kFramesPerSecond) + "\n" +
                                        std::to_string(seconds * kFramesPerSecond) + "\n" +
                                        std::to_string(seconds * metadataPerSecond) + "\n");
            for (const char* stream : {"0:v:0", "0:v:1"}) {
                const CommandResult decoded =
                    RunCommand("ffmpeg -nostdin -v error -i " + output.string() + " -map " +
                               stream + " -f null -");
                EXPECT_EQ(decoded.status, 0) << stream;
                EXPECT_EQ(decoded.output, "") << stream;
            }

            // Our own reader finds the range's metadata, and the new length.
            const CRecordingInfo cut = LoadMetadata(output);
            EXPECT_EQ(cut.durationSeconds, seconds);
            EXPECT_EQ(cut.tagged, recording.tagged);
            const std::size_t gpsPerSecond = source.gpsSamples.size() / kSeconds;
            const std::size_t gSensorPerSecond = source.gSensorSamples.size() / kSeconds;
            ExpectSlice(
                cut.gpsSamples, source.gpsSamples, start * gpsPerSecond, seconds * gpsPerSecond,
                [](const GpsSample& s) { return std::tuple(s.latitude, s.longitude, s.speedKmh); });
            ExpectSlice(cut.gSensorSamples, source.gSensorSamples, start * gSensorPerSecond,
                        seconds * gSensorPerSecond, [](const GSensorSample& s) {
                            return std::tuple(s.x, s.y, s.z, s.secondX, s.secondY, s.secondZ);
                        });
        }
    }
}

// VLC (the engine the viewer plays through) opens a cut and plays it to its end. VLC will not
// run as root, so there it runs as nobody.
TEST_F(CutSampleCardTest, VlcPlaysCutToItsEnd) {
    if (RunCommand("command -v cvlc").status != 0) {
        GTEST_SKIP() << "cvlc is not installed";
    }
    const std::filesystem::path output = out_.path() / "vlc.mp4";
    std::string error;
    ASSERT_TRUE(ExtractTimeRange(recordings_.at(0).path, 20, 22, output, error)) << error;
    chmod(out_.path().c_str(), 0755);
    chmod(output.c_str(), 0644);
    const std::string asUser =
        geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups env HOME=/tmp " : "";
    const auto started = std::chrono::steady_clock::now();
    const CommandResult played =
        RunCommand("timeout 60 " + asUser +
                   "cvlc -vv --play-and-exit --no-video-title-show --vout=dummy --aout=dummy " +
                   output.string());
    const auto elapsed = std::chrono::steady_clock::now() - started;
    EXPECT_EQ(played.status, 0);
    EXPECT_NE(played.output.find("main input debug: EOF reached"), std::string::npos);
    EXPECT_NE(played.output.find("end of playlist, exiting"), std::string::npos);
    EXPECT_EQ(played.output.find("demux error"), std::string::npos) << played.output;
    EXPECT_EQ(played.output.find("decoder error"), std::string::npos) << played.output;
    // Real-time playback of the three seconds.
    EXPECT_GE(elapsed, std::chrono::milliseconds(2500));
}

TEST_F(CutSampleCardTest, ToolCutsAndReportsFailures) {
    const std::string tool = KORVANE_TOOL;
    const std::string source = recordings_.at(0).path.string();
    const std::string output = (out_.path() / "tool.mp4").string();
    struct Case {
        std::string arguments;
        int status;
        const char* says;
    };
    const Case cases[] = {
        {source + " 00:00:10 00:00:12 " + output, 0, "Saved seconds 10 to 12"},
        {source + " 10 12 " + output, 1, "already exists"},
        {source + " 70 80 " + output + ".2.mp4", 1, "holds no samples"},
        {source + " 00:01 12 " + output + ".3.mp4", 1, "HH:MM:SS"},
        {source + " 10", 1, "give SRC START END DST"},
        {"--help", 0, "Usage: korvane-tool cut"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        const CommandResult result = RunCommand(tool + " cut " + c.arguments);
        EXPECT_EQ(WEXITSTATUS(result.status), c.status) << result.output;
        EXPECT_NE(result.output.find(c.says), std::string::npos) << result.output;
    }
    const CommandResult probe =
        RunCommand("ffprobe -v error -show_entries format=duration -of csv=p=0 " + output);
    EXPECT_EQ(probe.output, "3.000000\n");
}

}  // namespace
