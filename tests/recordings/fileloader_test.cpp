#include "recordings/fileloader.h"

#include <gtest/gtest.h>

#include "recordingfixtures.h"
#include "testsupport/tempdir.h"

namespace fs = std::filesystem;

namespace {

struct LoadResult {
    RecordingList recordings;
    std::vector<std::int32_t> messages;
};

LoadResult Load(const std::vector<std::string>& folders, const std::vector<std::string>& files) {
    CFileLoader loader;
    LoadResult result;
    loader.SetMessageHandler([&result](std::int32_t id) { result.messages.push_back(id); });
    result.recordings = loader.LoadFiles(folders, files);
    return result;
}

}  // namespace

TEST(LoadFiles, SortsOldestFirstStablyAndNumbers) {
    TempDir dir;
    const fs::path card = dir.path() / "card";
    const fs::path event = card / "MP4_EVENT" / "EVT_20120101_000001_x.mp4";
    const fs::path always = card / "MP4_INFINITE" / "REC_20111231_235959_x.mp4";
    const fs::path twinA = dir.path() / "a" / "EVT_20120102_101010_F.mp4";
    const fs::path twinB = dir.path() / "b" / "PRK_20120102_101010_F.mp4";
    for (const fs::path& path : {event, always, twinA, twinB}) {
        WriteMinimalRecording(path);
    }
    // Files come first in the work list, then the folders; equal times keep that order.
    const LoadResult result = Load({card.string()}, {twinB.string(), twinA.string()});
    EXPECT_TRUE(result.messages.empty());
    ASSERT_EQ(result.recordings.size(), 4u);
    const struct {
        fs::path path;
        RecordingType type;
        const char* date;
        const char* time;
    } expected[] = {
        {always, RecordingType::Always, "2011-12-31", "23:59:59"},
        {event, RecordingType::Event, "2012-01-01", "00:00:01"},
        {twinB, RecordingType::Parking, "2012-01-02", "10:10:10"},
        {twinA, RecordingType::Event, "2012-01-02", "10:10:10"},
    };
    for (std::size_t i = 0; i < 4; ++i) {
        const CRecordingInfo& recording = *result.recordings[i];
        EXPECT_EQ(recording.path, expected[i].path.string());
        EXPECT_EQ(recording.fileName, expected[i].path.filename().string());
        EXPECT_EQ(recording.type, expected[i].type);
        EXPECT_EQ(recording.dateText, expected[i].date);
        EXPECT_EQ(recording.timeText, expected[i].time);
        EXPECT_EQ(recording.listIndex, static_cast<std::int32_t>(i + 1));
    }
}

TEST(LoadFiles, DuplicatesAreKept) {
    TempDir dir;
    const fs::path clip = dir.path() / "EVT_20120101_000001_x.mp4";
    WriteMinimalRecording(clip);
    const LoadResult result = Load({dir.path().string()}, {clip.string()});
    ASSERT_EQ(result.recordings.size(), 2u);
    EXPECT_EQ(result.recordings[1]->listIndex, 2);
}

TEST(LoadFiles, Messages) {
    TempDir dir;
    const fs::path good = dir.path() / "EVT_20120101_000001_x.mp4";
    const fs::path upper = dir.path() / "clip.MP4";
    const fs::path avi = dir.path() / "clip.avi";
    const fs::path notMp4 = dir.path() / "REC_20120101_000001_x.mp4";  // passes the name test
    WriteMinimalRecording(good);
    WriteMinimalRecording(upper);
    testsupport::WriteFile(avi, "RIFF");
    testsupport::WriteFile(notMp4, "this is not an MP4 file");
    const struct {
        const char* what;
        std::vector<std::string> folders;
        std::vector<std::string> files;
        std::vector<std::int32_t> messages;
        std::size_t count;
    } cases[] = {
        {"capitals alone", {}, {upper.string()}, {287, 300}, 0},
        {"one message for two", {}, {upper.string(), avi.string(), good.string()}, {287}, 1},
        {"refused silently", {}, {notMp4.string()}, {300}, 0},
        {"missing file", {}, {(dir.path() / "gone.mp4").string()}, {300}, 0},
        // A folder contributes only names ending in "mp4": no message for the others.
        {"folder", {dir.path().string()}, {}, {}, 1},
        {"nothing", {}, {}, {300}, 0},
    };
    for (const auto& c : cases) {
        const LoadResult result = Load(c.folders, c.files);
        EXPECT_EQ(result.messages, c.messages) << c.what;
        EXPECT_EQ(result.recordings.size(), c.count) << c.what;
    }
}
