#include "mp4/sampletablebuilders.h"

#include "mp4/bigendian.h"

#include <algorithm>

namespace {

// Field offsets shared by the full boxes of the sample table.
constexpr std::size_t kEntryCountAt = 12;  // stts, stco, stss
constexpr std::size_t kEntriesAt = 16;     // stts, stco, stss
constexpr std::size_t kSampleSizeAt = 12;  // stsz: the constant size, 0 for a table
constexpr std::size_t kSizeEntriesAt = 20;

std::uint32_t FieldAt(std::span<const std::uint8_t> box, std::size_t offset) {
    return ReadBigEndian32(box.data() + offset);
}

// Starts a box of `size` bytes with the source's type, version and flags.
ByteBuffer StartBox(std::span<const std::uint8_t> source, std::size_t size) {
    ByteBuffer out;
    out.reserve(size);
    AppendU32(out, static_cast<std::uint32_t>(size));
    out.insert(out.end(), source.begin() + 4, source.begin() + 12);
    return out;
}

}  // namespace

void AppendU32(ByteBuffer& out, std::uint32_t value) {
    std::uint8_t bytes[4];
    WriteBigEndian32(bytes, value);
    out.insert(out.end(), bytes, bytes + 4);
}

ByteBuffer BuildSampleSizeBox(std::span<const std::uint8_t> source, SampleRange range) {
    const std::uint32_t constantSize = FieldAt(source, kSampleSizeAt);
    const std::size_t entries = constantSize == 0 ? range.count : 0;
    ByteBuffer out = StartBox(source, kSizeEntriesAt + 4 * entries);
    AppendU32(out, constantSize);
    AppendU32(out, range.count);
    const auto first = source.begin() + kSizeEntriesAt + 4 * std::size_t{range.first};
    out.insert(out.end(), first, first + 4 * entries);
    return out;
}

ByteBuffer BuildTimeToSampleBox(std::span<const std::uint8_t> source, SampleRange range,
                                std::uint64_t& duration) {
    // Every source run that overlaps the range contributes its overlap: the first and last
    // runs are cut, those between are kept whole.
    std::vector<std::pair<std::uint32_t, std::uint32_t>> runs;  // count, delta
    duration = 0;
    const std::uint32_t entryCount = FieldAt(source, kEntryCountAt);
    std::uint64_t runStart = 0;
    for (std::uint32_t k = 0; k < entryCount && runStart < range.End(); ++k) {
        const std::uint32_t count = FieldAt(source, kEntriesAt + 8 * std::size_t{k});
        const std::uint32_t delta = FieldAt(source, kEntriesAt + 8 * std::size_t{k} + 4);
        const std::uint64_t runEnd = runStart + count;
        const std::uint64_t from = std::max<std::uint64_t>(runStart, range.first);
        const std::uint64_t to = std::min<std::uint64_t>(runEnd, range.End());
        if (from < to) {
            runs.emplace_back(static_cast<std::uint32_t>(to - from), delta);
            duration += (to - from) * delta;
        }
        runStart = runEnd;
    }
    ByteBuffer out = StartBox(source, kEntriesAt + 8 * runs.size());
    AppendU32(out, static_cast<std::uint32_t>(runs.size()));
    for (const auto& [count, delta] : runs) {
        AppendU32(out, count);
        AppendU32(out, delta);
    }
    return out;
}

ByteBuffer BuildChunkOffsetBox(std::span<const std::uint8_t> source,
                               std::span<const std::uint32_t> outputOffsets) {
    ByteBuffer out = StartBox(source, kEntriesAt + 4 * outputOffsets.size());
    AppendU32(out, static_cast<std::uint32_t>(outputOffsets.size()));
    for (const std::uint32_t offset : outputOffsets) {
        AppendU32(out, offset);
    }
    return out;
}

ByteBuffer BuildSyncSampleBox(std::span<const std::uint8_t> source, SampleRange range) {
    std::vector<std::uint32_t> kept;
    const std::uint32_t entryCount = FieldAt(source, kEntryCountAt);
    for (std::uint32_t k = 0; k < entryCount; ++k) {
        const std::uint32_t sample = FieldAt(source, kEntriesAt + 4 * std::size_t{k});  // 1-based
        if (sample > range.first && sample <= range.End()) {
            kept.push_back(sample - range.first);
        }
    }
    ByteBuffer out = StartBox(source, kEntriesAt + 4 * kept.size());
    AppendU32(out, static_cast<std::uint32_t>(kept.size()));
    for (const std::uint32_t sample : kept) {
        AppendU32(out, sample);
    }
    return out;
}
