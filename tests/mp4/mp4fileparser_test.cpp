#include "mp4/mp4fileparser.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "boxbuilder.h"
#include "testsupport/tempdir.h"

namespace {

using namespace mp4test;

const Bytes kFtyp = Box("ftyp", Text("isom"));
const Bytes kMoov = Box("moov", {FullBox("mvhd", 0, Bytes(96))});
const Bytes kMdat = Box("mdat", Bytes(16));

std::unique_ptr<ByteSource> Memory(Bytes bytes) {
    return std::make_unique<MemoryByteSource>(std::move(bytes));
}

// Remembers the offset of every read, to show what a walk touched.
class CountingSource : public MemoryByteSource {
public:
    CountingSource(Bytes bytes, std::vector<std::int64_t>& reads)
        : MemoryByteSource(std::move(bytes)), reads_(reads) {}
    bool ReadAt(std::int64_t offset, std::span<std::uint8_t> out) override {
        reads_.push_back(offset);
        return MemoryByteSource::ReadAt(offset, out);
    }

private:
    std::vector<std::int64_t>& reads_;
};

std::vector<std::string> Types(const std::vector<FileNode>& nodes) {
    std::vector<std::string> types;
    for (const FileNode& node : nodes) {
        types.push_back(node.type);
    }
    return types;
}

std::vector<std::int32_t> Offsets(const NodeList& nodes) {
    std::vector<std::int32_t> offsets;
    for (const FileNode* node : nodes) {
        offsets.push_back(node->offset);
    }
    return offsets;
}

NodeList Find(MP4FileParser& parser, std::string_view type) {
    NodeList nodes;
    parser.FindNodes(nodes, type);
    return nodes;
}

TEST(MP4FileParser, TopLevelDecidesWhetherTheFileOpens) {
    const Bytes largeSize = RawBox(1, "mdat", Cat({U32(0), U32(40), Bytes(24)}));
    const Bytes tail = Cat({kMoov, kMdat});
    struct Case {
        const char* name;
        Bytes file;
        bool opens;
        std::vector<std::string> top;
    } cases[] = {
        {"movie and media data", Cat({kFtyp, kMoov, kMdat}), true, {"ftyp", "moov", "mdat"}},
        {"media data only", Cat({kFtyp, kMdat}), false, {}},
        {"two media data boxes", Cat({kFtyp, kMdat, kMdat}), true, {"ftyp", "mdat", "mdat"}},
        {"two movie boxes", Cat({kMoov, kMoov}), true, {"moov", "moov"}},
        {"empty file", {}, false, {}},
        {"64-bit size ends the level", Cat({kFtyp, largeSize, tail}), false, {}},
        {"size 0 ends the level", Cat({kFtyp, RawBox(0, "free"), tail}), false, {}},
        {"size 7 ends the level", Cat({kFtyp, RawBox(7, "free"), tail}), false, {}},
        {"negative size ends the level", Cat({kFtyp, RawBox(0xFFFFFFF0, "free"), tail}), false, {}},
        {"type starting with NUL ends the level",
         Cat({kFtyp, RawBox(12, std::string_view("\0abc", 4), U32(0)), tail}),
         false,
         {}},
        {"box spanning the whole file",
         RawBox(std::uint32_t(8 + tail.size()), "mdat", tail),
         false,
         {}},
        {"header cut short", Cat({kMoov, kMdat, Bytes{0, 0, 0, 9, 'f'}}), true, {"moov", "mdat"}},
        {"box running past the end is kept",
         Cat({Box("free", Bytes(5000)), kMoov, RawBox(4000, "mdat", Bytes(8))}),
         true,
         {"free", "moov", "mdat"}},
    };
    for (const Case& c : cases) {
        MP4FileParser parser;
        EXPECT_EQ(parser.OpenSource(Memory(c.file)), c.opens) << c.name;
        EXPECT_EQ(Types(parser.RootNodes()), c.top) << c.name;
        EXPECT_EQ(parser.LastError().empty(), c.opens) << c.name;
    }
}

TEST(MP4FileParser, OpenChecksTheNameBeforeTheFile) {
    TempDir dir;
    const Bytes file = Cat({kFtyp, kMoov, kMdat});
    const std::string longName(MP4FileParser::kMaxPathBytes, 'a');
    mkfifo((dir.path() / "fifo.mp4").c_str(), 0600);
    std::filesystem::create_directory(dir.path() / "folder.mp4");
    struct Case {
        std::filesystem::path path;
        bool opens;
    } cases[] = {
        {WriteBytes(dir.path() / "clip.mp4", file), true},
        {WriteBytes(dir.path() / "clip.MP4", file), false},
        {WriteBytes(dir.path() / "clipmp4", file), true},  // only the last three characters count
        {dir.path() / "missing.mp4", false},
        {dir.path() / "fifo.mp4", false},  // refused without waiting for a writer
        {dir.path() / "folder.mp4", false},
        {dir.path() / (longName + ".mp4"), false},
    };
    for (const Case& c : cases) {
        MP4FileParser parser;
        EXPECT_EQ(parser.Open(c.path), c.opens) << c.path;
        EXPECT_EQ(parser.FileSize(), c.opens ? std::int32_t(file.size()) : 0) << c.path;
    }
}

TEST(MP4FileParser, FilesOf2GiBAreRefused) {
    TempDir dir;
    const Bytes head = Cat({kFtyp, kMoov, kMdat});
    for (const std::int64_t size : {MP4FileParser::kMaxFileSize, MP4FileParser::kMaxFileSize + 1}) {
        const auto path = WriteBytes(dir.path() / "big.mp4", head);
        std::filesystem::resize_file(path, static_cast<std::uintmax_t>(size));  // sparse
        MP4FileParser parser;
        EXPECT_EQ(parser.Open(path), size <= MP4FileParser::kMaxFileSize) << size;
        EXPECT_EQ(parser.RootNodes().size(), size <= MP4FileParser::kMaxFileSize ? 3u : 0u);
    }
}

TEST(MP4FileParser, BoxEndsBeyond32BitsDoNotWrap) {
    // In a (sparse) file just under 2 GiB, a box near the end whose offset plus size passes
    // 2^31 is kept and ends the level, as any box running past the end of the file.
    TempDir dir;
    const std::int64_t last = MP4FileParser::kMaxFileSize - 64;
    const Bytes head =
        Cat({kMoov, RawBox(static_cast<std::uint32_t>(last - kMoov.size()), "mdat")});
    const std::filesystem::path path = WriteBytes(dir.path() / "wide.mp4", head);
    {
        std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(last);
        const Bytes box = RawBox(0x7FFFFF00, "free", Box("deep"));
        file.write(reinterpret_cast<const char*>(box.data()), std::streamsize(box.size()));
    }
    std::filesystem::resize_file(path, MP4FileParser::kMaxFileSize);
    MP4FileParser parser;
    ASSERT_TRUE(parser.Open(path));
    EXPECT_EQ(Types(parser.RootNodes()), (std::vector<std::string>{"moov", "mdat", "free"}));
    EXPECT_EQ(parser.RootNodes().back().End(), last + 0x7FFFFF00);
    EXPECT_TRUE(Find(parser, "deep").empty());
    EXPECT_EQ(parser.ReadInt32(MP4FileParser::kMaxFileSize - 4), 0u);
}

TEST(MP4FileParser, SearchesFindOutermostMatchesInFileOrder) {
    MP4FileParser parser;
    ASSERT_TRUE(parser.OpenSource(
        Memory(RecordingBuilder().VideoTrack({Bytes(8)}).MetadataTrack({Bytes(8)}).Build())));
    const NodeList traks = Find(parser, "trak");
    ASSERT_EQ(traks.size(), 2u);
    EXPECT_LT(traks[0]->offset, traks[1]->offset);
    const NodeList moov = Find(parser, "moov");
    ASSERT_EQ(moov.size(), 1u);
    EXPECT_EQ(moov[0], &parser.RootNodes().back());
    EXPECT_EQ(Find(parser, "tkhd").size(), 2u);
    EXPECT_TRUE(Find(parser, "none").empty());

    // The direct-child searches look one level down only.
    EXPECT_EQ(Offsets(parser.FindChildNodes(*moov[0], "trak")), Offsets(traks));
    EXPECT_TRUE(parser.FindChildNodes(*moov[0], "tkhd").empty());
    EXPECT_EQ(parser.FindNodesBelow(*moov[0], "tkhd").size(), 2u);
    const NodeList minfs = Find(parser, "minf");
    ASSERT_EQ(minfs.size(), 2u);
    EXPECT_TRUE(parser.HasChildNode(*minfs[0], "vmhd"));
    EXPECT_FALSE(parser.HasChildNode(*minfs[0], "nmhd"));
    EXPECT_TRUE(parser.HasChildNode(*minfs[1], "nmhd"));
    EXPECT_FALSE(parser.HasChildNode(*minfs[1], "stco"));  // a grandchild
}

TEST(MP4FileParser, EveryPayloadIsSearchedForBoxes) {
    // A full box with version and flags 0 has no children; a leaf whose payload looks like a
    // box has one; the length-prefixed units of the media data become a chain of pseudo-boxes.
    const Bytes units = Cat({Box("unit", Bytes(4)), Box("unit", Box("vmhd")), Box("unit")});
    const Bytes file = Cat({kFtyp, kMoov, Box("free", Box("fake")), Box("stco", {U32(0), U32(1)}),
                            Box("mdat", units)});
    MP4FileParser parser;
    ASSERT_TRUE(parser.OpenSource(Memory(file)));
    EXPECT_TRUE(parser.ChildrenOf(*Find(parser, "stco").at(0)).empty());
    EXPECT_EQ(Types(parser.ChildrenOf(*Find(parser, "free").at(0))),
              std::vector<std::string>{"fake"});
    EXPECT_EQ(Types(parser.ChildrenOf(*Find(parser, "mdat").at(0))),
              (std::vector<std::string>{"unit", "unit", "unit"}));
    EXPECT_EQ(Find(parser, "vmhd").size(), 1u);
}

TEST(MP4FileParser, BoxRunningPastTheEndHasNoChildrenAndEndsItsLevel) {
    const Bytes file =
        Cat({kFtyp, Box("mdat", Bytes(400)),
             Box("moov", {Box("trak", Bytes(8)), RawBox(200, "udta", Box("meta"))})});
    MP4FileParser parser;
    ASSERT_TRUE(parser.OpenSource(Memory(file)));
    const FileNode& moov = *Find(parser, "moov").at(0);
    EXPECT_EQ(Types(parser.ChildrenOf(moov)), (std::vector<std::string>{"trak", "udta"}));
    EXPECT_TRUE(parser.ChildrenOf(parser.ChildrenOf(moov)[1]).empty());
    EXPECT_TRUE(Find(parser, "meta").empty());
}

TEST(MP4FileParser, ReadsStayInsideTheFile) {
    MP4FileParser parser;
    ASSERT_TRUE(parser.OpenSource(
        Memory(Cat({kMoov, kMdat, Bytes{0, 0, 1, 0x2C, 0xFF, 0xFF, 0xFF, 0xFF}}))));
    const std::int64_t size = parser.FileSize();
    EXPECT_EQ(parser.ReadInt32(size - 8), 300u);
    EXPECT_EQ(parser.ReadInt32(size - 4), 0xFFFFFFFFu);
    EXPECT_EQ(parser.ReadInt32(size - 3), std::nullopt);
    EXPECT_EQ(parser.ReadInt32(-1), std::nullopt);

    struct Case {
        std::int64_t offset;
        std::size_t count;
        bool ok;
    } cases[] = {{0, 0, false},    {size - 4, 4, true}, {size - 4, 5, false},
                 {size, 1, false}, {-4, 8, false},      {INT64_MAX - 2, 4, false}};
    for (const Case& c : cases) {
        Bytes buffer(c.count, 0xAB);
        EXPECT_EQ(parser.ReadBytes(c.offset, buffer), c.ok) << c.offset << " " << c.count;
        if (!c.ok) {
            EXPECT_EQ(buffer, Bytes(c.count, 0xAB)) << "a refused read leaves the buffer alone";
        }
    }
}

TEST(MP4FileParser, OpenReadsOnlyTheTopLevel) {
    Bytes units;
    for (int i = 0; i < 1000; ++i) {
        units = Cat({units, Box("unit", Bytes(8))});
    }
    const Bytes file = Cat({kFtyp, kMoov, Box("mdat", units)});
    std::vector<std::int64_t> reads;
    MP4FileParser parser;
    ASSERT_TRUE(parser.OpenSource(std::make_unique<CountingSource>(file, reads)));
    EXPECT_EQ(reads, (std::vector<std::int64_t>{0, std::int64_t(kFtyp.size()),
                                                std::int64_t(kFtyp.size() + kMoov.size())}));
    EXPECT_EQ(Find(parser, "unit").size(), 1000u);  // a search walks the media data
}

TEST(MP4FileParser, NestingAndNodeCountAreBounded) {
    Bytes nested = Box("core");
    for (int i = 0; i < 2000; ++i) {
        nested = Box("nest", nested);
    }
    Bytes flat;
    for (int i = 0; i < 5000; ++i) {
        flat = Cat({flat, Box("tiny")});
    }
    const Bytes file = Cat({kMoov, kMdat, nested, flat});

    MP4FileParser bounded;
    ASSERT_TRUE(bounded.OpenSource(Memory(file)));
    EXPECT_TRUE(Find(bounded, "core").empty());
    EXPECT_EQ(Find(bounded, "nest").size(), 1u);

    MP4FileParser small(TreeLimits{.maxDepth = 4, .maxNodes = 100});
    ASSERT_TRUE(small.OpenSource(Memory(file)));
    EXPECT_EQ(small.RootNodes().size(), 100u);
    EXPECT_EQ(small.ChildrenOf(small.RootNodes()[2]).size(), 0u) << "the budget is spent";

    MP4FileParser shallow(TreeLimits{.maxDepth = 3});
    ASSERT_TRUE(shallow.OpenSource(Memory(Cat({kMoov, kMdat, nested}))));
    const FileNode* node = &shallow.RootNodes()[2];
    for (int depth = 0; depth < 3; ++depth) {
        ASSERT_EQ(shallow.ChildrenOf(*node).size(), 1u) << depth;
        node = &shallow.ChildrenOf(*node)[0];
    }
    EXPECT_EQ(node->Depth(), 3);
    EXPECT_TRUE(shallow.ChildrenOf(*node).empty());
}

TEST(MP4FileParser, FailedOpenLeavesNothingToSearch) {
    MP4FileParser parser;
    ASSERT_TRUE(parser.OpenSource(Memory(Cat({kFtyp, kMoov, kMdat}))));
    EXPECT_EQ(Find(parser, "mvhd").size(), 1u);
    EXPECT_FALSE(parser.OpenSource(Memory(Cat({kFtyp, kMdat}))));
    EXPECT_TRUE(Find(parser, "mvhd").empty());
    EXPECT_TRUE(Find(parser, "ftyp").empty());
    EXPECT_EQ(parser.FileSize(), 0);
    EXPECT_FALSE(parser.ReadInt32(0).has_value());
    // A second open starts from an empty tree.
    ASSERT_TRUE(parser.OpenSource(Memory(Cat({kMoov, kMdat}))));
    EXPECT_EQ(Types(parser.RootNodes()), (std::vector<std::string>{"moov", "mdat"}));
}

}  // namespace
