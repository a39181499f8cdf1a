#include <functional>
#include <thread>

#include "DownloadFixture.h"
#include "download/DownloadErrors.h"
#include "serpdouble/SerpDouble.h"
#include "tessel/Log.h"

using platform::TransferEnd;
using platform::TransferRequest;
using platform::TransferResult;
using tessel::ComError;

namespace {

// Stands in for the transfer loop: keeps each request and answers as the test says.
class FakeQueue : public platform::TransferQueue {
  public:
    using Answer = std::function<void(const TransferRequest&, platform::TransferDone&)>;
    void Submit(TransferRequest request, platform::TransferDone done) override {
        requests.push_back(request);
        answer(requests.back(), done);
    }
    Answer answer = [](const TransferRequest&, platform::TransferDone&) {};
    std::vector<TransferRequest> requests;
};

TransferResult Ended(TransferEnd end, int readyState = 1, int status = 0) {
    TransferResult result;
    result.end = end;
    result.readyState = readyState;
    result.status = status;
    return result;
}

class DownloaderTest : public dltest::DownloadTest {
  protected:
    void SetUp() override {
        DownloadTest::SetUp();
        UseQueue(true);
    }
    void UseQueue(bool online) {
        auto settings = Online(std::chrono::seconds(7));
        settings.isOnline = [online] { return online; };
        settings.transfers = queue_;
        Use(std::move(settings));
    }
    // The error Download threw.
    ComError StartError(const std::string& url) {
        try {
            downloader_->Download(url, 0);
        } catch (const ComError& e) {
            return e;
        }
        ADD_FAILURE() << "Download did not fail";
        return ComError(0, "");
    }
    void RefuseWith(int32_t number, std::string text) {
        queue_->answer = [=](const TransferRequest&, platform::TransferDone&) {
            throw ComError(number, text);
        };
    }
    // Ends every transfer at once with `result`, from another thread, as the loop does.
    void AnswerWith(std::function<TransferResult()> result) {
        queue_->answer = [result](const TransferRequest&, platform::TransferDone& done) {
            std::thread([done, r = result()]() mutable { done(std::move(r)); }).join();
        };
    }

