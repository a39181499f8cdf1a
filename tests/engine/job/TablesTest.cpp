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
