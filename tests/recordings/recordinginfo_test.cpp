#include "recordings/recordinginfo.h"

#include <gtest/gtest.h>

namespace {

CRecordingInfo MakeRecording(bool tagged, int durationSeconds, int gpsCount, int gSensorCount) {
    CRecordingInfo recording({2012, 3, 5, 7, 8, 9}, RecordingType::Event, "/card/a.mp4", "a.mp4");
    recording.tagged = tagged;
    recording.durationSeconds = durationSeconds;
    for (int i = 0; i < gpsCount; ++i) {
        recording.gpsSamples.push_back({double(i), double(i), double(i)});
    }
    for (int i = 0; i < gSensorCount; ++i) {
        GSensorSample sample;
        sample.x = i;
        recording.gSensorSamples.push_back(sample);
    }
    recording.BuildGSensorTimes();
    return recording;
}

TEST(RecordingInfo, TextsFromCreationTime) {
    const CRecordingInfo recording({2012, 3, 5, 7, 8, 9}, RecordingType::Always, "/p/x.mp4",
                                   "x.mp4");
    EXPECT_EQ(recording.dateText, "2012-03-05");
    EXPECT_EQ(recording.timeText, "07:08:09");
    EXPECT_EQ(recording.listIndex, 0);
    EXPECT_FALSE(recording.metadataLoaded);
}

TEST(RecordingInfo, NoMetadataAnswersNull) {
    const CRecordingInfo recording = MakeRecording(false, 0, 0, 0);
    EXPECT_EQ(recording.GetGpsSampleAt(3.0), nullptr);
    EXPECT_EQ(recording.GetGSensorSampleAt(3.0), nullptr);
}

TEST(RecordingInfo, GpsLookup) {
    struct Case {
        bool tagged;
        int duration;
        int count;
        double seconds;
        double expected;
    } cases[] = {
        {false, 30, 30, 12.9, 12},                             // untagged: one fix per second
        {false, 30, 30, 45.0, 29},                             // past the end: the last fix
        {false, 30, 30, -2.0, 0},  {true, 60, 120, 10.7, 20},  // two fixes per second
        {true, 60, 90, 59.5, 59},                              // the rate is a whole number (1)
        {true, 60, 30, 59.5, 0},                               // rate 0: always the first fix
        {true, 0, 30, 12.0, 0},  // no duration: no rate, the first fix, no division by zero
    };
    for (const auto& c : cases) {
        const CRecordingInfo recording = MakeRecording(c.tagged, c.duration, c.count, 0);
        const GpsSample* sample = recording.GetGpsSampleAt(c.seconds);
        ASSERT_NE(sample, nullptr);
        EXPECT_EQ(sample->latitude, c.expected) << c.tagged << " " << c.count << " " << c.seconds;
    }
}

TEST(RecordingInfo, GSensorTimesAndNearestLookup) {
    const CRecordingInfo recording = MakeRecording(false, 60, 0, 60);
    ASSERT_EQ(recording.gSensorTimes.size(), 60u);
    EXPECT_DOUBLE_EQ(recording.gSensorTimes.front(), 1.0);
    EXPECT_NEAR(recording.gSensorTimes.back(), 60.0, 1e-9);
    struct Case {
        double seconds;
        double expectedX;
    } cases[] = {{0.0, 0}, {30.0, 29}, {30.4, 29}, {30.6, 30}, {30.5, 29}, {100.0, 59}};
    for (const auto& c : cases) {
        EXPECT_EQ(recording.GetGSensorSampleAt(c.seconds)->x, c.expectedX) << c.seconds;
    }
}

TEST(RecordingInfo, TypeTexts) {
    const CRecordingInfo motion({2020, 1, 1, 0, 0, 0}, RecordingType::ParkingMotion, "p", "p");
    const CRecordingInfo unknown({2020, 1, 1, 0, 0, 0}, RecordingType::Unknown, "p", "p");
    EXPECT_EQ(motion.GetEnglishTypeText(), "ParkingMotion");
    EXPECT_EQ(unknown.GetTypeText(), "Unknown");
    EXPECT_EQ(unknown.GetEnglishTypeText(), "Unknown");
}

TEST(RecordingInfo, DateTimeOrdersByInstant) {
    EXPECT_LT((DateTime{2012, 3, 5, 7, 8, 9}), (DateTime{2012, 3, 5, 7, 8, 10}));
    EXPECT_LT((DateTime{2011, 12, 31, 23, 59, 59}), (DateTime{2012, 1, 1, 0, 0, 0}));
    EXPECT_FALSE((DateTime{2012, 1, 1, 0, 0, 0}) < (DateTime{2012, 1, 1, 0, 0, 0}));
}

}  // namespace
