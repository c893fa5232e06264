#pragma once

#include <QImage>

#include <atomic>
#include <cstdint>
#include <string>

#include "playback/channelvideopane.h"

// Channel 1: plays the recording's first video track with sound and is the master of playback.
// Only its engine reports opening, playing, pause, position and end, which it turns into bus
// notifications; it shows the placeholder picture while nothing plays.
class CFirstChannelVideoPane : public ChannelVideoPane {
    Q_OBJECT

public:
    static constexpr std::int32_t kInitialVolume = 30;
    static constexpr int kPlaceholderBitmap = 310;

    // Starts the channel engine and registers on `context`, whose bus also receives the
    // engine's reports. One channel 1 pane per process.
    explicit CFirstChannelVideoPane(CViewerContext& context, QWidget* parent = nullptr);
    ~CFirstChannelVideoPane() override;

    // Dispatcher thread only.
    void update(std::int32_t kind, const VideoMessageData& data) override;

    // Writes the current picture for a capture at `path` (see CAPTURE_VIDEO_SNAPSHOT); also
    // called directly on the GUI thread by the report. Any thread.
    void Snapshot(const std::string& path) const;
    // Toggles play and pause.
    void PlayVideo() const;

    // GUI thread only.
    bool placeholderShown() const { return placeholderShown_; }
    std::int32_t volume() const { return volume_.load(); }

    // Set while a recording is being loaded: the engine's pause of the old media is then not
    // reported. Written by update() and cleared by the engine's opening report.
    static std::atomic<bool> loadingMedia;

protected:
    void paintEvent(QPaintEvent* event) override;

public:
    // The engine's event callback (engine threads; null user data).
    static void OnEngineEvent(const libvlc_event_t* event, void* userData);

private:
    static void OnEndReached(CViewerContext& bus);

    void ShowPlaceholder(bool show);  // GUI thread

    QImage placeholderImage_;       // null when the resource library lacks it
    bool placeholderShown_ = true;  // GUI thread only
    std::atomic<std::int32_t> volume_{kInitialVolume};
};
