#include "mp4/metadatadecoder.h"

#include "mp4/bigendian.h"
#include "mp4/fileparser.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <vector>

namespace metadata {
namespace {

constexpr std::string_view kRmcPrefix = "$GPRMC";
constexpr double kKnotsToKmh = 1.852;

// The chunk offsets of an "stco" box: every whole 32-bit entry from byte 16 to the end of the
// box, as far as the file holds them and at most kMaxChunks. The entry count is not consulted.
std::vector<std::int64_t> ReadChunkOffsets(CFileParser& parser, const FileNode& stco) {
    const std::int64_t first = std::int64_t{stco.offset} + 16;
    const std::int64_t end = std::min<std::int64_t>(stco.End(), parser.FileSize());
    std::vector<std::int64_t> offsets;
    if (end - first < 4) {
        return offsets;
    }
    // Bounded by the bytes present in the file, not by any size field.
    const std::int64_t count = std::min<std::int64_t>((end - first) / 4, kMaxChunks);
    std::vector<std::uint8_t> table(static_cast<std::size_t>(count * 4));
    if (!parser.ReadBytes(first, table)) {
        return offsets;
    }
    offsets.reserve(table.size() / 4);
    for (std::size_t i = 0; i < table.size(); i += 4) {
        offsets.push_back(ReadBigEndian32(table.data() + i));
    }
    return offsets;
}

bool IsTagged(CFileParser& parser, std::int64_t firstChunk) {
    std::array<std::uint8_t, kTag.size()> tag{};
    return parser.ReadBytes(firstChunk + kTagOffset, tag) &&
           std::equal(tag.begin(), tag.end(), kTag.begin(), kTag.end(),
                      [](std::uint8_t a, char b) { return a == static_cast<std::uint8_t>(b); });
}

void DecodeTaggedSample(CFileParser& parser, std::int64_t chunk, CRecordingInfo& recording) {
    // Bytes 101 to 119 of the sample: speed, latitude, longitude and the three accelerations.
    constexpr std::int64_t kFirst = 101;
    std::array<std::uint8_t, 19> bytes{};
    if (!parser.ReadBytes(chunk + kFirst, bytes)) {
        return;
    }
    auto at = [&bytes](std::int64_t offset) { return bytes.data() + (offset - kFirst); };
    GpsSample gps;
    gps.speedKmh = *at(101);
    gps.latitude = DecodeCoordinate(static_cast<std::int32_t>(ReadBigEndian32(at(104))));
    gps.longitude = DecodeCoordinate(static_cast<std::int32_t>(ReadBigEndian32(at(108))));
    GSensorSample gSensor;
    gSensor.x = DecodeAcceleration(at(114)[0], at(114)[1]);
    gSensor.y = DecodeAcceleration(at(116)[0], at(116)[1]);
    gSensor.z = DecodeAcceleration(at(118)[0], at(118)[1]);
    recording.gpsSamples.push_back(gps);
    recording.gSensorSamples.push_back(gSensor);
}

double SignedThirtySeconds(std::uint8_t byte) {
    return static_cast<std::int8_t>(byte) / 32.0;
}

void DecodeUntaggedSample(CFileParser& parser, std::int64_t chunk, CRecordingInfo& recording) {
    // One read covers any record: a G-sensor record's 7 bytes or a GPS sentence up to its bound.
    std::array<std::uint8_t, kMaxSentenceBytes> bytes{};
    const auto length = static_cast<std::size_t>(
        std::clamp<std::int64_t>(parser.FileSize() - chunk, 0, kMaxSentenceBytes));
    const std::span record(bytes.data(), length);
    if (!parser.ReadBytes(chunk, record)) {
        return;
    }
    if (record[0] == 'M' && record.size() >= 7) {
        GSensorSample sample;
        sample.x = SignedThirtySeconds(record[1]);
        sample.y = SignedThirtySeconds(record[2]);
        sample.z = SignedThirtySeconds(record[3]);
        sample.secondX = SignedThirtySeconds(record[4]);
        sample.secondY = SignedThirtySeconds(record[5]);
        sample.secondZ = SignedThirtySeconds(record[6]);
        recording.gSensorSamples.push_back(sample);
    } else if (record[0] == 'G') {
        const std::optional<GpsSample> sample =
            DecodeGpsRecord(std::string_view(reinterpret_cast<const char*>(bytes.data()), length));
        if (sample) {
            recording.gpsSamples.push_back(*sample);
        }
    }
}

// Splits at ',' and drops empty fields, so that later fields move up when one is empty.
std::vector<std::string_view> NonEmptyFields(std::string_view text) {
    std::vector<std::string_view> fields;
    while (!text.empty()) {
        const std::size_t comma = text.find(',');
        const std::string_view field = text.substr(0, comma);
        if (!field.empty()) {
            fields.push_back(field);
        }
        if (comma == std::string_view::npos) {
            break;
        }
        text.remove_prefix(comma + 1);
    }
    return fields;
}

// ddmm.mmmm (latitude, 2 digits of degrees) or dddmm.mmmm (longitude, 3 digits).
double DegreesAndMinutes(std::string_view field, std::size_t degreeDigits) {
    const std::string_view degrees = field.substr(0, degreeDigits);
    const std::string_view minutes = field.substr(std::min(degreeDigits, field.size()));
    return LeadingNumber(degrees) + LeadingNumber(minutes) / 60.0;
}

}  // namespace

void DecodeMetadataTrack(CFileParser& parser, CRecordingInfo& recording) {
    NodeList minfs;
    parser.FindNodes(minfs, "minf");
    const auto track = std::find_if(minfs.begin(), minfs.end(), [&parser](const FileNode* minf) {
        return parser.HasChildNode(*minf, "nmhd");
    });
    if (track == minfs.end()) {
        return;
    }
    const NodeList tables = parser.FindChildNodes(**track, "stbl");
    if (tables.size() != 1) {
        return;
    }
    recording.ClearSamples();
    const NodeList stcos = parser.FindChildNodes(*tables.front(), "stco");
    const std::vector<std::int64_t> chunks =
        stcos.empty() ? std::vector<std::int64_t>{} : ReadChunkOffsets(parser, *stcos.front());
    if (chunks.empty()) {
        return;
    }
    recording.tagged = IsTagged(parser, chunks.front());
    for (const std::int64_t chunk : chunks) {
        if (recording.tagged) {
            DecodeTaggedSample(parser, chunk, recording);
        } else {
            DecodeUntaggedSample(parser, chunk, recording);
        }
    }
    recording.BuildGSensorTimes();
}

double DecodeCoordinate(std::int32_t value) {
    // The digits of "%f", taken from a locale-independent conversion that rounds the same way.
    std::array<char, 32> text{};
    const double magnitude = std::fabs(value / 10000000.0);
    const auto end = std::to_chars(text.data(), text.data() + text.size(), magnitude,
                                   std::chars_format::fixed, 6)
                         .ptr;
    const std::string_view digits(text.data(), static_cast<std::size_t>(end - text.data()));
    const std::size_t point = digits.find('.');
    const double degrees = LeadingNumber(digits.substr(0, point));
    const double minutes = LeadingNumber(digits.substr(point + 1, 2));
    const double tenths = LeadingNumber(digits.substr(point + 3, 3));
    const double result = degrees + minutes / 60.0 + tenths / 10.0 / 3600.0;
    return value < 0 ? -result : result;
}

double DecodeAcceleration(std::uint8_t sign, std::uint8_t value) {
    const double g = static_cast<std::int8_t>(value) / 128.0;
    const bool flip = (g > 0.0 && sign == 0xFF) || (g < 0.0 && sign == 0x00);
    return flip ? -g : g;
}

std::optional<GpsSample> DecodeGpsRecord(std::string_view record) {
    if (record.size() < 1 + kRmcPrefix.size() ||
        record.substr(1, kRmcPrefix.size()) != kRmcPrefix) {
        return std::nullopt;
    }
    const std::size_t star = record.find('*');
    if (star == std::string_view::npos) {
        return std::nullopt;
    }
    const std::vector<std::string_view> fields = NonEmptyFields(record.substr(0, star + 1));
    if (fields.size() < 8) {
        return std::nullopt;
    }
    GpsSample sample;
    sample.latitude = DegreesAndMinutes(fields[3], 2);
    sample.longitude = DegreesAndMinutes(fields[5], 3);
    sample.speedKmh = LeadingNumber(fields[7]) * kKnotsToKmh;
    return sample;
}

double LeadingNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t begin = i;
    auto skipDigits = [&text, &i] {
        const std::size_t from = i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            ++i;
        }
        return i - from;
    };
    std::size_t digits = skipDigits();
    if (i < text.size() && text[i] == '.') {
        ++i;
        digits += skipDigits();
    }
    if (digits == 0) {
        return 0.0;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        const std::size_t mantissaEnd = i;
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            ++i;
        }
        if (skipDigits() == 0) {
            i = mantissaEnd;  // "1e" or "1e+" is the number 1 followed by text
        }
    }
    double value = 0.0;
    const auto result = std::from_chars(text.data() + begin, text.data() + i, value);
    if (result.ec != std::errc{} || !std::isfinite(value)) {
        return 0.0;
    }
    return negative ? -value : value;
}

}  // namespace metadata
