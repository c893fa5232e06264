#include "settings/tarsensetupdata.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <system_error>
#include <vector>

#include "settings/desktopfolder.h"
#include "settings/replacefile.h"

namespace {

// A settings file is a few hundred bytes; anything far larger is not one and is not read
// into memory.
constexpr std::uintmax_t kMaxFileBytes = 1024 * 1024;

std::string Format(int value, int width) {
    char text[16];
    std::snprintf(text, sizeof text, "%*d", width, value);
    return text;
}

// Range tests read the number as unsigned, so every negative number is out of range.
bool InRange(std::int32_t value, std::uint32_t low, std::uint32_t high) {
    const auto unsignedValue = static_cast<std::uint32_t>(value);
    return unsignedValue >= low && unsignedValue <= high;
}

// A stored text is written back verbatim; one that would break the file's lines (a line break,
// the reader's "^" line separator or the ";" that ends a value) is not accepted.
bool KeepsLineIntact(std::string_view text) {
    return std::none_of(text.begin(), text.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 || c == 0x7f || c == ';' || c == '^';
    });
}

// The file's lines, each without its line break (CR LF or LF), followed by one "^"; empty
// when the file does not exist. False, with `error` set, when it exists but cannot be read.
bool ReadSettingFile(const std::filesystem::path& file, std::string& text, std::string& error) {
    text.clear();
    std::error_code status;
    const auto state = std::filesystem::status(file, status);
    if (!std::filesystem::exists(state)) {
        return true;
    }
    const std::string cannotRead = "Cannot read " + file.string() + ": ";
    std::error_code sizeError;
    if (!std::filesystem::is_regular_file(state)) {
        error = cannotRead + "not a regular file";
        return false;
    }
    if (std::filesystem::file_size(file, sizeError) > kMaxFileBytes) {
        error = cannotRead + "too large for a settings file";
        return false;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in.is_open()) {
        error = cannotRead + std::strerror(errno);
        return false;
    }
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        text += line;
        text += '^';
    }
    if (in.bad()) {
        error = cannotRead + "read error";
        text.clear();
        return false;
    }
    return true;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('^'), text.size());
        if (end > 0) {
            lines.push_back(text.substr(0, end));
        }
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return lines;
}

// Leading white space, an optional sign, then at least one digit.
bool StartsNumber(std::string_view text) {
    const std::size_t start = text.find_first_not_of(" \t\n\v\f\r");
    if (start == std::string_view::npos) {
        return false;
    }
    text.remove_prefix(start);
    if (text.front() == '+' || text.front() == '-') {
        text.remove_prefix(1);
    }
    return !text.empty() && text.front() >= '0' && text.front() <= '9';
}

}  // namespace

std::tm SystemLocalTime() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

CTarsenSetupData::CTarsenSetupData(LocalClock clock)
    : clock_(std::move(clock)), captureFolder_(DesktopFolder()) {
    const std::tm now = clock_();
    year_ = Format(now.tm_year + 1900, 4);
    month_ = Format(now.tm_mon + 1, 2);
    day_ = Format(now.tm_mday, 2);
    hour_ = Format(now.tm_hour, 2);
    minute_ = Format(now.tm_min, 2);
    second_ = Format(now.tm_sec, 2);
    std::error_code error;
    settingFolder_ = std::filesystem::current_path(error) / kFolderName;
}

bool CTarsenSetupData::Prepare() {
    return true;
}

