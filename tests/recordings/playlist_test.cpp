#include "recordings/playlist.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "recordingfixtures.h"
#include "testsupport/tempdir.h"

namespace {

RecordingList MakeRecordings(const std::vector<int>& types, const std::string& path = "/none") {
    RecordingList list;
    for (int type : types) {
        list.push_back(std::make_unique<CRecordingInfo>(
            DateTime{2012, 1, 1, 0, 0, 0}, static_cast<RecordingType>(type), path, "x.mp4"));
    }
    return list;
}

}  // namespace

TEST(Playlist, PreviousAndNextFollowTheListFilter) {
    const struct {
        const char* what;
        std::int32_t listType;
        std::vector<int> types;  // 1 Event, 2 Always, 3 Parking, 4 ParkingMotion
        std::uint32_t current;
        bool hasNext;
        std::uint32_t next;
        bool hasPrevious;
        std::uint32_t previous;
    } cases[] = {
        {"all, middle", 0, {1, 2, 3}, 1, true, 2, true, 0},
        {"all, ends", 0, {1, 2, 3}, 2, false, 0, true, 1},
        {"all, start", 0, {1, 2, 3}, 0, true, 1, false, 0},
        {"wrap-around lands on 0: no next", 1, {1, 2, 1, 2}, 2, false, 0, true, 0},
        {"neighbours within the filter", 1, {1, 2, 1, 2}, 1, true, 2, true, 0},
        {"only match is current", 1, {2, 1, 2}, 1, false, 0, false, 1},
        {"parking admits motion", 3, {1, 4, 2}, 0, true, 1, true, 1},
        {"previous searches forward", 1, {2, 2, 1, 2}, 0, true, 2, true, 2},
        {"wrap-around to a later start", 2, {1, 2, 1, 2}, 3, true, 1, true, 1},
        {"no match at all", 1, {2, 2, 3}, 2, false, 0, true, 1},
        {"no match, at the start", 1, {2, 2, 3}, 0, false, 0, false, 0},
        {"empty list", 0, {}, 0, false, 0, false, 0},
    };
    for (const auto& c : cases) {
        Playlist playlist;
        playlist.SetRecordings(MakeRecordings(c.types));
        ASSERT_TRUE(playlist.SetListType(c.listType));
        ASSERT_TRUE(c.types.empty() || playlist.SetCurrentIndex(c.current)) << c.what;
        std::uint32_t index = 99;
        EXPECT_EQ(playlist.GetNextIndex(index), c.hasNext) << c.what;
        EXPECT_EQ(index, c.next) << c.what;
        index = 99;
        EXPECT_EQ(playlist.GetPreviousIndex(index), c.hasPrevious) << c.what;
        EXPECT_EQ(index, c.previous) << c.what;
        EXPECT_EQ(playlist.currentIndex(), c.current) << "neighbours never move the index";
    }
}

TEST(Playlist, CurrentIndexAndReplacement) {
    Playlist playlist;
    EXPECT_EQ(playlist.GetCurrentRecording(), nullptr);
    EXPECT_FALSE(playlist.SetCurrentIndex(0));

    playlist.SetRecordings(MakeRecordings({1, 1, 2, 2, 3}));
    EXPECT_TRUE(playlist.SetCurrentIndex(4));
    EXPECT_FALSE(playlist.SetCurrentIndex(5));
    EXPECT_EQ(playlist.currentIndex(), 4u);
    EXPECT_EQ(playlist.GetCurrentRecording()->type, RecordingType::Parking);
    EXPECT_FALSE(playlist.SetListType(4));
    EXPECT_FALSE(playlist.SetListType(-1));
    ASSERT_TRUE(playlist.SetListType(2));

    // A new load starts at the first recording and keeps the filter.
    playlist.SetRecordings(MakeRecordings({2, 1}));
    EXPECT_EQ(playlist.currentIndex(), 0u);
    EXPECT_EQ(playlist.listType(), 2);
    EXPECT_EQ(playlist.GetRecordings().size(), 2u);
}

TEST(Playlist, ClearedRecordingsStayValidUntilReplaced) {
    Playlist playlist;
    playlist.SetRecordings(MakeRecordings({1, 2, 3}));
    ASSERT_TRUE(playlist.SetCurrentIndex(2));
    const CRecordingInfo* held = playlist.GetCurrentRecording();

    playlist.ClearRecordings();
    EXPECT_EQ(playlist.GetCurrentRecording(), nullptr);
    EXPECT_EQ(playlist.currentIndex(), 2u);
    EXPECT_EQ(playlist.Count(), 0u);
    EXPECT_EQ(held->type, RecordingType::Parking);  // a pane's pointer still reads

    std::uint32_t index = 0;
    EXPECT_TRUE(playlist.GetPreviousIndex(index));  // as designed: one back, out of range
    EXPECT_EQ(index, 1u);
    EXPECT_FALSE(playlist.SetCurrentIndex(index));
}

TEST(Playlist, LoadCurrentMetadataReadsTheCurrentFile) {
    TempDir dir;
    const auto file = dir.path() / "EVT_20120101_000001_x.mp4";
    WriteMinimalRecording(file);
    Playlist playlist;
    EXPECT_FALSE(playlist.LoadCurrentMetadata());  // nothing current

    RecordingList list = MakeRecordings({1}, file.string());
    list.push_back(std::move(MakeRecordings({2}, (dir.path() / "gone.mp4").string()).front()));
    playlist.SetRecordings(std::move(list));

    EXPECT_TRUE(playlist.LoadCurrentMetadata());
    EXPECT_TRUE(playlist.GetCurrentRecording()->metadataLoaded);
    EXPECT_EQ(playlist.GetCurrentRecording()->videoChunkCount, -1);  // no video track

    ASSERT_TRUE(playlist.SetCurrentIndex(1));
    EXPECT_FALSE(playlist.LoadCurrentMetadata());
    EXPECT_FALSE(playlist.GetCurrentRecording()->metadataLoaded);

    // The lock is re-entrant: a caller holding it may go on using the playlist.
    const auto lock = playlist.Lock();
    EXPECT_FALSE(playlist.LoadCurrentMetadata());
    EXPECT_TRUE(playlist.SetCurrentIndex(0));
}

TEST(Playlist, ThreadsShareItUnderTheLock) {
    // The dispatcher replaces and steps the playlist while an engine thread asks for the next
    // recording and reads the current one under the lock (run under ThreadSanitizer too).
    Playlist playlist;
    std::atomic<bool> done{false};
    std::thread reader([&] {
        while (!done.load()) {
            const auto lock = playlist.Lock();
            std::uint32_t next = 0;
            playlist.GetNextIndex(next);
            if (const CRecordingInfo* current = playlist.GetCurrentRecording()) {
                EXPECT_NE(current->type, RecordingType::Unknown);
            }
        }
    });
    for (int round = 0; round < 2000; ++round) {
        playlist.SetRecordings(MakeRecordings({1, 2, 3, 4}));
        playlist.SetListType(round % 4);
        playlist.SetCurrentIndex(static_cast<std::uint32_t>(round % 5));
        if (round % 7 == 0) {
            playlist.ClearRecordings();
        }
    }
    done = true;
    reader.join();
}
