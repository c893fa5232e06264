#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "app/listener.h"
#include "recordings/playlist.h"

// The process-wide context: the event bus that connects the panes, and the shared playback state.
//
// One dispatcher thread delivers notifications one at a time, in posting order, to every
// listener in registration order. Posting never waits for delivery and may happen from any
// thread, including from inside update(). A listener being removed is never inside update()
// once RemoveListener has returned (unless it removes itself from inside its own update()).
//
// Lock order: listenerLock_ (held for one whole delivery) before any other lock; messageLock_
// is innermost and held only to append or take one notification.
class CViewerContext {
public:
    // The single context, created on the first call.
    static CViewerContext& Instance();

    CViewerContext();
    ~CViewerContext();
    CViewerContext(const CViewerContext&) = delete;
    CViewerContext& operator=(const CViewerContext&) = delete;

    void AddListener(IListener& listener);
    // Removes every registration of `listener`; waits for a delivery in progress to finish.
    void RemoveListener(IListener& listener);

    // Queues a notification; dropped once the context has stopped running.
    void PostVideoMessage(std::int32_t kind, VideoMessageData data = {});
    // Discards every pending notification; the one being delivered is not affected.
    void ClearVideoMessages();

    // Stops accepting and delivering notifications. Safe from any thread, never blocks; the
    // delivery in progress finishes its current listener and then stops.
    void StopRunning();
    bool IsRunning() const { return running_.load(std::memory_order_acquire); }
    // Stops running, discards pending notifications and joins the dispatcher. Idempotent.
    // Must not be called from inside update().
    void Shutdown();

    // The loaded recordings, the current one and the list filter; guarded by its own lock.
    Playlist& playlist() { return playlist_; }

    // Last reported playback position (0..1), written by the main window on position reports.
    std::atomic<float> currentPosition{0.0f};
    // The main window's video-only layout flag.
    std::atomic<bool> videoMaximized{false};

private:
    struct VideoMessage {
        std::int32_t kind;
        VideoMessageData data;
    };

    void DispatchVideoMessages();
    void Deliver(const VideoMessage& message, std::vector<IListener*>& snapshot);

    std::atomic<bool> running_{true};

    std::mutex messageLock_;  // guards queue_ and wakes the dispatcher through messageReady_
    std::condition_variable messageReady_;
    std::deque<VideoMessage> queue_;
    // Bumped by every clear, so that the dispatcher drops what it took out before the clear.
    std::atomic<std::uint64_t> clearGeneration_{0};

    std::recursive_mutex listenerLock_;  // held for one whole delivery
    std::vector<IListener*> listeners_;  // not owned, in registration order

    Playlist playlist_;

    std::thread dispatcher_;  // last: starts after everything it uses exists
};
