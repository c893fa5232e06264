#include "recordings/recordingscan.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>

#include "recordingfixtures.h"
#include "testsupport/tempdir.h"

namespace fs = std::filesystem;
using recordingscan::ClassifyRecording;
using recordingscan::HasRecordingExtension;
using recordingscan::ParseNameTime;

namespace {

// Runs with the time zone fixed to UTC so that file times have a known local form.
class UtcZone {
public:
    UtcZone() {
        if (const char* zone = std::getenv("TZ")) {
            saved_ = zone;
            hadZone_ = true;
        }
        setenv("TZ", "UTC", 1);
        tzset();
    }
    ~UtcZone() {
        if (hadZone_) {
            setenv("TZ", saved_.c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }

private:
    std::string saved_;
    bool hadZone_ = false;
};

void SetModificationTime(const fs::path& path, std::time_t when) {
    const utimbuf times{when, when};
    ASSERT_EQ(utime(path.c_str(), &times), 0);
}

std::vector<std::string> Sorted(std::vector<std::string> paths) {
    std::sort(paths.begin(), paths.end());
    return paths;
}

}  // namespace

TEST(RecordingNames, Extension) {
    const struct {
        const char* name;
        bool accepted;
    } cases[] = {
        {"REC_20120304_050607_F.mp4", true},
        {"/card/MP4_EVENT/a.mp4", true},
        {"clipmp4", true},  // only the last three characters count
        {"clip.MP4", false},
        {"clip.Mp4", false},
        {"clip.avi", false},
        {"clip.mp4.bak", false},
        {"mp", false},
        {"", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HasRecordingExtension(c.name), c.accepted) << c.name;
    }
}

TEST(RecordingNames, Classification) {
    const struct {
        const char* name;
        RecordingType type;
    } cases[] = {
        {"I_20120101.mp4", RecordingType::Always},  // contains 'I'
        {"EVENT_1.mp4", RecordingType::Event},
        {"MDI_1.mp4", RecordingType::ParkingMotion},
        {"M_20120101.mp4", RecordingType::Parking},
        {"PARK_1.mp4", RecordingType::Unknown},  // no I, E or M, neither PRK nor PAK
        {"MOTION.mp4", RecordingType::Always},   // the 'I' test comes before the 'M' test
        {"REC_20120304_050607_F.mp4", RecordingType::Always},
        {"EVT_20120304_050607_F.mp4", RecordingType::Event},
        {"EVS_2012_03_04_05_06_07.mp4", RecordingType::Event},
        {"PRK_20120304_050607_FR.mp4", RecordingType::Parking},
        {"PAK_20120304_050607_F.mp4", RecordingType::Parking},
        {"PRK_20120304_050607_E.mp4", RecordingType::Event},  // the letter wins over PRK
        {"20120304_050607_1.mp4", RecordingType::Unknown},
        {"rec_20120304_050607.mp4", RecordingType::Unknown},  // case-sensitive
        {"20120304_050607.MIDI", RecordingType::Unknown},     // the extension is not read
        {"MDI", RecordingType::ParkingMotion},                // no extension at all
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ClassifyRecording(c.name), c.type) << c.name;
    }
}

TEST(RecordingNames, TimeFromName) {
    const DateTime expected{2012, 3, 4, 5, 6, 7};
    const struct {
        const char* name;
        bool valid;
    } cases[] = {
        {"REC_2012_03_04_05_06_07.mp4", true},   // marker and seven tokens
        {"EVT_20120304_050607_F.mp4", true},     // marker, date and time tokens
        {"20120304_050607_1.mp4", true},         // no marker, long date
        {"120304_050607_1.mp4", true},           // no marker, two-digit year
        {"EVT__20120304___050607_F.mp4", true},  // empty tokens are dropped
        {"REC_20120304_050607.mp4", false},      // three tokens: "REC" is read as the date
        {"20120304_050607.mp4", false},          // two tokens
        {"EVT_20120230_050607_F.mp4", false},    // 30 February
        {"EVT_20120304_250607_F.mp4", false},    // hour 25
        {"EVT_20120304_056007_F.mp4", false},    // minute 60
        {"XYZ_20120304_050607_F.mp4", false},    // not a marker: "XYZ" is read as the date
    };
    for (const auto& c : cases) {
        const auto time = ParseNameTime(c.name);
        ASSERT_EQ(time.has_value(), c.valid) << c.name;
        if (c.valid) {
            EXPECT_EQ(*time, expected) << c.name;
        }
    }
    // Leading digits only: the extension on the last of seven tokens is ignored.
    EXPECT_EQ(ParseNameTime("PRK_2024_5_17_8_9_59.mp4"), (DateTime{2024, 5, 17, 8, 9, 59}));
    EXPECT_EQ(ParseNameTime("MDI_20240229_235959_FR.mp4"), (DateTime{2024, 2, 29, 23, 59, 59}));
    EXPECT_FALSE(ParseNameTime("MDI_20230229_235959_FR.mp4").has_value());  // no leap day
    // Years the date type can hold: 100 to 9999.
    EXPECT_EQ(ParseNameTime("REC_100_1_1_0_0_0.mp4"), (DateTime{100, 1, 1, 0, 0, 0}));
    EXPECT_FALSE(ParseNameTime("REC_99_1_1_0_0_0.mp4").has_value());
    EXPECT_FALSE(ParseNameTime("REC_10000_1_1_0_0_0.mp4").has_value());
}

TEST(RecordingNames, TimeFallsBackToTheFileTime) {
    UtcZone utc;
    TempDir dir;
    const fs::path unnamed = dir.path() / "REC_20120304_050607.mp4";
    WriteMinimalRecording(unnamed);
    SetModificationTime(unnamed, 1331917383);  // 2012-03-16 17:03:03 UTC
    EXPECT_EQ(recordingscan::ParseRecordingTime(unnamed), (DateTime{2012, 3, 16, 17, 3, 3}));

    const fs::path named = dir.path() / "EVT_20120304_050607_F.mp4";
    WriteMinimalRecording(named);
    SetModificationTime(named, 1331917383);
    EXPECT_EQ(recordingscan::ParseRecordingTime(named), (DateTime{2012, 3, 4, 5, 6, 7}));

    // A file that vanished has no time to fall back on: the earliest date, sorted first.
    EXPECT_EQ(recordingscan::ParseRecordingTime(dir.path() / "gone.mp4"), DateTime{});
}

TEST(RecordingNames, DropRule) {
    TempDir dir;
    fs::create_directories(dir.path() / "with.dot");
    const struct {
        std::string path;
        bool folder;
    } cases[] = {
        {(dir.path() / "with.dot").string(), true},  // an existing directory
        {"/no/such/folder", true},                   // no '.' in the path
        {".hidden", true},                           // a '.' only as first character
        {"/no/such/clip.mp4", false},
        {"/no/such/clip", true},
        {"/no/such.dir/clip", false},
        {(dir.path() / "missing.mp4").string(), false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(recordingscan::IsDroppedFolder(c.path), c.folder) << c.path;
    }
}

TEST(FolderScan, WalksEveryFolderOnceAndKeepsMp4Names) {
    TempDir dir;
    const fs::path card = dir.path() / "card";
    WriteMinimalRecording(card / "MP4_EVENT" / "EVT_20120101_000001_x.mp4");
    WriteMinimalRecording(card / "MP4_INFINITE" / "REC_20111231_235959_x.mp4");
    WriteMinimalRecording(card / "MP4_INFINITE" / "deep" / "er" / "REC_20111231_000000_x.mp4");
    WriteMinimalRecording(card / "MP4_INFINITE" / "upper.MP4");
    testsupport::WriteFile(card / "setting" / "velmar_setup.new", "x");
    WriteMinimalRecording(card / "folder.v2" / "inside.mp4");  // a '.' makes it a "file"
    fs::create_directories(card / "folder.mp4");               // ... that passes the test
    // Links that form cycles, and one more way into a folder already walked.
    fs::create_directory_symlink(card, card / "MP4_EVENT" / "loop");
    fs::create_directory_symlink(card / "MP4_EVENT", card / "MP4_INFINITE" / "events");
    fs::create_directory_symlink(card / "self", card / "self");  // dangling, points at itself

    // The events folder has two ways in; which one the walk takes depends on the listing order.
    std::vector<std::string> found = recordingscan::ScanFolder(card);
    const std::string viaLink = (card / "MP4_INFINITE" / "events" / "EVT_20120101_000001_x.mp4");
    std::replace(found.begin(), found.end(), viaLink,
                 (card / "MP4_EVENT" / "EVT_20120101_000001_x.mp4").string());
    const std::vector<std::string> expected = {
        (card / "MP4_EVENT" / "EVT_20120101_000001_x.mp4").string(),
        (card / "MP4_INFINITE" / "REC_20111231_235959_x.mp4").string(),
        (card / "MP4_INFINITE" / "deep" / "er" / "REC_20111231_000000_x.mp4").string(),
        (card / "folder.mp4").string(),
    };
    EXPECT_EQ(Sorted(found), Sorted(expected));
    EXPECT_TRUE(recordingscan::ScanFolder(dir.path() / "missing").empty());
}
