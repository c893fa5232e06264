#include "playback/vlcfunctionexecutor.h"

#include "app/logwriter.h"

#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <utility>

namespace {

constexpr std::string_view kClassName = "VlcFunctionExecutor";

void LogCall(std::string_view method, std::string_view text) {
    WriteLog(kClassName, method, text);
}

// Assigns one looked-up symbol to its typed slot; false when the symbol is missing.
template <typename Function>
bool Resolve(const VlcFunctionExecutor::SymbolLookup& lookup, const char* name, Function& slot) {
    void* symbol = lookup(name);
    slot = reinterpret_cast<Function>(symbol);
    return symbol != nullptr;
}

// Closes a library handle unless released.
struct LibraryHandle {
    void* handle = nullptr;
    ~LibraryHandle() {
        if (handle != nullptr) {
            dlclose(handle);
        }
    }
    void* release() { return std::exchange(handle, nullptr); }
};

struct InstanceResult {
    std::unique_ptr<VlcFunctionExecutor> executor;
    std::string error;
};

InstanceResult LoadInstance() {
    const char* overridePath = std::getenv(VlcFunctionExecutor::kLibraryOverrideVariable);
    const std::string path = overridePath != nullptr && *overridePath != '\0'
                                 ? overridePath
                                 : VlcFunctionExecutor::kLibraryName;
    InstanceResult result;
    result.executor = VlcFunctionExecutor::Load(path, result.error);
    return result;
}

}  // namespace

#define KORVANE_VLC_NAME(name) #name,
const std::array<const char*, VlcFunctionExecutor::kEntryPointCount>
    VlcFunctionExecutor::kEntryPointNames = {KORVANE_VLC_ENTRY_POINTS(KORVANE_VLC_NAME)};
const std::array<const char*, 3> VlcFunctionExecutor::kPlatformEntryPointNames = {
    KORVANE_VLC_PLATFORM_ENTRY_POINTS(KORVANE_VLC_NAME)};
#undef KORVANE_VLC_NAME

VlcFunctionExecutor* VlcFunctionExecutor::GetInstance(std::string* error) {
    // Thread-safe one-time load; the table lives until the process ends.
    static const InstanceResult instance = LoadInstance();
    if (error != nullptr) {
        *error = instance.error;
    }
    return instance.executor.get();
}

std::unique_ptr<VlcFunctionExecutor> VlcFunctionExecutor::Load(const std::string& libraryPath,
                                                               std::string& error) {
    LibraryHandle library{dlopen(libraryPath.c_str(), RTLD_NOW | RTLD_LOCAL)};
    if (library.handle == nullptr) {
        error = kLibraryMissingText;
        return nullptr;
    }
    auto executor =
        FromLookup([&](const char* name) { return dlsym(library.handle, name); }, error);
    if (executor) {
        // The engine's threads may outlive any owner of the table: keep the library loaded.
        library.release();
    }
    return executor;
}

std::unique_ptr<VlcFunctionExecutor> VlcFunctionExecutor::FromLookup(const SymbolLookup& lookup,
                                                                     std::string& error) {
    std::unique_ptr<VlcFunctionExecutor> executor(new VlcFunctionExecutor());
    EntryPoints& f = executor->functions_;
    bool complete = true;
    // Every name is looked up, in order, even after a miss.
#define KORVANE_VLC_RESOLVE(name) complete = Resolve(lookup, #name, f.name) && complete;
    KORVANE_VLC_ENTRY_POINTS(KORVANE_VLC_RESOLVE)
    KORVANE_VLC_PLATFORM_ENTRY_POINTS(KORVANE_VLC_RESOLVE)
#undef KORVANE_VLC_RESOLVE
    if (!complete) {
        error = kFunctionsMissingText;
        return nullptr;
    }
    error.clear();
    return executor;
}

std::string VlcFunctionExecutor::GetModuleDirectory() {
    std::error_code failed;
    const std::filesystem::path executable =
        std::filesystem::read_symlink("/proc/self/exe", failed);
    if (failed) {
        return {};
    }
    return executable.parent_path().string();
}

std::string VlcFunctionExecutor::MakePluginPathArgument(std::string_view directory) {
    return std::string("--plugin-path=").append(directory).append("/plugins");
}

std::vector<std::string> VlcFunctionExecutor::MakeEngineArguments() {
    return {"-I",
            "dummy",
            "--ignore-config",
            "--no-osd",
            "--disable-screensaver",
            "--no-snapshot-preview",
            MakePluginPathArgument(GetModuleDirectory())};
}

