#include <gtest/gtest.h>

#include <unistd.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <random>

#include "Gzip.h"
#include "LoopbackServer.h"
#include "RawHttpServer.h"
#include "TransferWait.h"
#include "platform/TransferLoop.h"

using platform::TransferEnd;
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

// Text that gzip shrinks about ten times, as it does real pages.
std::string RandomWords(size_t size) {
    static constexpr std::array<std::string_view, 8> kWords = {
        "kestrel", "search", "result", "page", "link", "folder", "keyword", "saver"};
    std::mt19937 random(7);
    std::string text;
    text.reserve(size + 16);
    while (text.size() < size) {
        text += kWords[random() % kWords.size()];
        text += ' ';
    }
    return text;
}

std::string GzipReply(const std::string& plain) {
    const auto packed = kestest::Gzip(plain);
    return "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Encoding: gzip\r\n"
           "Content-Length: " +
           std::to_string(packed.size()) + "\r\nConnection: close\r\n\r\n" + packed;
}

class TransferBody : public ::testing::Test {
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
    platform::TransferLoop loop_;
};

TEST_F(TransferBody, BytesArriveUnchangedIncludingNulAndHighBytes) {
    const auto bytes = AllByteValues();
    const auto big = RandomBytes(5 * 1024 * 1024);
    Serve("/bytes", bytes);
    Serve("/big", big);
    Serve("/empty", "");
    server_.Start();

    const auto small = Fetch(loop_, {.url = server_.Url("/bytes")});
    ASSERT_EQ(small.end, TransferEnd::Completed) << small.errorDescription;
    EXPECT_EQ(small.readyState, 4);
    EXPECT_EQ(small.body.Bytes(), bytes);

    const auto large = Fetch(loop_, {.url = server_.Url("/big")});
    EXPECT_EQ(large.body.Size(), static_cast<int64_t>(big.size()));
    EXPECT_TRUE(large.body.Bytes() == big);

    const auto empty = Fetch(loop_, {.url = server_.Url("/empty")});
    EXPECT_EQ(empty.end, TransferEnd::Completed);
    EXPECT_EQ(empty.status, 200);
    EXPECT_EQ(empty.body.Size(), 0);
}

TEST_F(TransferBody, GzipBodyIsDecoded) {
    const std::string page =
        "<html>" + std::string(20000, 'k') + std::string("\xE9\0tail", 6) + "</html>";
    kestest::RawHttpServer raw(GzipReply(page));
    const auto result = Fetch(loop_, {.url = raw.Url("/")});
    ASSERT_EQ(result.end, TransferEnd::Completed) << result.errorDescription;
    EXPECT_EQ(result.body.Bytes(), page);
}

TEST_F(TransferBody, BodyAtTheLimitIsKept) {
    Serve("/fixed", std::string(1000, 'a'));
    ServeChunked("/chunked", std::string(1000, 'b'));
    server_.Start();
    for (const auto& path : {"/fixed", "/chunked"}) {
        SCOPED_TRACE(path);
        const auto result = Fetch(loop_, {.url = server_.Url(path), .maxBodyBytes = 1000});
        EXPECT_EQ(result.end, TransferEnd::Completed) << result.errorDescription;
        EXPECT_EQ(result.body.Size(), 1000);
    }
}

TEST_F(TransferBody, OversizeBodyFailsWhetherDeclaredChunkedOrCompressed) {
    Serve("/declared", std::string(5000, 'a'));
    ServeChunked("/chunked", std::string(5000, 'b'));
    server_.Start();
    // Small on the wire, far over the limit once decoded.
    kestest::RawHttpServer packed(GzipReply(std::string(50000, 'z')));

    for (const auto& url : {server_.Url("/declared"), server_.Url("/chunked"), packed.Url("/")}) {
        SCOPED_TRACE(url);
        const auto result = Fetch(loop_, {.url = url, .maxBodyBytes = 1000});
        ASSERT_EQ(result.end, TransferEnd::Failed);
        EXPECT_EQ(result.errorNumber, httperr::kBodyTooLarge);
        EXPECT_NE(result.errorDescription.find("1000 bytes"), std::string::npos)
            << result.errorDescription;
        EXPECT_EQ(result.body.Size(), 0);
    }
}

// Past 16 MiB a body may not grow more than a hundred times when decoded; real pages shrink
// far less, so a large one still arrives whole.
TEST_F(TransferBody, ACompressionBombFailsAndALargeCompressedPageIsKept) {
    constexpr size_t kPast16MiB = 17 * 1024 * 1024;
    kestest::RawHttpServer bomb(GzipReply(std::string(kPast16MiB, '\0')));
    const auto bombed = Fetch(loop_, {.url = bomb.Url("/")});
    ASSERT_EQ(bombed.end, TransferEnd::Failed);
    EXPECT_EQ(bombed.errorNumber, httperr::kBodyInflates);
    EXPECT_FALSE(bombed.errorDescription.empty());
    EXPECT_EQ(bombed.body.Size(), 0);

    const auto page = RandomWords(kPast16MiB);
    kestest::RawHttpServer real(GzipReply(page));
    const auto kept = Fetch(loop_, {.url = real.Url("/")});
    ASSERT_EQ(kept.end, TransferEnd::Completed) << kept.errorDescription;
    EXPECT_EQ(kept.body.Size(), static_cast<int64_t>(page.size()));
    EXPECT_TRUE(kept.body.Bytes() == page);
}

// With a spool folder, a body past the threshold is not kept in memory: it is handed over
// as a file and saved whole, whether its length was declared or it came in chunks. A
// smaller one stays in memory.
TEST_F(TransferBody, WithASpoolFolderALargeBodyWaitsOnDiskAndIsSavedWhole) {
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
        const auto result =
            Fetch(loop_, {.url = server_.Url(path), .spoolFolder = folder.string()});
        ASSERT_EQ(result.end, TransferEnd::Completed) << result.errorDescription;
        const bool small = std::string(path) == "/small";
        EXPECT_EQ(result.body.IsSpooled(), !small);
        EXPECT_EQ(result.body.Bytes(), small ? "a small page" : "")
            << "a spooled body is not in memory";
        result.body.SaveAs((folder / "page").string());
        std::ifstream in(folder / "page", std::ios::binary);
        EXPECT_TRUE(std::string(std::istreambuf_iterator<char>(in), {}) ==
                    (small ? "a small page" : big));
    }
}

}  // namespace
