// Whole jobs against the double with a manifest and a WARC file: what each says of every
// result and every exchange, and that they agree with the saved pages.
#include <simdjson.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "JobHarness.h"
#include "WarcReader.h"
#include "platform/ResponseBody.h"
#include "tessel/Digest.h"

using jobtest::JobTest;
using jobtest::UnnamedFilesIn;
using serpdouble::Fault;
using serpdouble::LinkKind;
namespace fs = std::filesystem;

namespace {

// One line of manifest.jsonl, each value as its JSON text ("null" for null).
using ManifestRow = std::map<std::string, std::string>;

std::vector<ManifestRow> ReadManifest(const fs::path& path) {
    std::vector<ManifestRow> rows;
    std::ifstream in(path);
    simdjson::dom::parser parser;
    for (std::string line; std::getline(in, line);) {
        ManifestRow row;
        simdjson::dom::object object;
        EXPECT_FALSE(parser.parse(line).get_object().get(object)) << line;
        for (auto field : object) {
            std::string_view text;
            row[std::string(field.key)] = field.value.get_string().get(text)
                                              ? simdjson::minify(field.value)
                                              : std::string(text);
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string Sha256Hex(const std::string& bytes) {
    tessel::Digest digest(tessel::Digest::Algorithm::Sha256);
    digest.Update(bytes);
    return tessel::Hex(digest.Value());
}

class JobCorpus : public JobTest {
  protected:
    std::shared_ptr<fetchcore::CTask> CorpusTask(const std::string& warcName, int to,
                                                 bool skip = false) {
        auto task = PagesTask("kw", 1, to, 10, skip);
        task->Manifest(true);
        task->WarcFile((dir_ / warcName).string());
        return task;
    }
    fs::path Folder() const { return fs::path(Out()) / "kw"; }
    std::vector<ManifestRow> Manifest() const { return ReadManifest(Folder() / "manifest.jsonl"); }
    // Every record's digests agree with its bytes; the responses by target address.
    std::multimap<std::string, warctest::Record> Responses(const warctest::Contents& warc) const {
        std::multimap<std::string, warctest::Record> responses;
        for (const auto& record : warc.records) {
            EXPECT_EQ(record.Field("WARC-Block-Digest"), warctest::Sha1Label(record.block));
            if (record.Field("WARC-Type") != "response") continue;
            EXPECT_EQ(record.Field("WARC-Payload-Digest"),
                      warctest::Sha1Label(warctest::Payload(record.block)));
            responses.emplace(record.Field("WARC-Target-URI"), record);
        }
        return responses;
    }
};

}  // namespace

// Redirects, 404s, 500s and a skipped link; pages sent chunked and compressed, as most
// servers send them.
TEST_F(JobCorpus, TheManifestAndTheWarcFileAgreeWithEverySavedPageAndEveryExchange) {
    auto options = Results(6);
    options.chunkedPages = true;
    options.resultFaults = {{2, Fault::RedirectTo("/page/5")},
                            {3, Fault::WithStatus(404)},
                            {4, Fault::WithStatus(500)}};
    options.links = {{6, LinkKind::Pdf}};
    StartDouble(options);
    ASSERT_TRUE(RunJob(CorpusTask("run.warc.gz", 10, true)));
    EXPECT_EQ(recorder_->events.back(), "Complete 1 ");

    const auto rows = Manifest();
    ASSERT_EQ(rows.size(), 6u);
    for (int n = 1; n <= 6; ++n) {
        const auto& row = rows[static_cast<std::size_t>(n - 1)];
        SCOPED_TRACE(n);
        EXPECT_EQ(row.at("position"), std::to_string(n));
        EXPECT_EQ(row.at("url"), *double_->ResultLink(n));
        EXPECT_EQ(row.size(), 13u);
    }
    for (int n : {1, 2, 5}) {
        const auto& row = rows[static_cast<std::size_t>(n - 1)];
        const std::string saved = ReadFile(Folder() / row.at("file"));
        EXPECT_EQ(row.at("state"), "Complete");
        EXPECT_EQ(row.at("file"), saver_.URL2FileName(n, Url(n)));
        EXPECT_EQ(row.at("status"), "200");
        EXPECT_EQ(row.at("bytes"), std::to_string(saved.size()));
        EXPECT_EQ(row.at("sha256"), Sha256Hex(saved));
        EXPECT_EQ(row.at("content_type"), "text/html");
        EXPECT_EQ(row.at("error"), "null");
        EXPECT_TRUE(row.at("fetched_at").ends_with("Z")) << row.at("fetched_at");
    }
    EXPECT_EQ(rows[1].at("final_url"), Url(5)) << "after the redirect";
    EXPECT_EQ(rows[0].at("final_url"), Url(1));
    EXPECT_EQ(rows[2].at("state"), "Failed");
    EXPECT_EQ(rows[2].at("status"), "404");
    EXPECT_EQ(rows[2].at("error"), "Not Found");
    EXPECT_EQ(rows[2].at("file"), "null");
    EXPECT_EQ(rows[2].at("sha256"), "null");
    EXPECT_EQ(rows[3].at("status"), "500");
    EXPECT_EQ(rows[3].at("error"), "Internal Server Error");
    for (const char* key : {"file", "status", "final_url", "content_type", "bytes", "sha256",
                            "fetched_at", "error", "title", "snippet"}) {
        EXPECT_EQ(rows[5].at(key), "null") << "the skipped link was never fetched: " << key;
    }
    EXPECT_EQ(rows[5].at("state"), "Skipped");

    const auto warc = warctest::ReadWarc((dir_ / "run.warc.gz").string());
    EXPECT_FALSE(warc.cutTail);
    EXPECT_EQ(warc.members, static_cast<int>(warc.records.size()));
    ASSERT_FALSE(warc.records.empty());
    EXPECT_EQ(warc.records[0].Field("WARC-Type"), "warcinfo");
    const auto responses = Responses(warc);
    // The results page, five pages and the redirect's second hop: a request for each.
    int requests = 0;
    for (const auto& record : warc.records) requests += record.Field("WARC-Type") == "request";
    EXPECT_EQ(requests, 7);
    EXPECT_EQ(responses.size(), 7u);
    EXPECT_EQ(responses.count(double_->SearchURL("kw")), 1u);
    const auto status = [&](const std::string& url) {
        const auto found = responses.find(url);
        return found == responses.end() ? 0 : warctest::HttpStatus(found->second.block);
    };
    EXPECT_EQ(status(Url(2)), 302) << "the redirect hop is recorded";
    EXPECT_EQ(status(Url(3)), 404);
    EXPECT_EQ(status(Url(4)), 500);
    // Every saved page has a 200 response whose decoded payload is the saved file.
    for (int n : {1, 2, 5}) {
        const auto& row = rows[static_cast<std::size_t>(n - 1)];
        // Page 5 came twice: where the second result led, and as itself.
        const auto range = responses.equal_range(row.at("final_url"));
        EXPECT_EQ(std::distance(range.first, range.second), n == 1 ? 1 : 2) << n;
        for (auto response = range.first; response != range.second; ++response) {
            const auto& block = response->second.block;
            EXPECT_EQ(warctest::HttpStatus(block), 200);
            EXPECT_EQ(warctest::HttpHeader(block, "Transfer-Encoding"), "chunked");
            EXPECT_NE(warctest::HttpHeader(block, "Content-Encoding"), "") << "compressed as sent";
            EXPECT_EQ(warctest::DecodedPayload(block), ReadFile(Folder() / row.at("file"))) << n;
        }
    }
}

// Cancelled while pages hang half sent: the file holds whole records only, a cut answer is
// marked as cut, and the manifest still lists every result.
TEST_F(JobCorpus, ACancelLeavesWholeRecordsAndMarksTheCutAnswers) {
    constexpr std::size_t kSent = 3 * 1024 * 1024 / 2;  // past what waits in memory
    auto options = Results(3);
    options.pageSizes = {{2, 2 * kSent}, {3, 2 * kSent}};
    options.resultFaults = {{2, Fault::PartialThenStallAfter(kSent)},
                            {3, Fault::PartialThenStallAfter(kSent)}};
    StartDouble(options);
    fs::create_directories(dir_ / "warc");
    saver_.Save(CorpusTask("warc/run.warc", 10));
    // Both cut pages wait on disk for the WARC file (beside it) and for the folder.
    ASSERT_TRUE(PumpUntilSpooled(dir_ / "warc", 2));
    ASSERT_TRUE(PumpUntil([&] { return recorder_->Starting("SavingPageComplete").size() == 1; }));
    saver_.CancelAll();
    ASSERT_TRUE(PumpUntil([&] { return recorder_->completes == 1; }));
    EXPECT_EQ(recorder_->events.back(), "Complete 1 ");

    const auto warc = warctest::ReadWarc((dir_ / "warc" / "run.warc").string());
    EXPECT_FALSE(warc.cutTail);
    const auto responses = Responses(warc);
    for (int n = 2; n <= 3; ++n) {
        const auto found = responses.find(Url(n));
        ASSERT_NE(found, responses.end()) << n;
        EXPECT_EQ(found->second.Field("WARC-Truncated"), "unspecified");
        const auto body = warctest::HttpBody(found->second.block);
        EXPECT_GT(body.size(), platform::ResponseBody::kSpoolThreshold);
        EXPECT_LE(body.size(), kSent);
        EXPECT_TRUE(body == double_->ExpectedBody(n).substr(0, body.size()));
    }
    EXPECT_EQ(UnnamedFilesIn(dir_ / "warc"), 0) << "the spooled parts were freed";
    EXPECT_EQ(responses.find(Url(1))->second.Field("WARC-Truncated"), "");
    const auto rows = Manifest();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1].at("state"), "Failed");
    EXPECT_EQ(rows[1].at("error"), "Cancelled");
    EXPECT_EQ(rows[1].at("status"), "200") << "the head came before the cancel";
}

// A page past the memory limit waits on disk twice (as it is saved, and as it came for the
// WARC file) and reaches both whole; no spool file is left beside the WARC file.
TEST_F(JobCorpus, ALargeSpooledPageGoesIntoTheWarcFileWhole) {
    auto options = Results(1);
    options.pageSizes = {{1, 5 * 1024 * 1024 + 3}};
    options.content = serpdouble::PageContent::Binary;
    StartDouble(options);
    fs::create_directories(dir_ / "warc");
    ASSERT_TRUE(RunJob(CorpusTask("warc/large.warc", 1)));
    const auto warc = warctest::ReadWarc((dir_ / "warc" / "large.warc").string());
    const auto responses = Responses(warc);
    const auto found = responses.find(Url(1));
    ASSERT_NE(found, responses.end());
    EXPECT_TRUE(warctest::HttpBody(found->second.block) == double_->ExpectedBody(1));
    EXPECT_EQ(Manifest().at(0).at("sha256"), Sha256Hex(double_->ExpectedBody(1)));
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_ / "warc")) {
        names.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(names, std::vector<std::string>{"large.warc"});
}

