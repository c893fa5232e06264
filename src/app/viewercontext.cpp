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
    clearGeneration_.fetch_add(1, std::memory_order_acq_rel);
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
    playlist_.ReleaseRecordings();  // nobody can reach a descriptor any more
    std::lock_guard lock(listenerLock_);
    listeners_.clear();
}

void CViewerContext::DispatchVideoMessages() {
    std::deque<VideoMessage> batch;
    std::vector<IListener*> snapshot;
    while (true) {
        std::uint64_t generation = 0;
        {
            std::unique_lock lock(messageLock_);
            messageReady_.wait(lock, [this] { return !queue_.empty() || !IsRunning(); });
            if (!IsRunning()) {
                return;
            }
            // Taking everything pending at once keeps the posting threads off this lock
            // during a burst; a clear in the meantime is noticed through the generation.
            batch.swap(queue_);
            generation = clearGeneration_;
        }
        for (VideoMessage& message : batch) {
            if (!IsRunning() || clearGeneration_.load(std::memory_order_acquire) != generation) {
                break;  // cleared or stopped: the rest of the batch counts as discarded
            }
            Deliver(message, snapshot);
        }
        batch.clear();
    }
}

void CViewerContext::Deliver(const VideoMessage& message, std::vector<IListener*>& snapshot) {
    std::lock_guard lock(listenerLock_);
    // Walk a snapshot so that update() may add or remove listeners; a listener removed during
    // this delivery is skipped (only the dispatcher can change the list meanwhile, since every
    // other thread waits for listenerLock_).
    snapshot.assign(listeners_.begin(), listeners_.end());
    for (IListener* listener : snapshot) {
        if (!IsRunning()) {
            break;
        }
        if (std::find(listeners_.begin(), listeners_.end(), listener) != listeners_.end()) {
            listener->update(message.kind, message.data);
        }
    }
}
