#include "app/guithread.h"

#include <QThread>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

#include "app/viewercontext.h"

namespace guithread {
namespace {

// Shared between the waiting thread and the queued call; whichever comes second decides.
struct HandOver {
    std::mutex lock;
    std::condition_variable finished;
    bool started = false;    // the GUI thread has begun the work: the waiter waits for its end
    bool done = false;
    bool abandoned = false;  // the waiter gave up before the start: the work must not run
};

}  // namespace

bool RunAndWait(QObject* receiver, CViewerContext& context, std::function<void()> work) {
    if (receiver == nullptr) {
        return false;
    }
    if (QThread::currentThread() == receiver->thread()) {
        work();
        return true;
    }
    auto handOver = std::make_shared<HandOver>();
    Post(receiver, [handOver, work = std::move(work)] {
        {
            std::lock_guard lock(handOver->lock);
            if (handOver->abandoned) {
                return;
            }
            handOver->started = true;
        }
        work();
        std::lock_guard lock(handOver->lock);
        handOver->done = true;
        handOver->finished.notify_all();
    });

    std::unique_lock lock(handOver->lock);
    while (!handOver->done) {
        // The bus has no way to wake this wait when it stops; a short period bounds the delay.
        handOver->finished.wait_for(lock, std::chrono::milliseconds(10));
        if (!handOver->started && !context.IsRunning()) {
            handOver->abandoned = true;
            return false;
        }
    }
    return true;
}

}  // namespace guithread
