#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "fetchcore/CSaver.h"
#include "platform/KernelObjects.h"
#include "tessel/Toolbox.h"
#include "tessel/WorkerThread.h"

using fetchcore::CSaver;
using fetchcore::CTask;
using tessel::Variant;
using tessel::VariantArray;
namespace fs = std::filesystem;

namespace {

std::atomic<bool> gMayOpenCancelEvent{true};

// Stands in for the save job: its task's keyword names the script it plays.
class ScriptedJob : public tessel::Worker {
  public:
    bool HasMethod(const std::string& name) const override { return name == "Run"; }
    void Call(const std::string&, const Variant& argument) override {
        auto data = argument.As<tessel::KeyedCollection>();
        auto m = data->Item("Messanger").As<tessel::Messanger>();
        const auto id = data->Item("Cookie").ToString();
        const auto script = data->Item("Task").As<CTask>()->KW();
        if (script == "pages") {
            std::string keys;
            for (const auto& e : *data) keys += e.key + ",";
            m->Send(3, VariantArray{keys, Variant(), Variant(), Variant()});
            m->Send(0, VariantArray{int32_t{1}, "http://a/", Variant(), Variant()});
            m->Send(1, VariantArray{"2", "http://b/", Variant(), Variant()});
            m->Send(2, VariantArray{"http://b/", true, Variant(), Variant()});
            m->Send(5, VariantArray{int32_t{3}, "HTTP 429", Variant(), Variant()});
            m->Send(6, VariantArray{"Only 200 results.", Variant(), Variant(), Variant()});
            m->Send(4, VariantArray{id, true, int32_t{0}, Variant()});
        } else if (script == "bad-data") {
            m->Send(0, VariantArray{"not a number", "http://a/", Variant(), Variant()});
            m->Send(5, VariantArray{"three", "x", Variant(), Variant()});
            m->Send(7, VariantArray{int32_t{1}, "x", Variant(), Variant()});
            m->Send(-1, VariantArray{int32_t{1}, "x", Variant(), Variant()});
            m->Send(0, VariantArray{int32_t{3}, "http://c/", Variant(), Variant()});
            m->Send(4, VariantArray{"no such job", false, int32_t{1}, "other"});
            m->Send(4, VariantArray{id, true, int32_t{0}, ""});
        } else if (script == "wait-cancel") {
            while (!gMayOpenCancelEvent) platform::Sleep(1);
            auto cancel =
                platform::CreateEventA(true, false, data->Item("CancelEventName").ToString());
            const bool cancelled =
                platform::WaitForSingleObject(cancel, 20'000) == platform::WaitResult::Signalled;
            m->Send(4, VariantArray{id, false, int32_t{-2147221504},
                                    cancelled ? "Cancelled" : "never cancelled"});
        }
    }
};

struct Recorder : fetchcore::CSaverEvents {
    explicit Recorder(CSaver& s) : saver(s), connection(s.Connect(*this)) {}
    void StartDownload() override { events.push_back("StartDownload"); }
    void Complete(bool ok, const std::string& d) override {
        events.push_back("Complete " + std::to_string(ok) + " " + d);
        busyInComplete = saver.IsDownloadingNow();
        ++completes;
    }
    void StartSavingPage(int32_t n, const std::string& u) override {
        events.push_back("StartSavingPage " + std::to_string(n) + " " + u);
    }
    void PageSkipped(int32_t n, const std::string& u) override {
        events.push_back("PageSkipped " + std::to_string(n) + " " + u);
    }
    void SavingPageComplete(const std::string& u, bool ok, const std::string& d) override {
        events.push_back("SavingPageComplete " + u + " " + std::to_string(ok) + " " + d);
    }
    void ResultList(const std::string& list) override { events.push_back("ResultList " + list); }
    void Waiting(int32_t seconds, const std::string& reason) override {
        events.push_back("Waiting " + std::to_string(seconds) + " " + reason);
    }
    void Warning(const std::string& text) override { events.push_back("Warning " + text); }

