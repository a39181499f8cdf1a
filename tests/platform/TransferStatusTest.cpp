#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "LoopbackServer.h"
#include "RawHttpServer.h"
#include "TransferWait.h"
#include "platform/TransferLoop.h"

using platform::TransferEnd;
using platform::TransferResult;
namespace httperr = platform::httperr;
using kestest::Fetch;

namespace {

class TransferStatus : public ::testing::Test {
  protected:
    void SetUp() override {
        auto& http = server_.Http();
        http.Get(R"(/status/(\d+))", [](const httplib::Request& req, httplib::Response& res) {
            res.status = std::stoi(req.matches[1]);
            // A 304 has no body: one would be taken for the next answer on the connection.
            if (res.status != 304) res.set_content("body of " + req.matches[1].str(), "text/plain");
        });
        http.Get("/partial", [](const httplib::Request& req, httplib::Response& res) {
            res.status = req.has_header("Range") ? 206 : 200;
            res.set_content("abc", "text/plain");
        });
        http.Get("/moved", [this](const httplib::Request&, httplib::Response& res) {
            res.set_redirect(server_.Url("/status/200"), 302);
        });
        // redirect/N answers with N more redirects before the page.
        http.Get(R"(/redirect/(\d+))", [](const httplib::Request& req, httplib::Response& res) {
            const int left = std::stoi(req.matches[1]);
            res.set_header("X-Left", req.matches[1].str());
            if (left == 0) {
                res.set_content("arrived", "text/html");
            } else {
                res.set_redirect("/redirect/" + std::to_string(left - 1), 302);
            }
        });
        http.Get("/loop", [](const httplib::Request&, httplib::Response& res) {
            res.set_redirect("/loop", 302);
        });
        http.Get("/to-file", [](const httplib::Request&, httplib::Response& res) {
            res.set_redirect("file:///etc/hostname", 302);
        });
        server_.Start();
    }

    // Fetches and returns status and status text, failing the test on a transport error.
    std::pair<int, std::string> StatusOf(const std::string& url) {
        const auto result = Fetch(loop_, {.url = url});
        EXPECT_EQ(result.end, TransferEnd::Completed) << result.errorDescription;
        return {result.status, result.StatusText()};
    }

    static void ExpectTransferFailure(const TransferResult& result) {
        ASSERT_EQ(result.end, TransferEnd::Failed);
        EXPECT_EQ(result.errorNumber, httperr::kTransferFailed);
        EXPECT_FALSE(result.errorDescription.empty());
        EXPECT_EQ(result.body.Size(), 0);
    }

    kestest::LoopbackServer server_;
    platform::TransferLoop loop_;
};

TEST_F(TransferStatus, StatusAndStandardTexts) {
    EXPECT_EQ(StatusOf(server_.Url("/status/200")), std::make_pair(200, std::string("OK")));
    EXPECT_EQ(StatusOf(server_.Url("/status/304")),
              std::make_pair(304, std::string("Not Modified")));
    EXPECT_EQ(StatusOf(server_.Url("/status/404")), std::make_pair(404, std::string("Not Found")));
    EXPECT_EQ(StatusOf(server_.Url("/status/500")),
              std::make_pair(500, std::string("Internal Server Error")));
    // A 3xx without a Location is the answer itself.
    EXPECT_EQ(StatusOf(server_.Url("/status/301")),
              std::make_pair(301, std::string("Moved Permanently")));
    EXPECT_EQ(StatusOf(server_.Url("/status/302")), std::make_pair(302, std::string("Found")));
}

TEST_F(TransferStatus, RangeRequestGets206) {
    const auto result =
        Fetch(loop_, {.url = server_.Url("/partial"), .headerLines = {"Range: bytes=0-1"}});
    EXPECT_EQ(result.status, 206);
    EXPECT_EQ(result.StatusText(), "Partial Content");
}

TEST_F(TransferStatus, RedirectIsFollowedToTheFinalAnswer) {
    const auto result = Fetch(loop_, {.url = server_.Url("/moved")});
    ASSERT_EQ(result.end, TransferEnd::Completed) << result.errorDescription;
    EXPECT_EQ(result.status, 200);
    EXPECT_EQ(result.StatusText(), "OK");
    EXPECT_EQ(result.body.Bytes(), "body of 200");
    EXPECT_EQ(result.finalUrl, server_.Url("/status/200"));
}

TEST_F(TransferStatus, ARequestThatFollowsNoRedirectGetsTheRedirectAsItsAnswer) {
    const auto result = Fetch(
        loop_,
        {.url = server_.Url("/redirect/1"), .headerLines = {"X-Key: k"}, .followRedirects = false});
    ASSERT_EQ(result.end, TransferEnd::Completed) << result.errorDescription;
    EXPECT_EQ(result.status, 302);
    ASSERT_EQ(result.hops.size(), 1u) << "the redirect's target was never asked";
    EXPECT_EQ(result.hops[0].Header("Location").value_or(""), "/redirect/0");
    EXPECT_EQ(result.finalUrl, server_.Url("/redirect/1"));
}

// Later work reads the whole chain: where each answer sent the transfer, and when the last
// one came.
TEST_F(TransferStatus, TheResultRecordsEveryHopInOrder) {
    const auto before = std::chrono::system_clock::now();
    const auto result = Fetch(loop_, {.url = server_.Url("/redirect/2")});
    const auto after = std::chrono::system_clock::now();
    ASSERT_EQ(result.end, TransferEnd::Completed) << result.errorDescription;
    ASSERT_EQ(result.hops.size(), 3u);
    for (int hop = 0; hop < 3; ++hop) {
        SCOPED_TRACE(hop);
        const auto& head = result.hops[static_cast<size_t>(hop)];
        const bool last = hop == 2;
        EXPECT_EQ(head.statusLine, last ? "HTTP/1.1 200 OK" : "HTTP/1.1 302 Found");
        EXPECT_EQ(head.status, last ? 200 : 302);
        EXPECT_EQ(head.Header("x-left").value_or(""), std::to_string(2 - hop));
        EXPECT_EQ(head.Header("Location").value_or(""),
                  last ? "" : "/redirect/" + std::to_string(1 - hop));
        EXPECT_EQ(head.ip, "127.0.0.1");
    }
    EXPECT_EQ(result.status, 200);
    EXPECT_EQ(result.finalUrl, server_.Url("/redirect/0"));
    EXPECT_EQ(result.contentType, "text/html");
    EXPECT_GE(result.receivedAt, before);
    EXPECT_LE(result.receivedAt, after);
}

TEST_F(TransferStatus, TenRedirectsAreFollowedElevenAreNot) {
    const auto ten = Fetch(loop_, {.url = server_.Url("/redirect/10")});
    ASSERT_EQ(ten.end, TransferEnd::Completed) << ten.errorDescription;
    EXPECT_EQ(ten.body.Bytes(), "arrived");
    EXPECT_EQ(ten.hops.size(), 11u);

    ExpectTransferFailure(Fetch(loop_, {.url = server_.Url("/redirect/11")}));
    ExpectTransferFailure(Fetch(loop_, {.url = server_.Url("/loop")}));
}

TEST_F(TransferStatus, RedirectToAFileUrlIsRefused) {
    ExpectTransferFailure(Fetch(loop_, {.url = server_.Url("/to-file")}));
}

TEST_F(TransferStatus, ConnectionRefusedIsAFailureNotAStatus) {
    // A bound socket that never listens: connecting is refused, and the port stays ours.
    const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(::bind(socket, reinterpret_cast<sockaddr*>(&address), length), 0);
    ASSERT_EQ(::getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length), 0);
    const auto result =
        Fetch(loop_, {.url = "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/"});
    ::close(socket);
    ExpectTransferFailure(result);
    EXPECT_EQ(result.status, 0);
}

