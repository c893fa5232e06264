#include "cardplan.h"

#include <algorithm>
#include <random>
#include <set>

#include "civiltime.h"

namespace {

using std::chrono::local_seconds;
using std::chrono::seconds;

// The recorder's name forms: the marker with date and time tokens and a channel suffix, the
// marker with seven time tokens, and the older form without a marker whose last token carries
// the kind's letter.
enum class NameForm { Marked, MarkedLong, Unmarked };

std::string Marker(RecordingKind kind, std::mt19937& random) {
    const bool alternative = random() % 4 == 0;
    switch (kind) {
        case RecordingKind::Always:
            return "REC";
        case RecordingKind::Event:
            return alternative ? "EVS" : "EVT";
        case RecordingKind::Parking:
            return alternative ? "PAK" : "PRK";
        case RecordingKind::ParkingMotion:
            return "MDI";
    }
    return "REC";
}

std::string RecordingName(RecordingKind kind, local_seconds start, bool twoChannel, NameForm form,
                          std::mt19937& random) {
    const DateTime time = ToDateTime(start);
    if (form == NameForm::Unmarked && kind != RecordingKind::ParkingMotion) {
        switch (kind) {
            case RecordingKind::Event:  // the short date form: two-digit year
                return FormatDateTime("%04d%02d%02d_%02d%02d%02d_E.mp4", time).substr(2);
            case RecordingKind::Parking:
                return FormatDateTime("%04d%02d%02d_%02d%02d%02d_M.mp4", time);
            default:
                return FormatDateTime("%04d%02d%02d_%02d%02d%02d_I.mp4", time);
        }
    }
    const std::string marker = Marker(kind, random);
    if (form == NameForm::MarkedLong) {
        return marker + FormatDateTime("_%04d_%02d_%02d_%02d_%02d_%02d.mp4", time);
    }
    return marker + FormatDateTime("_%04d%02d%02d_%02d%02d%02d", time) +
           (twoChannel ? "_FR.mp4" : "_F.mp4");
}

NameForm PickForm(std::mt19937& random) {
    const auto roll = random() % 6;
    return roll == 4 ? NameForm::MarkedLong : roll == 5 ? NameForm::Unmarked : NameForm::Marked;
}

Acceleration EventShock(std::mt19937& random) {
    std::uniform_real_distribution<double> strength(0.55, 0.9);
    switch (random() % 3) {
        case 0:
            return {0.0, -strength(random), 0.1};  // hard braking
        case 1:
            return {random() % 2 ? strength(random) : -strength(random), 0.1, 0.0};  // side hit
        default:
            return {0.05, 0.1, strength(random)};  // deep pothole
    }
}

}  // namespace

const char* KindName(RecordingKind kind) {
    switch (kind) {
        case RecordingKind::Always:
            return "Always";
        case RecordingKind::Event:
            return "Event";
        case RecordingKind::Parking:
            return "Parking";
        case RecordingKind::ParkingMotion:
            return "ParkingMotion";
    }
    return "Unknown";
}

std::filesystem::path KindFolder(RecordingKind kind) {
    const std::filesystem::path root = "CL_KORVANE";
    switch (kind) {
        case RecordingKind::Always:
            return root / "MP4_INFINITE";
        case RecordingKind::Event:
            return root / "MP4_EVENT";
        default:
            return root / "MP4_PARKING";
    }
}

CardPlan PlanCard(const CardOptions& options) {
    std::mt19937 random(options.seed);
    const auto between = [&random](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    const int eventCount = (options.count + 1) / 4;
    const int parkingCount = (options.count + 2) / 4;
    const int alwaysCount = options.count - eventCount - parkingCount;

    CardPlan plan;
    plan.driveStart = FromDateTime({2024, 5, 1, 8, 10, 0}) + std::chrono::days(options.seed % 28) +
                      std::chrono::minutes(options.seed / 28 % 90);
    plan.drivingSeconds = static_cast<std::int64_t>(alwaysCount) * options.maxSeconds;

    std::set<std::filesystem::path> used;
    std::size_t index = 0;
    const auto add = [&](RecordingKind kind, std::int64_t driveSecond, int length) {
        const bool twoChannel = index % 5 != 3;
        MetadataLayout layout = index % 2 == 0 ? MetadataLayout::Tagged : MetadataLayout::Untagged;
        if (options.layouts != CardOptions::Layouts::Mixed) {
            layout = options.layouts == CardOptions::Layouts::Tagged ? MetadataLayout::Tagged
                                                                     : MetadataLayout::Untagged;
        }
        const NameForm form = PickForm(random);
        std::filesystem::path path;
        // Two recordings of one kind never start in the same second on the real card.
        while (true) {
            path = KindFolder(kind) / RecordingName(kind, plan.driveStart + seconds(driveSecond),
                                                    twoChannel, form, random);
            if (used.insert(path).second) {
                break;
            }
            ++driveSecond;
        }
        plan.recordings.push_back({kind, path, plan.driveStart + seconds(driveSecond), driveSecond,
                                   length, twoChannel, layout});
        ++index;
    };

    // Continuous recording: one segment after the other for the whole drive.
    for (int i = 0; i < alwaysCount; ++i) {
        add(RecordingKind::Always, static_cast<std::int64_t>(i) * options.maxSeconds,
            options.maxSeconds);
    }
    // Event recordings: a shock in the middle of each, spread over the drive.
    for (int i = 0; i < eventCount; ++i) {
        const std::int64_t trigger = (2 * i + 1) * plan.drivingSeconds / (2 * eventCount);
        const int length = between(options.minSeconds, options.maxSeconds);
        plan.shocks.push_back({trigger * Drive::kSensorRate + 1, EventShock(random)});
        add(RecordingKind::Event, std::max<std::int64_t>(0, trigger - length / 2), length);
    }
    // Potholes now and then.
    for (std::int64_t second = between(30, 150); second < plan.drivingSeconds;
         second += between(60, 240)) {
        plan.shocks.push_back({second * Drive::kSensorRate + 2,
                               {0.02, 0.05, std::uniform_real_distribution(0.25, 0.45)(random)}});
    }
    // Parked: recordings of knocks and of motion near the car, minutes apart.
    std::int64_t parked = plan.drivingSeconds + between(120, 300);
    for (int i = 0; i < parkingCount; ++i) {
        const bool motion = i % 3 == 1;
        const int length = between(options.minSeconds, options.maxSeconds);
        const double knock = motion ? 0.12 : 0.35;
        plan.shocks.push_back({(parked + length / 3) * Drive::kSensorRate, {knock, 0.0, knock}});
        add(motion ? RecordingKind::ParkingMotion : RecordingKind::Parking, parked, length);
        parked += length + between(300, 1800);
    }
    return plan;
}
