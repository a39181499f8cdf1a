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

}  // namespace
}  // namespace kestrova::cli
