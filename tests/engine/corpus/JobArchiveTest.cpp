// Records written to a real WARC file and read back: framing, digests, links, one gzip
// member a record, large spooled bodies, and a file that stays whole when a write fails.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "WarcReader.h"
#include "corpus/JobArchive.h"

namespace {

namespace fs = std::filesystem;
using fetchcore::ExchangeRecorder;
using fetchcore::JobArchive;
using platform::TransferEnd;

class Archive : public ::testing::TestWithParam<const char*> {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("kes-warc-" + std::to_string(::getpid()) + "-" +
                std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string Path() const { return (dir_ / (std::string("run") + GetParam())).string(); }

    // One transfer: a redirect, then a chunked answer of `body` cut in two pieces.
    static void Redirected(ExchangeRecorder& recorder, const std::string& body) {
        recorder.RequestSent("http://h/a", "GET /a HTTP/1.1\r\nHost: h\r\n\r\n", "127.0.0.1");
        recorder.HeadBytes("HTTP/1.1 302 Found\r\nLocation: /b\r\nContent-Length: 5\r\n\r\n");
        recorder.BodyBytes("moved");
        recorder.RequestSent("http://h/b", "GET /b HTTP/1.1\r\nHost: h\r\n\r\n", "127.0.0.1");
        recorder.HeadBytes("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n");
        char size[32];
        std::snprintf(size, sizeof size, "%zx\r\n", body.size());
        const std::string wire = size + body + "\r\n0\r\n\r\n";
        const auto half = wire.size() / 2;
        recorder.BodyBytes(wire.substr(0, half));
        recorder.BodyBytes(wire.substr(half));
        recorder.Ended(TransferEnd::Completed, 0);
    }

    fs::path dir_;
};

// Bytes that no compression shrinks.
std::string Noise(std::size_t size) {
    std::string bytes(size, '\0');
    uint32_t state = 12345;
    for (auto& byte : bytes) {
        state = state * 1664525 + 1013904223;
        byte = static_cast<char>(state >> 24);
    }
    return bytes;
}

// Every digest checks out against the bytes, every request names its response, every record
// names its job's warcinfo; the large body went through the spool.
TEST_P(Archive, RecordsReadBackWholeWithTheirDigestsAndLinks) {
    const std::string large(3 * 1024 * 1024 + 17, 'L');
    {
        JobArchive archive(Path(), {"red kites", "http://user:pw@search.example/s?q=red+kites"});
        auto recorder = archive.NewRecorder();
        Redirected(*recorder, large);
        ASSERT_TRUE(recorder->Exchanges()[1].body.IsSpooled());
        archive.Keep(*recorder);
        EXPECT_FALSE(archive.Failure());
    }
    const auto contents = warctest::ReadWarc(Path());
    EXPECT_FALSE(contents.cutTail);
    ASSERT_EQ(contents.records.size(), 5u);
    if (Path().ends_with(".gz")) {
        EXPECT_EQ(contents.members, 5);
    }
    const auto& info = contents.records[0];
    EXPECT_EQ(info.Field("WARC-Type"), "warcinfo");
    EXPECT_EQ(info.Field("Content-Type"), "application/warc-fields");
    EXPECT_EQ(info.Field("WARC-Filename"), fs::path(Path()).filename().string());
    EXPECT_NE(info.block.find("software: Kestrova/"), std::string::npos) << info.block;
    EXPECT_NE(info.block.find("format: WARC File Format 1.1\r\n"), std::string::npos);
    EXPECT_NE(info.block.find("keyword: red kites\r\n"), std::string::npos);
    EXPECT_NE(info.block.find("search-address: http://search.example/s?q=red+kites\r\n"),
              std::string::npos)
        << "no credential of the address";
    const std::vector<std::pair<std::string, std::string>> expected = {{"request", "http://h/a"},
                                                                       {"response", "http://h/a"},
                                                                       {"request", "http://h/b"},
                                                                       {"response", "http://h/b"}};
    for (std::size_t i = 0; i < contents.records.size(); ++i) {
        const auto& record = contents.records[i];
        SCOPED_TRACE(i);
        EXPECT_TRUE(record.Field("WARC-Record-ID").starts_with("<urn:uuid:"));
        EXPECT_EQ(record.Field("WARC-Block-Digest"), warctest::Sha1Label(record.block));
        if (i == 0) continue;
        EXPECT_EQ(record.Field("WARC-Type"), expected[i - 1].first);
        EXPECT_EQ(record.Field("WARC-Target-URI"), expected[i - 1].second);
        EXPECT_EQ(record.Field("WARC-Warcinfo-ID"), info.Field("WARC-Record-ID"));
        EXPECT_EQ(record.Field("WARC-IP-Address"), "127.0.0.1");
        EXPECT_EQ(record.Field("WARC-Truncated"), "");
        if (record.Field("WARC-Type") == "request") {
            EXPECT_EQ(record.Field("Content-Type"), "application/http;msgtype=request");
            EXPECT_EQ(record.Field("WARC-Concurrent-To"),
                      contents.records[i + 1].Field("WARC-Record-ID"));
            EXPECT_EQ(record.Field("WARC-Date"), contents.records[i + 1].Field("WARC-Date"));
        } else {
            EXPECT_EQ(record.Field("Content-Type"), "application/http;msgtype=response");
            EXPECT_EQ(record.Field("WARC-Payload-Digest"),
                      warctest::Sha1Label(warctest::Payload(record.block)));
        }
    }
    EXPECT_EQ(warctest::HttpStatus(contents.records[2].block), 302);
    EXPECT_EQ(warctest::HttpBody(contents.records[2].block), "moved");
    EXPECT_TRUE(warctest::DecodedPayload(contents.records[4].block) == large);
}

// Each job appends, beginning with its own warcinfo record; an answer cut in its head leaves
// its request alone, a body cut short says so, and a request libcurl sent again is dropped.
TEST_P(Archive, JobsAppendAndACutAnswerLeavesNoResponseThatLooksWhole) {
    for (const char* keyword : {"first", "second"}) {
        JobArchive archive(Path(), {keyword, "http://s/"});
        auto headCut = archive.NewRecorder();
        headCut->RequestSent("http://h/retried", "GET /retried HTTP/1.1\r\n\r\n", "127.0.0.1");
        headCut->RequestSent("http://h/retried", "GET /retried HTTP/1.1\r\n\r\n", "127.0.0.1");
        headCut->HeadBytes("HTTP/1.1 200 OK\r\n");
        headCut->Ended(TransferEnd::TimedOut, 0);
        archive.Keep(*headCut);
        auto bodyCut = archive.NewRecorder();
        bodyCut->RequestSent("http://h/cut", "GET /cut HTTP/1.1\r\n\r\n", "127.0.0.1");
        bodyCut->HeadBytes("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n");
        bodyCut->BodyBytes("part");
        bodyCut->Ended(TransferEnd::Cancelled, 0);
        archive.Keep(*bodyCut);
        auto never = archive.NewRecorder();  // refused before a request went out
        never->Ended(TransferEnd::Failed, platform::httperr::kTransferFailed);
        archive.Keep(*never);
    }
    const auto contents = warctest::ReadWarc(Path());
    EXPECT_FALSE(contents.cutTail);
    std::vector<std::string> seen;
    for (const auto& record : contents.records) {
        seen.push_back(record.Field("WARC-Type") + " " + record.Field("WARC-Target-URI") + " " +
                       record.Field("WARC-Truncated"));
    }
    const std::vector<std::string> job = {"warcinfo  ", "request http://h/retried ",
                                          "request http://h/cut ",
                                          "response http://h/cut unspecified"};
    std::vector<std::string> both = job;
    both.insert(both.end(), job.begin(), job.end());
    EXPECT_EQ(seen, both);
    EXPECT_NE(contents.records[4].block.find("keyword: second"), std::string::npos);
    EXPECT_EQ(contents.records[1].Field("WARC-Concurrent-To"), "") << "no response to name";
}

// A write that fails midway (here the file size limit) cuts the file back, so it still ends
// with a whole record; the failure names the file and later records still go in.
TEST_P(Archive, AFailedWriteLeavesTheFileWholeAndIsReported) {
    JobArchive archive(Path(), {"kw", "http://s/"});
    const auto before = fs::file_size(Path());
    auto big = archive.NewRecorder();
    Redirected(*big, Noise(2 * 1024 * 1024));
    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto previous = ::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = before + 1000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    archive.Keep(*big);
    ::setrlimit(RLIMIT_FSIZE, &old);
    ::signal(SIGXFSZ, previous);
    ASSERT_TRUE(archive.Failure());
    EXPECT_EQ(archive.Failure()->Description(),
              "Cannot write the WARC file '" + Path() + "': File too large. ");
    EXPECT_EQ(fs::file_size(Path()), before);
    auto small2 = archive.NewRecorder();
    Redirected(*small2, "fits");
    archive.Keep(*small2);
    const auto contents = warctest::ReadWarc(Path());
    EXPECT_FALSE(contents.cutTail);
    EXPECT_EQ(contents.records.size(), 5u);
}

TEST_P(Archive, AFileThatCannotBeOpenedFailsTheJobNamingIt) {
    const std::string missing = (dir_ / "no" / "such.warc").string();
    try {
        JobArchive archive(missing, {"kw", "http://s/"});
        FAIL() << "a folder that does not exist";
    } catch (const tessel::ComError& e) {
        EXPECT_EQ(e.Description(),
                  "Cannot write the WARC file '" + missing + "': No such file or directory. ");
    }
}

INSTANTIATE_TEST_SUITE_P(PlainAndGzip, Archive, ::testing::Values(".warc", ".warc.gz"),
                         [](const auto& info) {
                             return std::string(info.param).ends_with(".gz") ? "Gzip" : "Plain";
                         });

}  // namespace
