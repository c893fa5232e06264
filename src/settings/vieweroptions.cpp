#include "settings/vieweroptions.h"

#include <SimpleIni.h>

#include <algorithm>
#include <cctype>

namespace {

constexpr const char* kDirectorySection = "DIRECTORY";
constexpr const char* kOptionSection = "OPTION";
constexpr std::size_t kMaxValueLength = 511;

std::string ReadValue(const CSimpleIniA& ini, const char* section, const char* key) {
    std::string value = ini.GetValue(section, key, "");
    if (value.size() > kMaxValueLength) {
        value.resize(kMaxValueLength);
    }
    return value;
}

// A plain non-empty digit string; anything else (signs, spaces, letters) is not a number here.
bool IsDigits(const std::string& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](unsigned char c) {
        return std::isdigit(c) != 0;
    });
}

// The value of a digit string, saturated so that a very long one stays out of range.
std::int64_t DigitsValue(const std::string& digits) {
    std::int64_t value = 0;
    for (char c : digits) {
        value = std::min<std::int64_t>(value * 10 + (c - '0'), INT32_MAX + std::int64_t{1});
    }
    return value;
}

bool IsExistingFolder(const std::string& path) {
    std::error_code error;
    return !path.empty() && std::filesystem::is_directory(path, error);
}

// Loads only regular files: the INI library sizes its buffer from the stream and would ask for
// an absurd allocation on a folder or a device.
void LoadIni(CSimpleIniA& ini, const std::filesystem::path& path) {
    std::error_code error;
    if (std::filesystem::is_regular_file(path, error)) {
        ini.LoadFile(path.c_str());
    }
}

std::string CurrentFolder() {
    std::error_code error;
    return std::filesystem::current_path(error).string();
}

}  // namespace

ViewerOptions::ViewerOptions() : saveDirectory(CurrentFolder()) {}

std::filesystem::path ViewerOptions::DefaultOptionFilePath() {
    static const std::filesystem::path startupPath = std::filesystem::path(CurrentFolder()) /
                                                     "option.ini";
    return startupPath;
}

ViewerOptions ViewerOptions::OpenOptions(const std::filesystem::path& optionFilePath) {
    ViewerOptions options;
    std::error_code error;
    if (std::filesystem::exists(optionFilePath, error)) {
        options.LoadOptions(optionFilePath);
    } else {
        options.SaveOptions(optionFilePath);
    }
    return options;
}

void ViewerOptions::LoadOptions(const std::filesystem::path& optionFilePath) {
    CSimpleIniA ini;
    ini.SetUnicode(true);
    LoadIni(ini, optionFilePath);  // a file that cannot be read reads as all keys missing

    rootDirectory = ReadValue(ini, kDirectorySection, "ROOT_DIRECTORY");
    eventDirectory = ReadValue(ini, kDirectorySection, "EVENT_DIRECTORY");
    continuousDirectory = ReadValue(ini, kDirectorySection, "CONTINUOS_DIRECTORY");

    const std::string save = ReadValue(ini, kOptionSection, "SAVE_DIRECTORY");
    saveDirectory = IsExistingFolder(save) ? save : CurrentFolder();

    if (const std::string play = ReadValue(ini, kOptionSection, "PLAY_VALUE"); IsDigits(play)) {
        const std::int64_t value = DigitsValue(play);
        playValue = value >= 1 && value <= 10 ? static_cast<std::int32_t>(value) : 5;
    }
    if (const std::string level = ReadValue(ini, kOptionSection, "LOG_LEVEL"); IsDigits(level)) {
        logLevel = static_cast<std::int32_t>(std::min<std::int64_t>(DigitsValue(level), INT32_MAX));
    }
    if (const std::string type = ReadValue(ini, kOptionSection, "LOG_TYPE"); IsDigits(type)) {
        logType = static_cast<std::int32_t>(std::min<std::int64_t>(DigitsValue(type), INT32_MAX));
    }
    std::string log = ReadValue(ini, kOptionSection, "USE_LOG");
    std::transform(log.begin(), log.end(), log.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    useLog = log == "TRUE";
}

bool ViewerOptions::SaveOptions(const std::filesystem::path& optionFilePath) const {
    CSimpleIniA ini;
    ini.SetUnicode(true);
    LoadIni(ini, optionFilePath);  // keep the keys of others, in their order

    ini.SetValue(kDirectorySection, "ROOT_DIRECTORY", rootDirectory.c_str());
    ini.SetValue(kDirectorySection, "EVENT_DIRECTORY", eventDirectory.c_str());
    ini.SetValue(kDirectorySection, "CONTINUOS_DIRECTORY", continuousDirectory.c_str());
    ini.SetValue(kOptionSection, "SAVE_DIRECTORY", saveDirectory.c_str());
    ini.SetValue(kOptionSection, "PLAY_VALUE", std::to_string(playValue).c_str());
    ini.SetValue(kOptionSection, "USE_LOG", useLog ? "TRUE" : "FALSE");
    ini.SetValue(kOptionSection, "LOG_LEVEL", std::to_string(logLevel).c_str());
    ini.SetValue(kOptionSection, "LOG_TYPE", std::to_string(logType).c_str());
    ini.SetSpaces(false);  // "KEY=value", as the recorder's own tools write INI files
    return ini.SaveFile(optionFilePath.c_str(), /*addSignature=*/false) >= 0;
}