std::string CTarsenSetupData::MakeFileText() const {
    const auto key = [](std::string_view name, const std::string& value) {
        return std::string(name) + " = " + value + ";";
    };
    const std::string lines[] = {
        "#setting Information",
        "#Video Quality 3 : High, 2 : Middle, 1 : Low",
        "#Frame Rate 3 : High, 2 : Middle, 1 : Low",
        "#Sound Volume 10 : High, 5 : Middle, 1 : Low, 0 : MUTE",
        "#Shock Sensitivity 10 : High, 5 : Middle, 0 : Low",
        "#Parking Watch = 0 : NONE, 1 : 5Min, 2 : 10Min, 3 : 15Min, 4 : 20Min, 5 : 30Min",
        "#Voice Record = 0 : OFF, 1 : ON;",
        "",
        "[Setting]",
        key("Video Quality", std::to_string(videoQuality_)),
        key("Frame Rate", std::to_string(frameRate_)),
        key("Sound Volume", std::to_string(soundVolume_)),
        key("Shock Sensitivity", std::to_string(shockSensitivity_)),
        key("Parking Watch", std::to_string(parkingWatch_)),
        key("Voice Record", voiceRecord_ ? "1" : "0"),
        "",
        "[GMT]",
        gmtOffset_ + ";",
        "",
        "[Time]",
        key("Year", year_),
        key("Month", month_),
        key("Day", day_),
        key("Hour", hour_),
        key("Minute", minute_),
        key("Sec", second_),
    };
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

bool CTarsenSetupData::SaveToFile(std::string& error) {
    error.clear();
    std::error_code folderError;
    if (!std::filesystem::is_directory(settingFolder_, folderError)) {
        std::filesystem::create_directory(settingFolder_, folderError);
        if (folderError) {
            error = "Cannot create " + settingFolder_.string() + ": " + folderError.message();
            return false;
        }
    }
    return ReplaceFileContents(settingFolder_ / kFileName, MakeFileText(), error);
}

bool CTarsenSetupData::LoadFromFolder(std::string& error) {
    error.clear();
    std::string text;
    bool readable = ReadSettingFile(settingFolder_ / kFileName, text, error);
    if (text.empty()) {
        std::string fallbackError;
        if (!ReadSettingFile(settingFolder_ / kFallbackFileName, text, fallbackError)) {
            error += (error.empty() ? "" : "\n") + fallbackError;
            readable = false;
        }
    }
    if (!text.empty()) {
        ParseFileText(text);
    }
    return readable;
}

void CTarsenSetupData::ParseFileText(std::string_view text) {
    const std::vector<std::string_view> lines = SplitLines(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        // The key stops one character before the first "=" (the writer's space); the value
        // starts after "= " and ends before the first ";".
        const std::size_t equals = line.find('=');
        const std::size_t semicolon = line.find(';');
        std::string_view key;
        std::string_view value;
        if (equals != std::string_view::npos && equals >= 1) {
            key = line.substr(0, equals - 1);
            if (semicolon != std::string_view::npos && semicolon >= equals + 2) {
                value = line.substr(equals + 2, semicolon - equals - 2);
            }
        }
        const std::int32_t number = ReadInteger(value);
        if (key == "Video Quality") {
            SetVideoQuality(number);
        } else if (key == "Frame Rate") {
            SetFrameRate(number);
        } else if (key == "Sound Volume") {
            SetSoundVolume(number);
        } else if (key == "Voice Record") {
            SetVoiceRecord(number == 1);
        } else if (key == "Parking Watch") {
            SetParkingWatch(number);
        } else if (key == "Shock Sensitivity") {
            SetShockSensitivity(number);
        } else if (key == "Year") {
            SetYear(value);
        } else if (key == "Month") {
            SetMonth(value);
        } else if (key == "Day") {
            SetDay(value);
        } else if (key == "Hour") {
            SetHour(value);
        } else if (key == "Minute") {
            SetMinute(value);
        } else if (key == "Sec") {
            SetSecond(value);
        } else if (line == "[GMT]" && i + 1 < lines.size()) {
            // The offset line is consumed whether or not it holds a usable value.
            const std::string_view offsetLine = lines[++i];
            const std::size_t end = offsetLine.find(';');
            if (end != std::string_view::npos && end >= 1) {
                SetGmtOffset(offsetLine.substr(0, end));
            }
        }
    }
}

void CTarsenSetupData::SetSettingFolder(const std::filesystem::path& path) {
    // A card's mount point may well contain the letters "setting" (a user or label name), so
    // only a whole component counts as the setting folder itself.
    const bool isSettingFolder =
        std::any_of(path.begin(), path.end(), [](const auto& part) { return part == kFolderName; });
    settingFolder_ = isSettingFolder ? path : path / kFolderName;
}

void CTarsenSetupData::SetCaptureFolder(const std::filesystem::path& path) {
    captureFolder_ = path;
}

bool CTarsenSetupData::SetGmtOffset(std::string_view text) {
    const bool valid = text.size() == 7 && KeepsLineIntact(text) &&
                       (text[0] == '+' || text[0] == '-') &&
                       InRange(ReadInteger(text.substr(2, 2)), 1, 12) &&
                       InRange(ReadInteger(text.substr(5, 2)), 0, 59);
    gmtOffset_ = valid ? std::string(text) : std::string(kDefaultGmtOffset);
    return valid;
}

bool CTarsenSetupData::SetClockField(std::string& field, std::string_view text, std::uint32_t low,
                                     std::uint32_t high, int std::tm::*member, int bias,
                                     int width) {
    // An empty text would read as 0, a valid hour, and be written back as nothing at all.
    if (KeepsLineIntact(text) && StartsNumber(text) && InRange(ReadInteger(text), low, high)) {
        field = text;
        return true;
    }
    field = Format(clock_().*member + bias, width);
    return false;
}

bool CTarsenSetupData::SetYear(std::string_view text) {
    return SetClockField(year_, text, 1000, 3000, &std::tm::tm_year, 1900, 4);
}

bool CTarsenSetupData::SetMonth(std::string_view text) {
    return SetClockField(month_, text, 1, 12, &std::tm::tm_mon, 1, 2);
}

bool CTarsenSetupData::SetDay(std::string_view text) {
    return SetClockField(day_, text, 1, 31, &std::tm::tm_mday, 0, 2);
}

bool CTarsenSetupData::SetHour(std::string_view text) {
    return SetClockField(hour_, text, 0, 23, &std::tm::tm_hour, 0, 2);
}

bool CTarsenSetupData::SetMinute(std::string_view text) {
    return SetClockField(minute_, text, 0, 59, &std::tm::tm_min, 0, 2);
}

bool CTarsenSetupData::SetSecond(std::string_view text) {
    return SetClockField(second_, text, 0, 59, &std::tm::tm_sec, 0, 2);
}

namespace {

bool StoreInRange(std::int32_t& field, std::int32_t value, std::int32_t high,
                  std::int32_t fallback) {
    const bool valid = InRange(value, 0, static_cast<std::uint32_t>(high));
    field = valid ? value : fallback;
    return valid;
}

}  // namespace

bool CTarsenSetupData::SetVideoQuality(std::int32_t value) {
    return StoreInRange(videoQuality_, value, 3, kDefaultVideoQuality);
}

void CTarsenSetupData::SetFrameRate(std::int32_t value) {
    frameRate_ = value;
}

bool CTarsenSetupData::SetShockSensitivity(std::int32_t value) {
    return StoreInRange(shockSensitivity_, value, kMaxShockSensitivity, kDefaultShockSensitivity);
}

bool CTarsenSetupData::SetSoundVolume(std::int32_t value) {
    return StoreInRange(soundVolume_, value, kMaxSoundVolume, kDefaultSoundVolume);
}

bool CTarsenSetupData::SetParkingWatch(std::int32_t value) {
    return StoreInRange(parkingWatch_, value, kMaxParkingWatch, kDefaultParkingWatch);
}

void CTarsenSetupData::SetVoiceRecord(bool value) {
    voiceRecord_ = value;
}

std::int32_t CTarsenSetupData::ReadInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = std::min<std::int64_t>(value * 10 + (text[i] - '0'), std::int64_t{INT32_MAX} + 1);
    }
    value = negative ? -value : value;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}
