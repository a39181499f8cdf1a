#include "WarcReader.h"

#include <brotli/decode.h>
#include <gtest/gtest.h>
#include <simdjson.h>
#include <zlib.h>

#include <fstream>
#include <iterator>
#include <sstream>

#include "tessel/Digest.h"
#include "tessel/Text.h"

namespace warctest {
namespace {

// Inflates one gzip member from `at`; moves `at` past it. False when the member is cut.
bool InflateMember(const std::string& packed, std::size_t& at, std::string& plain) {
    z_stream stream{};
    if (inflateInit2(&stream, 15 + 16) != Z_OK) return false;
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data() + at));
    stream.avail_in = static_cast<uInt>(packed.size() - at);
    std::string out(1 << 16, '\0');
    int status = Z_OK;
    while (status == Z_OK) {
        stream.next_out = reinterpret_cast<Bytef*>(out.data());
        stream.avail_out = static_cast<uInt>(out.size());
        status = inflate(&stream, Z_NO_FLUSH);
        plain.append(out.data(), out.size() - stream.avail_out);
        if (status == Z_BUF_ERROR && stream.avail_in == 0) break;
    }
    at += stream.total_in;
    inflateEnd(&stream);
    return status == Z_STREAM_END;
}

// Reads the whole records of `text` from `at`; false when something that is not one follows.
bool ParseRecords(const std::string& text, std::size_t& at, std::vector<Record>& records,
                  long long offset) {
    while (at < text.size()) {
        const auto headEnd = text.find("\r\n\r\n", at);
        if (text.compare(at, 10, "WARC/1.1\r\n") != 0 || headEnd == std::string::npos) return false;
        Record record;
        record.offset = offset >= 0 ? offset : static_cast<long long>(at);
        std::size_t line = at + 10;
        while (line < headEnd + 2) {
            const auto end = text.find("\r\n", line);
            const auto colon = text.find(':', line);
            if (colon == std::string::npos || colon > end) return false;
            record.fields[text.substr(line, colon - line)] = std::string(
                tessel::TrimBlanks(std::string_view(text).substr(colon + 1, end - colon - 1)));
            line = end + 2;
        }
        const std::size_t length = std::stoull(record.Field("Content-Length"));
        const std::size_t blockAt = headEnd + 4;
        if (blockAt + length + 4 > text.size() ||
            text.compare(blockAt + length, 4, "\r\n\r\n") != 0) {
            return false;
        }
        record.block = text.substr(blockAt, length);
        records.push_back(std::move(record));
        at = blockAt + length + 4;
    }
    return true;
}

}  // namespace

Contents ReadWarc(const std::string& path) {
    const std::string file = ReadFile(path);
    Contents contents;
    if (!tessel::EndsWithNoCase(path, ".gz")) {
        std::size_t at = 0;
        contents.cutTail = !ParseRecords(file, at, contents.records, -1);
        return contents;
    }
    for (std::size_t at = 0; at < file.size();) {
        const auto start = at;
        std::string plain;
        if (!InflateMember(file, at, plain)) {
            contents.cutTail = true;
            break;
        }
        ++contents.members;
        std::size_t parsed = 0;
        const auto before = contents.records.size();
        // Every record is a member of its own: one record, whole, in each.
        EXPECT_TRUE(ParseRecords(plain, parsed, contents.records, static_cast<long long>(start)));
        EXPECT_EQ(contents.records.size(), before + 1) << "member at " << start;
    }
    return contents;
}

std::string HttpHead(const std::string& block) {
    const auto end = block.find("\r\n\r\n");
    return end == std::string::npos ? block : block.substr(0, end + 4);
}

std::string HttpBody(const std::string& block) {
    return block.substr(HttpHead(block).size());
}

int HttpStatus(const std::string& block) {
    const auto blank = block.find(' ');
    return blank == std::string::npos ? 0 : std::atoi(block.c_str() + blank + 1);
}

std::string HttpHeader(const std::string& block, const std::string& name) {
    const std::string head = HttpHead(block);
    for (std::size_t line = head.find("\r\n") + 2; line < head.size();) {
        const auto end = head.find("\r\n", line);
        const std::string_view text(head.data() + line, end - line);
        if (tessel::StartsWithNoCase(text, name + ":")) {
            return std::string(tessel::TrimBlanks(text.substr(name.size() + 1), " \t"));
        }
        line = end + 2;
    }
    return {};
}

std::string Dechunked(const std::string& body) {
    std::string data;
    for (std::size_t at = 0; at < body.size();) {
        const auto lineEnd = body.find("\r\n", at);
        const std::size_t size = std::stoull(body.substr(at, lineEnd - at), nullptr, 16);
        if (size == 0) break;
        data += body.substr(lineEnd + 2, size);
        at = lineEnd + 2 + size + 2;
    }
    return data;
}

std::string Payload(const std::string& block) {
    const bool chunked =
        tessel::LowerAscii(HttpHeader(block, "Transfer-Encoding")).find("chunked") !=
        std::string::npos;
    return chunked ? Dechunked(HttpBody(block)) : HttpBody(block);
}

std::string DecodedPayload(const std::string& block) {
    std::string payload = Payload(block);
    const std::string coding = tessel::LowerAscii(HttpHeader(block, "Content-Encoding"));
    if (coding == "gzip") {
        std::size_t at = 0;
        std::string plain;
        EXPECT_TRUE(InflateMember(payload, at, plain)) << "a whole gzip body";
        return plain;
    }
    if (coding == "br") {
        std::string plain(64 << 20, '\0');
        std::size_t size = plain.size();
        EXPECT_EQ(BrotliDecoderDecompress(payload.size(),
                                          reinterpret_cast<const uint8_t*>(payload.data()), &size,
                                          reinterpret_cast<uint8_t*>(plain.data())),
                  BROTLI_DECODER_RESULT_SUCCESS);
        plain.resize(size);
        return plain;
    }
    EXPECT_EQ(coding, "") << "a content coding the test does not know";
    return payload;
}

std::string Sha1Label(const std::string& bytes) {
    tessel::Digest digest(tessel::Digest::Algorithm::Sha1);
    digest.Update(bytes);
    return "sha1:" + tessel::Base32(digest.Value());
}

std::string Sha256Hex(const std::string& bytes) {
    tessel::Digest digest(tessel::Digest::Algorithm::Sha256);
    digest.Update(bytes);
    return tessel::Hex(digest.Value());
}

std::multimap<std::string, const Record*> CheckedResponses(const Contents& contents) {
    std::multimap<std::string, const Record*> responses;
    for (const auto& record : contents.records) {
        EXPECT_EQ(record.Field("WARC-Block-Digest"), Sha1Label(record.block));
        if (record.Field("WARC-Type") != "response") continue;
        EXPECT_EQ(record.Field("WARC-Payload-Digest"), Sha1Label(Payload(record.block)));
        responses.emplace(record.Field("WARC-Target-URI"), &record);
    }
    return responses;
}

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

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace warctest
