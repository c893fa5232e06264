#include "mp4/sourcetrack.h"

#include "mp4/bigendian.h"

#include <limits>

namespace {

constexpr std::uint32_t kTimeScale = 1000;

std::uint32_t FieldAt(const ByteBuffer& box, std::size_t offset) {
    return ReadBigEndian32(box.data() + offset);
}

bool Inside(const FileNode& child, const FileNode& parent) {
    return child.offset >= parent.PayloadOffset() && child.End() <= parent.End();
}

// The first direct child of `parent` of type `type`, or null.
const FileNode* FirstChild(CFileParser& parser, const FileNode& parent, std::string_view type) {
    const NodeList found = parser.FindChildNodes(parent, type);
    return found.empty() ? nullptr : found.front();
}

bool ReadBox(CFileParser& parser, const FileNode& node, ByteBuffer& out) {
    out.resize(static_cast<std::size_t>(node.size));
    return parser.ReadBytes(node.offset, out);
}

// Whether a full box of `box.size()` bytes holds `fixed` header bytes and then `count` entries
// of `entrySize` bytes.
bool Holds(const ByteBuffer& box, std::size_t fixed, std::uint32_t count, std::size_t entrySize) {
    return box.size() >= fixed && (box.size() - fixed) / entrySize >= count;
}

}  // namespace

bool SourceTrack::Load(CFileParser& parser, const FileNode& trak, std::string& error) {
    const FileNode* tkhd = FirstChild(parser, trak, "tkhd");
    const FileNode* mdia = FirstChild(parser, trak, "mdia");
    const FileNode* mdhd = mdia ? FirstChild(parser, *mdia, "mdhd") : nullptr;
    const FileNode* minf = mdia ? FirstChild(parser, *mdia, "minf") : nullptr;
    const FileNode* stbl = minf ? FirstChild(parser, *minf, "stbl") : nullptr;
    if (!tkhd || !mdhd || !stbl) {
        error = "no track header, media header or sample table";
        return false;
    }
    if (!Inside(*tkhd, trak) || !Inside(*mdia, trak) || !Inside(*mdhd, *mdia) ||
        !Inside(*minf, *mdia) || !Inside(*stbl, *minf)) {
        error = "a box runs past the end of its parent";
        return false;
    }
    if (parser.HasChildNode(trak, "edts")) {
        error = "the track has an edit list";
        return false;
    }
    // The new track ends with its sample table: anything after the source's would be lost.
    if (stbl->End() != trak.End() || tkhd->End() > stbl->offset || mdhd->End() > stbl->offset) {
        error = "boxes follow the sample table";
        return false;
    }
    if (stbl->PayloadOffset() - trak.offset > kMaxTableBytes) {
        error = "the track header is too large";
        return false;
    }
    header_.resize(static_cast<std::size_t>(stbl->PayloadOffset() - trak.offset));
    if (!parser.ReadBytes(trak.offset, header_)) {
        error = "cannot read the track header";
        return false;
    }
    tkhdAt_ = static_cast<std::size_t>(tkhd->offset - trak.offset);
    mdiaAt_ = static_cast<std::size_t>(mdia->offset - trak.offset);
    mdhdAt_ = static_cast<std::size_t>(mdhd->offset - trak.offset);
    minfAt_ = static_cast<std::size_t>(minf->offset - trak.offset);
    stblAt_ = static_cast<std::size_t>(stbl->offset - trak.offset);
    // Version 0 layouts: tkhd duration at 28, mdhd time scale at 20 and duration at 24.
    if (tkhd->size < 32 || mdhd->size < 28 || header_[tkhdAt_ + 8] != 0 ||
        header_[mdhdAt_ + 8] != 0) {
        error = "version 1 track or media header";
        return false;
    }
    if (const std::uint32_t scale = FieldAt(header_, mdhdAt_ + 20); scale != kTimeScale) {
        error = "time scale " + std::to_string(scale) + " (the recorder writes 1000)";
        return false;
    }
    return ReadTables(parser, *stbl, error) && CheckTables(error);
}

bool SourceTrack::ReadTables(CFileParser& parser, const FileNode& stbl, std::string& error) {
    if (stbl.size - 8 > kMaxTableBytes) {
        error = "the sample table is too large";
        return false;
    }
    const std::pair<std::string_view, ByteBuffer*> tables[] = {{"stsd", &stsd_}, {"stts", &stts_},
                                                               {"stsc", &stsc_}, {"stsz", &stsz_},
                                                               {"stco", &stco_}, {"stss", &stss_}};
    for (const FileNode& child : parser.ChildrenOf(stbl)) {
        if (!Inside(child, stbl)) {
            error = "a box runs past the end of the sample table";
            return false;
        }
        if (child.type == "free" || child.type == "skip") {
            continue;
        }
        if (child.type == "co64") {
            error = "64-bit chunk offsets";
            return false;
        }
        ByteBuffer* table = nullptr;
        for (const auto& [type, buffer] : tables) {
            if (child.type == type) {
                table = buffer;
            }
        }
        // A table the cut does not rebuild (composition offsets, sample groups, a second copy)
        // would be dropped or left wrong.
        if (!table || !table->empty()) {
            error = "the sample table holds a \"" + child.type + "\" box the cut cannot rebuild";
            return false;
        }
        if (!ReadBox(parser, child, *table)) {
            error = "cannot read the \"" + child.type + "\" box";
            return false;
        }
    }
    if (stsd_.empty() || stts_.empty() || stsc_.empty() || stsz_.empty() || stco_.empty()) {
        error = "the sample table lacks one of stsd, stts, stsc, stsz, stco";
        return false;
    }
    return true;
}

