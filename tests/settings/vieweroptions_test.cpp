#include "settings/vieweroptions.h"

#include <gtest/gtest.h>


#include "testsupport/files.h"
#include "testsupport/tempdir.h"

namespace {

using testsupport::ReadFile;
using testsupport::WriteFile;

class ViewerOptionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        previous = std::filesystem::current_path();
        std::filesystem::current_path(dir.path());
    }
    void TearDown() override { std::filesystem::current_path(previous); }

    ViewerOptions Load(const std::string& optionLines) {
        WriteFile(file, "[OPTION]\n" + optionLines);
        return ViewerOptions::OpenOptions(file);
    }

    TempDir dir;
    std::filesystem::path previous;
    std::filesystem::path file = dir.path() / "option.ini";
};

TEST_F(ViewerOptionsTest, MissingFileIsCreatedWithDefaultsInOrder) {
    const ViewerOptions options = ViewerOptions::OpenOptions(file);
    EXPECT_EQ(options.playValue, 5);
    EXPECT_FALSE(options.useLog);
    const std::string cwd = std::filesystem::current_path().string();
    EXPECT_EQ(ReadFile(file),
              "[DIRECTORY]\nROOT_DIRECTORY=CL_KORVANE\nEVENT_DIRECTORY=MP4_EVENT\n"
              "CONTINUOS_DIRECTORY=MP4_INFINITE\n\n\n[OPTION]\nSAVE_DIRECTORY=" + cwd +
              "\nPLAY_VALUE=5\nUSE_LOG=FALSE\nLOG_LEVEL=3\nLOG_TYPE=3\n");
}

TEST_F(ViewerOptionsTest, NumericAndSwitchRules) {
    struct Case {
        const char* lines;
        int playValue;
        bool useLog;
        int logLevel;
        int logType;
    } cases[] = {
        {"PLAY_VALUE=0\n", 5, false, 3, 3},
        {"PLAY_VALUE=10\n", 10, false, 3, 3},
        {"PLAY_VALUE=11\n", 5, false, 3, 3},
        {"PLAY_VALUE=-3\n", 5, false, 3, 3},
        {"PLAY_VALUE=7a\n", 5, false, 3, 3},
        {"PLAY_VALUE=99999999999999999999\n", 5, false, 3, 3},
        {"USE_LOG=true\n", 5, true, 3, 3},
        {"USE_LOG=True\n", 5, true, 3, 3},
        {"USE_LOG=1\n", 5, false, 3, 3},
        {"LOG_TYPE=7\nLOG_LEVEL=2\n", 5, false, 2, 7},
        {"LOG_LEVEL= 4\n", 5, false, 4, 3},  // the INI reader trims blanks around values
    };
    for (const auto& c : cases) {
        const ViewerOptions options = Load(c.lines);
        EXPECT_EQ(options.playValue, c.playValue) << c.lines;
        EXPECT_EQ(options.useLog, c.useLog) << c.lines;
        EXPECT_EQ(options.logLevel, c.logLevel) << c.lines;
        EXPECT_EQ(options.logType, c.logType) << c.lines;
    }
}

TEST_F(ViewerOptionsTest, MissingKeysEmptyFoldersAndVanishedSaveDirectory) {
    const ViewerOptions options = Load("SAVE_DIRECTORY=" + (dir.path() / "gone").string() + "\n");
    EXPECT_EQ(options.rootDirectory, "");
    EXPECT_EQ(options.eventDirectory, "");
    EXPECT_EQ(options.saveDirectory, std::filesystem::current_path().string());
    ASSERT_TRUE(options.SaveOptions(file));
    EXPECT_NE(ReadFile(file).find("SAVE_DIRECTORY=" + std::filesystem::current_path().string()),
              std::string::npos);
}

TEST_F(ViewerOptionsTest, SaveKeepsUnknownKeysAndTheirOrder) {
    WriteFile(file, "[OPTION]\nCUSTOM=keep me\nPLAY_VALUE=7\n[EXTRA]\nA=1\n");
    ViewerOptions options = ViewerOptions::OpenOptions(file);
    EXPECT_EQ(options.playValue, 7);
    options.useLog = true;
    ASSERT_TRUE(options.SaveOptions(file));
    const std::string text = ReadFile(file);
    EXPECT_LT(text.find("CUSTOM=keep me"), text.find("PLAY_VALUE=7"));
    EXPECT_NE(text.find("[EXTRA]\nA=1"), std::string::npos);
    EXPECT_NE(text.find("USE_LOG=TRUE"), std::string::npos);
    EXPECT_EQ(ViewerOptions::OpenOptions(file).useLog, true);
}

TEST_F(ViewerOptionsTest, UnwritableFileIsReportedAndOptionsStay) {
    std::filesystem::create_directory(file);  // a folder where the file should be
    ViewerOptions options = ViewerOptions::OpenOptions(file);
    EXPECT_EQ(options.playValue, 5);
    EXPECT_FALSE(options.SaveOptions(file));
}

}  // namespace
