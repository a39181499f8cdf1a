#include <gtest/gtest.h>
#include <zlib.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "LoopbackServer.h"
#include "Polling.h"
#include "RawHttpServer.h"
#include "platform/HttpRequest.h"

using platform::HttpRequest;
namespace httperr = platform::httperr;
using kestest::Fetch;

namespace {

std::string AllByteValues() {
    std::string bytes;
    for (int round = 0; round < 4; ++round) {
        for (int value = 0; value < 256; ++value) {
            bytes.push_back(static_cast<char>(value));
        }
    }
    return bytes;
}

std::string RandomBytes(size_t size) {
    std::mt19937 random(7);
    std::string bytes(size, '\0');
    for (auto& byte : bytes) {
        byte = static_cast<char>(random() & 0xFF);
    }
    return bytes;
}

std::string Gzip(const std::string& plain) {
    z_stream stream{};
    // windowBits 15 + 16 writes the gzip wrapper rather than zlib's.
    EXPECT_EQ(deflateInit2(&stream, 9, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY), Z_OK);
    std::string packed(deflateBound(&stream, plain.size()), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(plain.data()));
    stream.avail_in = static_cast<uInt>(plain.size());
    stream.next_out = reinterpret_cast<Bytef*>(packed.data());
    stream.avail_out = static_cast<uInt>(packed.size());
    EXPECT_EQ(deflate(&stream, Z_FINISH), Z_STREAM_END);
    packed.resize(stream.total_out);
    deflateEnd(&stream);
    return packed;
}

std::string GzipReply(const std::string& plain) {
    const auto packed = Gzip(plain);
    return "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Encoding: gzip\r\n"
           "Content-Length: " +
           std::to_string(packed.size()) + "\r\nConnection: close\r\n\r\n" + packed;
}

// Lowers the body limit for one test and restores it whatever happens.
struct BodyLimit {
    explicit BodyLimit(int64_t bytes) { HttpRequest::SetMaxBodyBytesForTesting(bytes); }
    ~BodyLimit() { HttpRequest::SetMaxBodyBytesForTesting(0); }
};

class HttpBody : public ::testing::Test {
  protected:
    void Serve(const std::string& path, std::string body) {
        server_.Http().Get(path, [body](const httplib::Request&, httplib::Response& res) {
            res.set_content(body, "application/octet-stream");
        });
    }
    void ServeChunked(const std::string& path, std::string body) {
        server_.Http().Get(path, [body](const httplib::Request&, httplib::Response& res) {
            res.set_chunked_content_provider(
                "application/octet-stream", [body](size_t, httplib::DataSink& sink) {
                    // Several chunks, so the limit is crossed part-way through.
                    for (size_t at = 0; at < body.size(); at += 700) {
                        sink.write(body.data() + at, std::min<size_t>(700, body.size() - at));
                    }
                    sink.done();
                    return true;
                });
        });
    }

    kestest::LoopbackServer server_;
    HttpRequest request_;
};

}  // namespace

TEST_F(HttpBody, BytesArriveUnchangedIncludingNulAndHighBytes) {
    const auto bytes = AllByteValues();
    const auto big = RandomBytes(5 * 1024 * 1024);
    Serve("/bytes", bytes);
    Serve("/big", big);
    Serve("/empty", "");
    server_.Start();

    ASSERT_TRUE(Fetch(request_, server_.Url("/bytes")));
    ASSERT_FALSE(request_.Failed()) << request_.ErrorDescription();
    EXPECT_EQ(request_.responseBody(), bytes);

    HttpRequest second;
    ASSERT_TRUE(Fetch(second, server_.Url("/big")));
    EXPECT_EQ(second.responseBody().size(), big.size());
    EXPECT_TRUE(second.responseBody() == big);

    HttpRequest third;
    ASSERT_TRUE(Fetch(third, server_.Url("/empty")));
    EXPECT_EQ(third.status(), 200);
    EXPECT_TRUE(third.responseBody().empty());
}

