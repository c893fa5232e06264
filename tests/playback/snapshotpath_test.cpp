#include "playback/snapshotpath.h"

#include <gtest/gtest.h>

TEST(SnapshotPath, TagGoesBeforeTheLastFourCharacters) {
    struct Case {
        const char* path;
        const char* tag;
        const char* expected;
    };
    const Case cases[] = {
        {"/home/u/Capture/20120304_050607.png", "(Track1)",
         "/home/u/Capture/20120304_050607(Track1).png"},
        {"/tmp/report.png", "(Track2)", "/tmp/report(Track2).png"},
        // Four characters, not four bytes: a Korean extension stays whole.
        {"/tmp/a.\xEC\x82\xAC\xEC\xA7\x84\xED\x8C\x8C", "(Track1)",
         "/tmp/a(Track1).\xEC\x82\xAC\xEC\xA7\x84\xED\x8C\x8C"},
        {".png", "(Track1)", "(Track1).png"},
        {"ab", "(Track2)", "(Track2)ab"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(InsertBeforeExtension(c.path, c.tag), c.expected) << c.path;
    }
}
