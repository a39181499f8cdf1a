// The tap's side of the WARC file: what it keeps of the exchanges it is shown, in the shapes
// libcurl shows them (checked on the wire in the platform's tap tests).
#include <gtest/gtest.h>

#include <filesystem>

#include "WarcReader.h"
#include "corpus/ChunkedBody.h"
#include "corpus/ExchangeRecorder.h"
#include "corpus/WarcRecord.h"
#include "platform/Transfer.h"
#include "tessel/Digest.h"

namespace {

using fetchcore::ExchangeRecorder;
using platform::TransferEnd;

std::string Sha1(const std::string& bytes) {
    return fetchcore::Sha1Of(bytes);
}

std::string Dechunk(const std::string& body, std::size_t piece) {
    std::string data;
    fetchcore::ChunkedBody chunked([&](std::string_view bytes) { data += bytes; });
    for (std::size_t at = 0; at < body.size(); at += piece) chunked.Feed(body.substr(at, piece));
    return data;
}

TEST(ChunkedBody, HandsOnTheDataHoweverThePiecesFallAndStopsAtTheLastChunk) {
    const std::string body =
        "5;name=value\r\nhello\r\n1A\r\nabcdefghijklmnopqrstuvwxyz\r\n0\r\nX-Trailer: t\r\n\r\n"
        "junk after the body";
    for (std::size_t piece : {1u, 2u, 7u, 1000u}) {
        EXPECT_EQ(Dechunk(body, piece), "helloabcdefghijklmnopqrstuvwxyz") << piece;
    }
    EXPECT_EQ(Dechunk("a\r\n0123", 3), "0123") << "a body cut in a chunk hands on what came";
}

class Recorder : public ::testing::Test {
  protected:
    std::string folder_ = std::filesystem::temp_directory_path().string();
    ExchangeRecorder recorder_{folder_};
};

TEST_F(Recorder, KeepsTheFinalAnswerAsItCameWithItsDigestsAndWithholdsCredentials) {
    recorder_.RequestSent("http://user:pw@example.org:8080/p?q=1",
                          "GET http://user:pw@example.org:8080/p?q=1 HTTP/1.1\r\n"
                          "Host: example.org:8080\r\nGET: http://user:pw@example.org:8080/p?q=1\r\n"
                          "Authorization: Basic dXNlcjpwdw==\r\nX-Subscription-Token: key123\r\n"
                          "proxy-authorization: Basic cHJveHk6cHc=\r\nAccept: */*\r\n\r\n",
                          "192.0.2.7");
    // An interim answer whose end libcurl left out, then the final one, line by line.
    for (const char* line :
         {"HTTP/1.1 103 Early Hints\r\n", "Link: </a.css>\r\n", "HTTP/1.1 200 OK\r\n",
          "Content-Type: text/html\r\n", "Transfer-Encoding: chunked\r\n", "\r\n"}) {
        recorder_.HeadBytes(line);
    }
    const std::string wire = "4\r\nwiki\r\n3;x=y\r\npad\r\n0\r\n\r\n";
    recorder_.BodyBytes(wire.substr(0, 9));
    recorder_.BodyBytes(wire.substr(9));
    recorder_.HeadBytes("X-Trailer: after\r\n");  // trailers change nothing
    recorder_.Ended(TransferEnd::Completed, 0);

    EXPECT_EQ(recorder_.Failure(), "");
    ASSERT_EQ(recorder_.Exchanges().size(), 1u);
    const auto& exchange = recorder_.Exchanges()[0];
    EXPECT_EQ(exchange.url, "http://example.org:8080/p?q=1");
    EXPECT_EQ(exchange.ip, "192.0.2.7");
    EXPECT_EQ(exchange.request,
              "GET http://example.org:8080/p?q=1 HTTP/1.1\r\nHost: example.org:8080\r\n"
              "GET: http://example.org:8080/p?q=1\r\nAuthorization: (withheld)\r\n"
              "X-Subscription-Token: (withheld)\r\nproxy-authorization: (withheld)\r\n"
              "Accept: */*\r\n\r\n");
    const std::string head =
        "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nTransfer-Encoding: chunked\r\n\r\n";
    EXPECT_EQ(exchange.head, head);
    EXPECT_TRUE(exchange.headWhole);
    EXPECT_FALSE(exchange.http2);
    EXPECT_EQ(exchange.body.Bytes(), wire);
    EXPECT_FALSE(exchange.truncated);
    EXPECT_EQ(exchange.blockDigest, Sha1(head + wire));
    EXPECT_EQ(exchange.payloadDigest, Sha1("wikipad"));
}

// libcurl 7.88 shows an HTTP/2 request line as "HTTP/2", its status line as "HTTP/2 200 "
// and lower-case names; the records read as HTTP/1.1 with the headers as they came.
TEST_F(Recorder, WritesHttp2InHttp11Syntax) {
    recorder_.RequestSent("https://example.org/x",
                          "GET /x HTTP/2\r\nHost: example.org\r\naccept: */*\r\n"
                          "x-subscription-token: key123\r\n\r\n",
                          "2001:db8::1");
    for (const char* line : {"HTTP/2 404 \r\n", "content-type: text/html\r\n", "\r\n"}) {
        recorder_.HeadBytes(line);
    }
    recorder_.BodyBytes("gone");
    recorder_.Ended(TransferEnd::Completed, 0);
    const auto& exchange = recorder_.Exchanges().at(0);
    EXPECT_TRUE(exchange.http2);
    EXPECT_EQ(exchange.request,
              "GET /x HTTP/1.1\r\nHost: example.org\r\naccept: */*\r\n"
              "x-subscription-token: (withheld)\r\n\r\n");
    EXPECT_EQ(exchange.head, "HTTP/1.1 404 Not Found\r\ncontent-type: text/html\r\n\r\n");
    EXPECT_EQ(exchange.payloadDigest, Sha1("gone"));
}

// Each redirect's exchange ends whole when the next request goes out; the last one says how
// the transfer ended when it did not come whole.
TEST_F(Recorder, EveryHopIsKeptAndACutAnswerSaysWhy) {
    using platform::httperr::kBodyTooLarge;
    for (const auto& [end, reason] :
         std::vector<std::pair<std::pair<TransferEnd, int32_t>, const char*>>{
             {{TransferEnd::TimedOut, 0}, "time"},
             {{TransferEnd::Failed, platform::httperr::kTransferFailed}, "disconnect"},
             {{TransferEnd::Failed, kBodyTooLarge}, "length"}}) {
        ExchangeRecorder recorder(folder_);
        recorder.RequestSent("http://a/1", "GET /1 HTTP/1.1\r\n\r\n", "127.0.0.1");
        recorder.HeadBytes("HTTP/1.1 301 Moved Permanently\r\nLocation: /2\r\n\r\n");
        recorder.BodyBytes("moved");
        recorder.RequestSent("http://a/2", "GET /2 HTTP/1.1\r\n\r\n", "127.0.0.1");
        recorder.HeadBytes("HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\n");
        recorder.BodyBytes("part");
        recorder.Ended(end.first, end.second);
        ASSERT_EQ(recorder.Exchanges().size(), 2u);
        EXPECT_FALSE(recorder.Exchanges()[0].truncated);
        EXPECT_EQ(recorder.Exchanges()[0].blockDigest,
                  Sha1("HTTP/1.1 301 Moved Permanently\r\nLocation: /2\r\n\r\nmoved"));
        EXPECT_EQ(recorder.Exchanges()[1].truncated.value_or(""), reason);
        EXPECT_EQ(recorder.Exchanges()[1].payloadDigest, Sha1("part"));
    }
}

}  // namespace
