#include <gtest/gtest.h>

#include <sstream>

#include "ResultWriter.h"

namespace kestrova::cli {
namespace {

std::string Written(OutputFormat format) {
    const std::vector<ResultRow> rows{
        {1, "http://a/", ResultState::Complete, "out/k/001-a.htm"},
        {std::nullopt, "http://b/\"q\"", ResultState::Failed, "line one\r\n\tline two"},
    };
    std::ostringstream out;
    WriteResults(out, rows, format);
    return out.str();
}

TEST(ResultWriter, EachFormatKeepsOneResultPerLine) {
    EXPECT_EQ(Written(OutputFormat::List), "http://a/\nhttp://b/\"q\"\n");
    EXPECT_EQ(Written(OutputFormat::Tsv),
              "1\thttp://a/\tComplete\tout/k/001-a.htm\n"
              "\thttp://b/\"q\"\tFailed\tline one   line two\n");
    EXPECT_EQ(
        Written(OutputFormat::Jsonl),
        "{\"n\":1,\"url\":\"http://a/\",\"state\":\"Complete\",\"detail\":\"out/k/001-a.htm\"}\n"
        "{\"n\":null,\"url\":\"http://b/\\\"q\\\"\",\"state\":\"Failed\","
        "\"detail\":\"line one\\r\\n\\tline two\"}\n");
}

TEST(ResultWriter, AKeywordLeadsEachTsvRowAndJsonlObjectAndLeavesTheListAlone) {
    const std::vector<ResultRow> rows{{1, "http://a/", ResultState::Skipped, ""}};
    std::ostringstream list, tsv, jsonl;
    const std::string keyword = "red\tkites \"f\xc3\xb6hn\"";
    WriteResults(list, rows, OutputFormat::List, keyword);
    WriteResults(tsv, rows, OutputFormat::Tsv, keyword);
    WriteResults(jsonl, rows, OutputFormat::Jsonl, keyword);
    EXPECT_EQ(list.str(), "http://a/\n");
    EXPECT_EQ(tsv.str(), "red kites \"f\xc3\xb6hn\"\t1\thttp://a/\tSkipped\t\n");
    EXPECT_EQ(jsonl.str(),
              "{\"keyword\":\"red\\tkites \\\"f\xc3\xb6hn\\\"\",\"n\":1,"
              "\"url\":\"http://a/\",\"state\":\"Skipped\",\"detail\":\"\"}\n");
}

TEST(ResultWriter, JsonStringsStayValidForAnyBytes) {
    EXPECT_EQ(JsonString("a\\b\x01\x7f"), "\"a\\\\b\\u0001\x7f\"");
    EXPECT_EQ(JsonString("caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80"),
              "\"caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80\"");
    // Bytes outside a well-formed sequence: a lone Latin-1 byte, a cut sequence, an
    // overlong form and an encoded surrogate.
    EXPECT_EQ(JsonString("caf\xe9"), "\"caf\\u00e9\"");
    EXPECT_EQ(JsonString("\xe2\x82"), "\"\\u00e2\\u0082\"");
    EXPECT_EQ(JsonString("\xc0\xaf"), "\"\\u00c0\\u00af\"");
    EXPECT_EQ(JsonString("\xed\xa0\x80"), "\"\\u00ed\\u00a0\\u0080\"");
}

}  // namespace
}  // namespace kestrova::cli
