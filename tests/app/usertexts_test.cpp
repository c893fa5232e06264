#include "app/usertexts.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using usertexts::Language;

TEST(UserTexts, LooksUpBothLanguagesByNumber) {
    struct Case {
        int id;
        const char* english;
        const char* korean;
    } cases[] = {
        {231, "Index", "번호"},
        {234, "Type", "유형"},
        {255, "Now, captured image is saved. Do you want to show the saved folder?",
         "캡쳐 화면이 저장 되었습니다.\n저장된 폴더를 여시겠습니까?"},
        {287, "Not mp4 type file.", "mp4 형식의 데이터만 읽을 수 있습니다."},
        {301, "주차 모션", "주차 모션"},  // Korean only: English falls back to it
        {1306, "Parking Mode", "주차 모드"},
        {9999, "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(usertexts::Text(c.id, Language::English), c.english) << c.id;
        EXPECT_EQ(usertexts::Text(c.id, Language::Korean), c.korean) << c.id;
    }
}

TEST(UserTexts, LanguageFollowsOverrideThenLocale) {
    struct Case {
        const char* override;
        const char* lang;
        Language expected;
    } cases[] = {
        {nullptr, "ko_KR.UTF-8", Language::Korean},
        {nullptr, "en_US.UTF-8", Language::English},
        {nullptr, "C", Language::English},
        {"ko", "en_US.UTF-8", Language::Korean},
        {"en", "ko_KR.UTF-8", Language::English},
    };
    for (const auto& c : cases) {
        unsetenv("LC_ALL");
        unsetenv("LC_MESSAGES");
        c.override ? setenv("KORVANE_LANG", c.override, 1) : unsetenv("KORVANE_LANG");
        setenv("LANG", c.lang, 1);
        EXPECT_EQ(usertexts::LanguageFromEnvironment(), c.expected) << c.lang;
    }
    unsetenv("KORVANE_LANG");
}

}  // namespace
