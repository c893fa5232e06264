// Runs `korvane-tool settings` as a script would and checks its output and the card.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>

#include "settings/settingstestsupport.h"
#include "testsupport/tempdir.h"

namespace {

using settingstest::ReadFile;
using settingstest::WriteFile;

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

const std::string kCardText =
    "[Setting]\r\nVideo Quality = 2;\r\nFrame Rate = 7;\r\nSound Volume = 6;\r\n"
    "Shock Sensitivity = 9;\r\nParking Watch = 1;\r\nVoice Record = 0;\r\n\r\n[GMT]\r\n"
    "-,03,30;\r\n\r\n[Time]\r\nYear = 2023;\r\nMonth =  5;\r\nDay = 17;\r\nHour = 23;\r\n"
    "Minute = 59;\r\nSec = 00;\r\n";

class SettingsCommand : public ::testing::Test {
protected:
    void SetUp() override { WriteFile(setting / "velmar_setup.new", kCardText); }

    ToolRun Run(const std::string& arguments) {
        const auto out = work.path() / "out";
        const auto err = work.path() / "err";
        const std::string command = std::string("'") + KORVANE_TOOL_PATH + "' settings '" +
                                    card.path().string() + "' " + arguments + " >'" + out.string() +
                                    "' 2>'" + err.string() + "'";
        ToolRun run;
        const int status = std::system(command.c_str());
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.out = ReadFile(out);
        run.err = ReadFile(err);
        return run;
    }

    TempDir card;
    TempDir work;
    std::filesystem::path setting = card.path() / "setting";
};

TEST_F(SettingsCommand, PrintsTheCardsSettingsAsJson) {
    const ToolRun run = Run("");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "{\n  \"videoQuality\": 2,\n  \"frameRate\": 7,\n  \"shockSensitivity\": 9,\n"
              "  \"soundVolume\": 6,\n  \"parkingWatch\": 1,\n  \"year\": \"2023\",\n"
              "  \"month\": \" 5\",\n  \"day\": \"17\",\n  \"hour\": \"23\",\n"
              "  \"minute\": \"59\",\n  \"second\": \"00\",\n  \"voiceRecord\": false,\n"
              "  \"gmtOffset\": \"-,03,30\"\n}\n");
    EXPECT_EQ(run.err, "");
}

TEST_F(SettingsCommand, SetAppliesTheRulesAndSaves) {
    const ToolRun run =
        Run("--set soundVolume=10 voiceRecord=1 --set month=07 "
            "gmtOffset=+,05,45 parkingWatch=6 frameRate=-2");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err,
              "korvane-tool settings: parkingWatch \"6\" is out of range or malformed; "
              "stored \"2\"\n");
    const std::string written = ReadFile(setting / "velmar_setup.new");
    for (const char* line :
         {"\r\nVideo Quality = 2;\r\n", "\r\nFrame Rate = -2;\r\n", "\r\nSound Volume = 10;\r\n",
          "\r\nParking Watch = 2;\r\n", "\r\nVoice Record = 1;\r\n", "\r\n[GMT]\r\n+,05,45;\r\n",
          "\r\nMonth = 07;\r\n", "\r\nDay = 17;\r\n"}) {
        EXPECT_NE(written.find(line), std::string::npos) << line;
    }
    EXPECT_NE(run.out.find("\"soundVolume\": 10"), std::string::npos) << run.out;
}

TEST_F(SettingsCommand, ReplacedOffsetIsNamedOnStandardError) {
    const ToolRun run = Run("--set gmtOffset=+,13,00");
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.err.find("gmtOffset \"+,13,00\""), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("stored \"+,09,00\""), std::string::npos) << run.err;
}

TEST_F(SettingsCommand, WrongUseWritesNothing) {
    for (const char* arguments : {"--set bogus=1", "--set soundVolume=loud", "--set voiceRecord=2",
                                  "--set soundVolume", "--set"}) {
        const ToolRun run = Run(arguments);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_NE(run.err.find("Usage:"), std::string::npos) << arguments;
        EXPECT_EQ(ReadFile(setting / "velmar_setup.new"), kCardText) << arguments;
    }
}

TEST_F(SettingsCommand, UnreadableSettingsFileFails) {
    std::filesystem::remove(setting / "velmar_setup.new");
    std::filesystem::create_directory(setting / "velmar_setup.new");
    const ToolRun run = Run("--set soundVolume=1");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("velmar_setup.new"), std::string::npos) << run.err;
    EXPECT_TRUE(std::filesystem::is_directory(setting / "velmar_setup.new"));
}

}  // namespace
