#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "playback/channelvideopane.h"
#include "playback/requestedtask.h"

// Channel 2: plays the second video track of a two-channel recording, muted. It follows the
// same commands as channel 1 but reports nothing; once its player plays, it switches the player
// to the recording's second video track.
//
// The switch runs on a thread of the pane's own, not on the engine's event thread: the engine
// calls its event handlers while holding its event lock, and a player call made there can
// deadlock with a stop on the dispatcher thread (which holds the player's lock while it reports
// the stop).
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
    // The second video track has been selected for the current playback. Written under
    // selectionLock.
    static std::atomic<bool> trackSelected;
    // The current recording has been loaded into channel 2 and started.
    static std::atomic<bool> secondChannelActive;

    // The engine's event callback (engine threads; null user data).
    static void OnEngineEvent(const libvlc_event_t* event, void* userData);

private:
    // Track selection thread: video off, then the second video track the engine lists.
    void SelectSecondTrack() const;
    // Dispatcher thread: the next playing report selects the track anew.
    static void ForgetTrackSelection();

    void SetCurrentVideoMedia() const;  // dispatcher thread

    std::unique_ptr<RequestedTask> trackSelection_;  // started in construction, stopped first
};
