// The sample SD card as a whole: what make-sample-card writes must be accepted by ffprobe and
// decode cleanly with ffmpeg, and our scan, reader and command-line tool must see in it exactly
// what the card maker says it wrote.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include "mp4/mp4fileloader.h"
#include "recordings/fileloader.h"
#include "recordings/recordingscan.h"
#include "testsupport/tempdir.h"

namespace fs = std::filesystem;

namespace {

struct ProcessResult {
    int status = -1;
    std::string output;  // standard output, and standard error when asked for
};

std::string Quote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

ProcessResult RunShell(const std::string& command) {
    ProcessResult result;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return result;
    }
    char buffer[4096];
    std::size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        result.output.append(buffer, count);
    }
    const int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

bool HaveFfmpeg() {
    return std::system("command -v ffmpeg >/dev/null 2>&1 && command -v ffprobe >/dev/null 2>&1") ==
           0;
}

// One line of the card maker's manifest.
struct Entry {
    std::string kind;
    std::string path;  // below the card root
    int channels = 0;
    std::string layout;
    std::string start;  // "YYYY-MM-DD HH:MM:SS"
    int seconds = 0;

    bool IsRecording() const {
        return kind == "Always" || kind == "Event" || kind == "Parking" || kind == "ParkingMotion";
    }
};

// A card written once for all tests of this file: small frames, a few seconds each.
class SampleCard : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!HaveFfmpeg()) {
            return;
        }
        folder_ = new TempDir;
        card_ = folder_->path() / "card";
        const fs::path manifest = folder_->path() / "manifest.tsv";
        const ProcessResult made =
            RunShell(Quote(KORVANE_MAKE_SAMPLE_CARD) +
                     " --count 6 --duration 2-3 --resolution 160x96 --seed 7 --manifest " +
                     Quote(manifest.string()) + " " + Quote(card_.string()) + " 2>&1");
        ASSERT_EQ(made.status, 0) << made.output;
        std::ifstream in(manifest);
        std::string line;
        while (std::getline(in, line)) {
            std::istringstream fields(line);
            Entry entry;
            std::string channels;
            std::string seconds;
            std::getline(fields, entry.kind, '\t');
            std::getline(fields, entry.path, '\t');
            std::getline(fields, channels, '\t');
            std::getline(fields, entry.layout, '\t');
            std::getline(fields, entry.start, '\t');
            std::getline(fields, seconds, '\t');
            entry.channels = std::stoi(channels);
            entry.seconds = std::stoi(seconds);
            entries_.push_back(entry);
        }
    }
    static void TearDownTestSuite() {
        delete folder_;
        folder_ = nullptr;
    }
    void SetUp() override {
        if (folder_ == nullptr) {
            GTEST_SKIP() << "ffmpeg and ffprobe are needed to make the sample card";
        }
    }

    static std::vector<Entry> Recordings() {
        std::vector<Entry> recordings;
        for (const Entry& entry : entries_) {
            if (entry.IsRecording()) {
                recordings.push_back(entry);
            }
        }
        return recordings;
    }
    static const Entry& Extra(const std::string& kind) {
        for (const Entry& entry : entries_) {
            if (entry.kind == kind) {
                return entry;
            }
        }
        throw std::runtime_error("no " + kind);
    }
    static std::string PathOf(const Entry& entry) { return (card_ / entry.path).string(); }

    static inline TempDir* folder_ = nullptr;
    static inline fs::path card_;
    static inline std::vector<Entry> entries_;
};

}  // namespace

