#include "app/logwriter.h"

#include <gtest/gtest.h>


#include "testsupport/files.h"
#include "testsupport/tempdir.h"

namespace {

using testsupport::ReadFile;

// 2026-03-05 07:08:09 in the local time zone.
std::time_t FixedLocalTime(int day, int hour, int minute, int second) {
    std::tm tm{};
    tm.tm_year = 2026 - 1900;
    tm.tm_mon = 2;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    tm.tm_isdst = -1;
    return std::mktime(&tm);
}

class LogWriterTest : public ::testing::Test {
protected:
    void SetUp() override {
        writer.SetLogFolder(dir.path());
        writer.SetApplicationName("KorvaneViewer");
        writer.SetClock([this] { return now; });
        writer.Configure(true, 3, 3);
    }
    void TearDown() override {
        writer.Configure(false, 3, 3);
        writer.SetClock(nullptr);
        writer.SetOpenFailureHandler(nullptr);
        writer.SetLogFolder({});
    }
    std::filesystem::path LogFile(const char* date) {
        return dir.path() / "LOG" / (std::string("KorvaneViewer ") + date + ".log");
    }

    TempDir dir;
    LogWriter& writer = LogWriter::Instance();
    std::time_t now = FixedLocalTime(5, 7, 8, 9);
};

TEST_F(LogWriterTest, LineFormsByPresentNames) {
    writer.WriteLog("Log Start!", "CKorvaneViewerNewDlg", "OnInitDialog");
    writer.WriteLog("method only", "", "OnClose");
    writer.WriteLog("class only", "CVideoPlayerPane", "");
    writer.WriteLog("Log End\n", "CKorvaneViewerNewDlg", "OnClose");
    EXPECT_EQ(ReadFile(LogFile("20260305")),
              "2026-03-05 07:08:09\t[CKorvaneViewerNewDlg]\t[OnInitDialog]\tLog Start!\r\r\n"
              "2026-03-05 07:08:09\t[OnClose]\tmethod only\r\r\n"
              "2026-03-05 07:08:09\tclass only\r\r\n"
              "2026-03-05 07:08:09\t[CKorvaneViewerNewDlg]\t[OnClose]\tLog End\r\n\r\r\n");
}

TEST_F(LogWriterTest, WritesKoreanInCodePage949) {
    writer.WriteLog("준비", "C", "M");
    const std::string content = ReadFile(LogFile("20260305"));
    EXPECT_NE(content.find("\xC1\xD8\xBA\xF1"), std::string::npos);  // 준비 in CP949
}

struct FilterCase {
    bool enabled;
    int type;
    int level;
    int lineLevel;
    bool written;
};

TEST_F(LogWriterTest, FilterAppliesBeforeAnyFileWork) {
    const FilterCase cases[] = {
        {false, 3, 3, 3, false},  // off: no LOG folder at all
        {true, 3, 3, 5, false},   // the player pane's level-5 line at the default level
        {true, 3, 5, 5, true},
        {true, 3, 3, 3, true},
        {true, 7, 3, 3, false},   // a type other than 3 writes nothing
        {true, 3, 2, 3, false},
    };
    for (const auto& c : cases) {
        std::filesystem::remove_all(dir.path() / "LOG");
        writer.Configure(c.enabled, c.type, c.level);
        writer.WriteLog("text", "C", "M", 3, c.lineLevel);
        EXPECT_EQ(std::filesystem::exists(LogFile("20260305")), c.written)
            << c.enabled << " " << c.type << " " << c.level << " " << c.lineLevel;
        if (!c.written) {
            EXPECT_FALSE(std::filesystem::exists(dir.path() / "LOG"));
        }
    }
}

TEST_F(LogWriterTest, LinesOnBothSidesOfMidnightGoToTheirOwnDays) {
    now = FixedLocalTime(5, 23, 59, 59);
    writer.WriteLog("before", "C", "M");
    now = FixedLocalTime(6, 0, 0, 0);
    writer.WriteLog("after", "C", "M");
    EXPECT_NE(ReadFile(LogFile("20260305")).find("before"), std::string::npos);
    EXPECT_NE(ReadFile(LogFile("20260306")).find("after"), std::string::npos);
}

TEST_F(LogWriterTest, UnwritableFolderIsReportedOncePerRun) {
    int reports = 0;
    writer.SetOpenFailureHandler([&](const std::string& message) {
        EXPECT_EQ(message, "Cannot Open Log!!");
        ++reports;
    });
    writer.SetLogFolder(dir.path() / "missing" / "deeper");  // LOG/ cannot be created there
    writer.WriteLog("one", "C", "M");
    writer.WriteLog("two", "C", "M");
    EXPECT_EQ(reports, 1);
}

}  // namespace