// Run again with Resume: a kept page keeps its line, what a killed run left under a
// temporary name goes, and the WARC file holds both jobs.
TEST_F(JobCorpus, ResumeKeepsTheManifestLinesOfKeptPagesAndClearsAKilledRunsLeftovers) {
    StartDouble(Results(2));
    ASSERT_TRUE(RunJob(CorpusTask("run.warc", 2)));
    const auto first = Manifest();
    fs::remove(Folder() / first[1].at("file"));
    const pid_t ended = ::fork();
    if (ended == 0) ::_exit(0);
    ASSERT_EQ(::waitpid(ended, nullptr, 0), ended);
    const auto leftover = Folder() / (".kestrova-" + std::to_string(ended) + "-0");
    std::ofstream(leftover) << "half a page";
    auto again = CorpusTask("run.warc", 2);
    again->Resume(true);
    ASSERT_TRUE(RunJob(again));
    EXPECT_FALSE(fs::exists(leftover));
    const auto second = Manifest();
    ASSERT_EQ(second.size(), 2u);
    EXPECT_EQ(second[0], first[0]) << "the kept page's line as the first run wrote it";
    EXPECT_EQ(second[1].at("state"), "Complete");
    EXPECT_EQ(second[1].at("sha256"), first[1].at("sha256"));
    const auto warc = warctest::ReadWarc((dir_ / "run.warc").string());
    int infos = 0;
    for (const auto& record : warc.records) infos += record.Field("WARC-Type") == "warcinfo";
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
