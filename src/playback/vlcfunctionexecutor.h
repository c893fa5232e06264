#pragma once

#include "playback/vlcentrypoints.h"

#include <vlc/vlc.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The media engine's entry points, looked up at run time in libvlc, and the logging wrappers
// through which the channel panes change playback state.
//
// The table is filled once and never changes afterwards, so any thread may call through it;
// the binding itself takes no lock. The library stays loaded for the rest of the process.
class VlcFunctionExecutor {
public:
    // The library loaded by GetInstance; KORVANE_LIBVLC names another one (tests use it to
    // start the viewer on a stand-in library).
    static constexpr const char* kLibraryName = "libvlc.so.5";
    static constexpr const char* kLibraryOverrideVariable = "KORVANE_LIBVLC";

    static constexpr const char* kLibraryMissingText =
        "libvlc.dll or libvlccore.dll file is not exist.";
    static constexpr const char* kFunctionsMissingText = "Vlc Function is not imported.";

    // The engine's entry points in lookup order; all of them must be present.
    static constexpr std::size_t kEntryPointCount = 37;
    static const std::array<const char*, kEntryPointCount> kEntryPointNames;
    static const std::array<const char*, 3> kPlatformEntryPointNames;

    // Longest path handed to the engine, counting its terminating zero byte.
    static constexpr std::size_t kMaxPathBytes = 260;
    using PathBuffer = std::array<char, kMaxPathBytes>;

    // Finds an entry point by name; null when it is missing.
    using SymbolLookup = std::function<void*(const char* name)>;

    // The process-wide table, loaded on the first call from kLibraryName (or the override).
    // Null when the library cannot be loaded or lacks an entry point; `error` then receives
    // kLibraryMissingText or kFunctionsMissingText. The outcome of the first call is kept.
    static VlcFunctionExecutor* GetInstance(std::string* error = nullptr);

    // A table of its own from `libraryPath`. A library that lacks an entry point is unloaded
    // again before this returns.
    static std::unique_ptr<VlcFunctionExecutor> Load(const std::string& libraryPath,
                                                     std::string& error);
    // A table filled through `lookup` (no library of its own).
    static std::unique_ptr<VlcFunctionExecutor> FromLookup(const SymbolLookup& lookup,
                                                           std::string& error);

    VlcFunctionExecutor(const VlcFunctionExecutor&) = delete;
    VlcFunctionExecutor& operator=(const VlcFunctionExecutor&) = delete;

    // The folder of the running executable.
    static std::string GetModuleDirectory();
    // "--plugin-path=" + directory + "/plugins".
    static std::string MakePluginPathArgument(std::string_view directory);
    // The seven engine start-up arguments, the plug-in path last.
    static std::vector<std::string> MakeEngineArguments();
    // Copies a UTF-8 path into a zero-filled buffer. False, with the buffer all zero, when the
    // path needs kMaxPathBytes or more, so the result always ends with a zero byte.
    static bool ToUtf8Path(std::string_view path, PathBuffer& buffer);

    // Logging wrappers: one log line, then the engine call.
    int libvlc_media_player_play(libvlc_media_player_t* player) const;
    void libvlc_media_player_stop(libvlc_media_player_t* player) const;
    // Embeds the video into the X window `windowId`.
    void libvlc_media_player_set_hwnd(libvlc_media_player_t* player, std::uint32_t windowId) const;
    void libvlc_media_player_set_media(libvlc_media_player_t* player, libvlc_media_t* media) const;
    // Always pauses (1); a paused player is resumed with play.
    void libvlc_media_player_set_pause(libvlc_media_player_t* player) const;
    int libvlc_media_player_is_playing(libvlc_media_player_t* player) const;
    libvlc_event_manager_t* libvlc_media_player_event_manager(libvlc_media_player_t* player) const;
    // The callback receives null user data.
    int libvlc_event_attach(libvlc_event_manager_t* manager, libvlc_event_type_t type,
                            libvlc_callback_t callback) const;
    int libvlc_audio_set_volume(libvlc_media_player_t* player, std::int32_t volume) const;
    int libvlc_media_player_set_rate(libvlc_media_player_t* player, float rate) const;
    void libvlc_media_player_set_position(libvlc_media_player_t* player, float position) const;
    // 0 on success, -1 when the engine has no such track; -1 switches the video off.
    int libvlc_video_set_track(libvlc_media_player_t* player, std::int32_t track) const;
    // Writes the current picture at the video's own size.
    int libvlc_video_take_snapshot(libvlc_media_player_t* player, const char* utf8Path) const;
    // Always "16:9".
    void libvlc_video_set_aspect_ratio(libvlc_media_player_t* player) const;

    // The engine's video track identifiers in its own order ("Disable", -1, left out).
    std::vector<int> VideoTrackIds(libvlc_media_player_t* player) const;

    // Direct entry points (no log line), in lookup order.
    // Two of them (the media parse calls) are deprecated in libvlc 3; they are required but
    // never called.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    struct EntryPoints {
#define KORVANE_VLC_DECLARE_ENTRY(name) decltype(&::name) name = nullptr;
        KORVANE_VLC_ENTRY_POINTS(KORVANE_VLC_DECLARE_ENTRY)
        KORVANE_VLC_PLATFORM_ENTRY_POINTS(KORVANE_VLC_DECLARE_ENTRY)
#undef KORVANE_VLC_DECLARE_ENTRY
    };
#pragma GCC diagnostic pop
    const EntryPoints& functions() const {
        return functions_;
    }

private:
    VlcFunctionExecutor() = default;

    EntryPoints functions_;
};