    CSaver& saver;
    tessel::EventSource<fetchcore::CSaverEvents>::Connection connection;
    std::vector<std::string> events;
    bool busyInComplete = false;
    int completes = 0;
};

class CSaverTest : public ::testing::Test {
  protected:
    void SetUp() override {
        tessel::WorkerRegistry::Register(fetchcore::kSaveWorkerProgID,
                                         [] { return std::make_shared<ScriptedJob>(); });
        logFile_ = fs::temp_directory_path() /
                   ("kes-saver-" + std::to_string(::getpid()) + "-" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".log");
        fs::remove(logFile_);
        log_ = std::make_shared<tessel::Log>();
        log_->Open(logFile_.string());
        saver_.Init(log_);
    }
    void TearDown() override {
        tessel::WorkerThread::JoinAll();
        tessel::WorkerRegistry::Unregister(fetchcore::kSaveWorkerProgID);
        fs::remove(logFile_);
    }
    static std::shared_ptr<CTask> Task(const std::string& script) {
        auto t = std::make_shared<CTask>();
        t->KW(script);
        return t;
    }
    bool PumpUntil(const std::function<bool()>& done) {
        return tessel::Toolbox::PumpMessagesUntil(done, std::chrono::seconds(20));
    }
    std::string LogText() const {
        std::ifstream in(logFile_);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    fs::path logFile_;
    std::shared_ptr<tessel::Log> log_;
    CSaver saver_;
};

TEST_F(CSaverTest, InitWritesTheVersionLineAndNamesTheKernelObjects) {
    EXPECT_EQ(CSaver::VersionLine(), "Fetchcore.dll 4.20.0");
    EXPECT_NE(LogText().find("\tL5\t0\t\tFetchcore.dll 4.20.0\n"), std::string::npos) << LogText();
    EXPECT_FALSE(saver_.SemaphoreName().empty());
    EXPECT_NE(saver_.SemaphoreName(), saver_.CancelEventName());
    EXPECT_FALSE(saver_.IsDownloadingNow());
}

TEST_F(CSaverTest, AJobsMessagesComeBackAsEventsInOrderWithCompleteLast) {
    Recorder r(saver_);
    const auto id = saver_.Save(Task("pages"));
    EXPECT_FALSE(id.empty());
    EXPECT_EQ(r.events, (std::vector<std::string>{"StartDownload"})) << "raised inside Save";
    EXPECT_TRUE(saver_.IsDownloadingNow());
    ASSERT_TRUE(PumpUntil([&] { return r.completes == 1; }));
    EXPECT_EQ(r.events, (std::vector<std::string>{
                            "StartDownload",
                            "ResultList Task,Log,Messanger,Cookie,ConcurrentDownloadSemaphoreName,"
                            "CancelEventName,Downloads,",
                            "PageSkipped 1 http://a/", "StartSavingPage 2 http://b/",
                            "SavingPageComplete http://b/ 1 ", "Waiting 3 HTTP 429",
                            "Warning Only 200 results.", "Complete 1 "}));
    EXPECT_TRUE(r.busyInComplete) << "the job leaves the table after its Complete handlers";
    EXPECT_FALSE(saver_.IsDownloadingNow());
}

TEST_F(CSaverTest, BadMessagesAreLoggedOrIgnoredAndLaterOnesStillArrive) {
    Recorder r(saver_);
    saver_.Save(Task("bad-data"));
    ASSERT_TRUE(PumpUntil([&] { return r.completes == 2; }));
    EXPECT_EQ(r.events, (std::vector<std::string>{"StartDownload", "PageSkipped 3 http://c/",
                                                  "Complete 0 other", "Complete 1 "}));
    const std::string mismatch = "\tL0\t-2146828275\tCSaver.moMessanger_MsgArrived\tType mismatch";
    const auto first = LogText().find(mismatch);
    EXPECT_NE(first, std::string::npos) << LogText();
    EXPECT_NE(LogText().find(mismatch, first + 1), std::string::npos) << "the wait's seconds too";
    EXPECT_FALSE(saver_.IsDownloadingNow());
}

TEST_F(CSaverTest, OneCancelAllEndsEveryJobAndEachSendsItsOwnComplete) {
    Recorder r(saver_);
    saver_.Save(Task("wait-cancel"));
    saver_.Save(Task("wait-cancel"));
    EXPECT_TRUE(saver_.IsDownloadingNow());
    saver_.CancelAll();
    ASSERT_TRUE(PumpUntil([&] { return r.completes == 2; }));
    EXPECT_EQ(r.events, (std::vector<std::string>{"StartDownload", "StartDownload",
                                                  "Complete 0 Cancelled", "Complete 0 Cancelled"}));
    EXPECT_FALSE(saver_.IsDownloadingNow());
}

TEST_F(CSaverTest, ACancelBeforeTheJobOpensTheEventIsNotLost) {
    Recorder r(saver_);
    gMayOpenCancelEvent = false;
    saver_.Save(Task("wait-cancel"));
    saver_.CancelAll();
    gMayOpenCancelEvent = true;
    ASSERT_TRUE(PumpUntil([&] { return r.completes == 1; }));
    EXPECT_EQ(r.events.back(), "Complete 0 Cancelled");
}

TEST_F(CSaverTest, ANewSaveResetsAnEarlierCancel) {
    Recorder r(saver_);
    saver_.CancelAll();  // no job yet: nothing to signal, nothing fails
    saver_.Save(Task("pages"));
    ASSERT_TRUE(PumpUntil([&] { return r.completes == 1; }));
    saver_.CancelAll();
    auto probe = platform::CreateEventA(true, false, saver_.CancelEventName());
    EXPECT_EQ(platform::WaitForSingleObject(probe), platform::WaitResult::Signalled);
    saver_.Save(Task("pages"));
    EXPECT_EQ(platform::WaitForSingleObject(probe), platform::WaitResult::Timeout);
    ASSERT_TRUE(PumpUntil([&] { return r.completes == 2; }));
}

TEST_F(CSaverTest, AJobWhoseWorkerCannotStartEndsWithAFailedComplete) {
    tessel::WorkerRegistry::Unregister(fetchcore::kSaveWorkerProgID);
    Recorder r(saver_);
    const auto id = saver_.Save(Task("pages"));
    EXPECT_FALSE(id.empty());
    EXPECT_TRUE(r.events.empty()) << "no StartDownload for a job that did not start";
    ASSERT_TRUE(PumpUntil([&] { return r.completes == 1; }));
    EXPECT_EQ(r.events.front().rfind("Complete 0 ActiveX component can't create object", 0), 0u);
    EXPECT_FALSE(saver_.IsDownloadingNow());
    EXPECT_NE(LogText().find("\tL4\t-2146827859\tCSaver.Save\t"), std::string::npos) << LogText();
}

TEST_F(CSaverTest, AThrowingStartDownloadHandlerIsLoggedAndTheJobStillEndsOnce) {
    struct Throwing : Recorder {
        using Recorder::Recorder;
        void StartDownload() override { throw tessel::ComError(513, "handler failed"); }
    } r(saver_);
    EXPECT_FALSE(saver_.Save(Task("pages")).empty());
    tessel::WorkerThread::JoinAll();  // every message of the job is queued now
    tessel::Toolbox::PumpMessages();
    EXPECT_EQ(r.completes, 1);
    EXPECT_EQ(r.events.back(), "Complete 1 ") << "the running job's own end";
    EXPECT_NE(LogText().find("\tL4\t513\tCSaver.Save\thandler failed"), std::string::npos)
        << LogText();
    EXPECT_FALSE(saver_.IsDownloadingNow());
}

TEST_F(CSaverTest, EventsForADestroyedSaverAreDropped) {
    auto saver = std::make_unique<CSaver>();
    saver->Init(log_);
    {
        Recorder r(*saver);
        saver->Save(Task("pages"));
    }
    saver.reset();
    tessel::WorkerThread::JoinAll();
    EXPECT_NO_THROW(tessel::Toolbox::PumpMessages());
}

}  // namespace