bool SourceTrack::CheckTables(std::string& error) {
    const auto broken = [&error](const char* type) {
        error = std::string("the \"") + type + "\" box is shorter than its entries";
        return false;
    };
    if (!Holds(stts_, 16, 0, 8) || !Holds(stts_, 16, FieldAt(stts_, 12), 8)) {
        return broken("stts");
    }
    if (!Holds(stsz_, 20, 0, 4) ||
        (FieldAt(stsz_, 12) == 0 && !Holds(stsz_, 20, FieldAt(stsz_, 16), 4))) {
        return broken("stsz");
    }
    if (!Holds(stco_, 16, 0, 4) || !Holds(stco_, 16, FieldAt(stco_, 12), 4)) {
        return broken("stco");
    }
    if (!Holds(stsc_, 16, 0, 12) || !Holds(stsc_, 16, FieldAt(stsc_, 12), 12)) {
        return broken("stsc");
    }
    if (!stss_.empty() && (!Holds(stss_, 16, 0, 4) || !Holds(stss_, 16, FieldAt(stss_, 12), 4))) {
        return broken("stss");
    }
    constantSize_ = FieldAt(stsz_, 12);
    sampleCount_ = FieldAt(stsz_, 16);
    // One sample per chunk: every run of chunks holds one sample, from the first chunk on.
    const std::uint32_t runs = FieldAt(stsc_, 12);
    if (sampleCount_ > 0 && (runs == 0 || FieldAt(stsc_, 16) != 1)) {
        error = "the sample-to-chunk table does not start at the first chunk";
        return false;
    }
    for (std::uint32_t k = 0; k < runs; ++k) {
        if (FieldAt(stsc_, 16 + 12 * std::size_t{k} + 4) != 1) {
            error = "several samples per chunk";
            return false;
        }
    }
    std::uint64_t timedSamples = 0;
    for (std::uint32_t k = 0; k < FieldAt(stts_, 12); ++k) {
        timedSamples += FieldAt(stts_, 16 + 8 * std::size_t{k});
    }
    if (timedSamples != sampleCount_ || FieldAt(stco_, 12) != sampleCount_) {
        error = "the sample tables disagree on the number of samples";
        return false;
    }
    return true;
}

std::uint32_t SourceTrack::SampleSize(std::uint32_t sample) const {
    return constantSize_ != 0 ? constantSize_ : FieldAt(stsz_, 20 + 4 * std::size_t{sample});
}

std::uint32_t SourceTrack::SampleOffset(std::uint32_t sample) const {
    return FieldAt(stco_, 16 + 4 * std::size_t{sample});
}

std::uint32_t SourceTrack::SampleIndexAt(std::int64_t seconds) const {
    if (seconds <= 0) {
        return 0;
    }
    const auto target = static_cast<std::uint64_t>(seconds) * kTimeScale;
    std::uint64_t start = 0;  // when the current run's first sample starts
    std::uint32_t before = 0;
    for (std::uint32_t k = 0; k < FieldAt(stts_, 12) && start < target; ++k) {
        const std::uint32_t count = FieldAt(stts_, 16 + 8 * std::size_t{k});
        const std::uint32_t delta = FieldAt(stts_, 16 + 8 * std::size_t{k} + 4);
        if (delta != 0) {
            // Samples of this run that start before the target (rounding up).
            const std::uint64_t starting = (target - start + delta - 1) / delta;
            if (starting < count) {
                return before + static_cast<std::uint32_t>(starting);
            }
            // Here count × delta < target - start + delta: the sum cannot overflow.
            start += std::uint64_t{count} * delta;
        }
        before += count;
    }
    return before;
}

bool SourceTrack::BuildTrack(SampleRange range, std::span<const std::uint32_t> chunkOffsets,
                             ByteBuffer& track, std::uint32_t& duration, std::string& error) const {
    std::uint64_t rangeDuration = 0;
    const ByteBuffer stts = BuildTimeToSampleBox(stts_, range, rangeDuration);
    if (rangeDuration > std::numeric_limits<std::uint32_t>::max()) {
        error = "the range is too long for 32-bit durations";
        return false;
    }
    duration = static_cast<std::uint32_t>(rangeDuration);
    track = header_;
    for (const ByteBuffer& table :
         {stsd_, BuildSampleSizeBox(stsz_, range), stts, stsc_,
          BuildChunkOffsetBox(stco_, chunkOffsets),
          stss_.empty() ? ByteBuffer{} : BuildSyncSampleBox(stss_, range)}) {
        track.insert(track.end(), table.begin(), table.end());
    }
    // mdia, minf and stbl all end where the track ends.
    const auto size = static_cast<std::uint32_t>(track.size());
    WriteBigEndian32(track.data(), size);
    for (const std::size_t at : {mdiaAt_, minfAt_, stblAt_}) {
        WriteBigEndian32(track.data() + at, size - static_cast<std::uint32_t>(at));
    }
    WriteBigEndian32(track.data() + tkhdAt_ + 28, duration);
    WriteBigEndian32(track.data() + mdhdAt_ + 24, duration);
    return true;
}
