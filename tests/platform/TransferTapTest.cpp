// The wire as a tap sees it: requests as sent, answers as they came, before libcurl
// de-chunks and decodes them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Gzip.h"
#include "RawHttpServer.h"
#include "TransferWait.h"
#include "platform/ExchangeTap.h"
#include "platform/TransferLoop.h"
#include "tessel/Digest.h"

using kestest::Fetch;
using platform::TransferEnd;

namespace {

// What the tap was shown, one entry per request. Written on the loop's thread before the
// result is handed over, read after it.
struct WireLog : platform::ExchangeTap {
    struct Exchange {
        std::string url, request, ip, head, body;
    };
    void RequestSent(std::string_view url, std::string_view head, std::string_view ip) override {
        exchanges.push_back({std::string(url), std::string(head), std::string(ip), {}, {}});
    }
    void HeadBytes(std::string_view bytes) override { exchanges.back().head += bytes; }
    void BodyBytes(std::string_view bytes) override { exchanges.back().body += bytes; }
    void Ended(TransferEnd end, int32_t errorNumber) override {
        ends.emplace_back(end, errorNumber);
    }
    std::vector<Exchange> exchanges;
    std::vector<std::pair<TransferEnd, int32_t>> ends;
};

std::string Chunk(const std::string& bytes) {
    char size[16];
    std::snprintf(size, sizeof size, "%zx\r\n", bytes.size());
    return size + bytes + "\r\n";
}

std::string Sha256(const std::string& bytes) {
    tessel::Digest digest(tessel::Digest::Algorithm::Sha256);
    digest.Update(bytes);
    return digest.Value();
}

TEST(TransferTap, SeesTheAnswerChunkedAndCompressedAsSentWhileTheBodyIsDecoded) {
    const std::string page = "<html>" + std::string(30000, 'w') + "</html>";
    const std::string packed = kestest::Gzip(page);
    const std::string head =
        "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Encoding: gzip\r\n"
        "Transfer-Encoding: chunked\r\n\r\n";
    const std::string wire = Chunk(packed.substr(0, 10)) + Chunk(packed.substr(10)) + "0\r\n\r\n";
    kestest::RawHttpServer server(head + wire);
    platform::TransferLoop loop;
    auto tap = std::make_shared<WireLog>();

    const auto result = Fetch(loop, {.url = server.Url("/page"), .hashBody = true, .tap = tap});
    ASSERT_EQ(result.end, TransferEnd::Completed) << result.errorDescription;
    EXPECT_EQ(result.body.Bytes(), page);
    EXPECT_EQ(result.body.Sha256(), Sha256(page)) << "the digest is of the decoded body";
    ASSERT_EQ(tap->exchanges.size(), 1u);
    const auto& exchange = tap->exchanges[0];
    EXPECT_EQ(exchange.url, server.Url("/page"));
    EXPECT_EQ(exchange.ip, "127.0.0.1");
    EXPECT_EQ(exchange.request, server.LastRequest());
    EXPECT_TRUE(exchange.request.starts_with("GET /page HTTP/1.1\r\n")) << exchange.request;
    EXPECT_EQ(exchange.head, head);
    EXPECT_TRUE(exchange.body == wire) << "chunk sizes and compressed bytes as they came";
    EXPECT_EQ(tap->ends,
              (std::vector<std::pair<TransferEnd, int32_t>>{{TransferEnd::Completed, 0}}));

    // Without a tap or a digest asked for, nothing is shown or computed.
    const auto plain = Fetch(loop, {.url = server.Url("/page")});
    EXPECT_EQ(plain.body.Bytes(), page);
    EXPECT_EQ(plain.body.Sha256(), "");
    EXPECT_EQ(tap->exchanges.size(), 1u);
}

TEST(TransferTap, AnInterimHeadComesTooAndACutAnswerEndsAsAFailure) {
    const std::string heads =
        "HTTP/1.1 103 Early Hints\r\nLink: </a.css>; rel=preload\r\n\r\n"
        "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n";
    kestest::RawHttpServer server(heads + "only part");
    platform::TransferLoop loop;
    auto tap = std::make_shared<WireLog>();

    const auto result = Fetch(loop, {.url = server.Url("/"), .tap = tap});
    EXPECT_EQ(result.end, TransferEnd::Failed);
    ASSERT_EQ(tap->exchanges.size(), 1u);
    // Both heads; libcurl may leave out the blank line after the interim one.
    EXPECT_TRUE(tap->exchanges[0].head.starts_with("HTTP/1.1 103 Early Hints\r\n"));
    EXPECT_TRUE(tap->exchanges[0].head.ends_with("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n"));
    EXPECT_EQ(tap->exchanges[0].body, "only part");
    EXPECT_EQ(tap->ends, (std::vector<std::pair<TransferEnd, int32_t>>{
                             {TransferEnd::Failed, platform::httperr::kTransferFailed}}));
}

}  // namespace
