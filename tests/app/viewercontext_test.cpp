#include "app/viewercontext.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

// Records every delivery as "name:kind" into a shared journal.
class RecordingListener : public IListener {
public:
    RecordingListener(std::string name, std::vector<std::string>& journal, std::mutex& lock)
        : name_(std::move(name)), journal_(journal), lock_(lock) {}

    void update(std::int32_t kind, const VideoMessageData& data) override {
        {
            std::lock_guard guard(lock_);
            journal_.push_back(name_ + ":" + std::to_string(kind));
        }
        if (onUpdate) {
            onUpdate(kind, data);
        }
    }

    std::function<void(std::int32_t, const VideoMessageData&)> onUpdate;

private:
    std::string name_;
    std::vector<std::string>& journal_;
    std::mutex& lock_;
};

class ViewerContextTest : public ::testing::Test {
protected:
    // Waits until everything posted so far, and everything those deliveries posted in turn, has
    // reached every listener.
    void Drain() {
        DrainOnce();
        DrainOnce();
    }

    // Posts a marker kind and waits until a listener registered last has seen it.
    void DrainOnce() {
        std::mutex m;
        std::condition_variable cv;
        bool done = false;
        struct Marker : IListener {
            std::function<void()> hit;
            void update(std::int32_t kind, const VideoMessageData&) override {
                if (kind == 999) hit();
            }
        } marker;
        marker.hit = [&] {
            std::lock_guard g(m);
            done = true;
            cv.notify_all();
        };
        context.AddListener(marker);
        context.PostVideoMessage(999);
        std::unique_lock lock(m);
        ASSERT_TRUE(cv.wait_for(lock, 5s, [&] { return done; }));
        lock.unlock();
        context.RemoveListener(marker);
    }

    std::vector<std::string> Journal() {
        std::lock_guard guard(journalLock);
        std::vector<std::string> result;
        for (const auto& entry : journal) {
            if (entry.find(":999") == std::string::npos) result.push_back(entry);
        }
        return result;
    }

    std::mutex journalLock;
    std::vector<std::string> journal;
    CViewerContext context;
};

TEST_F(ViewerContextTest, DeliversEachNotificationToAllListenersInRegistrationOrder) {
    RecordingListener main("main", journal, journalLock), player("player", journal, journalLock);
    context.AddListener(main);
    context.AddListener(player);
    for (auto kind : {UPDATE_VIDEO_PLAYLIST, VIDEO_FILES_OPENED, CHANGE_VIDEO_INDEX,
                      LOAD_VIDEO_MEDIA, NEW_VIDEO_PLAY}) {
        context.PostVideoMessage(kind);
    }
    Drain();
    EXPECT_EQ(Journal(), (std::vector<std::string>{"main:0", "player:0", "main:1", "player:1",
                                                   "main:10", "player:10", "main:11",
                                                   "player:11", "main:16", "player:16"}));
}

TEST_F(ViewerContextTest, UnassignedAndOutOfRangeKindsStillReachEveryListener) {
    RecordingListener a("a", journal, journalLock), b("b", journal, journalLock);
    context.AddListener(a);
    context.AddListener(b);
    context.PostVideoMessage(7);
    context.PostVideoMessage(23);
    Drain();
    EXPECT_EQ(Journal(), (std::vector<std::string>{"a:7", "b:7", "a:23", "b:23"}));
}

TEST_F(ViewerContextTest, ClearInsideUpdateDropsLaterNotificationsButFinishesTheCurrentOne) {
    RecordingListener first("first", journal, journalLock), second("second", journal, journalLock);
    std::mutex gate;
    std::atomic<bool> cleared{false};
    first.onUpdate = [&](std::int32_t kind, const VideoMessageData&) {
        if (kind == VIDEO_PLAY) {
            std::lock_guard wait(gate);
            context.ClearVideoMessages();
            cleared = true;
        }
    };
    context.AddListener(first);
    context.AddListener(second);
    gate.lock();  // holds the dispatcher inside the first delivery until everything is queued
    context.PostVideoMessage(VIDEO_PLAY);
    context.PostVideoMessage(VIDEO_FRAME_POSITION_CHANGED);
    context.PostVideoMessage(VIDEO_FRAME_POSITION_CHANGED);
    gate.unlock();
    while (!cleared) {
        std::this_thread::yield();
    }
    Drain();
    EXPECT_EQ(Journal(), (std::vector<std::string>{"first:2", "second:2"}));
}

