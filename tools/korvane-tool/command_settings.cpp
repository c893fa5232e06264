#include "commands.h"
#include "jsonwriter.h"
#include "settings/tarsensetupdata.h"

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

namespace {

constexpr const char* kUsage = R"(Usage: korvane-tool settings DIR [--set FIELD=VALUE...]

Reads the recorder's settings from the card rooted at DIR (DIR/setting/velmar_setup.new, else
velmar_setup.old) and prints them as one JSON object: videoQuality, frameRate,
shockSensitivity, soundVolume, parkingWatch (numbers), year, month, day, hour, minute, second
(the texts as stored), voiceRecord (true or false) and gmtOffset ("S,HH,MM"). A card without a
settings file shows the defaults, with the clock fields taken from the local clock.

--set FIELD=VALUE... changes the named fields (voiceRecord takes 0 or 1), writes
DIR/setting/velmar_setup.new as the viewer's settings dialog does, and prints the saved
settings. Values pass the viewer's checks: quality 0..3, sensitivity and volume 0..10, parking
0..5, year 1000..3000, month 1..12, day 1..31, hour 0..23, minute and second 0..59, offset
"S,HH,MM" with hours 1..12. A value that fails is replaced by its default (the clock fields by
the local clock's), and a line on standard error says so.
)";

constexpr const char* kCommand = "settings";

void PrintSettings(const CTarsenSetupData& data) {
    JsonWriter json;
    json.BeginObject();
    json.Member("videoQuality", data.videoQuality());
    json.Member("frameRate", data.frameRate());
    json.Member("shockSensitivity", data.shockSensitivity());
    json.Member("soundVolume", data.soundVolume());
    json.Member("parkingWatch", data.parkingWatch());
    json.Member("year", data.year());
    json.Member("month", data.month());
    json.Member("day", data.day());
    json.Member("hour", data.hour());
    json.Member("minute", data.minute());
    json.Member("second", data.second());
    json.Member("voiceRecord", data.voiceRecord());
    json.Member("gmtOffset", data.gmtOffset());
    json.EndObject();
    std::fputs(json.str().c_str(), stdout);
}

std::optional<std::int32_t> ParseInteger(const std::string& text) {
    std::int32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

void ReportReplaced(const std::string& field, const std::string& given, const std::string& stored) {
    std::fprintf(stderr, "korvane-tool %s: %s \"%s\" is out of range or malformed; stored \"%s\"\n",
                 kCommand, field.c_str(), given.c_str(), stored.c_str());
}

// Applies one FIELD=VALUE through the record's own setters. Returns an empty text when the
// assignment was understood (whether or not the value had to be replaced), else the complaint.
std::string Apply(CTarsenSetupData& data, const std::string& assignment) {
    const std::size_t equals = assignment.find('=');
    if (equals == std::string::npos) {
        return "\"" + assignment + "\" is not FIELD=VALUE";
    }
    const std::string field = assignment.substr(0, equals);
    const std::string value = assignment.substr(equals + 1);

    using TextSetter = bool (CTarsenSetupData::*)(std::string_view);
    using TextGetter = const std::string& (CTarsenSetupData::*)() const;
    struct TextField {
        const char* name;
        TextSetter set;
        TextGetter get;
    };
    static constexpr TextField kTextFields[] = {
        {"year", &CTarsenSetupData::SetYear, &CTarsenSetupData::year},
        {"month", &CTarsenSetupData::SetMonth, &CTarsenSetupData::month},
        {"day", &CTarsenSetupData::SetDay, &CTarsenSetupData::day},
        {"hour", &CTarsenSetupData::SetHour, &CTarsenSetupData::hour},
        {"minute", &CTarsenSetupData::SetMinute, &CTarsenSetupData::minute},
        {"second", &CTarsenSetupData::SetSecond, &CTarsenSetupData::second},
        {"gmtOffset", &CTarsenSetupData::SetGmtOffset, &CTarsenSetupData::gmtOffset},
    };
    for (const TextField& text : kTextFields) {
        if (field == text.name) {
            if (!(data.*text.set)(value)) {
                ReportReplaced(field, value, (data.*text.get)());
            }
            return {};
        }
    }

    if (field == "voiceRecord") {
        if (value != "0" && value != "1") {
            return "voiceRecord takes 0 or 1, not \"" + value + "\"";
        }
        data.SetVoiceRecord(value == "1");
        return {};
    }

    using NumberSetter = bool (CTarsenSetupData::*)(std::int32_t);
    using NumberGetter = std::int32_t (CTarsenSetupData::*)() const;
    struct NumberField {
        const char* name;
        NumberSetter set;  // null: no range rule
        NumberGetter get;
    };
    static constexpr NumberField kNumberFields[] = {
        {"videoQuality", &CTarsenSetupData::SetVideoQuality, &CTarsenSetupData::videoQuality},
        {"frameRate", nullptr, &CTarsenSetupData::frameRate},
        {"shockSensitivity", &CTarsenSetupData::SetShockSensitivity,
         &CTarsenSetupData::shockSensitivity},
        {"soundVolume", &CTarsenSetupData::SetSoundVolume, &CTarsenSetupData::soundVolume},
        {"parkingWatch", &CTarsenSetupData::SetParkingWatch, &CTarsenSetupData::parkingWatch},
    };
    for (const NumberField& number : kNumberFields) {
        if (field != number.name) {
            continue;
        }
        const std::optional<std::int32_t> parsed = ParseInteger(value);
        if (!parsed) {
            return field + " takes a whole number, not \"" + value + "\"";
        }
        if (number.set == nullptr) {
            data.SetFrameRate(*parsed);
        } else if (!(data.*number.set)(*parsed)) {
            ReportReplaced(field, value, std::to_string((data.*number.get)()));
        }
        return {};
    }
    return "unknown field \"" + field + "\"";
}

}  // namespace

int RunSettingsCommand(const CommandArguments& arguments) {
    if (WantsHelp(arguments)) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    std::optional<std::string> folder;
    CommandArguments assignments;
    bool setting = false;
    for (const std::string& argument : arguments) {
        if (argument == "--set") {
            setting = true;
        } else if (setting) {
            assignments.push_back(argument);
        } else if (!folder) {
            folder = argument;
        } else {
            return ReportFailure(kCommand, "give one DIR", kUsage);
        }
    }
    if (!folder) {
        return ReportFailure(kCommand, "give the card's folder DIR", kUsage);
    }
    if (setting && assignments.empty()) {
        return ReportFailure(kCommand, "--set needs at least one FIELD=VALUE", kUsage);
    }
    std::error_code folderError;
    if (!std::filesystem::is_directory(*folder, folderError)) {
        return ReportFailure(kCommand, *folder + " is not a folder");
    }

    CTarsenSetupData data;
    data.SetSettingFolder(*folder);
    std::string error;
    if (!data.LoadFromFolder(error)) {
        return ReportFailure(kCommand, error);
    }
    for (const std::string& assignment : assignments) {
        const std::string complaint = Apply(data, assignment);
        if (!complaint.empty()) {
            return ReportFailure(kCommand, complaint, kUsage);
        }
    }
    if (setting && !data.SaveToFile(error)) {
        return ReportFailure(kCommand, error);
    }
    PrintSettings(data);
    return 0;
}
