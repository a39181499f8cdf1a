#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include "Readable.h"
#include "platform/KernelObjects.h"

using namespace platform;

namespace {

// Names are process-wide; a per-test prefix keeps tests apart.
std::string Name(const std::string& suffix) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return std::string(info->name()) + "." + suffix;
}

int TakeAll(const Handle& semaphore) {
    int taken = 0;
    while (WaitForSingleObject(semaphore) == WaitResult::Signalled) {
        ++taken;
    }
    return taken;
}

using kestest::Readable;

TEST(Semaphore, CountsSlotsAndRefusesToPassTheMaximum) {
    auto semaphore = CreateSemaphoreA(2, 3, Name("s"));
    ASSERT_TRUE(semaphore);
    EXPECT_EQ(WaitForSingleObject(semaphore), WaitResult::Signalled);
    EXPECT_EQ(WaitForSingleObject(semaphore), WaitResult::Signalled);
    EXPECT_EQ(WaitForSingleObject(semaphore), WaitResult::Timeout);

    EXPECT_FALSE(ReleaseSemaphore(semaphore, 4));  // 0 + 4 > 3: nothing released
    EXPECT_FALSE(ReleaseSemaphore(semaphore, 0));
    EXPECT_FALSE(ReleaseSemaphore(semaphore, -1));
    EXPECT_TRUE(ReleaseSemaphore(semaphore, 2));
    EXPECT_FALSE(ReleaseSemaphore(semaphore, 2));  // 2 + 2 > 3
    EXPECT_TRUE(ReleaseSemaphore(semaphore, 1));
    EXPECT_FALSE(ReleaseSemaphore(semaphore, 1));
    EXPECT_FALSE(ReleaseSemaphore(semaphore, INT32_MAX));
    EXPECT_EQ(TakeAll(semaphore), 3);
}

TEST(Semaphore, InvalidCountsGiveNoHandle) {
    EXPECT_FALSE(CreateSemaphoreA(6, 5, Name("a")));
    EXPECT_FALSE(CreateSemaphoreA(0, 0, Name("b")));
    EXPECT_FALSE(CreateSemaphoreA(-1, 5, Name("c")));
    EXPECT_TRUE(CreateSemaphoreA(0, 1, Name("d")));
}

TEST(Semaphore, SameNameIsOneObjectAndLaterArgumentsAreIgnored) {
    auto first = CreateSemaphoreA(5, 5, Name("slots"));
    auto second = CreateSemaphoreA(1, 1, Name("slots"));
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first.Get(), second.Get());
    EXPECT_EQ(TakeAll(second), 5);
    EXPECT_EQ(WaitForSingleObject(first), WaitResult::Timeout);
    EXPECT_TRUE(ReleaseSemaphore(first, 5));
    EXPECT_FALSE(ReleaseSemaphore(second, 1));
}

TEST(Semaphore, LivesWhileAnyHandleIsOpen) {
    auto first = CreateSemaphoreA(3, 3, Name("s"));
    auto second = CreateSemaphoreA(3, 3, Name("s"));
    ASSERT_EQ(TakeAll(first), 3);
    EXPECT_TRUE(CloseHandle(first));
    EXPECT_FALSE(CloseHandle(first));
    // Still held by the second handle, so a new opener sees the slots taken.
    auto third = CreateSemaphoreA(3, 3, Name("s"));
    EXPECT_EQ(WaitForSingleObject(third), WaitResult::Timeout);
    EXPECT_TRUE(CloseHandle(second));
    EXPECT_TRUE(CloseHandle(third));
    // All handles closed: the name now makes a fresh object.
    auto fresh = CreateSemaphoreA(1, 2, Name("s"));
    EXPECT_EQ(TakeAll(fresh), 1);
    EXPECT_TRUE(ReleaseSemaphore(fresh, 2));
}

TEST(Semaphore, UnnamedObjectsAreDistinct) {
    auto a = CreateSemaphoreA(1, 1, "");
    auto b = CreateSemaphoreA(1, 1, "");
    ASSERT_TRUE(a && b);
    EXPECT_NE(a.Get(), b.Get());
    EXPECT_EQ(TakeAll(a), 1);
    EXPECT_EQ(TakeAll(b), 1);
}

