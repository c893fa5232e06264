#include "mp4/mp4fileloader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "testsupport/tempdir.h"

namespace {

// One line of the sample card's manifest.
struct Entry {
    std::string kind, path;
    int channels = 0;
    std::string layout;
    int seconds = 0;
};

std::vector<Entry> ReadManifest(const std::filesystem::path& path) {
    std::vector<Entry> entries;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        Entry entry;
        std::string channels, start, seconds;
        std::getline(fields, entry.kind, '\t');
        std::getline(fields, entry.path, '\t');
        std::getline(fields, channels, '\t');
        std::getline(fields, entry.layout, '\t');
        std::getline(fields, start, '\t');
        std::getline(fields, seconds, '\t');
        entry.channels = std::atoi(channels.c_str());
        entry.seconds = std::atoi(seconds.c_str());
        entries.push_back(entry);
    }
    return entries;
}

// Recordings written by the sample-card maker in the recorder's layout, read back whole.
TEST(SampleCard, RecordingsReadBack) {
    TempDir dir;
    const std::filesystem::path card = dir.path() / "card";
    const std::filesystem::path manifest = dir.path() / "manifest.txt";
    const std::string command = std::string(KORVANE_MAKE_SAMPLE_CARD) +
                                " --count 4 --duration 6-10 --resolution 320x240 --manifest " +
                                manifest.string() + " " + card.string() + " >/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const std::vector<Entry> entries = ReadManifest(manifest);
    ASSERT_GE(entries.size(), 4u);

    int playable = 0;
    for (const Entry& entry : entries) {
        CRecordingInfo recording({2024, 5, 2, 8, 10, 0}, RecordingType::Always,
                                 (card / entry.path).string(), entry.path);
        MP4FileLoader loader;
        const bool read = loader.GetMetadataFromMP4File(recording);
        if (entry.kind == "UppercaseExtension" || entry.kind == "OtherExtension" ||
            entry.kind == "Truncated") {
            EXPECT_FALSE(read) << entry.path;
            continue;
        }
        ++playable;
        ASSERT_TRUE(read) << entry.path << ": " << loader.LastError();
        EXPECT_EQ(recording.videoTrackCount, entry.channels) << entry.path;
        EXPECT_EQ(recording.durationSeconds, entry.seconds) << entry.path;
        EXPECT_GT(recording.videoChunkCount, 0) << entry.path;
        const bool tagged = entry.layout == "tagged";
        EXPECT_EQ(recording.tagged, tagged) << entry.path;
        // One fix a second; the untagged layout has four G-sensor records a second.
        EXPECT_EQ(recording.gpsSamples.size(), std::size_t(entry.seconds)) << entry.path;
        EXPECT_EQ(recording.gSensorSamples.size(), std::size_t(entry.seconds * (tagged ? 1 : 4)))
            << entry.path;
        for (const GpsSample& fix : recording.gpsSamples) {
            // The drive goes through Seoul.
            EXPECT_NEAR(fix.latitude, 37.5, 0.5) << entry.path;
            EXPECT_NEAR(fix.longitude, 127.0, 0.5) << entry.path;
            EXPECT_GE(fix.speedKmh, 0.0) << entry.path;
        }
    }
    EXPECT_EQ(playable, 4);
}

}  // namespace
