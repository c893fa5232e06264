#include "mp4/sampletablebuilders.h"

#include <gtest/gtest.h>

#include "boxbuilder.h"

namespace {

using mp4test::Bytes;
using mp4test::Cat;
using mp4test::FullBox;
using mp4test::U32;

Bytes TimeToSample(const std::vector<std::pair<std::uint32_t, std::uint32_t>>& runs) {
    Bytes entries = U32(static_cast<std::uint32_t>(runs.size()));
    for (const auto& [count, delta] : runs) {
        entries = Cat({entries, U32(count), U32(delta)});
    }
    return FullBox("stts", 0, entries);
}

// Runs of 3 × 10, 2 × 20 and 4 × 30 units: samples 0-2, 3-4 and 5-8.
TEST(TimeToSampleBox, CutsTheRunsAtTheRangeEnds) {
    const Bytes source = TimeToSample({{3, 10}, {2, 20}, {4, 30}});
    struct Case {
        const char* name;
        SampleRange range;
        std::vector<std::pair<std::uint32_t, std::uint32_t>> runs;
        std::uint64_t duration;
    };
    const Case cases[] = {
        {"inside one run", {5, 2}, {{2, 30}}, 60},
        {"first and last cut, middle whole", {1, 7}, {{2, 10}, {2, 20}, {3, 30}}, 150},
        {"whole table", {0, 9}, {{3, 10}, {2, 20}, {4, 30}}, 190},
        {"run boundaries", {3, 2}, {{2, 20}}, 40},
        {"nothing", {4, 0}, {}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::uint64_t duration = 99;
        EXPECT_EQ(BuildTimeToSampleBox(source, c.range, duration), TimeToSample(c.runs));
        EXPECT_EQ(duration, c.duration);
    }
}

TEST(SyncSampleBox, RenumbersTheSyncSamplesInTheRange) {
    // Sync every 30th sample from the first, as the recorder writes them.
    const Bytes source = FullBox("stss", 0, Cat({U32(4), U32(1), U32(31), U32(61), U32(91)}));
    EXPECT_EQ(BuildSyncSampleBox(source, {30, 40}),
              FullBox("stss", 0, Cat({U32(2), U32(1), U32(31)})));
    // A range that starts between sync samples lists where they really are.
    EXPECT_EQ(BuildSyncSampleBox(source, {29, 40}),
              FullBox("stss", 0, Cat({U32(2), U32(2), U32(32)})));
    EXPECT_EQ(BuildSyncSampleBox(source, {1, 20}), FullBox("stss", 0, U32(0)));
}

TEST(SampleSizeBox, KeepsTheRangesEntriesOrTheConstantSize) {
    const Bytes table = FullBox("stsz", 0, Cat({U32(0), U32(4), U32(5), U32(6), U32(7), U32(8)}));
    EXPECT_EQ(BuildSampleSizeBox(table, {1, 2}),
              FullBox("stsz", 0, Cat({U32(0), U32(2), U32(6), U32(7)})));
    const Bytes constant = FullBox("stsz", 0, Cat({U32(131), U32(60)}));
    EXPECT_EQ(BuildSampleSizeBox(constant, {10, 10}), FullBox("stsz", 0, Cat({U32(131), U32(10)})));
}

}  // namespace
