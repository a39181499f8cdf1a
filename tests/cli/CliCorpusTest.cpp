// kestrova-cli writing the harvest as a corpus, as a child process against the double: the
// WARC file read back by warcio.js (the npm registry's reader) and by the test's own reader,
// the manifests against the saved pages, a killed run, and credentials kept out of files.
#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <thread>

#include "CliProcess.h"
#include "WarcReader.h"
#include "serpdouble/SerpDouble.h"

namespace {

namespace fs = std::filesystem;
using serpdouble::Fault;
using serpdouble::SerpDouble;
using warctest::ReadFile;

// warcio.js's index of the file, one JSON object a record; fails the test when it cannot
// read the file.
std::vector<warctest::JsonRow> WarcioIndex(const fs::path& warc) {
    const std::string warcio = KES_WARCIO_CLI;
    if (warcio.empty()) {
        ADD_FAILURE() << "warcio.js is not installed (scripts/install-deps installs node and npm)";
        return {};
    }
    const std::string command = std::string("'") + KES_NODE + "' '" + warcio + "' index '" +
                                warc.string() +
                                "' --fields=offset,warc-type,warc-record-id,http:status 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    std::string out;
    char buffer[4096];
    for (std::size_t n; pipe && (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    EXPECT_EQ(pipe ? ::pclose(pipe) : -1, 0) << command << "\n" << out;
    return warctest::JsonLines(out);
}

class CliCorpus : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("kes-corpus-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    SerpDouble& Serve(SerpDouble::Options options) {
        server_ = std::make_unique<SerpDouble>(std::move(options));
        server_->Start();
        return *server_;
    }
    std::string Appdata() const { return (dir_ / "appdata").string(); }
    std::string Out() const { return (dir_ / "out").string(); }

    // Reads the file with both readers: whole records only, and warcio.js indexes each of
    // them where the test's reader found it.
    static warctest::Contents ReadBothWays(const fs::path& warc) {
        auto own = warctest::ReadWarc(warc.string());
        EXPECT_FALSE(own.cutTail);
        const auto index = WarcioIndex(warc);
        EXPECT_EQ(index.size(), own.records.size());
        for (std::size_t i = 0; i < std::min(index.size(), own.records.size()); ++i) {
            const auto& record = own.records[i];
            EXPECT_EQ(index[i].at("offset"), std::to_string(record.offset)) << i;
            EXPECT_EQ(index[i].at("warc-type"), record.Field("WARC-Type")) << i;
            EXPECT_EQ(index[i].at("warc-record-id"), record.Field("WARC-Record-ID")) << i;
            if (record.Field("WARC-Type") == "response") {
                EXPECT_EQ(index[i].at("http:status"),
                          std::to_string(warctest::HttpStatus(record.block)));
            }
        }
        return own;
    }

    fs::path dir_;
    std::unique_ptr<SerpDouble> server_;
};

// Two keywords, one WARC file: each job begins with its warcinfo record; redirects, 404s and
// 500s are recorded; every saved page has a 200 response whose decoded payload is the file;
// the manifests list every result with the file's digest and size, and what SearXNG said.
TEST_F(CliCorpus, AKeywordListWritesOneWarcFileThatWarcioIndexesWhole) {
    SerpDouble::Options options;
    options.totalResults = 6;
    options.chunkedPages = true;  // compressed and chunked, as most servers send HTML
    options.resultFaults = {{2, Fault::RedirectTo("/page/5")},
                            {3, Fault::WithStatus(404)},
                            {4, Fault::WithStatus(500)}};
    options.links = {{6, serpdouble::LinkKind::Pdf}};
    auto& server = Serve(options);
    std::ofstream(dir_ / "keywords.txt") << "red kites\nospreys\n";
    const auto warc = dir_ / "run.warc.gz";
    std::ofstream(warc) << "an earlier run's file, begun anew";
    const auto r = cli_test::RunCli(
        {"--keywords", (dir_ / "keywords.txt").string(), "--searxng", server.BaseURL(), "--to", "6",
         "--download", Out(), "--skip-non-html", "--manifest", "--warc", warc.string(), "--quiet"},
        Appdata());
    ASSERT_EQ(r.status, 0) << r.err;

    const auto own = ReadBothWays(warc);
    EXPECT_EQ(own.members, static_cast<int>(own.records.size())) << "a gzip member a record";
    const auto responses = warctest::CheckedResponses(own);
    std::string infos;
    for (const auto& record : own.records) {
        if (record.Field("WARC-Type") == "warcinfo") infos += record.block;
    }
    EXPECT_TRUE(std::regex_search(infos, std::regex("software: Kestrova/.*\r\nformat: WARC File "
                                                    "Format 1.1\r\n(.|\r\n)*keyword: red kites\r\n"
                                                    "(.|\r\n)*keyword: ospreys\r\n")))
        << infos;
    const auto hop = responses.find(server.PageURL(2));
    ASSERT_NE(hop, responses.end()) << "the redirect hop";
    EXPECT_EQ(warctest::HttpStatus(hop->second->block), 302);

    for (const char* keyword : {"red kites", "ospreys"}) {
        SCOPED_TRACE(keyword);
        const auto folder = fs::path(Out()) / keyword;
        const std::string text = ReadFile((folder / "manifest.jsonl").string());
        std::string keys;
        const std::regex key("\"([a-z0-9_]+)\":");
        for (std::sregex_iterator at(text.begin(), text.begin() + text.find('\n'), key);
             at != std::sregex_iterator(); ++at)
            keys += (*at)[1].str() + " ";
        EXPECT_EQ(keys,
                  "position url state file status final_url content_type bytes sha256 "
                  "fetched_at error title snippet ");
        const auto rows = warctest::JsonLines(text);
        ASSERT_EQ(rows.size(), 6u);
        for (const auto& row : rows) {
            EXPECT_EQ(row.at("title"), "Result " + row.at("position"));
            if (row.at("state") != "Complete") continue;
            const std::string page = ReadFile((folder / row.at("file")).string());
            EXPECT_EQ(row.at("bytes"), std::to_string(page.size()));
            EXPECT_EQ(row.at("sha256"), warctest::Sha256Hex(page));
            const auto range = responses.equal_range(row.at("final_url"));
            ASSERT_NE(range.first, range.second) << row.at("final_url");
            for (auto response = range.first; response != range.second; ++response) {
                EXPECT_EQ(warctest::HttpStatus(response->second->block), 200);
                EXPECT_EQ(warctest::DecodedPayload(response->second->block), page);
            }
        }
        EXPECT_EQ(rows[1].at("final_url"), server.PageURL(5));
        EXPECT_EQ(rows[2].at("status") + " " + rows[2].at("error"), "404 Not Found");
        EXPECT_EQ(rows[3].at("status") + " " + rows[3].at("error"), "500 Internal Server Error");
        for (const char* key : {"file", "status", "final_url", "bytes", "sha256", "fetched_at"})
            EXPECT_EQ(rows[5].at(key), "null") << "a skipped link was never fetched: " << key;
    }
}

// Killed while pages hang: the records of every page saved so far are whole and read back,
// and no manifest is left half-written.
TEST_F(CliCorpus, AKilledRunLeavesWholeRecordsThatWarcioReads) {
    SerpDouble::Options options;
    options.totalResults = 8;
    options.pageSize = 200 * 1024;
    for (int n = 5; n <= 8; ++n) options.resultFaults[n] = Fault::PartialThenStallAfter(1000);
    auto& server = Serve(options);
    const auto warc = dir_ / "run.warc";
    cli_test::CliProcess cli({"--url", server.SearchURL("killed"), "--to", "8", "--download", Out(),
                              "--manifest", "--warc", warc.string(), "--quiet"},
                             Appdata());
    ASSERT_TRUE(
        server.WaitFor([](const auto& s) { return s.stalled == 4; }, std::chrono::seconds(30)));
    // A page is renamed into place after its records are written.
    const auto folder = fs::path(Out()) / "killed";
    const auto saved = [&] {
        int pages = 0;
        for (const auto& entry : fs::directory_iterator(folder))
            pages += !entry.path().filename().string().starts_with(".");
        return pages;
    };
    for (int wait = 0; saved() < 4 && wait < 3000; ++wait)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_EQ(saved(), 4);
    cli.Signal(SIGKILL);
    EXPECT_EQ(cli.Wait().status, 128 + SIGKILL);

    const auto own = ReadBothWays(warc);
    int pages = 0;
    for (const auto& [url, response] : warctest::CheckedResponses(own)) {
        EXPECT_EQ(warctest::HttpStatus(response->block), 200);
        pages += url != server.SearchURL("killed");
    }
    EXPECT_EQ(pages, 4);
    EXPECT_FALSE(fs::exists(folder / "manifest.jsonl"));
}

// A credential in the search address (sent as Authorization) and one of the proxy (sent as
// Proxy-Authorization) reach no file: not the WARC files, the manifest, the pages or the log.
TEST_F(CliCorpus, NoCredentialReachesAnyFileTheRunWrites) {
    SerpDouble::Options options;
    options.totalResults = 2;
    auto& server = Serve(options);
    const std::string secret = "kessecret", basic = "a2VzdXNlcjprZXNzZWNyZXQ=";  // kesuser:...
    auto search = server.SearchURL("secret");
    search.insert(search.find("://") + 3, "kesuser:" + secret + "@");
    const auto r = cli_test::RunCli({"--url", search, "--download", Out(), "--manifest", "--warc",
                                     (dir_ / "run.warc").string(), "--quiet"},
                                    Appdata());
    ASSERT_EQ(r.status, 0) << r.err;
    // The double as the proxy: it answers the proxied request 404, which fails the job.
    cli_test::CliProcess proxied(
        {"--url", server.SearchURL("secret"), "--warc", (dir_ / "proxied.warc").string()},
        Appdata(),
        {"env", "-u", "no_proxy",
         "http_proxy=http://kesuser:" + secret + "@" + server.BaseURL().substr(7)});
    EXPECT_EQ(proxied.Wait().status, 1);

    EXPECT_NE(ReadFile((dir_ / "run.warc").string()).find("\r\nAuthorization: (withheld)\r\n"),
              std::string::npos);
    EXPECT_NE(
        ReadFile((dir_ / "proxied.warc").string()).find("\r\nProxy-Authorization: (withheld)\r\n"),
        std::string::npos);
    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(dir_)) {
        if (!entry.is_regular_file()) continue;
        ++files;
        const std::string text = ReadFile(entry.path().string());
        EXPECT_EQ(text.find(secret), std::string::npos) << entry.path();
        EXPECT_EQ(text.find(basic), std::string::npos) << entry.path();
    }
    EXPECT_GE(files, 6) << "two WARC files, a manifest, two pages and the log";
}

}  // namespace
