#pragma once

#include <compare>
#include <cstdint>
#include <string>
#include <vector>

// Kind of recording, derived from its file name.
enum class RecordingType : std::int32_t {
    Event = 1,
    Always = 2,
    Parking = 3,
    ParkingMotion = 4,  // counted as Parking by the list filter
    Unknown = 5,
};

// A local calendar date and time of day in whole seconds. Ordered by instant.
struct DateTime {
    std::int32_t year = 1899;
    std::int32_t month = 12;
    std::int32_t day = 30;
    std::int32_t hour = 0;
    std::int32_t minute = 0;
    std::int32_t second = 0;

    auto operator<=>(const DateTime&) const = default;
};

// One position fix; values are north and east (the recorder writes no hemisphere). A sample the
// decoder has not filled holds -1 in every field.
struct GpsSample {
    double latitude = -1.0;
    double longitude = -1.0;
    double speedKmh = -1.0;
};

// One acceleration sample in g. x, y, z are the values shown and drawn; the second triple is
// decoded from the untagged layout only and displayed nowhere.
struct GSensorSample {
    double secondX = 0.0;
    double secondY = 0.0;
    double secondZ = 0.0;
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

// One recording file: what its name and the file system tell, and, once read, its metadata.
//
// Created by the folder scan, owned by the playlist afterwards. The metadata fields are written
// only by the metadata read (which completes before VIDEO_METADATA_CREATED is delivered) and are
// only read afterwards, so they need no lock of their own; pointers returned by the lookups stay
// valid for the descriptor's life.
class CRecordingInfo {
public:
    CRecordingInfo(DateTime createdTime, RecordingType type, std::string path,
                   std::string fileName);

    // The display text of the type in the current language; "Unknown" for Unknown.
    std::string GetTypeText() const;
    // The English display text ("ParkingMotion" for the type the string table names in Korean
    // only); used by the command-line tool.
    std::string GetEnglishTypeText() const;

    // The GPS sample for a playback time in seconds (position × durationSeconds), or null when
    // there is none.
    const GpsSample* GetGpsSampleAt(double seconds) const;
    // The G-sensor sample nearest to a playback time, or null when there is none.
    const GSensorSample* GetGSensorSampleAt(double seconds) const;

    void ClearSamples();
    // Spreads the G-sensor samples evenly over the duration: sample k belongs to the end of step
    // k + 1, so the last one belongs to durationSeconds.
    void BuildGSensorTimes();

    DateTime createdTime;
    std::string path;      // full path, UTF-8
    std::string fileName;  // last component of path, extension included
    RecordingType type;
    std::int32_t listIndex = 0;  // 1-based row number; 0 until the first numbering

    // Metadata, filled by the metadata read.
    std::int32_t videoTrackCount = 0;
    std::int32_t durationSeconds = 0;
    std::int32_t videoChunkCount = 0;
    bool metadataLoaded = false;
    bool tagged = false;
    std::vector<GSensorSample> gSensorSamples;
    std::vector<double> gSensorTimes;
    std::vector<GpsSample> gpsSamples;

    std::string dateText;  // "2012-03-05"
    std::string timeText;  // "07:08:09"
};
