#pragma once

#include "mp4/fileparser.h"
#include "mp4/sampletablebuilders.h"

#include <cstdint>
#include <string>

// One track of a recording read for a time-range cut: the bytes of its `trak` box up to the
// header of its sample table, and each sample table box whole. Load accepts only tracks in the
// recorder's layout, which the cut relies on: version 0 headers, a time scale of 1000 units a
// second, one sample per chunk, 32-bit chunk offsets, no edit list, and the sample table as the
// last box of the track. Tables are checked against each other and against their own sizes, so
// the accessors below never read outside a table.
class SourceTrack {
public:
    // The largest table box read into memory; real tracks of an hour stay below 1 MiB.
    static constexpr std::int64_t kMaxTableBytes = 64 << 20;

    // Reads the track whose `trak` box is `trak`; false with `error` set when it is refused.
    bool Load(CFileParser& parser, const FileNode& trak, std::string& error);

    std::uint32_t SampleCount() const { return sampleCount_; }
    std::uint32_t SampleSize(std::uint32_t sample) const;
    // File offset of the sample (its chunk, one sample per chunk).
    std::uint32_t SampleOffset(std::uint32_t sample) const;
    // The number of samples that start before `seconds`; so the sample that plays at a whole
    // second t is SampleIndexAt(t), and the samples of seconds a to b are those from
    // SampleIndexAt(a) to SampleIndexAt(b + 1), exclusive.
    std::uint32_t SampleIndexAt(std::int64_t seconds) const;

    // Fills `track` with the new `trak` box for `range`: the sample tables rebuilt with
    // `chunkOffsets` (one per kept sample, where it lies in the output), the sizes and the
    // durations patched. `duration` receives the range's length in the track's time scale.
    // False when that length does not fit the 32-bit duration fields.
    bool BuildTrack(SampleRange range, std::span<const std::uint32_t> chunkOffsets,
                    ByteBuffer& track, std::uint32_t& duration, std::string& error) const;

private:
    bool ReadTables(CFileParser& parser, const FileNode& stbl, std::string& error);
    bool CheckTables(std::string& error);

    ByteBuffer header_;  // the trak box from its start through the 8-byte stbl header
    // Offsets of boxes inside header_.
    std::size_t tkhdAt_ = 0;
    std::size_t mdiaAt_ = 0;
    std::size_t mdhdAt_ = 0;
    std::size_t minfAt_ = 0;
    std::size_t stblAt_ = 0;
    ByteBuffer stsd_, stts_, stsc_, stsz_, stco_, stss_;  // stss_ empty: no sync table
    std::uint32_t sampleCount_ = 0;
    std::uint32_t constantSize_ = 0;  // 0: sizes from the stsz entries
};