TEST(KernelObjects, OneNamespaceForBothKinds) {
    auto event = CreateEventA(true, false, Name("x"));
    ASSERT_TRUE(event);
    EXPECT_FALSE(CreateSemaphoreA(1, 1, Name("x")));
    auto semaphore = CreateSemaphoreA(1, 1, Name("y"));
    EXPECT_FALSE(CreateEventA(true, false, Name("y")));
    // Each call refuses the other kind's handle.
    EXPECT_FALSE(ReleaseSemaphore(event, 1));
    EXPECT_FALSE(SetEvent(semaphore));
    EXPECT_FALSE(ResetEvent(semaphore));
}

TEST(KernelObjects, EmptyHandleFailsEverywhere) {
    Handle none;
    EXPECT_EQ(WaitForSingleObject(none), WaitResult::Failed);
    EXPECT_EQ(WaitForSingleObject(none, kInfinite), WaitResult::Failed);
    EXPECT_FALSE(ReleaseSemaphore(none, 1));
    EXPECT_FALSE(SetEvent(none));
    EXPECT_FALSE(ResetEvent(none));
    EXPECT_FALSE(CloseHandle(none));
}

TEST(Event, ManualResetStaysSignalledUntilReset) {
    auto cancel = CreateEventA(true, false, Name("cancel"));
    auto other = CreateEventA(true, false, Name("cancel"));
    EXPECT_EQ(WaitForSingleObject(other), WaitResult::Timeout);
    EXPECT_TRUE(SetEvent(cancel));
    EXPECT_EQ(WaitForSingleObject(other), WaitResult::Signalled);
    EXPECT_EQ(WaitForSingleObject(other), WaitResult::Signalled);
    EXPECT_EQ(WaitForSingleObject(cancel), WaitResult::Signalled);
    EXPECT_TRUE(ResetEvent(other));
    EXPECT_EQ(WaitForSingleObject(cancel), WaitResult::Timeout);
}

TEST(Event, SetResetOnASignalledExistingEventLeavesItClear) {
    // How a job starts: the event may be left signalled by an earlier cancel.
    auto earlier = CreateEventA(true, true, Name("cancel"));
    auto job = CreateEventA(true, false, Name("cancel"));
    EXPECT_EQ(WaitForSingleObject(job), WaitResult::Signalled);
    EXPECT_TRUE(SetEvent(job));
    EXPECT_TRUE(ResetEvent(job));
    EXPECT_EQ(WaitForSingleObject(earlier), WaitResult::Timeout);
}

TEST(Event, AutoResetLetsOneWaitThroughPerSet) {
    auto event = CreateEventA(false, true, "");
    EXPECT_EQ(WaitForSingleObject(event), WaitResult::Signalled);
    EXPECT_EQ(WaitForSingleObject(event), WaitResult::Timeout);
    SetEvent(event);
    SetEvent(event);
    EXPECT_EQ(WaitForSingleObject(event), WaitResult::Signalled);
    EXPECT_EQ(WaitForSingleObject(event), WaitResult::Timeout);
}

TEST(Event, SignalFromAnotherHandleSurvivesTheSignallersClose) {
    // The facade signals cancel and closes its handle at once; workers must still see it.
    auto worker = CreateEventA(true, false, Name("cancel"));
    auto facade = CreateEventA(true, false, Name("cancel"));
    SetEvent(facade);
    CloseHandle(facade);
    EXPECT_EQ(WaitForSingleObject(worker), WaitResult::Signalled);
}

TEST(KernelObjects, BlockingWaitsWakeOnSignal) {
    auto event = CreateEventA(true, false, "");
    auto semaphore = CreateSemaphoreA(0, 1, "");
    std::atomic<int> eventResult{-1};
    std::atomic<int> semaphoreResult{-1};
    std::thread waiter([&] {
        eventResult = static_cast<int>(WaitForSingleObject(event, kInfinite));
        semaphoreResult = static_cast<int>(WaitForSingleObject(semaphore, kInfinite));
    });
    SetEvent(event);
    ReleaseSemaphore(semaphore, 1);
    waiter.join();
    EXPECT_EQ(eventResult, static_cast<int>(WaitResult::Signalled));
    EXPECT_EQ(semaphoreResult, static_cast<int>(WaitResult::Signalled));
    EXPECT_EQ(WaitForSingleObject(semaphore, 1), WaitResult::Timeout);
}

