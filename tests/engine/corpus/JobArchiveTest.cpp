// Records written to a real WARC file and read back: what a cut answer leaves, and a file that
// stays whole when a write fails. (Whole jobs, and warcio.js, read the rest back.)
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

// An answer cut in its head leaves its request alone, a body cut short says so, a request
// libcurl sent again unanswered is dropped, and a transfer refused before any request leaves
// nothing.
TEST_P(Archive, ACutAnswerLeavesNoResponseThatLooksWhole) {
    JobArchive archive(Path(), {"kw", "http://s/"});
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
    auto never = archive.NewRecorder();
    never->Ended(TransferEnd::Failed, platform::httperr::kTransferFailed);
    archive.Keep(*never);

    const auto contents = warctest::ReadWarc(Path());
    EXPECT_FALSE(contents.cutTail);
    std::vector<std::string> seen;
    for (const auto& record : contents.records) {
        seen.push_back(record.Field("WARC-Type") + " " + record.Field("WARC-Target-URI") + " " +
                       record.Field("WARC-Truncated") + " " + record.Field("WARC-Concurrent-To"));
    }
    const auto response = contents.records.back().Field("WARC-Record-ID");
    EXPECT_EQ(seen, (std::vector<std::string>{"warcinfo   ", "request http://h/retried  ",
                                              "request http://h/cut  " + response,
                                              "response http://h/cut unspecified "}));
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

INSTANTIATE_TEST_SUITE_P(PlainAndGzip, Archive, ::testing::Values(".warc", ".warc.gz"),
                         [](const auto& info) {
                             return std::string(info.param).ends_with(".gz") ? "Gzip" : "Plain";
                         });

}  // namespace