bool VlcFunctionExecutor::ToUtf8Path(std::string_view path, PathBuffer& buffer) {
    buffer.fill('\0');
    if (path.size() >= buffer.size()) {
        return false;
    }
    std::copy(path.begin(), path.end(), buffer.begin());
    return true;
}

int VlcFunctionExecutor::libvlc_media_player_play(libvlc_media_player_t* player) const {
    LogCall("libvlc_media_player_play", "Media Player Play");
    return functions_.libvlc_media_player_play(player);
}

void VlcFunctionExecutor::libvlc_media_player_stop(libvlc_media_player_t* player) const {
    LogCall("libvlc_media_player_stop", "Media Player Stop");
    functions_.libvlc_media_player_stop(player);
}

void VlcFunctionExecutor::libvlc_media_player_set_hwnd(libvlc_media_player_t* player,
                                                       std::uint32_t windowId) const {
    LogCall("libvlc_media_player_set_hwnd", "Media Player Set Hwnd");
    functions_.libvlc_media_player_set_xwindow(player, windowId);
}

void VlcFunctionExecutor::libvlc_media_player_set_media(libvlc_media_player_t* player,
                                                        libvlc_media_t* media) const {
    LogCall("libvlc_media_player_set_media", "Media Player Set Media");
    functions_.libvlc_media_player_set_media(player, media);
}

void VlcFunctionExecutor::libvlc_media_player_set_pause(libvlc_media_player_t* player) const {
    LogCall("libvlc_media_player_set_pause", "Media Player Set Pause");
    functions_.libvlc_media_player_set_pause(player, 1);
}

int VlcFunctionExecutor::libvlc_media_player_is_playing(libvlc_media_player_t* player) const {
    LogCall("libvlc_media_player_is_playing", "Media Player is Playing");
    return functions_.libvlc_media_player_is_playing(player);
}

libvlc_event_manager_t* VlcFunctionExecutor::libvlc_media_player_event_manager(
    libvlc_media_player_t* player) const {
    LogCall("libvlc_media_player_event_manager", "Event Manager");
    return functions_.libvlc_media_player_event_manager(player);
}

int VlcFunctionExecutor::libvlc_event_attach(libvlc_event_manager_t* manager,
                                             libvlc_event_type_t type,
                                             libvlc_callback_t callback) const {
    LogCall("libvlc_event_attach", "Event Attach");
    return functions_.libvlc_event_attach(manager, type, callback, nullptr);
}

int VlcFunctionExecutor::libvlc_audio_set_volume(libvlc_media_player_t* player,
                                                 std::int32_t volume) const {
    LogCall("libvlc_audio_set_volume", "Audio Set Volume");
    return functions_.libvlc_audio_set_volume(player, volume);
}

int VlcFunctionExecutor::libvlc_media_player_set_rate(libvlc_media_player_t* player,
                                                      float rate) const {
    LogCall("libvlc_media_player_set_rate", "Media Player Set Rate");
    return functions_.libvlc_media_player_set_rate(player, rate);
}

void VlcFunctionExecutor::libvlc_media_player_set_position(libvlc_media_player_t* player,
                                                           float position) const {
    LogCall("libvlc_media_player_set_position", "Media Player Set Position");
    functions_.libvlc_media_player_set_position(player, position);
}

int VlcFunctionExecutor::libvlc_video_set_track(libvlc_media_player_t* player,
                                                std::int32_t track) const {
    LogCall("libvlc_video_set_track", "Set Track");
    return functions_.libvlc_video_set_track(player, track);
}

int VlcFunctionExecutor::libvlc_video_take_snapshot(libvlc_media_player_t* player,
                                                    const char* utf8Path) const {
    LogCall("libvlc_video_take_snapshot", "Snap Shot");
    return functions_.libvlc_video_take_snapshot(player, 0, utf8Path, 0, 0);
}

void VlcFunctionExecutor::libvlc_video_set_aspect_ratio(libvlc_media_player_t* player) const {
    LogCall("libvlc_video_set_aspect_ratio", "Set Aspect Ratio");
    functions_.libvlc_video_set_aspect_ratio(player, "16:9");
}

std::vector<int> VlcFunctionExecutor::VideoTrackIds(libvlc_media_player_t* player) const {
    std::vector<int> ids;
    libvlc_track_description_t* list = functions_.libvlc_video_get_track_description(player);
    for (const libvlc_track_description_t* track = list; track != nullptr; track = track->p_next) {
        if (track->i_id >= 0) {
            ids.push_back(track->i_id);
        }
    }
    if (list != nullptr) {
        functions_.libvlc_track_description_list_release(list);
    }
    return ids;
}
