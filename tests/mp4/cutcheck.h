#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "mp4/mp4fileparser.h"

// Reads back the sample tables of a cut and checks them against the source it came from.
namespace cutcheck {

struct TrackTables {
    std::uint32_t trackDuration = 0;  // tkhd
    std::uint32_t mediaDuration = 0;  // mdhd
    std::uint32_t sampleSizeBoxSize = 0;
    std::vector<std::uint32_t> sizes;
    std::vector<std::uint32_t> offsets;
    bool hasSync = false;
    std::vector<std::uint32_t> sync;
};

struct MovieTables {
    std::uint32_t movieDuration = 0;  // mvhd
    std::int64_t mediaOffset = 0;     // of the first mdat box
    std::int64_t mediaSize = 0;
    std::vector<TrackTables> tracks;
};

inline std::vector<std::uint32_t> ReadEntries(MP4FileParser& parser, std::int64_t at,
                                              std::uint32_t count) {
    std::vector<std::uint32_t> entries;
    for (std::uint32_t k = 0; k < count; ++k) {
        entries.push_back(parser.ReadInt32(at + 4 * std::int64_t{k}).value_or(0xDEADBEEF));
    }
    return entries;
}

// The first box of `type` below `node`; fails the test when there is none.
inline const FileNode* Below(MP4FileParser& parser, const FileNode& node, std::string_view type) {
    const NodeList found = parser.FindNodesBelow(node, type);
    EXPECT_FALSE(found.empty()) << "no " << type;
    return found.empty() ? nullptr : found.front();
}

inline MovieTables ReadTables(MP4FileParser& parser) {
    MovieTables movie;
    NodeList moov, mdat;
    parser.FindNodesIn(moov, parser.RootNodes(), "moov");
    parser.FindNodesIn(mdat, parser.RootNodes(), "mdat");
    if (moov.empty() || mdat.empty()) {
        ADD_FAILURE() << "no moov or mdat";
        return movie;
    }
    movie.mediaOffset = mdat.front()->offset;
    movie.mediaSize = mdat.front()->size;
    if (const FileNode* mvhd = Below(parser, *moov.front(), "mvhd")) {
        movie.movieDuration = parser.ReadInt32(mvhd->offset + 24).value_or(0);
    }
    for (const FileNode* trak : parser.FindChildNodes(*moov.front(), "trak")) {
        TrackTables track;
        const FileNode* tkhd = Below(parser, *trak, "tkhd");
        const FileNode* mdhd = Below(parser, *trak, "mdhd");
        const FileNode* stsz = Below(parser, *trak, "stsz");
        const FileNode* stco = Below(parser, *trak, "stco");
        if (!tkhd || !mdhd || !stsz || !stco) {
            return movie;
        }
        track.trackDuration = parser.ReadInt32(tkhd->offset + 28).value_or(0);
        track.mediaDuration = parser.ReadInt32(mdhd->offset + 24).value_or(0);
        track.sampleSizeBoxSize = static_cast<std::uint32_t>(stsz->size);
        const std::uint32_t constant = parser.ReadInt32(stsz->offset + 12).value_or(0);
        const std::uint32_t count = parser.ReadInt32(stsz->offset + 16).value_or(0);
        track.sizes = constant != 0 ? std::vector<std::uint32_t>(count, constant)
                                    : ReadEntries(parser, stsz->offset + 20, count);
        track.offsets =
            ReadEntries(parser, stco->offset + 16, parser.ReadInt32(stco->offset + 12).value_or(0));
        if (const NodeList stss = parser.FindNodesBelow(*trak, "stss"); !stss.empty()) {
            track.hasSync = true;
            track.sync = ReadEntries(parser, stss.front()->offset + 16,
                                     parser.ReadInt32(stss.front()->offset + 12).value_or(0));
        }
        movie.tracks.push_back(track);
    }
    return movie;
}

inline std::vector<std::uint8_t> Bytes(MP4FileParser& parser, std::int64_t at, std::uint32_t size) {
    std::vector<std::uint8_t> bytes(size);
    EXPECT_TRUE(size == 0 || parser.ReadBytes(at, bytes)) << "cannot read " << size << " at " << at;
    return bytes;
}

// What one track of a cut must hold: `count` samples from the source's 0-based sample `first`.
struct ExpectedTrack {
    std::uint32_t first = 0;
    std::uint32_t count = 0;
    std::uint32_t duration = 0;
    std::vector<std::uint32_t> sync;  // checked when the source track has a sync table
};

// Every track of `source` is in `cut` with the expected samples, byte for byte, laid out track
// after track right behind the media data's 36 leading bytes; the durations are the new ones.
inline void ExpectCut(const std::filesystem::path& source, const std::filesystem::path& cut,
                      const std::vector<ExpectedTrack>& expected) {
    MP4FileParser in, out;
    ASSERT_TRUE(in.Open(source)) << in.LastError();
    ASSERT_TRUE(out.Open(cut)) << out.LastError();
    const MovieTables from = ReadTables(in);
    const MovieTables to = ReadTables(out);
    ASSERT_EQ(to.tracks.size(), from.tracks.size());
    ASSERT_EQ(to.tracks.size(), expected.size());
    EXPECT_EQ(Bytes(out, to.mediaOffset + 8, 28), Bytes(in, from.mediaOffset + 8, 28));
    std::int64_t position = to.mediaOffset + 36;
    std::uint32_t longest = 0;
    for (std::size_t t = 0; t < expected.size(); ++t) {
        SCOPED_TRACE("track " + std::to_string(t + 1));
        const ExpectedTrack& want = expected[t];
        const TrackTables& sourceTrack = from.tracks[t];
        const TrackTables& track = to.tracks[t];
        ASSERT_EQ(track.sizes.size(), want.count);
        ASSERT_EQ(track.offsets.size(), want.count);
        for (std::uint32_t i = 0; i < want.count; ++i) {
            ASSERT_EQ(track.offsets[i], position) << "sample " << i;
            const std::uint32_t s = want.first + i;
            ASSERT_EQ(track.sizes[i], sourceTrack.sizes[s]) << "sample " << i;
            ASSERT_EQ(Bytes(out, track.offsets[i], track.sizes[i]),
                      Bytes(in, sourceTrack.offsets[s], sourceTrack.sizes[s]))
                << "sample " << i;
            position += track.sizes[i];
        }
        EXPECT_EQ(track.trackDuration, want.duration);
        EXPECT_EQ(track.mediaDuration, want.duration);
        EXPECT_EQ(track.hasSync, sourceTrack.hasSync);
        if (sourceTrack.hasSync) {
            EXPECT_EQ(track.sync, want.sync);
        }
        longest = std::max(longest, want.duration);
    }
    EXPECT_EQ(to.movieDuration, longest);
    EXPECT_EQ(to.mediaOffset + to.mediaSize, position) << "media data box size";
}

}  // namespace cutcheck
