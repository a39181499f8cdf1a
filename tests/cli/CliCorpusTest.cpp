// kestrova-cli writing the harvest as a corpus, as a child process against the double: the
// WARC file read back by warcio.js (the npm registry's reader) and by the test's own reader,
// the manifests against the saved pages, a killed run, and credentials kept out of files.
#include <gtest/gtest.h>
#include <simdjson.h>

#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

#include "CliProcess.h"
#include "WarcReader.h"
#include "serpdouble/SerpDouble.h"
#include "tessel/Digest.h"

namespace {

namespace fs = std::filesystem;
using serpdouble::Fault;
using serpdouble::SerpDouble;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::string Sha256Hex(const std::string& bytes) {
    tessel::Digest digest(tessel::Digest::Algorithm::Sha256);
    digest.Update(bytes);
    return tessel::Hex(digest.Value());
}

// One JSON object a line, each value as its text.
using JsonRow = std::map<std::string, std::string>;
std::vector<JsonRow> JsonLines(const std::string& text) {
    std::vector<JsonRow> rows;
    simdjson::dom::parser parser;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        simdjson::dom::object object;
        if (parser.parse(line).get_object().get(object)) {
            ADD_FAILURE() << "not a JSON object: " << line;
            continue;
        }
        JsonRow row;
        for (auto field : object) {
            std::string_view value;
            row[std::string(field.key)] = field.value.get_string().get(value)
                                              ? simdjson::minify(field.value)
                                              : std::string(value);
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

// warcio.js's index of the file, one JSON object a record; fails the test when it cannot
// read the file.
std::vector<JsonRow> WarcioIndex(const fs::path& warc) {
    const std::string warcio = KES_WARCIO_CLI;
    if (warcio.empty()) {
        ADD_FAILURE() << "warcio.js is not installed (scripts/install-deps installs node and npm)";
        return {};
    }
    const std::string command = std::string("'") + KES_NODE + "' '" + warcio + "' index '" +
                                warc.string() +
                                "' --fields=offset,warc-type,warc-record-id,http:status 2>&1";
    std::string out;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) {
        ADD_FAILURE() << "cannot run " << command;
        return {};
    }
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    const int status = ::pclose(pipe);
    EXPECT_EQ(status, 0) << out;
    return JsonLines(out);
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

    // warcio.js indexes every record the test's own reader finds, at the same places.
    void ExpectWarcioReadsEveryRecord(const fs::path& warc, const warctest::Contents& own) {
        const auto index = WarcioIndex(warc);
        ASSERT_EQ(index.size(), own.records.size());
        for (std::size_t i = 0; i < index.size(); ++i) {
            SCOPED_TRACE(i);
            const auto& record = own.records[i];
            EXPECT_EQ(index[i].at("offset"), std::to_string(record.offset));
            EXPECT_EQ(index[i].at("warc-type"), record.Field("WARC-Type"));
            EXPECT_EQ(index[i].at("warc-record-id"), record.Field("WARC-Record-ID"));
            if (record.Field("WARC-Type") == "response") {
                EXPECT_EQ(index[i].at("http:status"),
                          std::to_string(warctest::HttpStatus(record.block)));
            }
        }
    }

    fs::path dir_;
    std::unique_ptr<SerpDouble> server_;
};

}  // namespace

// Two keywords, one WARC file: each job begins with its warcinfo record; redirects, 404s
// and 500s are recorded; every saved page has a 200 response whose decoded payload is the
// file; the manifests' digests and sizes are the files'.
TEST_F(CliCorpus, AKeywordListWritesOneWarcFileThatWarcioIndexesWhole) {
    SerpDouble::Options options;
    options.totalResults = 5;
    options.chunkedPages = true;
    options.resultFaults = {{2, Fault::RedirectTo("/page/5")},
                            {3, Fault::WithStatus(404)},
                            {4, Fault::WithStatus(500)}};
    auto& server = Serve(options);
    std::ofstream(dir_ / "keywords.txt") << "red kites\nospreys\n";
    const auto warc = dir_ / "run.warc.gz";
    std::ofstream(warc) << "an earlier run's file, begun anew";
    const auto r = cli_test::RunCli(
        {"--keywords", (dir_ / "keywords.txt").string(), "--searxng", server.BaseURL(), "--to", "5",
         "--download", Out(), "--manifest", "--warc", warc.string(), "--quiet"},
        Appdata());
    ASSERT_EQ(r.status, 0) << r.err;

    const auto own = warctest::ReadWarc(warc.string());
    EXPECT_FALSE(own.cutTail);
    EXPECT_EQ(own.members, static_cast<int>(own.records.size()));
    std::vector<std::string> keywords;
    std::multimap<std::string, const warctest::Record*> responses;
    for (const auto& record : own.records) {
        EXPECT_EQ(record.Field("WARC-Block-Digest"), warctest::Sha1Label(record.block));
        const std::string type = record.Field("WARC-Type");
        if (type == "warcinfo") {
            const auto at = record.block.find("keyword: ");
            keywords.push_back(record.block.substr(at + 9, record.block.find("\r\n", at) - at - 9));
        } else if (type == "response") {
            EXPECT_EQ(record.Field("WARC-Payload-Digest"),
                      warctest::Sha1Label(warctest::Payload(record.block)));
            responses.emplace(record.Field("WARC-Target-URI"), &record);
        }
    }
    EXPECT_EQ(keywords, (std::vector<std::string>{"red kites", "ospreys"}));
    ExpectWarcioReadsEveryRecord(warc, own);

    for (const char* keyword : {"red kites", "ospreys"}) {
        SCOPED_TRACE(keyword);
        const auto folder = fs::path(Out()) / keyword;
        const auto rows = JsonLines(ReadFile(folder / "manifest.jsonl"));
        ASSERT_EQ(rows.size(), 5u);
        int saved = 0;
        for (const auto& row : rows) {
            // What the SearXNG answer told of each result, fetched or not.
            EXPECT_EQ(row.at("title"), "Result " + row.at("position"));
            EXPECT_EQ(row.at("snippet"),
                      "The text the engine shows under result " + row.at("position") + ".");
            if (row.at("state") != "Complete") {
                EXPECT_EQ(row.at("file"), "null");
                continue;
            }
            ++saved;
            const std::string page = ReadFile(folder / row.at("file"));
            EXPECT_EQ(row.at("bytes"), std::to_string(page.size()));
            EXPECT_EQ(row.at("sha256"), Sha256Hex(page));
            const auto range = responses.equal_range(row.at("final_url"));
            ASSERT_NE(range.first, range.second) << row.at("final_url");
            for (auto response = range.first; response != range.second; ++response) {
                EXPECT_EQ(warctest::HttpStatus(response->second->block), 200);
                EXPECT_EQ(warctest::DecodedPayload(response->second->block), page);
            }
        }
        EXPECT_EQ(saved, 3);
        EXPECT_EQ(rows[2].at("status"), "404");
        EXPECT_EQ(rows[3].at("status"), "500");
    }
    const auto hop = responses.find(server.PageURL(2));
    ASSERT_NE(hop, responses.end()) << "the redirect hop";
    EXPECT_EQ(warctest::HttpStatus(hop->second->block), 302);
}

// Killed while pages hang: the records of every page that was saved are whole and read back;
// nothing else of the job's output is left half-written.
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
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    const auto saved = [&] {
        int pages = 0;
        for (const auto& entry : fs::directory_iterator(folder))
            pages += !entry.path().filename().string().starts_with(".");
        return pages;
    };
    while (saved() < 4 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_EQ(saved(), 4);
    cli.Signal(SIGKILL);
    EXPECT_EQ(cli.Wait().status, 128 + SIGKILL);

    const auto own = warctest::ReadWarc(warc.string());
    EXPECT_FALSE(own.cutTail);
    int pages = 0;
    for (const auto& record : own.records) {
        if (record.Field("WARC-Type") != "response") continue;
        EXPECT_EQ(record.Field("WARC-Block-Digest"), warctest::Sha1Label(record.block));
        EXPECT_EQ(warctest::HttpStatus(record.block), 200);
        pages += record.Field("WARC-Target-URI") != server.SearchURL("killed");
    }
    EXPECT_EQ(pages, 4);
    ExpectWarcioReadsEveryRecord(warc, own);
    EXPECT_FALSE(fs::exists(folder / "manifest.jsonl")) << "written only when the job ends";
}

// A credential in the search address (sent as Authorization) and one of the proxy (sent as
// Proxy-Authorization) reach no file: not the WARC file, the manifest, the pages or the log.
TEST_F(CliCorpus, NoCredentialReachesAnyFileTheRunWrites) {
    SerpDouble::Options options;
    options.totalResults = 2;
    auto& server = Serve(options);
    const std::string secret = "kessecret", basic = "a2VzdXNlcjprZXNzZWNyZXQ=";
    auto search = server.SearchURL("secret");
    search.insert(search.find("://") + 3, "kesuser:" + secret + "@");
    const auto warc = dir_ / "run.warc";
    const auto r = cli_test::RunCli(
        {"--url", search, "--download", Out(), "--manifest", "--warc", warc.string(), "--quiet"},
        Appdata());
    ASSERT_EQ(r.status, 0) << r.err;
    // The double as the proxy: it answers the proxied request 404, which fails the job.
    const auto proxied = dir_ / "proxied.warc";
    cli_test::CliProcess proxy(
        {"--url", server.SearchURL("secret"), "--download", Out(), "--warc", proxied.string(),
         "--quiet"},
        Appdata(),
        {"env", "-u", "no_proxy",
         "http_proxy=http://kesuser:" + secret + "@" + server.BaseURL().substr(7)});
    EXPECT_EQ(proxy.Wait().status, 1);

    EXPECT_NE(ReadFile(warc).find("\r\nAuthorization: (withheld)\r\n"), std::string::npos);
    EXPECT_NE(ReadFile(proxied).find("\r\nProxy-Authorization: (withheld)\r\n"), std::string::npos);
    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(dir_)) {
        if (!entry.is_regular_file()) continue;
        ++files;
        const std::string text = ReadFile(entry.path());
        EXPECT_EQ(text.find(secret), std::string::npos) << entry.path();
        EXPECT_EQ(text.find(basic), std::string::npos) << entry.path();
    }
    EXPECT_GE(files, 6) << "two WARC files, a manifest, two pages and the log";
}
