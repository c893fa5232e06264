#include "playback/requestedtask.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>

TEST(RequestedTask, RequestsDuringARunCoalesceIntoOneMoreRun) {
    std::atomic<int> runs{0};
    std::promise<void> started;
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    RequestedTask task([&] {
        if (runs.fetch_add(1) == 0) {
            started.set_value();
            released.wait();
        }
    });
    task.Request();
    started.get_future().wait();
    for (int i = 0; i < 5; ++i) {
        task.Request();  // never waits for the run in progress
    }
    release.set_value();
    for (int i = 0; i < 200 && runs.load() < 2; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    task.Stop();
    EXPECT_EQ(runs.load(), 2);
}

TEST(RequestedTask, StopWaitsForTheRunAndLaterRequestsAreIgnored) {
    std::atomic<bool> running{false};
    std::atomic<bool> finished{false};
    std::atomic<int> runs{0};
    RequestedTask task([&] {
        ++runs;
        running = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        finished = true;
    });
    task.Request();
    while (!running) {
        std::this_thread::yield();
    }
    task.Stop();
    EXPECT_TRUE(finished);
    task.Request();
    task.Stop();
    EXPECT_EQ(runs.load(), 1);
}
