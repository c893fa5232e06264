#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "drive.h"
#include "metadatatrack.h"

enum class RecordingKind { Always, Event, Parking, ParkingMotion };

// What the user asked for.
struct CardOptions {
    int count = 12;
    int minSeconds = 20;
    int maxSeconds = 60;
    int width = 1280;
    int height = 720;
    int bitrateKbps = 0;  // per channel; 0 for constant quality
    std::uint32_t seed = 1;
    enum class Layouts { Tagged, Untagged, Mixed } layouts = Layouts::Mixed;
    bool extras = true;  // the one-off entries the viewer must skip
};

struct PlannedRecording {
    RecordingKind kind;
    std::filesystem::path relativePath;  // below the card root
    std::chrono::local_seconds start;
    std::int64_t driveSecond;  // start, counted from the start of the drive
    int seconds;
    bool twoChannel;
    MetadataLayout layout;
};

struct PlannedShock {
    std::int64_t tick;  // in G-sensor readings from the start of the drive
    Acceleration peak;
};

// A day on the card: continuous recordings back to back through a drive, event recordings
// around the shocks of the drive, parking recordings afterwards, named the way the recorder
// names them.
struct CardPlan {
    std::chrono::local_seconds driveStart;
    std::int64_t drivingSeconds = 0;
    std::vector<PlannedRecording> recordings;
    std::vector<PlannedShock> shocks;
};

CardPlan PlanCard(const CardOptions& options);

const char* KindName(RecordingKind kind);
// "CL_KORVANE/MP4_INFINITE" and so on.
std::filesystem::path KindFolder(RecordingKind kind);
