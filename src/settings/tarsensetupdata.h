#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "settings/setupdataex.h"

// The source of the local date and time; the system clock unless a test fixes it.
using LocalClock = std::function<std::tm()>;
std::tm SystemLocalTime();

// The recorder's settings as kept in "velmar_setup.new" in the folder "setting" of its card.
//
// A plain value record. Values read from the file or handed to a setter are validated on the
// way in: an out-of-range or malformed value is replaced by its default without a message, and
// the setter returns false so that a caller that wants to can say so. The six clock fields are
// texts and are written back exactly as they were accepted.
class CTarsenSetupData : public CSetupDataEx {
public:
    static constexpr std::string_view kFileName = "velmar_setup.new";
    static constexpr std::string_view kFallbackFileName = "velmar_setup.old";  // read only
    static constexpr std::string_view kFolderName = "setting";
    static constexpr std::string_view kDefaultGmtOffset = "+,09,00";

    static constexpr std::int32_t kDefaultVideoQuality = 3;
    static constexpr std::int32_t kDefaultFrameRate = 3;
    static constexpr std::int32_t kDefaultShockSensitivity = 4;
    static constexpr std::int32_t kDefaultSoundVolume = 4;
    static constexpr std::int32_t kDefaultParkingWatch = 2;
    static constexpr std::int32_t kMaxShockSensitivity = 10;
    static constexpr std::int32_t kMaxSoundVolume = 10;
    static constexpr std::int32_t kMaxParkingWatch = 5;

    // Defaults; the clock fields come from one reading of `clock`, which also supplies the
    // fallbacks of the clock setters later. The setting folder is "setting" below the working
    // directory, the capture folder the user's desktop.
    explicit CTarsenSetupData(LocalClock clock = SystemLocalTime);

    bool Prepare() override;
    // 26 lines with CR LF ends, blank lines 8, 16 and 19.
    std::string MakeFileText() const override;
    // Writes the file text into "velmar_setup.new" in the setting folder, creating the folder
    // (one level) when it is missing. The text goes to a temporary file in the same folder that
    // then replaces the previous file, so a failed write leaves the previous settings intact.
    bool SaveToFile(std::string& error) override;

    // Reads "velmar_setup.new" from the setting folder, or "velmar_setup.old" when the first
    // is missing or empty, and applies it. Missing files leave every field as it is. Returns
    // false, with `error` set, when a file exists but cannot be read (it then counts as empty).
    bool LoadFromFolder(std::string& error);
    // Applies the settings in a text whose lines are separated by "^".
    void ParseFileText(std::string_view text);

    // `path` is a card root or a folder; "setting" is joined to it unless one of its
    // components already is "setting".
    void SetSettingFolder(const std::filesystem::path& path);
    void SetCaptureFolder(const std::filesystem::path& path);

    // "S,HH,MM": sign "+" or "-", hours 1..12, minutes 0..59; otherwise "+,09,00".
    bool SetGmtOffset(std::string_view text);
    // Each keeps the text when it starts with a number that is in range (year 1000..3000, month
    // 1..12, day 1..31, hour 0..23, minute and second 0..59); otherwise stores the clock's
    // current value of that field.
    bool SetYear(std::string_view text);
    bool SetMonth(std::string_view text);
    bool SetDay(std::string_view text);
    bool SetHour(std::string_view text);
    bool SetMinute(std::string_view text);
    bool SetSecond(std::string_view text);

    // Range rules: quality 0..3 (else 3), shock and volume 0..10 (else 4), parking 0..5 (else
    // 2). The frame rate has no range test.
    bool SetVideoQuality(std::int32_t value);
    void SetFrameRate(std::int32_t value);
    bool SetShockSensitivity(std::int32_t value);
    bool SetSoundVolume(std::int32_t value);
    bool SetParkingWatch(std::int32_t value);
    void SetVoiceRecord(bool value);

    std::int32_t videoQuality() const { return videoQuality_; }
    std::int32_t frameRate() const { return frameRate_; }
    std::int32_t shockSensitivity() const { return shockSensitivity_; }
    std::int32_t soundVolume() const { return soundVolume_; }
    std::int32_t parkingWatch() const { return parkingWatch_; }
    const std::string& year() const { return year_; }
    const std::string& month() const { return month_; }
    const std::string& day() const { return day_; }
    const std::string& hour() const { return hour_; }
    const std::string& minute() const { return minute_; }
    const std::string& second() const { return second_; }
    bool voiceRecord() const { return voiceRecord_; }
    const std::string& gmtOffset() const { return gmtOffset_; }
    const std::filesystem::path& settingFolder() const { return settingFolder_; }
    const std::filesystem::path& captureFolder() const { return captureFolder_; }
    const LocalClock& clock() const { return clock_; }

    // How the file's values are read as numbers: leading white space, an optional sign and
    // the digits that follow; 0 when the text does not start a number. Saturates at the
    // 32-bit limits.
    static std::int32_t ReadInteger(std::string_view text);

private:
    bool SetClockField(std::string& field, std::string_view text, std::uint32_t low,
                       std::uint32_t high, int std::tm::*member, int bias, int width);

    LocalClock clock_;
    std::int32_t videoQuality_ = kDefaultVideoQuality;
    std::int32_t frameRate_ = kDefaultFrameRate;
    std::int32_t shockSensitivity_ = kDefaultShockSensitivity;
    std::int32_t soundVolume_ = kDefaultSoundVolume;
    std::int32_t parkingWatch_ = kDefaultParkingWatch;
    std::string year_;
    std::string month_;
    std::string day_;
    std::string hour_;
    std::string minute_;
    std::string second_;
    bool voiceRecord_ = true;
    std::string gmtOffset_{kDefaultGmtOffset};
    std::filesystem::path settingFolder_;
    std::filesystem::path captureFolder_;
};
