#include "settings/desktopfolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>

#include "testsupport/tempdir.h"

namespace {

// Sets an environment variable for the life of the object.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            previous_ = old;
        }
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnvironment() {
        if (previous_) {
            setenv(name_, previous_->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const char* name_;
    std::optional<std::string> previous_;
};

TEST(DesktopFolder, FollowsUserDirsElseHomeDesktop) {
    TempDir home;
    ScopedEnvironment homeVariable("HOME", home.path().string());
    ScopedEnvironment configVariable("XDG_CONFIG_HOME", "");
    EXPECT_EQ(DesktopFolder(), home.path() / "Desktop");

    std::filesystem::create_directories(home.path() / ".config");
    std::ofstream(home.path() / ".config" / "user-dirs.dirs")
        << "# written by xdg-user-dirs-update\nXDG_DOWNLOAD_DIR=\"$HOME/Downloads\"\n"
           "XDG_DESKTOP_DIR=\"$HOME/Bureau/\"\n";
    EXPECT_EQ(DesktopFolder(), home.path() / "Bureau");

    TempDir config;
    ScopedEnvironment customConfig("XDG_CONFIG_HOME", config.path().string());
    std::ofstream(config.path() / "user-dirs.dirs") << "XDG_DESKTOP_DIR=\"/srv/desk\"\n";
    EXPECT_EQ(DesktopFolder(), std::filesystem::path("/srv/desk"));
}

}  // namespace
