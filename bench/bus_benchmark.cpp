// Event bus: idle post-to-delivery latency, and burst throughput to eight listeners.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "app/viewercontext.h"

namespace {

using Clock = std::chrono::steady_clock;

// Counts deliveries of one kind and wakes a waiter when a target count is reached.
class CountingListener : public IListener {
public:
    void update(std::int32_t kind, const VideoMessageData&) override {
        if (kind != VIDEO_FRAME_POSITION_CHANGED) {
            return;
        }
        deliveredAt_ = Clock::now();
        if (delivered_.fetch_add(1, std::memory_order_release) + 1 == target_) {
            std::lock_guard lock(lock_);
            reached_.notify_all();
        }
    }

    void Expect(std::uint64_t target) {
        delivered_ = 0;
        target_ = target;
    }
    void Wait() {
        std::unique_lock lock(lock_);
        reached_.wait(lock, [this] { return delivered_.load(std::memory_order_acquire) >= target_; });
    }
    Clock::time_point deliveredAt() const { return deliveredAt_; }

private:
    std::atomic<std::uint64_t> delivered_{0};
    std::atomic<std::uint64_t> target_{0};
    Clock::time_point deliveredAt_;
    std::mutex lock_;
    std::condition_variable reached_;
};

// The dispatcher is idle before every post: the figure is the wake-up latency of the bus.
void BM_IdleLatency(benchmark::State& state) {
    CViewerContext context;
    CountingListener listener;
    context.AddListener(listener);
    std::vector<double> latencies;
    for (auto _ : state) {
        listener.Expect(1);
        const auto posted = Clock::now();
        context.PostVideoMessage(VIDEO_FRAME_POSITION_CHANGED);
        listener.Wait();
        const double seconds = std::chrono::duration<double>(listener.deliveredAt() - posted).count();
        state.SetIterationTime(seconds);
        latencies.push_back(seconds * 1e6);
    }
    std::sort(latencies.begin(), latencies.end());
    if (!latencies.empty()) {
        state.counters["p50_us"] = latencies[latencies.size() / 2];
        state.counters["p99_us"] = latencies[latencies.size() * 99 / 100];
    }
    context.RemoveListener(listener);
}
BENCHMARK(BM_IdleLatency)->UseManualTime()->Iterations(5000);

// A burst posted back to back from one thread while eight listeners take every notification.
void BM_BurstThroughput(benchmark::State& state) {
    constexpr int kBurst = 100000;
    CViewerContext context;
    std::vector<CountingListener> listeners(8);
    for (auto& listener : listeners) {
        context.AddListener(listener);
    }
    for (auto _ : state) {
        for (auto& listener : listeners) {
            listener.Expect(kBurst);
        }
        VideoMessageData data;
        for (int i = 0; i < kBurst; ++i) {
            data.position = static_cast<float>(i);
            context.PostVideoMessage(VIDEO_FRAME_POSITION_CHANGED, data);
        }
        listeners.back().Wait();
    }
    state.SetItemsProcessed(state.iterations() * kBurst);
    for (auto& listener : listeners) {
        context.RemoveListener(listener);
    }
}
BENCHMARK(BM_BurstThroughput)->Unit(benchmark::kMillisecond)->MinTime(1.0)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
