#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "tessel/Messanger.h"
#include "tessel/Toolbox.h"

using tessel::Messanger;
using tessel::VariantArray;

namespace {
struct Recorder : tessel::MessangerEvents {
    std::vector<int32_t> msgs;
    std::vector<VariantArray> data;
    std::thread::id thread;
    void MsgArrived(int32_t Msg, const VariantArray& Data, const std::string&,
                    const std::string&) override {
        msgs.push_back(Msg);
        data.push_back(Data);
        thread = std::this_thread::get_id();
    }
};

// Pumps until `done` or a generous deadline, so a lost message fails instead of hanging.
template <class Pred>
bool PumpUntil(Pred done) {
    return tessel::Toolbox::PumpMessagesUntil(done, std::chrono::seconds(20));
}
}  // namespace

TEST(Messanger, DeliversOnlyOnTheCreatingThreadWhileItPumps) {
    auto m = std::make_shared<Messanger>();
    Recorder r;
    auto c = m->Connect(r);
    std::thread sender([m] {
        m->Send(1, VariantArray{"a"});
        m->Send(2, VariantArray{int32_t{2}});
    });
    sender.join();
    EXPECT_TRUE(r.msgs.empty()) << "nothing arrives before the owner pumps";
    tessel::Toolbox::PumpMessages();
    ASSERT_EQ(r.msgs, (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(r.data[0](1).ToString(), "a");
    EXPECT_EQ(r.thread, std::this_thread::get_id());
}

TEST(Messanger, EightSendersLoseNothingAndKeepTheirOrder) {
    auto m = std::make_shared<Messanger>();
    struct Counter : tessel::MessangerEvents {
        std::vector<int32_t> next = std::vector<int32_t>(8, 0);
        int total = 0;
        bool ordered = true;
        void MsgArrived(int32_t Msg, const VariantArray& Data, const std::string&,
                        const std::string&) override {
            const int32_t seq = Data(1).ToLong();
            ordered = ordered && seq == next[static_cast<std::size_t>(Msg)];
            next[static_cast<std::size_t>(Msg)] = seq + 1;
            ++total;
        }
    } counter;
    auto c = m->Connect(counter);
    constexpr int kPerSender = 10000;
    std::vector<std::thread> senders;
    for (int32_t s = 0; s < 8; ++s) {
        senders.emplace_back([m, s] {
            for (int32_t i = 0; i < kPerSender; ++i) m->Send(s, VariantArray{i});
        });
    }
    EXPECT_TRUE(PumpUntil([&] { return counter.total == 8 * kPerSender; }));
    for (auto& t : senders) t.join();
    tessel::Toolbox::PumpMessages();
    EXPECT_EQ(counter.total, 8 * kPerSender);
    EXPECT_TRUE(counter.ordered);
}

TEST(Messanger, SendingToAThreadThatEndedIsANoOp) {
    std::shared_ptr<Messanger> orphan;
    std::thread owner([&] { orphan = std::make_shared<Messanger>(); });
    owner.join();
    EXPECT_NO_THROW(orphan->Send(1, VariantArray{"lost"}));
}

TEST(Messanger, MessagesForADestroyedMessangerOrSinkAreDropped) {
    Recorder r;
    {
        auto m = std::make_shared<Messanger>();
        auto c = m->Connect(r);
        m->Send(1, {});
        { auto gone = m->Connect(r); }
        m.reset();
    }
    auto m2 = std::make_shared<Messanger>();
    Recorder r2;
    {
        auto c2 = m2->Connect(r2);
        m2->Send(2, {});
    }  // sink disconnected before the pump
    tessel::Toolbox::PumpMessages();
    EXPECT_TRUE(r.msgs.empty());
    EXPECT_TRUE(r2.msgs.empty());
}

TEST(Messanger, AHandlerMayPumpAgainAndOrderHolds) {
    auto m = std::make_shared<Messanger>();
    struct Nested : tessel::MessangerEvents {
        std::vector<int32_t> seen;
        void MsgArrived(int32_t Msg, const VariantArray&, const std::string&,
                        const std::string&) override {
            seen.push_back(Msg);
            if (Msg == 1) tessel::Toolbox::PumpMessages();
        }
    } nested;
    auto c = m->Connect(nested);
    for (int32_t i = 1; i <= 4; ++i) m->Send(i, {});
    tessel::Toolbox::PumpMessages();
    EXPECT_EQ(nested.seen, (std::vector<int32_t>{1, 2, 3, 4}));
}

TEST(MessageQueue, OnlyAPostToAnEmptyQueueWakesItsOwnerAndAPumpLeavingSomeWakesItAgain) {
    auto queue = tessel::MessageQueue::Current();
    std::atomic<int> wakeups{0};
    queue->SetWakeup([&] { ++wakeups; });
    std::vector<int> seen;  // the wake-ups as each message saw them
    std::thread([&] {
        queue->Post([&] { seen.push_back(wakeups); });
        queue->Post([&] { seen.push_back(wakeups); });
    }).join();
    EXPECT_EQ(wakeups.load(), 1) << "the second found the first waiting";
    EXPECT_EQ(queue->Pump(), 2);
    // The first ran with the second still waiting: a modal loop it opened must be woken.
    EXPECT_EQ(seen, (std::vector<int>{2, 2}));
    std::thread([&] { queue->Post([] {}); }).join();
    EXPECT_EQ(wakeups.load(), 3) << "an emptied queue wakes again";
    queue->SetWakeup(nullptr);
    EXPECT_EQ(queue->Pump(), 1);
}

TEST(MessageQueue, WaitAndPumpSleepsUntilAMessageArrives) {
    auto m = std::make_shared<Messanger>();
    Recorder r;
    auto connection = m->Connect(r);
    std::thread sender([m] { m->Send(7, {}); });
    tessel::Toolbox::WaitAndPumpMessages();
    sender.join();
    ASSERT_EQ(r.msgs.size(), 1u);
    EXPECT_EQ(r.msgs[0], 7);
}
