#include "mp4/timerangeextractor.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <set>

#include "cutcheck.h"
#include "cutfixture.h"
#include "testsupport/files.h"
#include "testsupport/tempdir.h"

namespace {

using mp4test::CutSource;
using mp4test::CutSourceOptions;

void WriteFile(const std::filesystem::path& path, const mp4test::Bytes& bytes) {
    testsupport::WriteFile(path, std::string(bytes.begin(), bytes.end()));
}

using testsupport::ReadFile;

// Every name in `dir`, hidden ones included.
std::set<std::string> Names(const std::filesystem::path& dir) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

class CutFixtureTest : public ::testing::Test {
protected:
    void SetUp() override { WriteFile(source_, CutSource::Build()); }

    TempDir dir_;
    const std::filesystem::path source_ = dir_.path() / "source.mp4";
    const std::filesystem::path output_ = dir_.path() / "cut.mp4";
};

// Ranges over the three-second fixture: video samples start every 500 units, metadata samples
// every 1000; a sample belongs to the cut when it starts within [start, end + 1) seconds.
struct RangeCase {
    const char* name;
    std::int64_t start, end;
    std::uint32_t videoFirst, videoCount;
    std::vector<std::uint32_t> videoSync;
    std::uint32_t metadataFirst, metadataCount;
};

TEST_F(CutFixtureTest, KeepsTheSamplesThatStartInTheRange) {
    const RangeCase cases[] = {
        {"first second", 0, 0, 0, 2, {1}, 0, 1},
        {"middle second", 1, 1, 2, 2, {1}, 1, 1},
        {"whole recording", 0, 2, 0, 6, {1, 3, 5}, 0, 3},
        {"last two seconds", 1, 2, 2, 4, {1, 3}, 1, 2},
        {"end past the recording", 2, 100, 4, 2, {1}, 2, 1},
    };
    for (const RangeCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(output_);
        std::string error;
        ASSERT_TRUE(ExtractTimeRange(source_, c.start, c.end, output_, error)) << error;
        cutcheck::ExpectCut(source_, output_,
                            {{c.videoFirst, c.videoCount, 500 * c.videoCount, c.videoSync},
                             {c.metadataFirst, c.metadataCount, 1000 * c.metadataCount, {}}});
        EXPECT_EQ(Names(dir_.path()), (std::set<std::string>{"source.mp4", "cut.mp4"}));
    }
}

TEST_F(CutFixtureTest, ConstantSizeTableStaysTwentyBytes) {
    std::string error;
    ASSERT_TRUE(ExtractTimeRange(source_, 1, 2, output_, error)) << error;
    MP4FileParser parser;
    ASSERT_TRUE(parser.Open(output_));
    const cutcheck::MovieTables movie = cutcheck::ReadTables(parser);
    ASSERT_EQ(movie.tracks.size(), 2u);
    EXPECT_EQ(movie.tracks[1].sampleSizeBoxSize, 20u);
    EXPECT_EQ(movie.tracks[1].sizes, std::vector<std::uint32_t>(2, CutSource::kMetadataSize));
}

TEST_F(CutFixtureTest, RangesThatKeepNothingLeaveNoFile) {
    const std::pair<std::int64_t, std::int64_t> ranges[] = {
        {3, 5},    // starts where the recording ends
        {50, 60},  // far past it
        {2, 1},    // ends before it starts
        {-1, 1},   // starts before the recording
    };
    for (const auto& [start, end] : ranges) {
        SCOPED_TRACE(std::to_string(start) + " to " + std::to_string(end));
        std::string error;
        EXPECT_FALSE(ExtractTimeRange(source_, start, end, output_, error));
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(Names(dir_.path()), std::set<std::string>{"source.mp4"});
    }
}

TEST_F(CutFixtureTest, ExistingDestinationIsLeftUntouched) {
    testsupport::WriteFile(output_, "the user's own file");
    const auto modified = std::filesystem::last_write_time(output_);
    std::string error;
    EXPECT_FALSE(ExtractTimeRange(source_, 0, 2, output_, error));
    EXPECT_NE(error.find("already exists"), std::string::npos) << error;
    EXPECT_EQ(ReadFile(output_), "the user's own file");
    EXPECT_EQ(std::filesystem::last_write_time(output_), modified);
    // A dangling link is a name that exists too: nothing is created through it.
    const std::filesystem::path link = dir_.path() / "link.mp4";
    std::filesystem::create_symlink(dir_.path() / "elsewhere.mp4", link);
    EXPECT_FALSE(ExtractTimeRange(source_, 0, 2, link, error));
    EXPECT_FALSE(std::filesystem::exists(dir_.path() / "elsewhere.mp4"));
}

TEST_F(CutFixtureTest, SourceIsNeverChanged) {
    const std::string before = ReadFile(source_);
    std::string error;
    ASSERT_TRUE(ExtractTimeRange(source_, 0, 1, output_, error)) << error;
    EXPECT_EQ(ReadFile(source_), before);
    EXPECT_FALSE(ExtractTimeRange(source_, 0, 1, source_, error));  // onto itself
    EXPECT_EQ(ReadFile(source_), before);
}

// Sources that break the recorder's layout are refused before anything is written.
struct RefusalCase {
    const char* name;
    CutSourceOptions options;
    const char* reason;  // part of the error text
};

TEST_F(CutFixtureTest, RefusesSourcesOutsideTheRecordersLayout) {
    const auto with = [](auto change) {
        CutSourceOptions options;
        change(options);
        return options;
    };
    const RefusalCase cases[] = {
        {"track time scale", with([](auto& o) { o.trackTimeScale = 600; }), "time scale 600"},
        {"movie time scale", with([](auto& o) { o.movieTimeScale = 90000; }), "time scale 90000"},
        {"64-bit chunk offsets", with([](auto& o) { o.co64 = true; }), "64-bit chunk offsets"},
        {"version 1 track header", with([](auto& o) { o.trackHeaderVersion = 1; }), "version 1"},
        {"version 1 media header", with([](auto& o) { o.mediaHeaderVersion = 1; }), "version 1"},
        {"two samples per chunk", with([](auto& o) { o.samplesPerChunk = 2; }),
         "several samples per chunk"},
        {"box after the sample table", with([](auto& o) { o.boxAfterSampleTable = true; }),
         "boxes follow the sample table"},
        {"edit list", with([](auto& o) { o.editList = true; }), "edit list"},
        {"no object descriptor", with([](auto& o) { o.objectDescriptor = false; }),
         "object descriptor"},
        {"sample past the end", with([](auto& o) { o.lastOffsetShift = 5000; }),
         "outside the file"},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFile(source_, CutSource::Build(c.options));
        std::string error;
        EXPECT_FALSE(ExtractTimeRange(source_, 0, 2, output_, error));
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
        EXPECT_EQ(Names(dir_.path()), std::set<std::string>{"source.mp4"});
    }
}

TEST_F(CutFixtureTest, RefusesFilesOfTwoGibibytes) {
    std::filesystem::resize_file(source_, std::uintmax_t{1} << 31);  // sparse
    std::string error;
    EXPECT_FALSE(ExtractTimeRange(source_, 0, 2, output_, error));
    EXPECT_NE(error.find("2 GiB"), std::string::npos) << error;
    EXPECT_EQ(Names(dir_.path()), std::set<std::string>{"source.mp4"});
}

TEST_F(CutFixtureTest, RefusesNamesTheViewerWouldNotOpen) {
    const std::filesystem::path upper = dir_.path() / "source.MP4";
    std::filesystem::rename(source_, upper);
    std::string error;
    EXPECT_FALSE(ExtractTimeRange(upper, 0, 2, output_, error));
    EXPECT_FALSE(ExtractTimeRange(dir_.path() / "missing.mp4", 0, 2, output_, error));
    EXPECT_FALSE(ExtractTimeRange(upper, 0, 2, dir_.path() / "no-folder" / "cut.mp4", error));
    EXPECT_EQ(Names(dir_.path()), std::set<std::string>{"source.MP4"});
}

// A write that fails half-way (here: the file size limit) leaves no file under any name.
TEST_F(CutFixtureTest, FailedWriteLeavesNothing) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{100, 100};
        setrlimit(RLIMIT_FSIZE, &limit);
        std::string error;
        const bool saved = ExtractTimeRange(source_, 0, 2, output_, error);
        _exit(!saved && error.find("Cannot") != std::string::npos ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(Names(dir_.path()), std::set<std::string>{"source.mp4"});
}

}  // namespace