TEST(Semaphore, EachReleasedSlotLetsOneBlockedWaiterThrough) {
    auto semaphore = CreateSemaphoreA(0, 3, "");
    std::atomic<int> through{0};
    const auto wait = [&] {
        through += WaitForSingleObject(semaphore, kInfinite) == WaitResult::Signalled;
        through.notify_all();
    };
    std::thread first(wait), second(wait), third(wait);
    ReleaseSemaphore(semaphore, 1);
    through.wait(0);
    EXPECT_EQ(WaitForSingleObject(semaphore, 0), WaitResult::Timeout) << "one slot, one pass";
    ReleaseSemaphore(semaphore, 2);  // a wake-up lost here leaves a waiter asleep: no join
    first.join(), second.join(), third.join();
    EXPECT_EQ(through.load(), 3);
}

TEST(Event, DescriptorIsReadableExactlyWhileTheEventIsSet) {
    auto manual = CreateEventA(true, true, Name("manual"));
    const int fd = EventDescriptor(manual);
    ASSERT_GE(fd, 0);
    EXPECT_TRUE(Readable(fd)) << "made while set";
    EXPECT_EQ(WaitForSingleObject(manual), WaitResult::Signalled);
    EXPECT_TRUE(Readable(fd)) << "a wait leaves a manual-reset event set";
    ResetEvent(manual);
    ResetEvent(manual);
    EXPECT_FALSE(Readable(fd));
    SetEvent(manual);
    SetEvent(manual);
    ResetEvent(manual);
    EXPECT_FALSE(Readable(fd)) << "two sets are undone by one reset";

    auto other = CreateEventA(true, false, Name("manual"));
    EXPECT_EQ(EventDescriptor(other), fd) << "one object, one descriptor";
    SetEvent(other);
    EXPECT_TRUE(Readable(fd)) << "set through another handle";

    auto autoReset = CreateEventA(false, false, "");
    const int autoFd = EventDescriptor(autoReset);
    SetEvent(autoReset);
    EXPECT_TRUE(Readable(autoFd));
    EXPECT_EQ(WaitForSingleObject(autoReset), WaitResult::Signalled);
    EXPECT_FALSE(Readable(autoFd)) << "the waiter it let through cleared it";
}

TEST(Event, DescriptorWakesASleeperOnAnotherThread) {
    auto event = CreateEventA(true, false, "");
    const int fd = EventDescriptor(event);
    std::thread setter([&] { SetEvent(event); });
    EXPECT_TRUE(kestest::SleepUntilReadable(fd));
    setter.join();
}

TEST(Event, OnlyEventsHaveADescriptor) {
    EXPECT_EQ(EventDescriptor(CreateSemaphoreA(1, 1, "")), -1);
    EXPECT_EQ(EventDescriptor(Handle()), -1);
}

TEST(KernelObjects, ManyThreadsNeverHoldMoreSlotsThanTheMaximum) {
    constexpr int kMax = 5;
    constexpr int kThreads = 16;
    constexpr int kRounds = 300;
    std::atomic<int> holding{0};
    std::atomic<int> mostHeld{0};
    std::atomic<int> refusedReleases{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&] {
            // Each thread opens and closes its own handle, as every worker does.
            for (int round = 0; round < kRounds; ++round) {
                auto slots = CreateSemaphoreA(kMax, kMax, Name("slots"));
                while (WaitForSingleObject(slots) != WaitResult::Signalled) {
                    std::this_thread::yield();
                }
                const int now = ++holding;
                int seen = mostHeld.load();
                while (now > seen && !mostHeld.compare_exchange_weak(seen, now)) {
                }
                --holding;
                if (!ReleaseSemaphore(slots, 1)) {
                    ++refusedReleases;
                }
                CloseHandle(slots);
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_LE(mostHeld.load(), kMax);
    EXPECT_GE(mostHeld.load(), 1);
    EXPECT_EQ(refusedReleases.load(), 0);
}

TEST(KernelObjects, ConcurrentOpenersShareTheLiveObject) {
    auto held = CreateSemaphoreA(5, 5, Name("shared"));
    std::atomic<int> strangers{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&] {
            for (int round = 0; round < 500; ++round) {
                auto mine = CreateSemaphoreA(5, 5, Name("shared"));
                auto gone = CreateEventA(true, false, Name("churn"));  // made and dropped
                if (mine.Get() != held.Get()) {
                    ++strangers;
                }
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(strangers.load(), 0);
}

}  // namespace