TEST(TransferReason, ServersReasonPhraseIsKeptAndAMissingOneIsStandard) {
    kestest::RawHttpServer custom("HTTP/1.1 404 Nothing To See Here \r\nContent-Length: 0\r\n\r\n");
    kestest::RawHttpServer bare("HTTP/1.1 404\r\nContent-Length: 0\r\n\r\n");
    kestest::RawHttpServer unknown("HTTP/1.1 299\r\nContent-Length: 0\r\n\r\n");
    platform::TransferLoop loop;
    const auto withReason = Fetch(loop, {.url = custom.Url("/")});
    EXPECT_EQ(withReason.status, 404);
    EXPECT_EQ(withReason.StatusText(), "Nothing To See Here");
    const auto without = Fetch(loop, {.url = bare.Url("/")});
    EXPECT_EQ(without.status, 404);
    EXPECT_EQ(without.StatusText(), "Not Found");
    const auto unknownStatus = Fetch(loop, {.url = unknown.Url("/")});
    EXPECT_EQ(unknownStatus.status, 299);
    EXPECT_EQ(unknownStatus.StatusText(), "");
}

TEST(TransferReason, InterimResponseIsPassedOver) {
    kestest::RawHttpServer server(
        "HTTP/1.1 103 Early Hints\r\nLink: </a.css>; rel=preload\r\n\r\n"
        "HTTP/1.1 200 Fine\r\nContent-Length: 4\r\n\r\npage");
    platform::TransferLoop loop;
    const auto result = Fetch(loop, {.url = server.Url("/")});
    EXPECT_EQ(result.status, 200);
    EXPECT_EQ(result.StatusText(), "Fine");
    EXPECT_EQ(result.body.Bytes(), "page");
    ASSERT_EQ(result.hops.size(), 1u);
    EXPECT_EQ(result.hops[0].statusLine, "HTTP/1.1 200 Fine");
}

TEST(TransferTls, CertificateOutsideTheSystemStoreIsRefused) {
    httplib::SSLServer server(KES_TEST_DATA "/loopback.crt", KES_TEST_DATA "/loopback.key");
    ASSERT_TRUE(server.is_valid());
    server.Get("/", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("secret", "text/plain");
    });
    const int port = server.bind_to_any_port("127.0.0.1");
    ASSERT_GT(port, 0);
    std::thread serving([&] { server.listen_after_bind(); });
    while (!server.is_running()) {
        std::this_thread::yield();
    }
    platform::TransferLoop loop;
    const auto result = Fetch(loop, {.url = "https://127.0.0.1:" + std::to_string(port) + "/"});
    server.stop();
    serving.join();
    ASSERT_EQ(result.end, TransferEnd::Failed);
    EXPECT_EQ(result.errorNumber, httperr::kTransferFailed);
    EXPECT_NE(result.errorDescription.find("certificate"), std::string::npos)
        << result.errorDescription;
    EXPECT_EQ(result.body.Size(), 0);
}

}  // namespace
