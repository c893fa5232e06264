#pragma once

#include <QWidget>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>

#include "app/listener.h"
#include "playback/channelengine.h"

class CRecordingInfo;
class CViewerContext;
class VlcFunctionExecutor;

// What both channel panes share: a native child window that the engine draws into, the
// channel engine that draws there, and the pane's place on the bus.
//
// The engine is created on the GUI thread before the pane registers and released after it has
// unregistered, so every update() and every engine callback finds it. update() runs on the
// dispatcher thread; it calls the engine directly (libvlc is thread-safe) and hands every
// widget change to the GUI thread with a queued call, never a blocking one, so closing the
// window (the GUI thread waits for the dispatcher in RemoveListener) cannot deadlock.
class ChannelVideoPane : public QWidget, public IListener {
    Q_OBJECT

public:
    ~ChannelVideoPane() override;

    using QWidget::update;

    // The recording the playlist calls current, or null.
    CRecordingInfo* CurrentRecording() const;
    static bool FileExists(const std::string& path);

    // The X window the engine draws into.
    QWidget* videoSurface() const { return videoSurface_; }
    // Without a media engine, an engine whose operations do nothing.
    const ChannelEngine& engine() const { return *engine_; }

protected:
    ChannelVideoPane(CViewerContext& context, QWidget* parent);

    // Starts the channel engine on the video surface (GUI thread, during construction). Without
    // an engine table the pane's engine does nothing.
    void initEngine(std::initializer_list<libvlc_event_type_t> events, libvlc_callback_t callback);
    // Registers on the bus; the last step of a derived constructor.
    void Register();
    // Unregisters; the first step of a derived destructor.
    void Unregister();
    // Releases the player, then the engine; no engine callback runs after this returns.
    void ReleaseEngine();

    // The commands both channels follow alike: seek, rate and brightness. False, doing nothing,
    // for any other kind.
    bool FollowCommonCommand(std::int32_t kind, const VideoMessageData& data) const;

    CViewerContext& context() const { return context_; }

    void resizeEvent(QResizeEvent* event) override;

    QWidget* videoSurface_ = nullptr;  // GUI thread only

private:
    CViewerContext& context_;
    std::unique_ptr<ChannelEngine> engine_;  // set by initEngine during construction
    bool registered_ = false;
};
