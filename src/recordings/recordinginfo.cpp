#include "recordings/recordinginfo.h"

#include <cmath>
#include <cstdio>

#include "app/usertexts.h"

namespace {

// The string table numbers of the type texts; ParkingMotion has a Korean text only.
std::int32_t TypeTextId(RecordingType type) {
    switch (type) {
        case RecordingType::Event:
            return 223;
        case RecordingType::Always:
            return 224;
        case RecordingType::Parking:
            return 288;
        case RecordingType::ParkingMotion:
            return 301;
        case RecordingType::Unknown:
            break;
    }
    return 0;
}

}  // namespace

CRecordingInfo::CRecordingInfo(DateTime created, RecordingType recordingType, std::string fullPath,
                               std::string name)
    : createdTime(created), path(std::move(fullPath)), fileName(std::move(name)),
      type(recordingType) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%d-%.2d-%.2d", created.year, created.month, created.day);
    dateText = buffer;
    std::snprintf(buffer, sizeof buffer, "%.2d:%.2d:%.2d", created.hour, created.minute,
                  created.second);
    timeText = buffer;
}

std::string CRecordingInfo::GetTypeText() const {
    if (type == RecordingType::Unknown) {
        return "Unknown";
    }
    const std::int32_t id = TypeTextId(type);
    return id != 0 ? usertexts::Text(id) : std::string();
}

std::string CRecordingInfo::GetEnglishTypeText() const {
    switch (type) {
        case RecordingType::ParkingMotion:
            return "ParkingMotion";
        case RecordingType::Unknown:
            return "Unknown";
        default:
            return usertexts::Text(TypeTextId(type), usertexts::Language::English);
    }
}

const GpsSample* CRecordingInfo::GetGpsSampleAt(double seconds) const {
    const std::size_t count = gpsSamples.size();
    if (count == 0) {
        return nullptr;
    }
    // Seconds before the start count as the first second; NaN too.
    const double wholeSeconds = seconds > 0.0 ? std::trunc(seconds) : 0.0;
    double index = wholeSeconds;
    if (tagged) {
        // Tagged recordings carry a whole number of fixes per second. A recording without a
        // duration has no known rate: every lookup answers its first fix.
        const std::size_t perSecond = durationSeconds > 0 ? count / durationSeconds : 0;
        index = static_cast<double>(perSecond) * wholeSeconds;
    }
    const std::size_t last = count - 1;
    return &gpsSamples[index >= static_cast<double>(last) ? last : static_cast<std::size_t>(index)];
}

const GSensorSample* CRecordingInfo::GetGSensorSampleAt(double seconds) const {
    if (gSensorTimes.empty() || gSensorTimes.size() != gSensorSamples.size()) {
        return nullptr;
    }
    std::size_t lo = 0;
    std::size_t hi = gSensorTimes.size() - 1;
    while (true) {
        const std::size_t mid = (lo + hi) / 2;
        const double d = gSensorTimes[mid] - seconds;
        if (d == 0.0) {
            return &gSensorSamples[mid];
        }
        if (d > 0.0 && hi != mid) {
            hi = mid;
        } else if (d < 0.0 && lo != mid) {
            lo = mid;
        } else {
            break;  // also leaves on NaN, which compares false both ways
        }
    }
    const bool lower = std::abs(gSensorTimes[lo] - seconds) <= std::abs(gSensorTimes[hi] - seconds);
    return &gSensorSamples[lower ? lo : hi];
}

void CRecordingInfo::ClearSamples() {
    gSensorSamples.clear();
    gSensorTimes.clear();
    gpsSamples.clear();
}

void CRecordingInfo::BuildGSensorTimes() {
    gSensorTimes.clear();
    const std::size_t count = gSensorSamples.size();
    if (count == 0) {
        return;
    }
    const double step = static_cast<double>(durationSeconds) / static_cast<double>(count);
    gSensorTimes.reserve(count);
    double time = 0.0;
    for (std::size_t k = 0; k < count; ++k) {
        time += step;
        gSensorTimes.push_back(time);
    }
}
