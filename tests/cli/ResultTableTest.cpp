#include <gtest/gtest.h>

#include "ResultTable.h"

namespace kestrova::cli {
namespace {

ResultTable Table() {
    return ResultTable(
        [](int32_t n, const std::string& url) { return "dir/" + std::to_string(n) + "-" + url; });
}

TEST(ResultTable, ResultsOnlySkipsArriveBeforeTheList) {
    auto t = Table();
    t.PageSkipped(1, "a");
    t.PageSkipped(3, "b");  // a repeated address used up number 2
    t.ResultList("a\r\nb\r\n");
    const auto rows = t.Rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].n, 3);
    EXPECT_EQ(rows[1].url, "b");
    EXPECT_EQ(rows[1].state, ResultState::Skipped);
    EXPECT_EQ(rows[1].detail, "");
}

TEST(ResultTable, PagesKeepListOrderWhateverOrderTheyEndIn) {
    auto t = Table();
    t.ResultList("a\r\nb\r\nc\r\nd\r\ne\r\n");
    t.StartSavingPage(1, "a");
    t.StartSavingPage(2, "b");
    t.PageSkipped(3, "c");
    t.StartSavingPage(4, "d");
    t.SavingPageComplete("b", false, "Not Found");
    t.SavingPageComplete("a", true, "");
    const auto rows = t.Rows();
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0].state, ResultState::Complete);
    EXPECT_EQ(rows[0].detail, "dir/1-a");
    EXPECT_EQ(rows[1].state, ResultState::Failed);
    EXPECT_EQ(rows[1].detail, "Not Found");
    EXPECT_EQ(rows[2].state, ResultState::Skipped);
    EXPECT_EQ(std::string(StateName(rows[3].state)), "Downloading");
    // Listed but never reported: its download could not start.
    EXPECT_FALSE(rows[4].n);
    EXPECT_EQ(std::string(StateName(rows[4].state)), "Failed");
    EXPECT_FALSE(rows[4].detail.empty());
}

TEST(ResultTable, EmptyListAndLastLineWithoutBreak) {
    auto t = Table();
    t.ResultList("");
    EXPECT_TRUE(t.Rows().empty());
    t.ResultList("a\r\nb");
    EXPECT_EQ(t.Rows().size(), 2u);
}

}  // namespace
}  // namespace kestrova::cli