TEST_F(SampleCard, WritesEveryKindAndTheExtras) {
    std::map<std::string, int> kinds;
    int oneChannel = 0;
    for (const Entry& entry : entries_) {
        ++kinds[entry.kind];
        oneChannel += entry.channels == 1 ? 1 : 0;
    }
    EXPECT_EQ(kinds["Always"] + kinds["Event"] + kinds["Parking"] + kinds["ParkingMotion"], 6);
    EXPECT_GT(kinds["Always"], 0);
    EXPECT_GT(kinds["Event"], 0);
    EXPECT_GT(kinds["Parking"], 0);
    EXPECT_GT(kinds["ParkingMotion"], 0);
    EXPECT_GT(oneChannel, 0);
    EXPECT_EQ(kinds["UppercaseExtension"] + kinds["OtherExtension"] + kinds["Truncated"], 3);
    EXPECT_TRUE(fs::is_regular_file(card_ / "setting" / "velmar_setup.new"));
}

TEST_F(SampleCard, FfmpegAcceptsEveryRecording) {
    // One decoding run for every channel of every recording: ffmpeg's start is the slow part.
    std::string decode = "ffmpeg -nostdin -v error";
    std::string outputs;
    int input = 0;
    for (const Entry& entry : Recordings()) {
        const std::string file = Quote(PathOf(entry));
        const ProcessResult streams =
            RunShell("ffprobe -v error -show_entries stream=codec_type,codec_name -of csv=p=0 " +
                     file + " 2>&1");
        EXPECT_EQ(streams.status, 0) << entry.path;
        const std::string expected = entry.channels == 2 ? "h264,video\nh264,video\nunknown,data\n"
                                                         : "h264,video\nunknown,data\n";
        EXPECT_EQ(streams.output, expected) << entry.path;
        decode += " -i " + file;
        for (int channel = 0; channel < entry.channels; ++channel) {
            outputs +=
                " -map " + std::to_string(input) + ":v:" + std::to_string(channel) + " -f null -";
        }
        ++input;
    }
    const ProcessResult decoded = RunShell(decode + outputs + " 2>&1");
    EXPECT_EQ(decoded.status, 0);
    EXPECT_EQ(decoded.output, "");
    EXPECT_NE(RunShell("ffprobe -v error " + Quote(PathOf(Extra("Truncated"))) + " 2>&1").status,
              0);
}

TEST_F(SampleCard, ScanFindsWhatWasWritten) {
    CFileLoader loader;
    std::vector<std::int32_t> messages;
    loader.SetMessageHandler([&messages](std::int32_t id) { messages.push_back(id); });
    const RecordingList found = loader.LoadFiles({card_.string()}, {});
    EXPECT_TRUE(messages.empty());

    std::map<std::string, const Entry*> expected;
    const std::vector<Entry> recordings = Recordings();
    for (const Entry& entry : recordings) {
        expected[PathOf(entry)] = &entry;
    }
    ASSERT_EQ(found.size(), recordings.size());
    for (std::size_t i = 0; i < found.size(); ++i) {
        const CRecordingInfo& recording = *found[i];
        ASSERT_TRUE(expected.count(recording.path)) << recording.path;
        const Entry& entry = *expected[recording.path];
        EXPECT_EQ(recording.GetEnglishTypeText(), entry.kind) << entry.path;
        EXPECT_EQ(recording.dateText + " " + recording.timeText, entry.start) << entry.path;
        EXPECT_EQ(recording.listIndex, static_cast<std::int32_t>(i + 1));
        if (i > 0) {
            EXPECT_LE(found[i - 1]->createdTime, recording.createdTime);
        }
    }

    // Named one by one, the extras are what the viewer must skip: two by name, one by content.
    const RecordingList extras = loader.LoadFiles(
        {}, {PathOf(Extra("UppercaseExtension")), PathOf(Extra("OtherExtension")),
             PathOf(Extra("Truncated")), (card_ / "setting" / "velmar_setup.new").string()});
    EXPECT_TRUE(extras.empty());
    EXPECT_EQ(messages, (std::vector<std::int32_t>{287, 300}));
}

