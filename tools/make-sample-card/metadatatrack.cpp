#include "metadatatrack.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "civiltime.h"

namespace {

constexpr int kTaggedRecordSize = 140;
constexpr char kTag[] = "MIRALVETON";
constexpr auto kUtcOffset = std::chrono::hours(9);

// Degrees as the tagged layout stores them: the decimal digits of v / 10^7 read as degrees,
// two digits of minutes and three of seconds in tenths.
std::int32_t TaggedCoordinate(double degrees) {
    const auto tenths = static_cast<std::int64_t>(std::llround(degrees * 36000.0));
    const std::int64_t whole = tenths / 36000;
    const std::int64_t minutes = tenths % 36000 / 600;
    const std::int64_t secondTenths = tenths % 600;
    return static_cast<std::int32_t>(whole * 10000000 + minutes * 100000 + secondTenths * 100);
}

void PutU32(std::vector<std::uint8_t>& record, std::size_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        record[offset + i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
    }
}

// A sign byte and a signed byte of 1/128 g; the sign byte agrees with the value.
void PutTaggedAcceleration(std::vector<std::uint8_t>& record, std::size_t offset, double g) {
    const auto value =
        static_cast<std::int8_t>(std::clamp<long>(std::lround(g * 128.0), -127, 127));
    record[offset] = value < 0 ? 0xFF : 0x00;
    record[offset + 1] = static_cast<std::uint8_t>(value);
}

std::uint8_t UntaggedAcceleration(double g) {
    return static_cast<std::uint8_t>(
        static_cast<std::int8_t>(std::clamp<long>(std::lround(g * 32.0), -127, 127)));
}

// The reading of the second with the largest shock, so that a one-per-second record keeps the
// impulses that a plain sample could miss.
Acceleration StrongestReading(const Drive& drive, std::int64_t second) {
    Acceleration strongest;
    double strongestSize = -1.0;
    for (int k = 0; k < Drive::kSensorRate; ++k) {
        const Acceleration a = drive.AccelerationAt(second * Drive::kSensorRate + k);
        const double size = std::abs(a.x) + std::abs(a.y) + std::abs(a.z);
        if (size > strongestSize) {
            strongest = a;
            strongestSize = size;
        }
    }
    return strongest;
}

std::vector<std::uint8_t> TaggedRecord(const GpsFix& fix, const Acceleration& a,
                                       std::chrono::local_seconds time) {
    std::vector<std::uint8_t> record(kTaggedRecordSize, 0);
    const std::string stamp = FormatDateTime("KVR1%04d%02d%02d%02d%02d%02d", ToDateTime(time));
    std::copy(stamp.begin(), stamp.end(), record.begin());
    record[101] = static_cast<std::uint8_t>(std::clamp(std::lround(fix.speedKmh), 0L, 255L));
    PutU32(record, 104, static_cast<std::uint32_t>(TaggedCoordinate(fix.latitude)));
    PutU32(record, 108, static_cast<std::uint32_t>(TaggedCoordinate(fix.longitude)));
    PutTaggedAcceleration(record, 114, a.x);
    PutTaggedAcceleration(record, 116, a.y);
    PutTaggedAcceleration(record, 118, a.z);
    std::copy(kTag, kTag + 10, record.begin() + 121);
    return record;
}

// "G" followed by a complete $GPRMC sentence with its checksum and line end.
std::vector<std::uint8_t> SentenceRecord(const GpsFix& fix, std::chrono::local_seconds local) {
    const DateTime utc = ToDateTime(local - kUtcOffset);
    const auto minutesOf = [](double degrees) { return (degrees - std::floor(degrees)) * 60.0; };
    char body[160];
    std::snprintf(body, sizeof body,
                  "GPRMC,%02d%02d%02d.00,A,%02d%07.4f,N,%03d%07.4f,E,%.1f,%.1f,%02d%02d%02d,,,A",
                  utc.hour, utc.minute, utc.second, static_cast<int>(fix.latitude),
                  minutesOf(fix.latitude), static_cast<int>(fix.longitude),
                  minutesOf(fix.longitude), fix.speedKmh / 1.852, fix.courseDegrees, utc.day,
                  utc.month, utc.year % 100);
    std::uint8_t checksum = 0;
    for (const char* c = body; *c != '\0'; ++c) {
        checksum ^= static_cast<std::uint8_t>(*c);
    }
    char sentence[200];
    std::snprintf(sentence, sizeof sentence, "G$%s*%02X\r\n", body, checksum);
    return {sentence, sentence + std::char_traits<char>::length(sentence)};
}

// 'M' and two readings, half a sensor period apart.
std::vector<std::uint8_t> SensorRecord(const Acceleration& a, const Acceleration& b) {
    return {'M',
            UntaggedAcceleration(a.x),
            UntaggedAcceleration(a.y),
            UntaggedAcceleration(a.z),
            UntaggedAcceleration(b.x),
            UntaggedAcceleration(b.y),
            UntaggedAcceleration(b.z)};
}

Acceleration Midpoint(const Acceleration& a, const Acceleration& b) {
    return {(a.x + b.x) / 2.0, (a.y + b.y) / 2.0, (a.z + b.z) / 2.0};
}

}  // namespace

MetadataSamples BuildMetadata(const Drive& drive, std::int64_t startSecond, int seconds,
                              std::chrono::local_seconds localStart, MetadataLayout layout) {
    MetadataSamples result;
    result.constantSize = layout == MetadataLayout::Tagged;
    for (int s = 0; s < seconds; ++s) {
        const std::int64_t second = startSecond + s;
        const GpsFix fix = drive.FixAt(second);
        const auto local = localStart + std::chrono::seconds(s);
        if (layout == MetadataLayout::Tagged) {
            result.samples.push_back(TaggedRecord(fix, StrongestReading(drive, second), local));
            result.durations.push_back(1000);
            continue;
        }
        result.samples.push_back(SentenceRecord(fix, local));
        for (int k = 0; k < Drive::kSensorRate; ++k) {
            const std::int64_t tick = second * Drive::kSensorRate + k;
            const Acceleration a = drive.AccelerationAt(tick);
            result.samples.push_back(SensorRecord(a, Midpoint(a, drive.AccelerationAt(tick + 1))));
        }
        const auto share = static_cast<std::uint32_t>(1000 / (Drive::kSensorRate + 1));
        result.durations.insert(result.durations.end(), Drive::kSensorRate + 1, share);
    }
    return result;
}
