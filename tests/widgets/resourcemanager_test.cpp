#include "app/resourcemanager.h"

#include "app/logwriter.h"

#include <QIcon>
#include <QImage>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "testsupport/tempdir.h"

namespace {

const std::filesystem::path kLibrary = KORVANE_RESOURCE_LIBRARY;

// Collects what the log writer wrote into a temporary folder.
class LoggedTest : public ::testing::Test {
protected:
    void SetUp() override {
        LogWriter::Instance().SetLogFolder(logDir.path());
        LogWriter::Instance().Configure(true, 3, 3);
    }
    void TearDown() override {
        LogWriter::Instance().Configure(false, 3, 3);
        LogWriter::Instance().SetLogFolder({});
    }
    std::string Log() const {
        std::string text;
        const std::filesystem::path folder = logDir.path() / "LOG";
        if (!std::filesystem::exists(folder)) {
            return text;
        }
        for (const auto& file : std::filesystem::directory_iterator(folder)) {
            std::ifstream in(file.path(), std::ios::binary);
            std::ostringstream content;
            content << in.rdbuf();
            text += content.str();
        }
        return text;
    }

    TempDir logDir;
};

using ResourceManagerTest = LoggedTest;

struct Expected {
    const char* kind;
    std::vector<int> numbers;
    QSize size;
};

// Every image number the viewer's windows ask for, at the size its layout places it at.
const std::vector<Expected> kEveryImage = {
    {"icon",
     {188, 189, 190, 191, 192, 193, 194, 195, 196, 197, 198, 199,
      200, 201, 202, 203, 204, 205, 206, 207, 208, 209, 210, 211},
     {32, 32}},
    {"icon",
     {212, 213, 214, 215, 216, 217, 218, 219, 220, 221, 223, 224,
      225, 226, 227, 228, 229, 230, 231, 232, 233, 234, 235},
     {32, 32}},
    {"icon", {245}, {64, 64}},
    {"bitmap", {108}, {1065, 46}},
    {"bitmap", {107}, {400, 55}},
    {"bitmap", {152}, {280, 33}},
    {"bitmap", {101}, {291, 28}},
    {"bitmap", {153}, {150, 34}},
    {"bitmap", {331, 332, 334, 335, 337, 338}, {26, 22}},
    {"bitmap", {104, 105}, {60, 25}},
    {"bitmap", {145, 128, 130, 139, 140, 142, 138, 134, 136, 146, 147, 149}, {43, 23}},
    {"bitmap", {297, 298, 299, 300, 301, 302}, {43, 19}},
    {"bitmap", {181, 182, 109, 110, 183, 184, 155, 156}, {24, 24}},
    {"bitmap", {102, 236, 237}, {40, 35}},
    {"bitmap", {170}, {6, 8}},
    {"bitmap", {171, 172}, {11, 19}},
    {"bitmap", {167}, {3, 6}},
    {"bitmap", {168, 169}, {70, 21}},
    {"bitmap", {173}, {5, 21}},
    {"bitmap", {123, 125}, {2, 18}},
    {"bitmap", {124}, {1, 18}},
    {"bitmap", {175, 176}, {18, 18}},
    {"bitmap", {177}, {18, 20}},
    {"bitmap", {178}, {17, 19}},
    {"bitmap", {179}, {18, 1}},
    {"bitmap", {180}, {18, 17}},
    {"bitmap", {174}, {124, 38}},
    {"bitmap", {126, 157, 158, 159, 160, 161, 162, 163, 164, 165, 166}, {10, 16}},
    {"bitmap", {127}, {5, 16}},
    {"bitmap", {310}, {640, 360}},
    {"png", {268, 103}, {128, 158}},
};

TEST_F(ResourceManagerTest, LibraryHoldsEveryNumberedImageAtItsLayoutSize) {
    ResourceManager manager({kLibrary});
    ASSERT_TRUE(manager.loaded()) << kLibrary;
    for (const Expected& family : kEveryImage) {
        for (const int number : family.numbers) {
            SCOPED_TRACE(std::string(family.kind) + " " + std::to_string(number));
            const std::string kind = family.kind;
            QSize size;
            if (kind == "icon") {
                const QIcon icon = manager.GetIcon(number);
                ASSERT_FALSE(icon.isNull());
                size = icon.availableSizes().value(0);
            } else {
                const QImage image =
                    kind == "png" ? manager.LoadPng(number) : manager.LoadBitmap(number);
                ASSERT_FALSE(image.isNull());
                size = image.size();
            }
            EXPECT_EQ(size, family.size);
        }
    }
    EXPECT_EQ(Log().find("NULL"), std::string::npos);
}

TEST_F(ResourceManagerTest, IconLookupsAreLoggedAndMissesReported) {
    ResourceManager manager({kLibrary});
    EXPECT_FALSE(manager.GetIcon(208).isNull());
    EXPECT_NE(Log().find("ICon ID = 208"), std::string::npos);
    EXPECT_EQ(Log().find("ICon NULL"), std::string::npos);

    EXPECT_TRUE(manager.GetIcon(9999).isNull());
    EXPECT_NE(Log().find("ICon ID = 9999"), std::string::npos);
    EXPECT_NE(Log().find("ICon NULL"), std::string::npos);

    // A single missing bitmap or picture yields none through the fallbacks.
    EXPECT_TRUE(manager.LoadBitmap(9999).isNull());
    EXPECT_NE(Log().find("Bitmap NULL"), std::string::npos);
    EXPECT_TRUE(manager.LoadPng(9999).isNull());
    EXPECT_NE(Log().find("Resource NULL"), std::string::npos);
}

TEST_F(ResourceManagerTest, MissingLibraryYieldsNullImagesAndLogs) {
    TempDir empty;
    // Another manager of this process may have the same images registered; this one must still
    // answer from its own (absent) library.
    ResourceManager manager({empty.path() / ResourceManager::kLibraryFileName});
    EXPECT_FALSE(manager.loaded());
    EXPECT_TRUE(manager.libraryPath().isEmpty());
    EXPECT_NE(Log().find("KorvaneResource.dll Load fail"), std::string::npos);

    EXPECT_TRUE(manager.GetIcon(245).isNull());
    EXPECT_NE(Log().find("ICon NULL"), std::string::npos);
    EXPECT_TRUE(manager.LoadBitmap(108).isNull());
    EXPECT_NE(Log().find("Bitmap NULL"), std::string::npos);
    EXPECT_TRUE(manager.LoadPng(268).isNull());
    EXPECT_NE(Log().find("Resource NULL"), std::string::npos);
}

TEST_F(ResourceManagerTest, SingletonPrefersTheWorkingDirectory) {
    TempDir workDir;
    const std::filesystem::path copy = workDir.path() / ResourceManager::kLibraryFileName;
    std::filesystem::copy_file(kLibrary, copy);
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(workDir.path());
    ResourceManager::Release();
    const QString used = ResourceManager::Instance().libraryPath();
    ResourceManager::Release();
    std::filesystem::current_path(previous);

    EXPECT_EQ(std::filesystem::path(used.toStdString()), copy);
    const std::vector<std::filesystem::path> candidates = ResourceManager::DefaultCandidates();
    ASSERT_EQ(candidates.size(), 2u);
    EXPECT_EQ(candidates[0], previous / ResourceManager::kLibraryFileName);
    EXPECT_EQ(candidates[1].filename(), ResourceManager::kLibraryFileName);
}

}  // namespace
