#pragma once

#include <vlc/vlc.h>

#include <cstdint>
#include <initializer_list>
#include <string>

class VlcFunctionExecutor;

// One channel's engine: an engine instance and the media player that draws into one window.
//
// The engine's own calls are thread-safe; this object adds no state of its own after
// construction, so its operations may run on any thread while it exists. Construction and
// destruction belong to the owning pane's thread.
class ChannelEngine {
public:
    // Starts an engine with the seven start-up arguments, embeds its player into the X window
    // `windowId`, attaches `callback` (null user data) for each of `events` in order and forces
    // the 16:9 aspect ratio. Without an engine table (`vlc` null), or when the engine fails to
    // start, every operation is a no-op.
    ChannelEngine(const VlcFunctionExecutor* vlc, std::uint32_t windowId,
                  std::initializer_list<libvlc_event_type_t> events, libvlc_callback_t callback);
    ~ChannelEngine() { Release(); }
    ChannelEngine(const ChannelEngine&) = delete;
    ChannelEngine& operator=(const ChannelEngine&) = delete;

    // Releases the player, then the engine instance (no stop before). No engine callback runs
    // after this returns; every operation is a no-op afterwards.
    void Release();

    // Gives the player the recording at `path` (not started) and applies `volume`. A path the
    // engine cannot take leaves the previous media in place; the volume is applied regardless.
    void Load(const std::string& path, std::int32_t volume) const;
    void TogglePlayPause() const;
    // Pauses only while playing.
    void PauseIfPlaying() const;
    // Pauses unconditionally.
    void Pause() const;
    void Play() const;
    void Stop() const;
    void Seek(float position) const;
    void SetRate(float rate) const;
    // Switches the picture adjustment on, then sets the brightness.
    void SetBrightness(float brightness) const;
    void SetVolume(std::int32_t volume) const;
    // Writes the current picture to `path` at the video's own size; skipped for a path the
    // engine cannot take.
    void Snapshot(const std::string& path) const;

    // State queries without a log line.
    bool IsPlaying() const;
    std::int32_t Volume() const;
    // The engine's identifier of the video track shown; -1 when the video is off.
    std::int32_t VideoTrack() const;
    libvlc_media_player_t* player() const { return player_; }

private:
    const VlcFunctionExecutor* vlc_;
    libvlc_instance_t* instance_ = nullptr;
    libvlc_media_player_t* player_ = nullptr;
};
