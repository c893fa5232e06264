#include "settings/tarsensetupdata.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <functional>

#include "settings/settingstestsupport.h"
#include "testsupport/tempdir.h"

namespace {

using settingstest::FixedTime;
using settingstest::ReadFile;
using settingstest::WriteFile;

CTarsenSetupData FixedRecord() {
    return CTarsenSetupData(FixedTime);
}

const std::string kFixedFileText =
    "#setting Information\r\n"
    "#Video Quality 3 : High, 2 : Middle, 1 : Low\r\n"
    "#Frame Rate 3 : High, 2 : Middle, 1 : Low\r\n"
    "#Sound Volume 10 : High, 5 : Middle, 1 : Low, 0 : MUTE\r\n"
    "#Shock Sensitivity 10 : High, 5 : Middle, 0 : Low\r\n"
    "#Parking Watch = 0 : NONE, 1 : 5Min, 2 : 10Min, 3 : 15Min, 4 : 20Min, 5 : 30Min\r\n"
    "#Voice Record = 0 : OFF, 1 : ON;\r\n"
    "\r\n"
    "[Setting]\r\n"
    "Video Quality = 3;\r\n"
    "Frame Rate = 3;\r\n"
    "Sound Volume = 4;\r\n"
    "Shock Sensitivity = 4;\r\n"
    "Parking Watch = 2;\r\n"
    "Voice Record = 1;\r\n"
    "\r\n"
    "[GMT]\r\n"
    "+,09,00;\r\n"
    "\r\n"
    "[Time]\r\n"
    "Year = 2024;\r\n"
    "Month =  3;\r\n"
    "Day =  3;\r\n"
    "Hour =  9;\r\n"
    "Minute =  5;\r\n"
    "Sec =  7;\r\n";

TEST(TarsenSetupDataText, FreshRecordWritesTheFixedTextByteForByte) {
    EXPECT_EQ(FixedRecord().MakeFileText(), kFixedFileText);
}

TEST(TarsenSetupDataText, OutOfRangeValuesFromACardAreReplacedAndWrittenBack) {
    CTarsenSetupData data = FixedRecord();
    data.ParseFileText(
        "Video Quality = 0;^Frame Rate = 7;^Sound Volume = 11;^Voice Record = 2;^"
        "Parking Watch = -1;^Shock Sensitivity = 10;^");
    EXPECT_EQ(data.videoQuality(), 0);
    EXPECT_EQ(data.frameRate(), 7);
    EXPECT_EQ(data.soundVolume(), 4);
    EXPECT_FALSE(data.voiceRecord());
    EXPECT_EQ(data.parkingWatch(), 2);
    EXPECT_EQ(data.shockSensitivity(), 10);

    std::string expected = kFixedFileText;
    const auto replace = [&expected](const std::string& from, const std::string& to) {
        expected.replace(expected.find(from), from.size(), to);
    };
    replace("Video Quality = 3;", "Video Quality = 0;");
    replace("Frame Rate = 3;", "Frame Rate = 7;");
    replace("Shock Sensitivity = 4;", "Shock Sensitivity = 10;");
    replace("Voice Record = 1;", "Voice Record = 0;");
    EXPECT_EQ(data.MakeFileText(), expected);
}

struct ParseCase {
    const char* name;
    const char* text;  // lines separated by "^"
    std::function<std::string(const CTarsenSetupData&)> field;
    const char* expected;
};

std::string VideoQuality(const CTarsenSetupData& d) {
    return std::to_string(d.videoQuality());
}
std::string SoundVolume(const CTarsenSetupData& d) {
    return std::to_string(d.soundVolume());
}
std::string ParkingWatch(const CTarsenSetupData& d) {
    return std::to_string(d.parkingWatch());
}
std::string Voice(const CTarsenSetupData& d) {
    return d.voiceRecord() ? "on" : "off";
}
std::string Year(const CTarsenSetupData& d) {
    return d.year();
}
std::string Month(const CTarsenSetupData& d) {
    return d.month();
}
std::string Hour(const CTarsenSetupData& d) {
    return d.hour();
}
std::string Second(const CTarsenSetupData& d) {
    return d.second();
}
std::string Offset(const CTarsenSetupData& d) {
    return d.gmtOffset();
}

class ParseRules : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseRules, AppliesTheLine) {
    CTarsenSetupData data = FixedRecord();
    data.ParseFileText(GetParam().text);
    EXPECT_EQ(GetParam().field(data), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ParseRules,
    ::testing::Values(
        ParseCase{"QualityInRange", "Video Quality = 1;", VideoQuality, "1"},
        ParseCase{"QualityOutOfRange", "Video Quality = 4;", VideoQuality, "3"},
        // Without the space before "=" the key loses its last letter and matches nothing.
        ParseCase{"KeyWithoutSpaces", "Video Quality=1;", VideoQuality, "3"},
        ParseCase{"KeyWithTwoSpaces", "Video Quality  = 1;", VideoQuality, "3"},
        ParseCase{"KeysAreCaseSensitive", "video quality = 1;", VideoQuality, "3"},
        ParseCase{"ValueWithoutSemicolonReadsAsZero", "Sound Volume = 7", SoundVolume, "0"},
        ParseCase{"ValueNotANumberReadsAsZero", "Sound Volume = loud;", SoundVolume, "0"},
        ParseCase{"ValueStopsAtFirstSemicolon", "Sound Volume = 6;7;", SoundVolume, "6"},
        ParseCase{"LeadingSpacesBeforeNumber", "Sound Volume =   9;", SoundVolume, "9"},
        ParseCase{"NegativeIsOutOfRange", "Sound Volume = -1;", SoundVolume, "4"},
        ParseCase{"HugeNumberIsOutOfRange", "Sound Volume = 4294967297;", SoundVolume, "4"},
        ParseCase{"LaterLineWins", "Sound Volume = 7;^Sound Volume = 8;", SoundVolume, "8"},
        ParseCase{"EmptyPiecesVanish", "^^Parking Watch = 5;^^", ParkingWatch, "5"},
        ParseCase{"ParkingOutOfRange", "Parking Watch = 6;", ParkingWatch, "2"},
        ParseCase{"CommentLinesAreIgnored", "#Parking Watch = 0 : NONE;", ParkingWatch, "2"},
        ParseCase{"VoiceOnlyOneIsOn", "Voice Record = 0;^Voice Record = 1;", Voice, "on"},
        ParseCase{"VoiceTwoIsOff", "Voice Record = 2;", Voice, "off"},
        ParseCase{"MonthWithSpaceKept", "Month =  3;", Month, " 3"},
        ParseCase{"MonthZeroPaddedKept", "Month = 07;", Month, "07"},
        ParseCase{"MonthOutOfRangeTakesClock", "Month = 13;", Month, " 3"},
        ParseCase{"YearAnywhereCounts", "[Setting]^Year = 2035;", Year, "2035"},
        ParseCase{"YearOutOfRangeTakesClock", "Year = 999;", Year, "2024"},
        ParseCase{"EmptyClockTextTakesClock", "Hour = ;", Hour, " 9"},
        ParseCase{"ClockTextWithoutNumberTakesClock", "Hour = x;", Hour, " 9"},
        ParseCase{"HourOutOfRange", "Hour = 24;", Hour, " 9"},
        ParseCase{"SecondsKeyIsSec", "Second = 30;^Sec = 59;", Second, "59"},
        ParseCase{"SecondOutOfRange", "Sec = 60;", Second, " 7"},
        ParseCase{"GmtNextLineIsTheOffset", "[GMT]^-,05,30;", Offset, "-,05,30"},
        ParseCase{"GmtHoursAboveTwelve", "[GMT]^-,05,30;^[GMT]^+,13,00;", Offset, "+,09,00"},
        ParseCase{"GmtWithoutSemicolon", "[GMT]^-,05,30;^[GMT]^+,10,00", Offset, "-,05,30"},
        ParseCase{"GmtAsLastLine", "[GMT]^-,05,30;^[GMT]", Offset, "-,05,30"},
        // The line after "[GMT]" is consumed even when it looks like a key line.
        ParseCase{"GmtConsumesNextLine", "[GMT]^Sound Volume = 7", SoundVolume, "4"},
        ParseCase{"GmtNeedsExactHeader", "[GMT] ^-,05,30;", Offset, "+,09,00"}),
    [](const ::testing::TestParamInfo<ParseCase>& caseInfo) { return caseInfo.param.name; });

struct OffsetCase {
    const char* text;
    const char* stored;
};

class GmtOffsetRules : public ::testing::TestWithParam<OffsetCase> {};

TEST_P(GmtOffsetRules, StoresValidOffsetsOnly) {
    CTarsenSetupData data = FixedRecord();
    EXPECT_EQ(data.SetGmtOffset(GetParam().text),
              GetParam().text == std::string(GetParam().stored));
    EXPECT_EQ(data.gmtOffset(), GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(
    Offsets, GmtOffsetRules,
    ::testing::Values(OffsetCase{"+,05,45", "+,05,45"}, OffsetCase{"-,12,59", "-,12,59"},
                      OffsetCase{"+,01,00", "+,01,00"},
                      OffsetCase{"-x03y30", "-x03y30"},  // separators unchecked
                      OffsetCase{"+,00,00", "+,09,00"}, OffsetCase{"+,13,00", "+,09,00"},
                      OffsetCase{"+,09,60", "+,09,00"}, OffsetCase{"*,09,00", "+,09,00"},
                      OffsetCase{"+,9,00", "+,09,00"}, OffsetCase{"+,09,000", "+,09,00"},
                      OffsetCase{"+^05,30", "+,09,00"}));

TEST(TarsenSetupDataSetters, TextsThatWouldBreakTheFileLinesAreReplaced) {
    CTarsenSetupData data = FixedRecord();
    EXPECT_FALSE(data.SetMonth("3\r\nYear = 1999"));
    EXPECT_EQ(data.month(), " 3");
    EXPECT_FALSE(data.SetDay("4^Hour = 1"));
    EXPECT_EQ(data.day(), " 3");
    EXPECT_TRUE(data.SetDay("31"));
    EXPECT_EQ(data.day(), "31");
}

TEST(TarsenSetupDataSetters, IntegerSettersApplyTheRangeRules) {
    CTarsenSetupData data = FixedRecord();
    EXPECT_TRUE(data.SetShockSensitivity(0));
    EXPECT_FALSE(data.SetShockSensitivity(11));
    EXPECT_EQ(data.shockSensitivity(), 4);
    EXPECT_TRUE(data.SetParkingWatch(5));
    EXPECT_FALSE(data.SetParkingWatch(-1));
    EXPECT_EQ(data.parkingWatch(), 2);
    EXPECT_FALSE(data.SetVideoQuality(INT32_MIN));
    EXPECT_EQ(data.videoQuality(), 3);
    data.SetFrameRate(-5);
    EXPECT_EQ(data.frameRate(), -5);
}

TEST(TarsenSetupDataSetters, ReadIntegerFollowsTheFileNumberRules) {
    EXPECT_EQ(CTarsenSetupData::ReadInteger(" \t-12x"), -12);
    EXPECT_EQ(CTarsenSetupData::ReadInteger("+7"), 7);
    EXPECT_EQ(CTarsenSetupData::ReadInteger("x7"), 0);
    EXPECT_EQ(CTarsenSetupData::ReadInteger("- 7"), 0);
    EXPECT_EQ(CTarsenSetupData::ReadInteger("99999999999"), INT32_MAX);
    EXPECT_EQ(CTarsenSetupData::ReadInteger("-99999999999"), INT32_MIN);
}

TEST(TarsenSetupDataFolders, SettingFolderIsJoinedUnlessAlreadyNamed) {
    CTarsenSetupData data = FixedRecord();
    data.SetSettingFolder("/media/card");
    EXPECT_EQ(data.settingFolder(), std::filesystem::path("/media/card/setting"));
    data.SetSettingFolder("/media/card/");
    EXPECT_EQ(data.settingFolder(), std::filesystem::path("/media/card/setting"));
    data.SetSettingFolder("/media/card/setting");
    EXPECT_EQ(data.settingFolder(), std::filesystem::path("/media/card/setting"));
    // A mount point that merely contains the letters is still a card root.
    data.SetSettingFolder("/media/settings-user/CARD");
    EXPECT_EQ(data.settingFolder(), std::filesystem::path("/media/settings-user/CARD/setting"));
}

class TarsenSetupDataFiles : public ::testing::Test {
protected:
    CTarsenSetupData CardRecord() {
        CTarsenSetupData data = FixedRecord();
        data.SetSettingFolder(card.path());
        return data;
    }
    void WriteSetting(const char* name, const std::string& bytes) {
        WriteFile(folder / name, bytes);
    }

    TempDir card;
    std::filesystem::path folder = card.path() / "setting";
};

TEST_F(TarsenSetupDataFiles, LoadsCrLfFileAndSplitsLinesAtCaret) {
    WriteSetting("velmar_setup.new",
                 "[Setting]\r\nSound Volume = 7;^Parking Watch = 5;\r\n\r\n[GMT]\r\n-,03,30;\r\n"
                 "[Time]\r\nMonth = 11;");  // last line without a line break
    CTarsenSetupData data = CardRecord();
    std::string error;
    EXPECT_TRUE(data.LoadFromFolder(error)) << error;
    EXPECT_EQ(data.soundVolume(), 7);
    EXPECT_EQ(data.parkingWatch(), 5);
    EXPECT_EQ(data.gmtOffset(), "-,03,30");
    EXPECT_EQ(data.month(), "11");
}

TEST_F(TarsenSetupDataFiles, OldFileIsReadWhenNewIsMissingOrEmptyAndNeverWritten) {
    const std::string old = "Sound Volume = 9;\r\n";
    WriteSetting("velmar_setup.old", old);
    for (const bool emptyNew : {false, true}) {
        if (emptyNew) {
            WriteSetting("velmar_setup.new", "");
        }
        CTarsenSetupData data = CardRecord();
        std::string error;
        EXPECT_TRUE(data.LoadFromFolder(error));
        EXPECT_EQ(data.soundVolume(), 9);
        ASSERT_TRUE(data.SaveToFile(error)) << error;
        EXPECT_EQ(ReadFile(folder / "velmar_setup.old"), old);
        EXPECT_EQ(ReadFile(folder / "velmar_setup.new"), data.MakeFileText());
        std::filesystem::remove(folder / "velmar_setup.new");
    }
}

TEST_F(TarsenSetupDataFiles, MissingFilesKeepTheValues) {
    CTarsenSetupData data = CardRecord();
    data.SetSoundVolume(8);
    std::string error;
    EXPECT_TRUE(data.LoadFromFolder(error));
    EXPECT_EQ(data.soundVolume(), 8);
    EXPECT_EQ(error, "");
}

TEST_F(TarsenSetupDataFiles, UnreadableNewFileIsReportedAndOldIsUsed) {
    std::filesystem::create_directories(folder / "velmar_setup.new");
    WriteSetting("velmar_setup.old", "Sound Volume = 9;\r\n");
    CTarsenSetupData data = CardRecord();
    std::string error;
    EXPECT_FALSE(data.LoadFromFolder(error));
    EXPECT_NE(error.find("velmar_setup.new"), std::string::npos) << error;
    EXPECT_EQ(data.soundVolume(), 9);
}

TEST_F(TarsenSetupDataFiles, SaveCreatesTheSettingFolderAndRoundTrips) {
    CTarsenSetupData data = CardRecord();
    data.SetGmtOffset("+,05,45");
    data.SetMonth("07");
    data.SetVoiceRecord(false);
    std::string error;
    ASSERT_TRUE(data.SaveToFile(error)) << error;
    const std::string written = ReadFile(folder / "velmar_setup.new");
    EXPECT_EQ(written, data.MakeFileText());
    EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 26);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1)
        << "no temporary file is left behind";

    CTarsenSetupData reloaded(SystemLocalTime);
    reloaded.SetSettingFolder(card.path());
    ASSERT_TRUE(reloaded.LoadFromFolder(error));
    EXPECT_EQ(reloaded.MakeFileText(), written);
}

TEST_F(TarsenSetupDataFiles, SaveReportsAFolderThatCannotBeCreated) {
    CTarsenSetupData data = FixedRecord();
    data.SetSettingFolder(card.path() / "no-such-card");
    std::string error;
    EXPECT_FALSE(data.SaveToFile(error));
    EXPECT_NE(error.find("no-such-card"), std::string::npos) << error;
}

// The file-size limit makes the write itself fail part-way, which works even for root.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limited = previous_;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit previous_{};
    void (*previousHandler_)(int) = SIG_DFL;
};

TEST_F(TarsenSetupDataFiles, FailedWriteLeavesThePreviousFileIntact) {
    const std::string previous = "Sound Volume = 9;\r\nParking Watch = 1;\r\n";
    WriteSetting("velmar_setup.new", previous);
    CTarsenSetupData data = CardRecord();
    std::string error;
    bool saved = true;
    {
        FileSizeLimit limit(100);
        saved = data.SaveToFile(error);
    }
    EXPECT_FALSE(saved);
    EXPECT_NE(error.find("velmar_setup.new"), std::string::npos) << error;
    EXPECT_EQ(ReadFile(folder / "velmar_setup.new"), previous);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1)
        << "the partial temporary file is removed";
}

}  // namespace
