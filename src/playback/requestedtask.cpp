#include "playback/requestedtask.h"

#include <utility>

RequestedTask::RequestedTask(std::function<void()> work)
    : work_(std::move(work)), thread_([this] { Run(); }) {}

RequestedTask::~RequestedTask() {
    Stop();
}

void RequestedTask::Request() {
    {
        std::lock_guard lock(lock_);
        if (stopping_) {
            return;
        }
        requested_ = true;
    }
    wake_.notify_one();
}

void RequestedTask::Stop() {
    {
        std::lock_guard lock(lock_);
        stopping_ = true;
    }
    wake_.notify_one();
    if (thread_.joinable()) {
        thread_.join();
    }
}

void RequestedTask::Run() {
    std::unique_lock lock(lock_);
    while (true) {
        wake_.wait(lock, [this] { return requested_ || stopping_; });
        if (stopping_) {
            return;
        }
        requested_ = false;
        lock.unlock();
        work_();
        lock.lock();
    }
}
