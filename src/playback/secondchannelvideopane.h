#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>

#include "playback/channelvideopane.h"

// Channel 2: plays the second video track of a two-channel recording, muted. It follows the
// same commands as channel 1 but reports nothing; once its player plays, it switches the player
// to the recording's second video track.
class CSecondChannelVideoPane : public ChannelVideoPane {
    Q_OBJECT

public:
    // Attempts, and the pause between them, of a track switch the engine refuses: the engine
    // may not list every track yet when it reports playing.
    static constexpr int kTrackSelectionAttempts = 40;
    static constexpr std::chrono::milliseconds kTrackSelectionRetryDelay{25};

    explicit CSecondChannelVideoPane(CViewerContext& context, QWidget* parent = nullptr);
    ~CSecondChannelVideoPane() override;

    // Dispatcher thread only.
    void update(std::int32_t kind, const VideoMessageData& data) override;

    // Writes the second channel's picture for a capture at `path`, only for a two-channel
    // recording. Any thread.
    void Snapshot(const std::string& path) const;

    // Flags shared with the engine's event threads, one per process.
    // The second video track has been selected for the current playback.
    static std::atomic<bool> trackSelected;
    // The current recording has been loaded into channel 2 and started.
    static std::atomic<bool> secondChannelActive;

    // The engine's event callback (engine threads; null user data).
    static void OnEngineEvent(const libvlc_event_t* event, void* userData);

private:
    // Engine thread: video off, then the second video track the engine lists.
    static void SelectSecondTrack(libvlc_media_player_t* player);

    void SetCurrentVideoMedia() const;  // dispatcher thread
};
