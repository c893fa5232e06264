#include "app/usertexts.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <iterator>

namespace usertexts {
namespace {

struct Entry {
    std::int32_t id;
    const char* english;  // empty: the number exists only in Korean
    const char* korean;
};

// Sorted by number.
constexpr Entry kStringTable[] = {
    {222, "About", "정보"},
    {223, "Event", "이벤트"},
    {224, "Always", "상시"},
    {225, "Default", "기본값"},
    {226, "Mute/Restore", "음소거/복원"},
    {227, "", "일반 모드"},
    {228, "", "움직임 감지 모드"},
    {229, "Nomal Mode", "일반 모드"},
    {230, "Capture Motion Mode", "움직임 감지 모드"},
    {231, "Index", "번호"},
    {232, "Date", "날짜"},
    {233, "Time", "시간"},
    {234, "Type", "유형"},
    {235, "Check your network. The map is not shown unless the network is connected.", "인터넷이 연결되어 있나 확인하십시오.\n지원 하는 맵이 나오지 않을 수 있습니다."},
    {236, "https://www.korvane.com", "https://www.korvane.com"},
    {237, "Image Capture", "화면캡쳐"},
    {238, "Video Capture", "영상저장"},
    {239, "Settings", "환경설정"},
    {240, "Print", "화면출력"},
    {241, "Open", "열기"},
    {242, "Full Screen/Minimize:Alt+Enter", "전체/축소화면"},
    {243, "Previous", "이전"},
    {244, "Rewind", "뒤로 감기"},
    {245, "Play/Pause", "재생/정지"},
    {246, "Fast Forward", "앞으로 감기"},
    {247, "Next", "다음"},
    {248, "The viewer does not support this file format.", "지정된 형식의 데이터만 읽을수 있습니다."},
    {249, "Do you want to save the preference into SD memory?", "SD카드에도 저장하시겠습니까?"},
    {250, "Select a Folder.", "폴더를 선택해주십시오."},
    {251, "Path", "경로"},
    {252, "Preference is saved.", "환경 설정 파일이 저장 되었습니다."},
    {253, "There is no loaded video. Select a video first.", "비디오를 선택해 주십시오."},
    {254, "Warning", "경고"},
    {255, "Now, captured image is saved. Do you want to show the saved folder?", "캡쳐 화면이 저장 되었습니다.\n저장된 폴더를 여시겠습니까?"},
    {256, "Now, captured video is saved. Do you wnat to show the saved folder?", "영상이 저장 되었습니다.\n저장된 폴더를 여시겠습니까?"},
    {257, "No video file in the playlist.", "파일을 선택해주십시오."},
    {258, "High", "상"},
    {259, "Intermediate", "중"},
    {260, "Low", "하"},
    {261, "It is saved in", "에 저장되었습니다."},
    {262, "One Channel Video.", "단일 채널 영상입니다."},
    {263, "Information", "정보"},
    {264, "Time", "촬영시간"},
    {265, "Impulse G-Sensor", "충격 센서"},
    {266, "Speed", "속도"},
    {267, "Latitude", "위도"},
    {268, "Longitude", "경도"},
    {269, "Korvane Co., Ltd.", "Korvane Co., Ltd."},
    {270, "Zoom in", "확대"},
    {271, "Zoom out", "축소"},
    {272, "No GPS Data", "GPS 데이터가 없습니다."},
    {273, "Internet not connect", "인터넷이 연결되어있지 않습니다."},
    {274, "Popup map", "지도 팝업"},
    {275, "File Path", "파일 경로"},
    {276, "Impulse", "충격량"},
    {277, "Video", "비디오"},
    {278, "Time", "시간"},
    {279, "Audio", "오디오"},
    {280, "Saved Folder", "저장 위치"},
    {281, "Scan Interval", "영상 간격"},
    {282, "Korvane", "Korvane"},
    {283, "Viewer", "뷰어"},
    {284, "Speed", "재생 속도"},
    {285, "Brightness", "밝기"},
    {286, "Volume", "음량"},
    {287, "Not mp4 type file.", "mp4 형식의 데이터만 읽을 수 있습니다."},
    {288, "Parking", "주차 상시"},
    {289, "Selected Item :", "선택된 파일 :"},
    {290, "OK", "확인"},
    {291, "Velmar Setting", "Velmar 설정"},
    {292, "Could Not Find File.", "파일을 찾을 수 없습니다."},
    {293, "Are you want to format?", "포맷 하시겠습니까?"},
    {294, "Select Drive", "드라이브 선택"},
    {295, "Default Speed", "재생 속도 기본값"},
    {296, "Default Brightness", "밝기 기본값"},
    {297, "Selected Drive", "드라이브를 선택해주십시오."},
    {298, "No Read MP4 File", "파일을 읽을 수 없습니다."},
    {299, "Not avi type file.", "avi 형식의 데이터만 읽을 수 있습니다."},
    {300, "Video File Not Found.", "비디오 파일을 찾을 수 없습니다."},
    {301, "", "주차 모션"},
    {302, "", "종료"},
    {303, "Korvane", "Korvane"},
    {304, "Maximize", "최대화/최소화"},
    {305, "Minimize", "최소화"},
    {306, "Close", "닫기"},
    {1306, "Parking Mode", "주차 모드"},
};

std::atomic<Language>& LanguageSetting() {
    static std::atomic<Language> language{LanguageFromEnvironment()};
    return language;
}

bool StartsWith(const char* value, std::string_view prefix) {
    return value != nullptr && std::string_view(value).substr(0, prefix.size()) == prefix;
}

}  // namespace

Language LanguageFromEnvironment() {
    if (const char* override = std::getenv("KORVANE_LANG"); override != nullptr && *override) {
        return StartsWith(override, "ko") ? Language::Korean : Language::English;
    }
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value) {
            return StartsWith(value, "ko") ? Language::Korean : Language::English;
        }
    }
    return Language::English;
}

Language CurrentLanguage() { return LanguageSetting().load(); }

void SetLanguage(Language language) { LanguageSetting().store(language); }

std::string Text(std::int32_t id) { return Text(id, CurrentLanguage()); }

std::string Text(std::int32_t id, Language language) {
    const auto* entry = std::lower_bound(std::begin(kStringTable), std::end(kStringTable), id,
                                         [](const Entry& e, std::int32_t key) { return e.id < key; });
    if (entry == std::end(kStringTable) || entry->id != id) {
        return {};
    }
    if (language == Language::Korean || *entry->english == '\0') {
        return entry->korean;
    }
    return entry->english;
}

}  // namespace usertexts
