#pragma once

#include <cstdint>
#include <span>
#include <vector>

// Builders of the sample table boxes that a time-range cut rebuilds. Each takes the complete
// source box (header included, already checked by SourceTrack) and the kept samples, and
// returns one complete box: size, the source's type, version and flags, then its own fields.

using ByteBuffer = std::vector<std::uint8_t>;

// Kept samples of one track: `count` samples from the 0-based sample `first` on.
struct SampleRange {
    std::uint32_t first = 0;
    std::uint32_t count = 0;

    std::uint32_t End() const { return first + count; }
};

// Appends `value` big-endian.
void AppendU32(ByteBuffer& out, std::uint32_t value);

// Sample sizes ("stsz"): a constant-size table stays a 20-byte box with the new count; a table
// of sizes keeps the entries of the range.
ByteBuffer BuildSampleSizeBox(std::span<const std::uint8_t> source, SampleRange range);

// Time to sample ("stts"): the runs of the source cut down to the range. `duration` receives
// the range's total duration in the track's time scale.
ByteBuffer BuildTimeToSampleBox(std::span<const std::uint8_t> source, SampleRange range,
                                std::uint64_t& duration);

// Chunk offsets ("stco"): one chunk per kept sample, at the given output offsets.
ByteBuffer BuildChunkOffsetBox(std::span<const std::uint8_t> source,
                               std::span<const std::uint32_t> outputOffsets);

// Sync samples ("stss"): the source's sync samples that fall in the range, numbered from the
// range's first sample (1-based). The recorder marks every 30th sample from the first, so a
// cut that starts on a whole second lists 1, 31, 61, ...
ByteBuffer BuildSyncSampleBox(std::span<const std::uint8_t> source, SampleRange range);
