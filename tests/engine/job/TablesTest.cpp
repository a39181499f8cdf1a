#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fetchcore/CTask.h"
#include "job/PageFolder.h"
#include "job/ResultTable.h"

using fetchcore::ResultTable;

namespace {

tessel::RecordNode Page(const std::vector<std::string>& urls) {
    tessel::RecordNode page;
    int pos = 0;
    for (const auto& url : urls) {
        auto& child = page.Children().Add();
        child.Fields().Add("Pos", ++pos);
        child.Fields().Add("URL", url);
    }
    page.Fields().Add("NoMorePages", false);
    return page;
}

std::vector<std::pair<std::string, int32_t>> Listed(const ResultTable& table) {
    std::vector<std::pair<std::string, int32_t>> out;
    table.ForEach([&](const std::string& url, int32_t n) { out.emplace_back(url, n); });
    return out;
}

}  // namespace

TEST(ResultTable, NumbersFromTheStartAndARepeatKeepsItsFirstNumberButUsesOneUp) {
    ResultTable table;
    table.Number(Page({"http://a/", "http://b/", "http://a/", "http://c/"}), 11);
    table.Number(Page({"http://c/", "http://d/"}), 21);
    EXPECT_EQ(Listed(table),
              (std::vector<std::pair<std::string, int32_t>>{
                  {"http://a/", 11}, {"http://b/", 12}, {"http://c/", 14}, {"http://d/", 22}}));
    EXPECT_EQ(table.ListText(), "http://a/\r\nhttp://b/\r\nhttp://c/\r\nhttp://d/\r\n");
}

TEST(ResultTable, URLsDifferingInLetterCaseAreTwoResults) {
    ResultTable table;
    table.Number(Page({"http://a/X", "http://a/x"}), 1);
    EXPECT_EQ(table.Count(), 2);
    EXPECT_EQ(table.NumberOf("http://a/x"), 2);
}

TEST(ResultTable, AnEmptyTableListsNothing) {
    ResultTable table;
    table.Number(Page({}), 1);
    EXPECT_EQ(table.Count(), 0);
    EXPECT_EQ(table.ListText(), "");
}

TEST(ResultTable, FoundResultsKeepTitleAndSnippetAndPositionsBeforeTheRangeAreOnlyRemembered) {
    ResultTable table;
    using F = fetchcore::FoundResult;
    EXPECT_EQ(table.Number({F{"http://a/", "A", "a text"}, F{"http://b/", "B", ""},
                            F{"http://c/", "", "c text"}},
                           1, 2),
              3);
    // A second page repeats a, which was read before the range, and b, which was listed.
    EXPECT_EQ(
        table.Number({F{"http://a/", "A2", ""}, F{"http://b/", "", ""}, F{"http://d/", "D", "d"}},
                     4, 2),
        1);
    const auto& listed = table.Results();
    ASSERT_EQ(listed.size(), 3u);
    EXPECT_EQ(listed[0].url, "http://b/");
    EXPECT_EQ(listed[0].number, 2);
    EXPECT_EQ(listed[0].title, "B");
    EXPECT_EQ(listed[1].snippet, "c text");
    EXPECT_EQ(listed[2].url, "http://d/");
    EXPECT_EQ(listed[2].number, 6);
    EXPECT_EQ(listed[2].title, "D");
    EXPECT_EQ(table.ListText(), "http://b/\r\nhttp://c/\r\nhttp://d/\r\n");
}

TEST(PageFolder, TheSeparatorIsAppendedOnceAndWrittenBack) {
    fetchcore::CTask task;
    task.KW("kw");
    task.SaveResultsToFolder("/tmp/out");
    fetchcore::EnsureFolderSeparator(task);
    EXPECT_EQ(task.SaveResultsToFolder(), "/tmp/out/");
    fetchcore::EnsureFolderSeparator(task);
    EXPECT_EQ(task.SaveResultsToFolder(), "/tmp/out/");
    EXPECT_EQ(fetchcore::PageFolder(task), "/tmp/out/kw/");
}
