#include "app/viewercontext.h"

#include <algorithm>

CViewerContext& CViewerContext::Instance() {
    static CViewerContext context;
    return context;
}

CViewerContext::CViewerContext() : dispatcher_([this] { DispatchVideoMessages(); }) {}

CViewerContext::~CViewerContext() { Shutdown(); }

void CViewerContext::AddListener(IListener& listener) {
    std::lock_guard lock(listenerLock_);
    listeners_.push_back(&listener);
}

void CViewerContext::RemoveListener(IListener& listener) {
    std::lock_guard lock(listenerLock_);
    std::erase(listeners_, &listener);
}

void CViewerContext::PostVideoMessage(std::int32_t kind, VideoMessageData data) {
    if (!IsRunning()) {
        return;
    }
    {
        std::lock_guard lock(messageLock_);
        queue_.push_back({kind, std::move(data)});
    }
    messageReady_.notify_one();
}

void CViewerContext::ClearVideoMessages() {
    std::deque<VideoMessage> discarded;
    std::lock_guard lock(messageLock_);
    discarded.swap(queue_);
}

void CViewerContext::StopRunning() {
    {
        // Taking the lock orders the store before the dispatcher's next check of the predicate,
        // so the wake-up cannot be lost.
        std::lock_guard lock(messageLock_);
        running_.store(false, std::memory_order_release);
    }
    messageReady_.notify_all();
}

void CViewerContext::Shutdown() {
    StopRunning();
    ClearVideoMessages();
    if (dispatcher_.joinable()) {
        dispatcher_.join();
    }
    std::lock_guard lock(listenerLock_);
    listeners_.clear();
}

void CViewerContext::DispatchVideoMessages() {
    while (true) {
        VideoMessage message;
        {
            std::unique_lock lock(messageLock_);
            messageReady_.wait(lock, [this] { return !queue_.empty() || !IsRunning(); });
            if (!IsRunning()) {
                return;
            }
            message = std::move(queue_.front());
            queue_.pop_front();
        }
        std::lock_guard lock(listenerLock_);
        // Walk a snapshot so that update() may add or remove listeners; a listener removed
        // during this delivery is skipped (only the dispatcher can change the list meanwhile,
        // since every other thread waits for listenerLock_).
        const std::vector<IListener*> snapshot = listeners_;
        for (IListener* listener : snapshot) {
            if (!IsRunning()) {
                break;
            }
            if (std::find(listeners_.begin(), listeners_.end(), listener) != listeners_.end()) {
                listener->update(message.kind, message.data);
            }
        }
    }
}
