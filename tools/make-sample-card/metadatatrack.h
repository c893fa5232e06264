#pragma once

#include <chrono>
#include <cstdint>
#include <vector>

#include "drive.h"

// The two sample layouts of the recorder's metadata track.
enum class MetadataLayout {
    Tagged,    // one fixed-size record per second with position, speed and G-sensor values
    Untagged,  // per second one "$GPRMC" sentence record and kSensorRate G-sensor records
};

struct MetadataSamples {
    std::vector<std::vector<std::uint8_t>> samples;  // in time order
    std::vector<std::uint32_t> durations;            // milliseconds per sample
    bool constantSize = false;                       // every sample has the same size
};

// The metadata of `seconds` seconds of `drive` starting at drive second `startSecond`, the
// recording having started at local time `localStart` (written into the records; the GPS
// sentences carry UTC, nine hours behind Seoul).
MetadataSamples BuildMetadata(const Drive& drive, std::int64_t startSecond, int seconds,
                              std::chrono::local_seconds localStart, MetadataLayout layout);
