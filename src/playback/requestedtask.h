#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

// Runs one piece of work on a thread of its own whenever it is requested. Requests made while
// the work runs coalesce into one more run. Request() never waits for the work, so it is safe
// from threads that hold locks the work needs (the engine's event threads).
class RequestedTask {
public:
    explicit RequestedTask(std::function<void()> work);
    // Stops the thread.
    ~RequestedTask();
    RequestedTask(const RequestedTask&) = delete;
    RequestedTask& operator=(const RequestedTask&) = delete;

    // Asks for one more run. Ignored once stopped. Any thread.
    void Request();
    // Waits for a run in progress to end and ends the thread; later requests are ignored.
    // Idempotent. Not from inside the work.
    void Stop();

private:
    void Run();

    const std::function<void()> work_;
    std::mutex lock_;  // guards requested_ and stopping_
    std::condition_variable wake_;
    bool requested_ = false;
    bool stopping_ = false;
    std::thread thread_;  // started last, after every field it reads
};
