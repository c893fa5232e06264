#pragma once

#include "recordings/recordinginfo.h"

#include <cstdint>
#include <optional>
#include <string_view>

class CFileParser;

// Decoding of the recorder's metadata track: GPS fixes and G-sensor samples, one sample per
// chunk, in one of two layouts told apart by a tag in the first sample.
namespace metadata {

// Marks the tagged layout, at kTagOffset in the first sample.
inline constexpr std::string_view kTag = "MIRALVETON";
inline constexpr std::int64_t kTagOffset = 121;
// An untagged GPS record is read at most this far while looking for the '*' that ends its
// sentence (an NMEA sentence has at most 82 characters).
inline constexpr std::int64_t kMaxSentenceBytes = 256;
// Chunks decoded at most: a day of recording at five samples a second is less than half of it,
// and it keeps a hostile table from filling memory with copies of one sample.
inline constexpr std::int64_t kMaxChunks = 1 << 20;

// Decodes the metadata track of the file open in `parser` into `recording`: its GPS and
// G-sensor samples, `tagged` and the G-sensor times. Leaves the samples alone when the file has
// no metadata track (the first "minf" with a direct "nmhd" child) or its sample table cannot be
// told; clears them when the track has no chunk offsets. Samples whose bytes run past the end
// of the file are skipped.
void DecodeMetadataTrack(CFileParser& parser, CRecordingInfo& recording);

// A tagged coordinate: value / 10^7 printed with six decimals reads as degrees, two digits of
// minutes and three digits of tenths of seconds. Negative values mirror positive ones.
double DecodeCoordinate(std::int32_t value);
// A tagged acceleration in g from its sign byte and value byte: the value byte is a signed
// 1/128 g, flipped when the sign byte says otherwise (0xFF negative, 0x00 positive).
double DecodeAcceleration(std::uint8_t sign, std::uint8_t value);
// An untagged GPS record as read from its first byte ("G$GPRMC,...*"): latitude, longitude and
// speed from the 4th, 6th and 8th non-empty comma-separated fields. Empty when the record is
// not an RMC sentence, has no '*' or has fewer than 8 non-empty fields. The status is not
// consulted: a void fix is used like a valid one.
std::optional<GpsSample> DecodeGpsRecord(std::string_view record);
// The decimal number at the start of `text` (after blanks), 0 when there is none. Independent
// of the C locale.
double LeadingNumber(std::string_view text);

}  // namespace metadata
