#include <algorithm>

#include "DownloadFixture.h"
#include "WorkerRun.h"
#include "boundary/DownloadResult.h"
#include "download/DownloadErrors.h"
#include "platform/KernelObjects.h"
#include "serpdouble/SerpDouble.h"
#include "tessel/Log.h"

using dltest::WorkerRun;
using tessel::Variant;

namespace {

// Direct runs of the worker with bags the downloader would never build.
class WorkerBagTest : public dltest::DownloadTest {
  protected:
    void SetUp() override {
        DownloadTest::SetUp();
        server_.Start();
    }
    serpdouble::SerpDouble server_;
    WorkerRun run_;
};

}  // namespace

TEST_F(WorkerBagTest, ASuccessIsOneMessageOfSixValues) {
    const auto url = server_.PageURL(1);
    run_.Run(run_.FullBag(url, log_));
    ASSERT_EQ(run_.messages.size(), 1u);
    const auto& m = run_.messages[0];
    EXPECT_EQ(m.msg, 0);
    ASSERT_EQ(m.data.Count(), 6);
    EXPECT_EQ(m.data(1), Variant(run_.cookie));
    EXPECT_EQ(fetchcore::DownloadResult::FromData(m.data).Body().Bytes(), server_.ExpectedBody(1))
        << "the body travels as an object";
    EXPECT_EQ(m.data(3), Variant(true));
    EXPECT_EQ(m.data(4), Variant(int32_t{0}));
    EXPECT_EQ(m.data(5), Variant(""));
    EXPECT_EQ(m.data(6), Variant(url));
}

TEST_F(WorkerBagTest, ABagWithoutUrlIsReportedWithAnEmptyUrlAndItsCookie) {
    auto bag = run_.FullBag(server_.PageURL(1), log_);
    bag->Remove("URL");
    run_.Run(bag);
    ASSERT_EQ(run_.messages.size(), 1u);
    const auto& data = run_.messages[0].data;
    EXPECT_EQ(data(1), Variant(run_.cookie)) << "the owner still finds its entry";
    EXPECT_EQ(data(2), Variant(""));
    EXPECT_EQ(data(3), Variant(false));
    EXPECT_EQ(data(4), Variant(tessel::err::kInvalidArgument));
    EXPECT_EQ(data(6), Variant(""));
    const auto lines = LogLines();
    ASSERT_EQ(lines.size(), 1u) << LogText();
    EXPECT_EQ(lines[0].source, "CDLoadWorker.Run");
    EXPECT_EQ(lines[0].level, 4);
    EXPECT_EQ(lines[0].message, tessel::Log::Escape(". " + data(5).ToString()));
    EXPECT_EQ(server_.Snapshot().Requests(), 0);
}

TEST_F(WorkerBagTest, ASizeThatIsNoNumberFailsButKeepsTheUrl) {
    auto bag = run_.FullBag(server_.PageURL(1), log_);
    bag->Remove("SizeB");
    bag->Add("ten", "SizeB");
    run_.Run(bag);
    ASSERT_EQ(run_.messages.size(), 1u);
    EXPECT_EQ(run_.messages[0].data(4), Variant(tessel::err::kTypeMismatch));
    EXPECT_EQ(run_.messages[0].data(6), Variant(server_.PageURL(1)));
}

TEST_F(WorkerBagTest, WithoutAMessengerNothingIsSentButTheFailureIsLogged) {
    auto bag = run_.FullBag(server_.PageURL(1), log_);
    bag->Remove("Messanger");
    run_.Run(bag);
    EXPECT_TRUE(run_.messages.empty());
    EXPECT_EQ(LogLines().size(), 1u) << LogText();
}

TEST_F(WorkerBagTest, ASlotSemaphoreThatCannotBeOpenedFailsAtOnce) {
    // The name is taken by an event, so no semaphore of that name can exist.
    auto squatter = platform::CreateEventA(true, false, run_.semaphoreName);
    ASSERT_TRUE(squatter);
    run_.Run(run_.FullBag(server_.PageURL(1), log_));
    ASSERT_EQ(run_.messages.size(), 1u);
    EXPECT_EQ(run_.messages[0].data(4), Variant(fetchcore::dlerr::kNoSlots));
    EXPECT_EQ(server_.Snapshot().Requests(), 0);
}

TEST_F(WorkerBagTest, EveryPathGivesItsSlotBack) {
    // Held throughout, so the count the workers leave behind is the one read here.
    auto semaphore = platform::CreateSemaphoreA(5, 5, run_.semaphoreName);
    run_.Run(run_.FullBag(server_.PageURL(1), log_));  // success
    run_.Run(run_.FullBag("ftp://x/", log_));          // failure after the slot was taken
    run_.Run(run_.FullBag(server_.PageURL(1), log_));
    int free = 0;
    while (free < 6 && platform::WaitForSingleObject(semaphore) == platform::WaitResult::Signalled)
        ++free;
    EXPECT_EQ(free, 5);
    platform::ReleaseSemaphore(semaphore, free);
    EXPECT_EQ(run_.messages.size(), 3u);
}
