#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>

#include "LoopbackServer.h"
#include "Polling.h"
#include "RawHttpServer.h"
#include "platform/HttpRequest.h"

using platform::HttpRequest;
namespace httperr = platform::httperr;
using kestest::Fetch;

namespace {

class HttpStatus : public ::testing::Test {
  protected:
    void SetUp() override {
        auto& http = server_.Http();
        http.Get(R"(/status/(\d+))", [](const httplib::Request& req, httplib::Response& res) {
            res.status = std::stoi(req.matches[1]);
            res.set_content("body of " + req.matches[1].str(), "text/plain");
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
            if (left == 0) {
                res.set_content("arrived", "text/plain");
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
        HttpRequest request;
        EXPECT_TRUE(Fetch(request, url));
        EXPECT_FALSE(request.Failed()) << request.ErrorDescription();
        if (request.Failed()) {
            return {0, ""};
        }
        return {request.status(), request.statusText()};
    }

    static void ExpectTransferFailure(HttpRequest& request) {
        EXPECT_EQ(request.readyState(), 4);
        ASSERT_TRUE(request.Failed());
        EXPECT_EQ(request.ErrorNumber(), httperr::kTransferFailed);
        EXPECT_FALSE(request.ErrorDescription().empty());
        EXPECT_TRUE(request.responseBody().empty());
        try {
            (void)request.status();
            ADD_FAILURE() << "status() of a failed transfer must throw";
        } catch (const tessel::ComError& error) {
            EXPECT_EQ(error.Number(), httperr::kTransferFailed);
            EXPECT_EQ(error.Description(), request.ErrorDescription());
        }
        EXPECT_THROW((void)request.statusText(), tessel::ComError);
    }

    kestest::LoopbackServer server_;
};

}  // namespace

TEST_F(HttpStatus, StatusAndStandardTexts) {
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

TEST_F(HttpStatus, RangeRequestGets206) {
    HttpRequest request;
    request.open("GET", server_.Url("/partial"));
    request.setRequestHeader("Range", "bytes=0-1");
    request.send();
    ASSERT_TRUE(kestest::PollUntil(request, 4));
    EXPECT_EQ(request.status(), 206);
    EXPECT_EQ(request.statusText(), "Partial Content");
}

TEST_F(HttpStatus, RedirectIsFollowedToTheFinalAnswer) {
    HttpRequest request;
    ASSERT_TRUE(Fetch(request, server_.Url("/moved")));
    ASSERT_FALSE(request.Failed()) << request.ErrorDescription();
    EXPECT_EQ(request.status(), 200);
    EXPECT_EQ(request.statusText(), "OK");
    EXPECT_EQ(request.responseBody(), "body of 200");
}

TEST_F(HttpStatus, TenRedirectsAreFollowedElevenAreNot) {
    HttpRequest ten;
    ASSERT_TRUE(Fetch(ten, server_.Url("/redirect/10")));
    ASSERT_FALSE(ten.Failed()) << ten.ErrorDescription();
    EXPECT_EQ(ten.responseBody(), "arrived");

    HttpRequest eleven;
    ASSERT_TRUE(Fetch(eleven, server_.Url("/redirect/11")));
    ExpectTransferFailure(eleven);

    HttpRequest loop;
    ASSERT_TRUE(Fetch(loop, server_.Url("/loop")));
    ExpectTransferFailure(loop);
}

TEST_F(HttpStatus, RedirectToAFileUrlIsRefused) {
    HttpRequest request;
    ASSERT_TRUE(Fetch(request, server_.Url("/to-file")));
    ExpectTransferFailure(request);
}

TEST_F(HttpStatus, ConnectionRefusedIsAFailureNotAStatus) {
    // A bound socket that never listens: connecting is refused, and the port stays ours.
    const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(::bind(socket, reinterpret_cast<sockaddr*>(&address), length), 0);
    ASSERT_EQ(::getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length), 0);
    HttpRequest request;
    const auto ok =
        Fetch(request, "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/");
    ::close(socket);
    ASSERT_TRUE(ok);
    ExpectTransferFailure(request);
}

TEST(HttpReason, ServersReasonPhraseIsKeptAndAMissingOneIsStandard) {
    kestest::RawHttpServer custom("HTTP/1.1 404 Nothing To See Here \r\nContent-Length: 0\r\n\r\n");
    kestest::RawHttpServer bare("HTTP/1.1 404\r\nContent-Length: 0\r\n\r\n");
    kestest::RawHttpServer unknown("HTTP/1.1 299\r\nContent-Length: 0\r\n\r\n");
    HttpRequest request;
    ASSERT_TRUE(Fetch(request, custom.Url("/")));
    EXPECT_EQ(request.status(), 404);
    EXPECT_EQ(request.statusText(), "Nothing To See Here");
    ASSERT_TRUE(Fetch(request, bare.Url("/")));
    EXPECT_EQ(request.status(), 404);
    EXPECT_EQ(request.statusText(), "Not Found");
    ASSERT_TRUE(Fetch(request, unknown.Url("/")));
    EXPECT_EQ(request.status(), 299);
    EXPECT_EQ(request.statusText(), "");
}

TEST(HttpReason, InterimResponseIsPassedOver) {
    kestest::RawHttpServer server(
        "HTTP/1.1 103 Early Hints\r\nLink: </a.css>; rel=preload\r\n\r\n"
        "HTTP/1.1 200 Fine\r\nContent-Length: 4\r\n\r\npage");
    HttpRequest request;
    ASSERT_TRUE(Fetch(request, server.Url("/")));
    EXPECT_EQ(request.status(), 200);
    EXPECT_EQ(request.statusText(), "Fine");
    EXPECT_EQ(request.responseBody(), "page");
}

TEST(HttpTls, CertificateOutsideTheSystemStoreIsRefused) {
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
    HttpRequest request;
    const auto done = Fetch(request, "https://127.0.0.1:" + std::to_string(port) + "/");
    server.stop();
    serving.join();
    ASSERT_TRUE(done);
    ASSERT_TRUE(request.Failed());
    EXPECT_EQ(request.ErrorNumber(), httperr::kTransferFailed);
    EXPECT_NE(request.ErrorDescription().find("certificate"), std::string::npos)
        << request.ErrorDescription();
    EXPECT_TRUE(request.responseBody().empty());
}