TEST_F(HttpBody, GzipBodyIsDecoded) {
    const std::string page =
        "<html>" + std::string(20000, 'k') + std::string("\xE9\0tail", 6) + "</html>";
    kestest::RawHttpServer raw(GzipReply(page));
    ASSERT_TRUE(Fetch(request_, raw.Url("/")));
    ASSERT_FALSE(request_.Failed()) << request_.ErrorDescription();
    EXPECT_EQ(request_.responseBody(), page);
}

TEST_F(HttpBody, BodyAtTheLimitIsKept) {
    BodyLimit limit(1000);
    Serve("/fixed", std::string(1000, 'a'));
    ServeChunked("/chunked", std::string(1000, 'b'));
    server_.Start();
    ASSERT_TRUE(Fetch(request_, server_.Url("/fixed")));
    EXPECT_FALSE(request_.Failed()) << request_.ErrorDescription();
    EXPECT_EQ(request_.responseBody().size(), 1000u);
    HttpRequest chunked;
    ASSERT_TRUE(Fetch(chunked, server_.Url("/chunked")));
    EXPECT_FALSE(chunked.Failed()) << chunked.ErrorDescription();
    EXPECT_EQ(chunked.responseBody().size(), 1000u);
}

TEST_F(HttpBody, OversizeBodyFailsWhetherDeclaredChunkedOrCompressed) {
    BodyLimit limit(1000);
    Serve("/declared", std::string(5000, 'a'));
    ServeChunked("/chunked", std::string(5000, 'b'));
    server_.Start();
    // Small on the wire, far over the limit once decoded.
    kestest::RawHttpServer bomb(GzipReply(std::string(50000, 'z')));

    for (const auto& url : {server_.Url("/declared"), server_.Url("/chunked"), bomb.Url("/")}) {
        SCOPED_TRACE(url);
        HttpRequest request;
        ASSERT_TRUE(Fetch(request, url));
        EXPECT_EQ(request.readyState(), 4);
        ASSERT_TRUE(request.Failed());
        EXPECT_EQ(request.ErrorNumber(), httperr::kBodyTooLarge);
        EXPECT_NE(request.ErrorDescription().find("1000 bytes"), std::string::npos)
            << request.ErrorDescription();
        EXPECT_TRUE(request.responseBody().empty());
        try {
            (void)request.status();
            ADD_FAILURE() << "status() of a failed transfer must throw";
        } catch (const tessel::ComError& error) {
            EXPECT_EQ(error.Number(), httperr::kBodyTooLarge);
        }
    }
}

// With a spool folder, a body past the threshold is not kept in memory: it is handed over
// as a file and saved whole, whether its length was declared or it came in chunks. A
// smaller one stays in memory.
TEST_F(HttpBody, WithASpoolFolderALargeBodyWaitsOnDiskAndIsSavedWhole) {
    const auto big = RandomBytes(platform::ResponseBody::kSpoolThreshold + 4097);
    Serve("/declared", big);
    ServeChunked("/chunked", big);
    Serve("/small", "a small page");
    server_.Start();
    const auto folder =
        std::filesystem::temp_directory_path() / ("kes-spool-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    struct Removed {
        std::filesystem::path path;
        ~Removed() { std::filesystem::remove_all(path); }
    } removed{folder};

    for (const auto& path : {"/declared", "/chunked", "/small"}) {
        SCOPED_TRACE(path);
        HttpRequest request;
        request.open("GET", server_.Url(path));
        request.setSpoolFolder(folder.string());
        request.send();
        ASSERT_TRUE(kestest::PollUntil(request, 4));
        ASSERT_FALSE(request.Failed()) << request.ErrorDescription();
        auto body = request.takeResponseBody();
        const bool small = std::string(path) == "/small";
        EXPECT_EQ(body.IsSpooled(), !small);
        EXPECT_EQ(body.Bytes(), small ? "a small page" : "") << "a spooled body is not in memory";
        body.SaveAs((folder / "page").string());
        std::ifstream in(folder / "page", std::ios::binary);
        EXPECT_TRUE(std::string(std::istreambuf_iterator<char>(in), {}) ==
                    (small ? "a small page" : big));
    }
}