    std::shared_ptr<FakeQueue> queue_ = std::make_shared<FakeQueue>();
};

TEST_F(DownloaderTest, TheTransferCarriesWhatTheDownloaderWasGiven) {
    AnswerWith([] {
        auto r = Ended(TransferEnd::Completed, 4, 206);
        r.body = platform::ResponseBody::Holding("first bytes");
        return r;
    });
    downloader_->CancelEventName = "cancel";
    downloader_->BodyLimitB = 12345;
    downloader_->SpoolFolder = "/srv/pages";
    const auto cookie = downloader_->Download(" http://h/a ", 42);
    ASSERT_EQ(queue_->requests.size(), 1u);
    const auto& request = queue_->requests[0];
    EXPECT_EQ(request.url, "http://h/a");
    EXPECT_EQ(request.headerLines,
              (std::vector<std::string>{"GET: http://h/a", "Range: bytes=0-41"}));
    EXPECT_EQ(request.timeout, std::chrono::seconds(7));
    EXPECT_EQ(request.cancelEventName, "cancel");
    EXPECT_EQ(request.maxBodyBytes, 12345);
    EXPECT_EQ(request.spoolFolder, "/srv/pages");
    ASSERT_TRUE(PumpUntil([&] { return recorder_->completions.size() == 1; }));
    const auto& c = recorder_->completions[0];
    EXPECT_EQ(c.cookie, cookie);
    EXPECT_TRUE(c.isSuccess);
    EXPECT_EQ(c.page, "first bytes");
    EXPECT_EQ(c.exchange.Status, 206);
}

TEST_F(DownloaderTest, HowTheTransferEndedDecidesTheSixValues) {
    struct Case {
        TransferResult transfer;
        bool online;
        int32_t number;
        const char* description;
    };
    auto failed = Ended(TransferEnd::Failed);
    failed.errorNumber = platform::httperr::kTransferFailed;
    failed.errorDescription = "Couldn't connect to server";
    auto notFound = Ended(TransferEnd::Completed, 4, 404);
    notFound.body = platform::ResponseBody::Holding("no such page");
    auto teapot = Ended(TransferEnd::Completed, 4, 418);
    teapot.reason = "Short And Stout";
    Case cases[] = {
        {Ended(TransferEnd::Cancelled, 3), true, -2147221504, "Cancelled"},
        {Ended(TransferEnd::TimedOut, 1), true, -2147220853, "Timeout exceeded"},
        {Ended(TransferEnd::TimedOut, 2), true, -2147220853, "Timeout exceeded"},
        {Ended(TransferEnd::TimedOut, 3), true, -2147220852, "Looping in interactive state"},
        {std::move(failed), true, platform::httperr::kTransferFailed, "Couldn't connect to server"},
        {std::move(notFound), true, -2147220851, "Not Found"},
        {std::move(teapot), true, -2147220851, "Short And Stout"},
        {Ended(TransferEnd::Completed, 4, 500), false, -2147220735,
         "Connection status is offline. "},
    };
    for (auto& c : cases) {
        UseQueue(c.online);
        auto shared = std::make_shared<TransferResult>(std::move(c.transfer));
        queue_->answer = [shared](const TransferRequest&, platform::TransferDone& done) {
            done(std::move(*shared));
        };
        const auto got = DownloadOne("http://h/page");
        EXPECT_FALSE(got.isSuccess) << c.description;
        EXPECT_EQ(got.number, c.number) << c.description;
        EXPECT_EQ(got.description, c.description);
        EXPECT_EQ(got.page, "") << "a failure carries no page";
    }
    // Each failure was logged as the download's own, with its address.
    const auto lines = LogLines();
    ASSERT_EQ(lines.size(), std::size(cases)) << LogText();
    EXPECT_EQ(lines[0].source, "CDLoadWorker.Run");
    EXPECT_EQ(lines[0].level, 4);
    EXPECT_EQ(lines[0].message, "http://h/page. Cancelled");
}

TEST_F(DownloaderTest, AQueueThatRefusesTheTransferFailsTheDownloadWithBothTexts) {
    const std::string inner = "ActiveX component can't create object";
    RefuseWith(tessel::err::kCannotCreateObject, inner);
    const auto error = StartError("  http://h/a  ");
    EXPECT_EQ(error.Number(), -2147220862);
    EXPECT_EQ(error.Description(), "Failed to start download URL 'http://h/a'. " + inner);
    EXPECT_FALSE(downloader_->IsDownloadingNow()) << "its entry leaves the table";
    EXPECT_EQ(recorder_->startedUrls, std::vector<std::string>{"http://h/a"});
    const auto lines = LogLines();
    ASSERT_EQ(lines.size(), 1u) << LogText();
    EXPECT_EQ(lines[0].number, tessel::err::kCannotCreateObject);
    EXPECT_EQ(lines[0].level, 4);
    EXPECT_EQ(lines[0].source, "CDownloader.Download");
    EXPECT_EQ(lines[0].message, tessel::Log::Escape(inner));
}

TEST_F(DownloaderTest, ThePassThroughNumberSurvivesTheWrapping) {
    RefuseWith(fetchcore::dlerr::kPassThrough, "Too many downloads. ");
    const auto error = StartError("http://h/b");
    EXPECT_EQ(error.Number(), -2147220854);
    EXPECT_EQ(error.Description(),
              "Failed to start download URL 'http://h/b'. Too many downloads. ");
}

TEST_F(DownloaderTest, AFailedStartDoesNotHoldAPlaceInTheLimit) {
    RefuseWith(tessel::err::kCannotCreateObject, "refused");
    for (int i = 0; i < 11; ++i) StartError("http://h/" + std::to_string(i));
    EXPECT_FALSE(downloader_->IsDownloadingNow());
    AnswerWith([] { return Ended(TransferEnd::Completed, 4, 200); });
    EXPECT_TRUE(DownloadOne("http://h/12").isSuccess) << "the twelfth would wait forever";
}

TEST_F(DownloaderTest, CancelOfOneCookieHasNoEffect) {
    UseTimeout(kTimeout);
    serpdouble::SerpDouble server;
    server.Start();
    EXPECT_FALSE(downloader_->IsDownloadingNow());
    const auto cookie = downloader_->Download(server.PageURL(1), 0);
    downloader_->Cancel(cookie);
    ASSERT_TRUE(PumpUntil([&] { return recorder_->completions.size() == 1; }));
    EXPECT_TRUE(recorder_->completions[0].isSuccess);
    EXPECT_NE(downloader_->Download(server.PageURL(2), 0), cookie) << "every download a new cookie";
    ASSERT_TRUE(PumpUntil([&] { return recorder_->completions.size() == 2; }));
}

}  // namespace
