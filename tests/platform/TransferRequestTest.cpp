// What a request sends, and what it refuses to send.
#include <gtest/gtest.h>

#include "RawHttpServer.h"
#include "TransferWait.h"
#include "platform/TransferLoop.h"

using kestest::Fetch;
using platform::TransferEnd;
namespace httperr = platform::httperr;

namespace {

class TransferRequest : public ::testing::Test {
  protected:
    kestest::RawHttpServer server_{"HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok"};
    platform::TransferLoop loop_;
};

TEST_F(TransferRequest, CarriesItsHeadersExactly) {
    const auto url = server_.Url("/search?q=a%20b&num=10");
    const auto result =
        Fetch(loop_, {.url = url, .headerLines = {"GET: " + url, "Range: bytes=0-99", "X-Empty;"}});
    ASSERT_EQ(result.end, TransferEnd::Completed) << result.errorDescription;

    const auto head = server_.LastRequest();
    EXPECT_EQ(head.rfind("GET /search?q=a%20b&num=10 HTTP/1.1\r\n", 0), 0u) << head;
    EXPECT_NE(head.find("\r\nGET: " + url + "\r\n"), std::string::npos) << head;
    EXPECT_NE(head.find("\r\nRange: bytes=0-99\r\n"), std::string::npos) << head;
    EXPECT_NE(head.find("\r\nX-Empty:"), std::string::npos) << head;
    EXPECT_NE(head.find("\r\nUser-Agent: Kestrova/"), std::string::npos) << head;
    EXPECT_NE(head.find("\r\nAccept-Encoding: "), std::string::npos) << head;
}

TEST_F(TransferRequest, BlanksInTheUrlAreEscapedAndTheSchemeIsCaseBlind) {
    auto url = server_.Url("/a b?q=c d");
    url.replace(0, 4, "HTTP");
    const auto result = Fetch(loop_, {.url = url});
    ASSERT_EQ(result.end, TransferEnd::Completed) << result.errorDescription;
    const auto head = server_.LastRequest();
    EXPECT_EQ(head.rfind("GET /a%20b?q=c%20d HTTP/1.1\r\n", 0), 0u) << head;
}

TEST_F(TransferRequest, ARequestThatWouldBreakIsRefusedUnsent) {
    const auto good = server_.Url("/");
    const std::vector<platform::TransferRequest> refused = {
        {.url = "ftp://127.0.0.1/"},
        {.url = "file:///etc/hostname"},
        {.url = "127.0.0.1/"},
        {.url = good + "\r\nHost: evil"},
        {.url = good, .headerLines = {"X: a\r\nHost: evil"}},
        {.url = good, .headerLines = {"X y: a"}},
        {.url = good, .headerLines = {": a"}},
        {.url = good, .headerLines = {"X"}},
    };
    for (const auto& request : refused) {
        SCOPED_TRACE(request.url + (request.headerLines.empty() ? "" : request.headerLines[0]));
        const auto result = Fetch(loop_, request);
        EXPECT_EQ(result.end, TransferEnd::Failed);
        EXPECT_EQ(result.errorNumber, httperr::kInvalidArgument);
        EXPECT_FALSE(result.errorDescription.empty());
    }
    EXPECT_EQ(server_.LastRequest(), "") << "a refused request reached the server";
}

TEST_F(TransferRequest, ARefusedHeaderIsNamedWithoutItsValue) {
    const auto result = Fetch(loop_, {.url = server_.Url("/"),
                                      .headerLines = {"X-Subscription-Token: s3cret\r\nHost: x"}});
    EXPECT_EQ(result.errorNumber, httperr::kInvalidArgument);
    EXPECT_EQ(result.errorDescription,
              "Header 'X-Subscription-Token' is not a valid request header. ");
}

TEST(TransferAvailability, LibcurlInitialises) {
    EXPECT_TRUE(platform::HttpAvailable());
}

}  // namespace
