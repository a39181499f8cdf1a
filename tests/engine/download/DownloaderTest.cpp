#include <algorithm>
#include <functional>

#include "DownloadFixture.h"
#include "download/DownloadErrors.h"
#include "serpdouble/SerpDouble.h"
#include "tessel/Log.h"
#include "tessel/Messanger.h"
#include "tessel/Toolbox.h"
#include "tessel/WorkerThread.h"

using tessel::ComError;
using tessel::Variant;
using tessel::VariantArray;

namespace {

// Stands in for the download worker: plays a script with the bag it was given.
class ScriptedWorker : public tessel::Worker {
  public:
    using Script = std::function<void(const tessel::KeyedCollection&)>;
    explicit ScriptedWorker(Script script) : script_(std::move(script)) {}
    bool HasMethod(const std::string& name) const override { return name == "Run"; }
    void Call(const std::string&, const Variant& argument) override {
        script_(*argument.As<tessel::KeyedCollection>());
    }

  private:
    Script script_;
};

class DownloaderTest : public dltest::DownloadTest {
  protected:
    static void UseWorker(tessel::WorkerFactory factory) {
        tessel::WorkerRegistry::Register(fetchcore::kDownloadWorkerProgID, std::move(factory));
    }
    static void UseScript(ScriptedWorker::Script script) {
        UseWorker([script] { return std::make_shared<ScriptedWorker>(script); });
    }
    // The error Download threw.
    ComError StartError(const std::string& url) {
        try {
            downloader_.Download(url, 0);
        } catch (const ComError& e) {
            return e;
        }
        ADD_FAILURE() << "Download did not fail";
        return ComError(0, "");
    }
};

}  // namespace

TEST_F(DownloaderTest, TheWorkerGetsTheSevenEntriesInOrder) {
    UseScript([](const tessel::KeyedCollection& bag) {
        std::string text;
        for (const auto& entry : bag) {
            text +=
                entry.key + "=" + (entry.item.IsObject() ? "object" : entry.item.ToString()) + ";";
        }
        const auto cookie = bag.Item("Cookie").ToString();
        bag.Item("Messanger")
            .As<tessel::Messanger>()
            ->Send(0, VariantArray{cookie, text, true, int32_t{0}, "", ""});
    });
    downloader_.ConcurrentDownloadSemaphoreName = "slots";
    downloader_.CancelEventName = "cancel";
    const auto cookie = downloader_.Download(" http://h/a ", 42);
    ASSERT_TRUE(PumpUntil([&] { return recorder_.completions.size() == 1; }));
    EXPECT_EQ(recorder_.completions[0].page,
              "URL=http://h/a;SizeB=42;Log=object;Messanger=object;Cookie=" + cookie +
                  ";ConcurrentDownloadSemaphoreName=slots;CancelEventName=cancel;");
}

TEST_F(DownloaderTest, OnlyWellFormedResultMessagesRaiseComplete) {
    UseScript([](const tessel::KeyedCollection& bag) {
        const auto m = bag.Item("Messanger").As<tessel::Messanger>();
        const auto cookie = bag.Item("Cookie").ToString();
        m->Send(1, VariantArray{cookie, "other message", true, int32_t{0}, "", ""});
        m->Send(0, VariantArray{cookie, "too short"});
        m->Send(0, VariantArray{cookie, "bad number", false, "x", "", ""});
        m->Send(0, VariantArray{cookie, "page", true, int32_t{0}, "", "url"});
    });
    const auto cookie = downloader_.Download("http://h/a", 0);
    ASSERT_TRUE(PumpUntil([&] { return !recorder_.completions.empty(); }));
    tessel::WorkerThread::JoinAll();
    tessel::Toolbox::PumpMessages();
    ASSERT_EQ(recorder_.completions.size(), 1u);
    EXPECT_EQ(recorder_.completions[0].cookie, cookie);
    EXPECT_EQ(recorder_.completions[0].page, "page");
    EXPECT_EQ(recorder_.busyInComplete, std::vector<bool>{true}) << "the malformed ones kept it";
    EXPECT_FALSE(downloader_.IsDownloadingNow());
    const auto lines = LogLines();
    const auto handlerErrors =
        std::count_if(lines.begin(), lines.end(), [](const dltest::LogLine& l) {
            return l.source == "CDownloader.moMessanger_MsgArrived" && l.level == 0;
        });
    EXPECT_EQ(handlerErrors, 2) << LogText();
}

TEST_F(DownloaderTest, AWorkerThatCannotStartFailsTheDownloadWithBothTexts) {
    UseWorker([] { return std::shared_ptr<tessel::Worker>(); });
    const auto error = StartError("  http://h/a  ");
    EXPECT_EQ(error.Number(), -2147220862);
    const std::string inner = "ActiveX component can't create object: fetchcore.cdloadworker";
    EXPECT_EQ(error.Description(), "Failed to start download URL 'http://h/a'. " + inner);
    EXPECT_FALSE(downloader_.IsDownloadingNow()) << "its entry leaves the table";
    EXPECT_EQ(recorder_.startedUrls, std::vector<std::string>{"http://h/a"});
    const auto lines = LogLines();
    ASSERT_EQ(lines.size(), 1u) << LogText();
    EXPECT_EQ(lines[0].number, tessel::err::kCannotCreateObject);
    EXPECT_EQ(lines[0].level, 4);
    EXPECT_EQ(lines[0].source, "CDownloader.Download");
    EXPECT_EQ(lines[0].message, tessel::Log::Escape(inner));
}

TEST_F(DownloaderTest, ThePassThroughNumberSurvivesTheWrapping) {
    UseWorker([]() -> std::shared_ptr<tessel::Worker> {
        throw ComError(fetchcore::dlerr::kPassThrough, "Too many downloads. ");
    });
    const auto error = StartError("http://h/b");
    EXPECT_EQ(error.Number(), -2147220854);
    EXPECT_EQ(error.Description(),
              "Failed to start download URL 'http://h/b'. Too many downloads. ");
}

TEST_F(DownloaderTest, AFailedStartDoesNotHoldAPlaceInTheLimit) {
    UseWorker([] { return std::shared_ptr<tessel::Worker>(); });
    for (int i = 0; i < 11; ++i) StartError("http://h/" + std::to_string(i));
    EXPECT_FALSE(downloader_.IsDownloadingNow());
    UseWorkerTimeout(kWorkerTimeout);
    serpdouble::SerpDouble server;
    server.Start();
    EXPECT_TRUE(DownloadOne(server.PageURL(1)).isSuccess) << "the twelfth would wait forever";
}

TEST_F(DownloaderTest, CancelOfOneCookieHasNoEffect) {
    serpdouble::SerpDouble server;
    server.Start();
    EXPECT_FALSE(downloader_.IsDownloadingNow());
    const auto cookie = downloader_.Download(server.PageURL(1), 0);
    downloader_.Cancel(cookie);
    ASSERT_TRUE(PumpUntil([&] { return recorder_.completions.size() == 1; }));
    EXPECT_TRUE(recorder_.completions[0].isSuccess);
    EXPECT_NE(downloader_.Download(server.PageURL(2), 0), cookie) << "every download a new cookie";
    ASSERT_TRUE(PumpUntil([&] { return recorder_.completions.size() == 2; }));
}
