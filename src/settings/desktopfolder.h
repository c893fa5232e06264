#pragma once

#include <filesystem>

// The user's desktop folder as the desktop defines it: XDG_DESKTOP_DIR of user-dirs.dirs in
// $XDG_CONFIG_HOME (default ~/.config), else ~/Desktop. Without a home folder, the current
// working directory.
std::filesystem::path DesktopFolder();