TEST_F(ViewerContextTest, PostFromInsideUpdateIsDeliveredAfterTheCurrentOneReachedEveryone) {
    RecordingListener a("a", journal, journalLock), b("b", journal, journalLock);
    a.onUpdate = [&](std::int32_t kind, const VideoMessageData&) {
        if (kind == VIDEO_END_REACHED) {
            VideoMessageData data;
            data.index = 1;
            context.PostVideoMessage(CHANGE_VIDEO_INDEX, data);
        }
    };
    context.AddListener(a);
    context.AddListener(b);
    context.PostVideoMessage(VIDEO_END_REACHED);
    Drain();
    EXPECT_EQ(Journal(), (std::vector<std::string>{"a:5", "b:5", "a:10", "b:10"}));
}

TEST_F(ViewerContextTest, DataReachesTheListener) {
    RecordingListener a("a", journal, journalLock);
    std::string seenText;
    float seenPosition = 0;
    a.onUpdate = [&](std::int32_t kind, const VideoMessageData& data) {
        if (kind == CAPTURE_VIDEO_SNAPSHOT) {
            seenText = data.text;
            seenPosition = data.position;
        }
    };
    context.AddListener(a);
    VideoMessageData data;
    data.position = 0.25f;
    data.text = "/tmp/캡처.png";
    context.PostVideoMessage(CAPTURE_VIDEO_SNAPSHOT, data);
    Drain();
    EXPECT_EQ(seenText, "/tmp/캡처.png");
    EXPECT_FLOAT_EQ(seenPosition, 0.25f);
}

TEST_F(ViewerContextTest, ListenerRemovedDuringADeliveryMissesItAndEverythingQueued) {
    RecordingListener a("a", journal, journalLock), b("b", journal, journalLock),
        c("c", journal, journalLock);
    std::mutex gate;
    a.onUpdate = [&](std::int32_t kind, const VideoMessageData&) {
        if (kind == VIDEO_PLAY) {
            std::lock_guard wait(gate);
            context.RemoveListener(b);
        }
    };
    context.AddListener(a);
    context.AddListener(b);
    context.AddListener(c);
    gate.lock();  // keeps PLAY in delivery until PAUSE is queued behind it
    context.PostVideoMessage(VIDEO_PLAY);
    context.PostVideoMessage(VIDEO_PAUSE);
    gate.unlock();
    Drain();
    EXPECT_EQ(Journal(), (std::vector<std::string>{"a:2", "c:2", "a:3", "c:3"}));
}

TEST_F(ViewerContextTest, PostsAfterShutdownAreDropped) {
    RecordingListener a("a", journal, journalLock);
    context.AddListener(a);
    context.StopRunning();
    context.PostVideoMessage(VIDEO_PLAY);
    context.Shutdown();
    context.Shutdown();  // idempotent
    EXPECT_TRUE(Journal().empty());
    EXPECT_FALSE(context.IsRunning());
}

TEST_F(ViewerContextTest, PostsFromManyThreadsKeepEachSendersOrder) {
    std::vector<std::int32_t> seen[4];
    std::mutex seenLock;
    struct Collector : IListener {
        std::function<void(const VideoMessageData&)> take;
        void update(std::int32_t kind, const VideoMessageData& data) override {
            if (kind == CHANGE_VIDEO_INDEX) take(data);
        }
    } collector;
    collector.take = [&](const VideoMessageData& data) {
        std::lock_guard g(seenLock);
        seen[data.volume].push_back(data.index);
    };
    context.AddListener(collector);
    std::vector<std::thread> senders;
    for (int sender = 0; sender < 4; ++sender) {
        senders.emplace_back([&, sender] {
            for (int i = 0; i < 2000; ++i) {
                VideoMessageData data;
                data.volume = sender;
                data.index = i;
                context.PostVideoMessage(CHANGE_VIDEO_INDEX, data);
            }
        });
    }
    for (auto& t : senders) t.join();
    Drain();
    context.RemoveListener(collector);
    for (const auto& list : seen) {
        ASSERT_EQ(list.size(), 2000u);
        EXPECT_TRUE(std::is_sorted(list.begin(), list.end()));
    }
}

}  // namespace
