// Whole jobs against the double with a manifest and a WARC file, where only the engine can
// be watched: a cancel in the middle of spooled pages, a large page, a resumed job, a WARC
// file that cannot be written. (kestrova-cli's own tests read the files with warcio.js.)
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "JobHarness.h"
#include "WarcReader.h"
#include "platform/ResponseBody.h"

using jobtest::JobTest;
using jobtest::UnnamedFilesIn;
using serpdouble::Fault;
namespace fs = std::filesystem;

namespace {

class JobCorpus : public JobTest {
  protected:
    std::shared_ptr<fetchcore::CTask> CorpusTask(const std::string& warcName, int to) {
        auto task = PagesTask("kw", 1, to, 10);
        task->Manifest(true);
        task->WarcFile((dir_ / warcName).string());
        return task;
    }
    fs::path Folder() const { return fs::path(Out()) / "kw"; }
    std::vector<warctest::JsonRow> Manifest() const {
        return warctest::JsonLines(ReadFile(Folder() / "manifest.jsonl"));
    }
};

// Cancelled while two pages hang half sent, each past what waits in memory: the file holds
// whole records only, the cut answers marked as cut, their spool files freed.
TEST_F(JobCorpus, ACancelLeavesWholeRecordsAndMarksTheCutAnswers) {
    constexpr std::size_t kSent = 3 * platform::ResponseBody::kSpoolThreshold / 2;
    auto options = Results(3);
    options.pageSizes = {{2, 2 * kSent}, {3, 2 * kSent}};
    options.resultFaults = {{2, Fault::PartialThenStallAfter(kSent)},
                            {3, Fault::PartialThenStallAfter(kSent)}};
    StartDouble(options);
    fs::create_directories(dir_ / "warc");
    saver_.Save(CorpusTask("warc/run.warc", 10));
    ASSERT_TRUE(PumpUntilSpooled(dir_ / "warc", 2)) << "both cut pages spool beside the file";
    ASSERT_TRUE(PumpUntil([&] { return recorder_->Starting("SavingPageComplete").size() == 1; }));
    saver_.CancelAll();
    ASSERT_TRUE(PumpUntil([&] { return recorder_->completes == 1; }));
    EXPECT_EQ(recorder_->events.back(), "Complete 1 ");

    const auto warc = warctest::ReadWarc((dir_ / "warc/run.warc").string());
    EXPECT_FALSE(warc.cutTail);
    const auto responses = warctest::CheckedResponses(warc);
    EXPECT_EQ(responses.find(Url(1))->second->Field("WARC-Truncated"), "");
    for (int n = 2; n <= 3; ++n) {
        const auto found = responses.find(Url(n));
        ASSERT_NE(found, responses.end()) << n;
        EXPECT_EQ(found->second->Field("WARC-Truncated"), "unspecified");
        const auto body = warctest::HttpBody(found->second->block);
        EXPECT_GT(body.size(), platform::ResponseBody::kSpoolThreshold);
        EXPECT_TRUE(body == double_->ExpectedBody(n).substr(0, body.size()));
    }
    EXPECT_EQ(UnnamedFilesIn(dir_ / "warc"), 0);
    const auto rows = Manifest();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1].at("state"), "Failed");
    EXPECT_EQ(rows[1].at("error"), "Cancelled");
    EXPECT_EQ(rows[1].at("status"), "200") << "its head came before the cancel";
}

// A page past the memory limit reaches the compressed file whole, read back from its spool
// in pieces; the manifest's digest is of the saved page.
TEST_F(JobCorpus, ALargeSpooledPageGoesIntoACompressedWarcFileWhole) {
    auto options = Results(1);
    options.pageSizes = {{1, 5 * 1024 * 1024 + 3}};
    options.content = serpdouble::PageContent::Binary;
    StartDouble(options);
    ASSERT_TRUE(RunJob(CorpusTask("large.warc.gz", 1)));
    const auto warc = warctest::ReadWarc((dir_ / "large.warc.gz").string());
    const auto responses = warctest::CheckedResponses(warc);
    ASSERT_EQ(responses.count(Url(1)), 1u);
    EXPECT_TRUE(warctest::HttpBody(responses.find(Url(1))->second->block) ==
                double_->ExpectedBody(1));
    EXPECT_EQ(Manifest().at(0).at("sha256"), warctest::Sha256Hex(double_->ExpectedBody(1)));
}

// Run again with Resume: a kept page keeps its earlier line, a kept page without one is
// measured from its file, a missing page is fetched again; what a killed run left under a
// temporary name goes; the WARC file holds both jobs.
TEST_F(JobCorpus, ResumeKeepsEarlierLinesAndClearsAKilledRunsLeftovers) {
    StartDouble(Results(3));
    ASSERT_TRUE(RunJob(CorpusTask("run.warc", 3)));
    const auto first = Manifest();
    const std::string manifest = ReadFile(Folder() / "manifest.jsonl");
    std::ofstream(Folder() / "manifest.jsonl") << manifest.substr(0, manifest.find('\n') + 1);
    fs::remove(Folder() / first[2].at("file"));
    const pid_t ended = ::fork();
    if (ended == 0) ::_exit(0);
    ASSERT_EQ(::waitpid(ended, nullptr, 0), ended);
    const auto leftover = Folder() / (".kestrova-" + std::to_string(ended) + "-0");
    std::ofstream(leftover) << "half a page";
    auto again = CorpusTask("run.warc", 3);
    again->Resume(true);
    ASSERT_TRUE(RunJob(again));

    EXPECT_FALSE(fs::exists(leftover));
    const auto second = Manifest();
    ASSERT_EQ(second.size(), 3u);
    EXPECT_EQ(second[0], first[0]) << "the line as the first run wrote it";
    EXPECT_EQ(second[1].at("sha256"), first[1].at("sha256"));
    EXPECT_EQ(second[1].at("fetched_at"), "null") << "measured from the file, not fetched";
    EXPECT_NE(second[2].at("fetched_at"), "null") << "fetched again";
    int infos = 0;
    for (const auto& record : warctest::ReadWarc((dir_ / "run.warc").string()).records)
        infos += record.Field("WARC-Type") == "warcinfo";
    EXPECT_EQ(infos, 2);
}

TEST_F(JobCorpus, AWarcFileThatCannotBeWrittenFailsTheJobBeforeAnyRequest) {
    StartDouble(Results(2));
    ASSERT_TRUE(RunJob(CorpusTask("missing/run.warc", 2)));
    EXPECT_EQ(recorder_->events.back(), "Complete 0 Cannot write the WARC file '" +
                                            (dir_ / "missing/run.warc").string() +
                                            "': No such file or directory. ");
    EXPECT_EQ(double_->Snapshot().Requests(), 0);
}

}  // namespace
