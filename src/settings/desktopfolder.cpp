#include "settings/desktopfolder.h"

#include <cstdlib>
#include <fstream>
#include <string>
#include <system_error>

namespace {

std::string EnvironmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// XDG_DESKTOP_DIR="$HOME/Desktop" -> /home/user/Desktop; empty when the file has no such line
// or the value is neither absolute nor relative to $HOME.
std::string DesktopFromUserDirs(const std::filesystem::path& userDirsFile,
                                const std::string& home) {
    std::ifstream in(userDirsFile);
    const std::string prefix = "XDG_DESKTOP_DIR=";
    std::string line;
    std::string value;
    while (std::getline(in, line)) {
        if (line.rfind(prefix, 0) == 0) {
            value = line.substr(prefix.size());
        }
    }
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        value = value.substr(1, value.size() - 2);
    }
    if (value.rfind("$HOME", 0) == 0) {
        value = home + value.substr(5);
    }
    while (value.size() > 1 && value.back() == '/') {
        value.pop_back();
    }
    return !value.empty() && value.front() == '/' ? value : std::string();
}

}  // namespace

std::filesystem::path DesktopFolder() {
    const std::string home = EnvironmentValue("HOME");
    if (home.empty()) {
        std::error_code error;
        return std::filesystem::current_path(error);
    }
    std::filesystem::path configHome = EnvironmentValue("XDG_CONFIG_HOME");
    if (!configHome.is_absolute()) {
        configHome = std::filesystem::path(home) / ".config";
    }
    const std::string desktop = DesktopFromUserDirs(configHome / "user-dirs.dirs", home);
    if (!desktop.empty()) {
        return std::filesystem::path(desktop).lexically_normal();
    }
    return std::filesystem::path(home) / "Desktop";
}