TEST_F(SampleCard, MetadataMatchesTheDrive) {
    for (const Entry& entry : Recordings()) {
        const std::string path = PathOf(entry);
        CRecordingInfo recording({}, RecordingType::Unknown, path, fs::path(path).filename());
        MP4FileLoader loader;
        ASSERT_TRUE(loader.GetMetadataFromMP4File(recording)) << entry.path;
        EXPECT_EQ(recording.durationSeconds, entry.seconds) << entry.path;
        EXPECT_EQ(recording.videoTrackCount, entry.channels) << entry.path;
        EXPECT_EQ(recording.videoChunkCount, 30 * entry.seconds) << entry.path;
        EXPECT_EQ(recording.tagged, entry.layout == "tagged") << entry.path;
        ASSERT_EQ(recording.gpsSamples.size(), static_cast<std::size_t>(entry.seconds));
        const std::size_t readings = recording.tagged ? 1 : 4;
        EXPECT_EQ(recording.gSensorSamples.size(), readings * entry.seconds) << entry.path;
        for (const GpsSample& fix : recording.gpsSamples) {
            EXPECT_NEAR(fix.latitude, 37.55, 0.1) << entry.path;  // central Seoul
            EXPECT_NEAR(fix.longitude, 126.96, 0.1) << entry.path;
            EXPECT_GE(fix.speedKmh, 0.0);
            EXPECT_LE(fix.speedKmh, 100.0);
        }
        for (const GSensorSample& sample : recording.gSensorSamples) {
            EXPECT_LT(std::abs(sample.x) + std::abs(sample.y) + std::abs(sample.z), 3.0);
        }
    }
}

TEST_F(SampleCard, CommandLineTool) {
    const std::string tool = Quote(KORVANE_TOOL);
    const ProcessResult scan =
        RunShell("KORVANE_LANG=en " + tool + " scan " + Quote(card_.string()) + " 2>/dev/null");
    EXPECT_EQ(scan.status, 0);
    std::size_t rows = 0;
    for (std::size_t at = scan.output.find("\"index\": "); at != std::string::npos;
         at = scan.output.find("\"index\": ", at + 1)) {
        ++rows;
    }
    EXPECT_EQ(rows, Recordings().size());

    const ProcessResult extras =
        RunShell("KORVANE_LANG=en " + tool + " scan " + Quote(PathOf(Extra("UppercaseExtension"))) +
                 " 2>&1 >/dev/null");
    EXPECT_EQ(extras.status, 1);
    EXPECT_EQ(extras.output,
              "korvane-tool scan: Not mp4 type file.\nkorvane-tool scan: Video File Not Found.\n");

    const Entry first = Recordings().front();
    const ProcessResult info = RunShell(tool + " info " + Quote(PathOf(first)) + " 2>&1");
    EXPECT_EQ(info.status, 0) << info.output;
    EXPECT_NE(info.output.find("\"type\": \"" + first.kind + "\""), std::string::npos);
    EXPECT_NE(info.output.find("\"createdTime\": \"" + first.start + "\""), std::string::npos);
    EXPECT_NE(info.output.find("\"durationSeconds\": " + std::to_string(first.seconds) + ","),
              std::string::npos);

    const ProcessResult refused =
        RunShell(tool + " info " + Quote(PathOf(Extra("Truncated"))) + " 2>&1");
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.output.find(PathOf(Extra("Truncated"))), std::string::npos);

    const ProcessResult gpx = RunShell(tool + " gpx --utc-offset +09:00 " + Quote(PathOf(first)));
    EXPECT_EQ(gpx.status, 0);
    std::size_t points = 0;
    for (std::size_t at = gpx.output.find("<trkpt "); at != std::string::npos;
         at = gpx.output.find("<trkpt ", at + 1)) {
        ++points;
    }
    EXPECT_EQ(points, static_cast<std::size_t>(first.seconds));
    const std::string startTime = first.start.substr(0, 10) + "T" + first.start.substr(11);
    EXPECT_NE(gpx.output.find("<time>" + startTime + "+09:00</time>"), std::string::npos);
}
