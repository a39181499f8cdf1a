#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>

#include "tessel/KeyedCollection.h"
#include "tessel/Messanger.h"
#include "tessel/Toolbox.h"
#include "tessel/WorkerThread.h"

using tessel::ComError;
using tessel::Variant;
using tessel::WorkerRegistry;
using tessel::WorkerThread;

namespace {
const std::thread::id gTestThread = std::this_thread::get_id();

// Reports its thread and argument back through the messenger it is given.
class EchoWorker : public tessel::Worker {
  public:
    bool HasMethod(const std::string& name) const override { return name == "Run"; }
    void Call(const std::string&, const Variant& argument) override {
        auto bag = argument.As<tessel::KeyedCollection>();
        auto m = bag->Item("Messanger").As<tessel::Messanger>();
        const bool otherThread =
            std::this_thread::get_id() != gTestThread && creator_ == std::this_thread::get_id();
        m->Send(0, tessel::VariantArray{bag->Item("Value"), otherThread});
    }
    std::thread::id creator_ = std::this_thread::get_id();
};

// Ends when the test lets it.
class GatedWorker : public tessel::Worker {
  public:
    explicit GatedWorker(std::shared_future<void> gate) : gate_(std::move(gate)) {}
    bool HasMethod(const std::string& name) const override { return name == "Run"; }
    void Call(const std::string&, const Variant&) override { gate_.wait(); }

  private:
    std::shared_future<void> gate_;
};

struct Catch : tessel::MessangerEvents {
    std::vector<tessel::VariantArray> got;
    void MsgArrived(int32_t, const tessel::VariantArray& d, const std::string&,
                    const std::string&) override {
        got.push_back(d);
    }
};
}  // namespace

TEST(WorkerThread, RunsTheMethodOfAnObjectCreatedOnANewThread) {
    WorkerRegistry::Register("test.echo", [] { return std::make_shared<EchoWorker>(); });
    auto m = std::make_shared<tessel::Messanger>();
    Catch c;
    auto conn = m->Connect(c);
    auto bag = std::make_shared<tessel::KeyedCollection>();
    bag->Add(Variant(m), "Messanger");
    bag->Add("hello", "Value");
    WorkerThread().Start("test.echo", "Run", Variant(bag));
    WorkerThread::JoinAll();
    tessel::Toolbox::PumpMessages();
    ASSERT_EQ(c.got.size(), 1u);
    EXPECT_EQ(c.got[0](1).ToString(), "hello");
    EXPECT_TRUE(c.got[0](2).ToBool()) << "the object is created on the worker's own thread";
    EXPECT_EQ(WorkerThread::RunningCount(), 0);
}

TEST(WorkerThread, UnknownProgIDOrMethodFailsWithANumberAndRunsNothing) {
    std::atomic<int> calls{0};
    struct Counting : tessel::Worker {
        std::atomic<int>* calls;
        bool HasMethod(const std::string& name) const override { return name == "Run"; }
        void Call(const std::string&, const Variant&) override { ++*calls; }
    };
    WorkerRegistry::Register("test.counting", [&] {
        auto w = std::make_shared<Counting>();
        w->calls = &calls;
        return w;
    });
    try {
        WorkerThread().Start("test.nothing-registered", "Run", {});
        FAIL();
    } catch (const ComError& e) {
        EXPECT_EQ(e.Number(), tessel::err::kCannotCreateObject);
    }
    try {
        WorkerThread().Start("test.counting", "Walk", {});
        FAIL();
    } catch (const ComError& e) {
        EXPECT_EQ(e.Number(), tessel::err::kMethodNotSupported);
    }
    WorkerThread::JoinAll();
    EXPECT_EQ(calls.load(), 0);
    WorkerRegistry::Unregister("test.counting");
}

TEST(WorkerRegistry, DefaultsDoNotReplaceARegisteredFactory) {
    WorkerRegistry::Register("test.swap", [] { return std::make_shared<EchoWorker>(); });
    WorkerRegistry::RegisterDefault("test.swap", [] { return std::shared_ptr<tessel::Worker>(); });
    EXPECT_NE(WorkerRegistry::Find("test.swap")(), nullptr);
    WorkerRegistry::Unregister("test.swap");
    EXPECT_FALSE(WorkerRegistry::Find("test.swap"));
}

TEST(WorkerThread, IdleObserversHearTheLastThreadEndUntilTheirTokenGoes) {
    std::promise<void> open;
    const auto gate = open.get_future().share();
    WorkerRegistry::Register("test.gated", [gate] { return std::make_shared<GatedWorker>(gate); });
    std::atomic<int> heard{0};
    auto token = WorkerThread::ObserveIdle([&] { ++heard; });
    WorkerThread().Start("test.gated", "Run", {});
    WorkerThread().Start("test.gated", "Run", {});
    open.set_value();
    WorkerThread::JoinAll();
    EXPECT_EQ(heard, 1) << "the first to end left the other running";

    token.reset();
    WorkerThread().Start("test.gated", "Run", {});
    WorkerThread::JoinAll();
    EXPECT_EQ(heard, 1);
    WorkerRegistry::Unregister("test.gated");
}
