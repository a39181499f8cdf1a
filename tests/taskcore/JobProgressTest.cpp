#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "taskcore/JobProgress.h"
#include "tessel/Error.h"

namespace kestrova {
namespace {

JobProgress::SavedPathRule InDir() {
    return [](int32_t n, const std::string& url) { return "dir/" + std::to_string(n) + "-" + url; };
}

TEST(JobProgress, ResultsOnlySkipsArriveBeforeTheList) {
    JobProgress p(InDir());
    p.PageSkipped(1, "a");
    p.PageSkipped(3, "b");  // a repeated address used up number 2
    EXPECT_EQ(p.Rows().size(), 2u);
    p.ResultList("a\r\nb\r\n");
    const auto rows = p.ListedRows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].n, 3);
    EXPECT_EQ(rows[1].url, "b");
    EXPECT_EQ(rows[1].state, ResultState::Skipped);
    EXPECT_EQ(rows[1].detail, "");
}

TEST(JobProgress, PagesKeepListOrderWhateverOrderTheyEndIn) {
    JobProgress p(InDir());
    p.ResultList("a\r\nb\r\nc\r\nd\r\ne\r\n");
    EXPECT_EQ(p.ListedCount(), 5u);
    EXPECT_TRUE(p.Rows().empty());  // the list alone reports no page
    p.StartSavingPage(1, "a");
    p.StartSavingPage(2, "b");
    p.PageSkipped(3, "c");
    p.StartSavingPage(4, "d");
    p.SavingPageComplete("b", false, "Not Found");
    p.SavingPageComplete("a", true, "");
    for (const auto& rows : {p.Rows(), p.ListedRows()}) {
        EXPECT_EQ(rows[0].state, ResultState::Complete);
        EXPECT_EQ(rows[0].detail, "dir/1-a");
        EXPECT_EQ(rows[1].state, ResultState::Failed);
        EXPECT_EQ(rows[1].detail, "Not Found");
        EXPECT_EQ(rows[2].state, ResultState::Skipped);
        EXPECT_EQ(std::string(StateName(rows[3].state)), "Downloading");
    }
    EXPECT_EQ(p.Rows().size(), 4u);
    const auto rows = p.ListedRows();
    ASSERT_EQ(rows.size(), 5u);
    // Listed but never reported: its download could not start.
    EXPECT_FALSE(rows[4].n);
    EXPECT_EQ(std::string(StateName(rows[4].state)), "Failed");
    EXPECT_FALSE(rows[4].detail.empty());
    EXPECT_EQ(p.SavedFile(rows[4]), "");
}

TEST(JobProgress, EmptyListAndLastLineWithoutBreak) {
    JobProgress p(InDir());
    p.ResultList("");
    EXPECT_TRUE(p.ListedRows().empty());
    p.ResultList("a\r\nb");
    EXPECT_EQ(p.ListedRows().size(), 2u);
}

TEST(JobProgress, AnAddressIsReportedOnceAndCompletedOnlyWithARow) {
    JobProgress p(InDir());
    p.StartSavingPage(1, "a");
    EXPECT_THROW(p.PageSkipped(2, "a"), tessel::ComError);
    EXPECT_THROW(p.StartSavingPage(3, "a"), tessel::ComError);
    EXPECT_THROW(p.SavingPageComplete("A", true, ""), tessel::ComError);  // case matters
    ASSERT_EQ(p.Rows().size(), 1u);
    EXPECT_EQ(p.Rows()[0].n, 1);
    EXPECT_EQ(p.Rows()[0].state, ResultState::Downloading);
    // A new job frees the old job's addresses and forgets its list.
    p.ResultList("a\r\n");
    p.Clear();
    EXPECT_TRUE(p.Rows().empty());
    EXPECT_EQ(p.ListedCount(), 0u);
    p.PageSkipped(1, "a");
    EXPECT_EQ(p.Rows().size(), 1u);
}

// What an item model over the rows relies on: told before a change, while the rows are as
// they were, and after it; told nothing of a refused report.
class Recorder : public JobProgressListener {
  public:
    explicit Recorder(const JobProgress& p) : p_(p) {}
    std::vector<std::string> calls;

  private:
    void Note(const std::string& call) {
        calls.push_back(call + " " + std::to_string(p_.Rows().size()));
    }
    void RowsAboutToBeCleared() override { Note("clearing"); }
    void RowsCleared() override { Note("cleared"); }
    void RowAboutToBeAdded(std::size_t i) override { Note("adding " + std::to_string(i)); }
    void RowAdded() override { Note("added"); }
    void RowChanged(std::size_t i) override { Note(StateName(p_.Rows()[i].state)); }
    const JobProgress& p_;
};

TEST(JobProgress, TheListenerHearsBeforeAndAfterEveryChange) {
    JobProgress p(InDir());
    Recorder recorder(p);
    p.SetListener(&recorder);
    p.StartSavingPage(1, "a");
    p.PageSkipped(2, "b");
    EXPECT_THROW(p.PageSkipped(3, "b"), tessel::ComError);
    EXPECT_THROW(p.SavingPageComplete("c", true, ""), tessel::ComError);
    p.ResultList("a\r\nb\r\n");
    p.SavingPageComplete("a", false, "Cancelled");
    p.Clear();
    const std::vector<std::string> expected{"adding 0 0", "added 1",    "adding 1 1", "added 2",
                                            "Failed 2",   "clearing 2", "cleared 0"};
    EXPECT_EQ(recorder.calls, expected);
}

}  // namespace
}  // namespace kestrova
