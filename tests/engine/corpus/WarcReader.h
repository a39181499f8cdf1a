#pragma once

#include <map>
#include <string>
#include <vector>

namespace warctest {

// One record read back from a WARC file.
struct Record {
    std::map<std::string, std::string> fields;  // by name as written
    std::string block;
    long long offset = 0;  // where it begins in the file (for .gz, in the compressed file)

    std::string Field(const std::string& name) const {
        const auto found = fields.find(name);
        return found == fields.end() ? std::string() : found->second;
    }
};

// What a WARC file holds: its whole records, and whether anything follows the last whole
// one (a record a killed run was writing).
struct Contents {
    std::vector<Record> records;
    bool cutTail = false;
    int members = 0;  // gzip members, for a .gz file
};

// Reads `path` as WARC/1.1, plain or (".gz") as gzip members; a record that does not parse
// fails the test.
Contents ReadWarc(const std::string& path);

// Parts of an HTTP message block, as written: its head (up to and with the blank line)
// and what follows.
std::string HttpHead(const std::string& block);
std::string HttpBody(const std::string& block);
// The status of a response block ("HTTP/1.1 200 OK" gives 200).
int HttpStatus(const std::string& block);
// The value of a header of the block's head (name compared without case).
std::string HttpHeader(const std::string& block, const std::string& name);
// The payload of a response block: the body without its chunked framing, then decoded by its
// content coding (gzip, br) as a browser would.
std::string DecodedPayload(const std::string& block);
std::string Dechunked(const std::string& body);
// The payload of a response block as its digest covers it: the body without its chunked
// framing, still compressed.
std::string Payload(const std::string& block);
// "sha1:" and base 32.
std::string Sha1Label(const std::string& bytes);
std::string Sha256Hex(const std::string& bytes);

// Checks every record's block digest and every response's payload digest against its bytes;
// the responses by target address.
std::multimap<std::string, const Record*> CheckedResponses(const Contents& contents);

// One JSON object a line (a manifest), each value as its JSON text: "null" for null,
// strings without their quotes.
using JsonRow = std::map<std::string, std::string>;
std::vector<JsonRow> JsonLines(const std::string& text);
std::string ReadFile(const std::string& path);

}  // namespace warctest
