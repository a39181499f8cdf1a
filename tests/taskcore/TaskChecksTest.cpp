#include "taskcore/TaskChecks.h"

#include <gtest/gtest.h>

#include <ostream>
#include <stdexcept>
#include <string>

namespace kestrova {
namespace {

TaskFields ValidFields() {
    TaskFields f;
    f.keyword = "kestrova";
    f.searchUrl = "http://www.google.com/search?hl=en&q=kestrova";
    f.resultsFrom = "1";
    f.resultsTo = "10";
    f.resultsPerPage = "10";
    f.downloadPages = true;
    f.skipNonHtmlPages = true;
    f.saveTo = "/home/u/Documents/Kestrova/";
    return f;
}

void ExpectFailure(const TaskFields& f, const std::string& message, TaskControl focus) {
    const TaskCheckResult r = CheckTask(f);
    EXPECT_FALSE(r.task.has_value());
    EXPECT_EQ(r.falseCause, message);
    EXPECT_EQ(r.setFocusTo, focus);
}

TaskValues ExpectTask(const TaskCheckResult& r) {
    EXPECT_TRUE(r.falseCause.empty()) << r.falseCause;
    EXPECT_EQ(r.setFocusTo, TaskControl::None);
    if (!r.task) throw std::runtime_error("no task");
    return *r.task;
}

TEST(CheckTask, FillsTheTaskFromTrimmedFields) {
    TaskFields f = ValidFields();
    f.keyword = "  two words ";
    f.searchUrl = " http://www.google.com/search?hl=en&q=two+words  ";
    f.resultsFrom = " 3";
    f.resultsTo = "25";
    f.resultsPerPage = "20";
    f.saveTo = "  /tmp/out dir  ";
    const TaskCheckResult r = CheckTask(f);
    const TaskValues t = ExpectTask(r);
    EXPECT_EQ(t.KW, "two words");
    EXPECT_EQ(t.SearchURL, "http://www.google.com/search?hl=en&q=two+words");
    EXPECT_EQ(t.ResultsFrom, 3);
    EXPECT_EQ(t.ResultsTo, 25);
    EXPECT_EQ(t.ResultsPerPage, 20);
    EXPECT_TRUE(t.DownloadResultPages);
    EXPECT_TRUE(t.SkipNonHTMLFiles);
    EXPECT_EQ(t.SaveResultsToFolder, "/tmp/out dir");
}

TEST(CheckTask, KeywordMustNotBeBlank) {
    TaskFields f = ValidFields();
    f.keyword = "";
    ExpectFailure(f, "Please enter keyword.", TaskControl::Keyword);
    f.keyword = "    ";
    ExpectFailure(f, "Please enter keyword.", TaskControl::Keyword);
}

TEST(CheckTask, UrlMustNameGoogleInAnyCase) {
    TaskFields f = ValidFields();
    f.searchUrl = "http://www.example.com/search?q=x";
    ExpectFailure(f, "Invalid search URL. Please enter Google URL.", TaskControl::SearchURL);
    f.searchUrl = "   ";
    ExpectFailure(f, "Invalid search URL. Please enter Google URL.", TaskControl::SearchURL);
    f.searchUrl = "HTTP://WWW.GOOGLE.DE/search?q=x";
    EXPECT_EQ(ExpectTask(CheckTask(f)).SearchURL, "HTTP://WWW.GOOGLE.DE/search?q=x");
}

TEST(CheckTask, ASearxngAddressPassesForAGoogleOne) {
    TaskFields f = ValidFields();
    f.searchUrl = "https://searx.example/search?q=kestrova&format=json";
    EXPECT_TRUE(CheckTask(f).task.has_value());
    f.searchUrl = "https://searx.example/search?q=kestrova&format=html";
    ExpectFailure(f, "Invalid search URL. Please enter Google URL.", TaskControl::SearchURL);
}

TEST(CheckTask, TheBraveSearchApiPassesForAGoogleAddress) {
    TaskFields f = ValidFields();
    f.searchUrl = "https://api.search.brave.com/res/v1/web/search?q=kestrova";
    EXPECT_TRUE(CheckTask(f).task.has_value());
    f.searchUrl = "http://127.0.0.1:8080/res/v1/web/search?q=kestrova&country=de";
    EXPECT_TRUE(CheckTask(f).task.has_value());
    f.searchUrl = "https://api.search.brave.com/res/v1/news/search?q=kestrova";
    ExpectFailure(f, "Invalid search URL. Please enter Google URL.", TaskControl::SearchURL);
}

TEST(CheckTask, UrlMustNotCarryPagingParameters) {
    const std::string paging =
        "Invalid search URL. Please remove pagination parameters \"num\" and/or \"start\".";
    TaskFields f = ValidFields();
    for (const char* query :
         {"?q=x&num=5", "?num=5&q=x", "?q=x&start=10", "?start=1", "?q=x&NUM=5", "?q=x&Start=10"}) {
        f.searchUrl = std::string("http://www.google.com/search") + query;
        ExpectFailure(f, paging, TaskControl::SearchURL);
    }
    f.searchUrl = "http://www.google.com/search?q=x&number=5&started=1&num";
    EXPECT_TRUE(CheckTask(f).task.has_value());
}

struct RangeCase {
    const char* text;
    bool accepted;
};

void PrintTo(const RangeCase& c, std::ostream* os) {
    *os << '"' << c.text << (c.accepted ? "\" accepted" : "\" refused");
}

class FromField : public testing::TestWithParam<RangeCase> {};
class ToField : public testing::TestWithParam<RangeCase> {};
class PerPageField : public testing::TestWithParam<RangeCase> {};

const char* kRange = "Invalid result range. Please type a number in the range from 1 to 999.";
const char* kPerPage =
    "Invalid result per page value. Please type a number in the range from 1 to 100.";

TEST_P(FromField, AcceptsOneTo999) {
    TaskFields f = ValidFields();
    f.resultsFrom = GetParam().text;
    f.resultsTo = "999";
    if (GetParam().accepted)
        EXPECT_TRUE(CheckTask(f).task.has_value());
    else
        ExpectFailure(f, kRange, TaskControl::ResultsFrom);
}

TEST_P(ToField, AcceptsOneTo999) {
    TaskFields f = ValidFields();
    f.resultsFrom = "1";
    f.resultsTo = GetParam().text;
    if (GetParam().accepted)
        EXPECT_TRUE(CheckTask(f).task.has_value());
    else
        ExpectFailure(f, kRange, TaskControl::ResultsTo);
}

TEST_P(PerPageField, AcceptsOneTo100) {
    TaskFields f = ValidFields();
    f.resultsPerPage = GetParam().text;
    if (GetParam().accepted)
        EXPECT_TRUE(CheckTask(f).task.has_value());
    else
        ExpectFailure(f, kPerPage, TaskControl::ResultsPerPage);
}

// Texts are read as their leading number; fractions round down, oversized numbers fail.
const RangeCase kPositions[] = {
    {"0", false},    {"1", true},      {"999", true},          {"1000", false},
    {"-1", false},   {"", false},      {"abc", false},         {"0.9", false},
    {"1.9", true},   {"999.5", true},  {"12abc", true},        {" 7", true},
    {"&H3E7", true}, {"&H3E8", false}, {"99999999999", false}, {"-99999999999", false},
    {"1e3", false},  {"9.99e2", true}};
const RangeCase kPerPageCases[] = {{"0", false},    {"1", true},      {"100", true},
                                   {"101", false},  {"", false},      {"1e2", true},
                                   {"&O144", true}, {"100.99", true}, {"99999999999", false}};

INSTANTIATE_TEST_SUITE_P(Texts, FromField, testing::ValuesIn(kPositions));
INSTANTIATE_TEST_SUITE_P(Texts, ToField, testing::ValuesIn(kPositions));
INSTANTIATE_TEST_SUITE_P(Texts, PerPageField, testing::ValuesIn(kPerPageCases));

TEST(CheckTask, FirstPositionMayEqualButNotExceedTheLast) {
    TaskFields f = ValidFields();
    f.resultsFrom = "5";
    f.resultsTo = "5";
    const TaskValues t = ExpectTask(CheckTask(f));
    EXPECT_EQ(t.ResultsFrom, 5);
    EXPECT_EQ(t.ResultsTo, 5);
    f.resultsFrom = "6";
    ExpectFailure(f, "Invalid result range. ", TaskControl::ResultsTo);
}

TEST(CheckTask, WithoutDownloadTheFolderIsNeitherCheckedNorKept) {
    TaskFields f = ValidFields();
    f.downloadPages = false;
    f.skipNonHtmlPages = true;
    f.saveTo = "";
    TaskCheckResult r = CheckTask(f);
    EXPECT_FALSE(ExpectTask(r).DownloadResultPages);
    EXPECT_EQ(ExpectTask(r).SaveResultsToFolder, "");
    EXPECT_FALSE(ExpectTask(r).SkipNonHTMLFiles);
    f.saveTo = "/tmp/somewhere";
    r = CheckTask(f);
    EXPECT_EQ(ExpectTask(r).SaveResultsToFolder, "");
}

TEST(CheckTask, WithDownloadTheFolderIsRequired) {
    TaskFields f = ValidFields();
    f.saveTo = "   ";
    ExpectFailure(f, "Invalid output folder. Please enter correct folder name.",
                  TaskControl::SaveTo);
    f.saveTo = "/tmp/out";
    f.skipNonHtmlPages = false;
    const TaskCheckResult r = CheckTask(f);
    EXPECT_EQ(ExpectTask(r).SaveResultsToFolder, "/tmp/out");
    EXPECT_FALSE(ExpectTask(r).SkipNonHTMLFiles);
}

TEST(CheckTask, OnlyTheFirstFailedCheckIsReported) {
    TaskFields f;  // every field empty
    ExpectFailure(f, "Please enter keyword.", TaskControl::Keyword);
    f.keyword = "x";
    ExpectFailure(f, "Invalid search URL. Please enter Google URL.", TaskControl::SearchURL);
    f.searchUrl = "http://www.google.com/search?q=x&num=5";
    ExpectFailure(f,
                  "Invalid search URL. Please remove pagination parameters \"num\" and/or "
                  "\"start\".",
                  TaskControl::SearchURL);
    f.searchUrl = "http://www.google.com/search?q=x";
    f.resultsFrom = "0";
    f.resultsTo = "0";
    ExpectFailure(f, kRange, TaskControl::ResultsFrom);
    f.resultsFrom = "10";
    f.resultsTo = "1000";
    ExpectFailure(f, kRange, TaskControl::ResultsTo);
    f.resultsTo = "9";
    ExpectFailure(f, "Invalid result range. ", TaskControl::ResultsTo);
    f.resultsTo = "10";
    ExpectFailure(f, kPerPage, TaskControl::ResultsPerPage);
    f.resultsPerPage = "10";
    ExpectFailure(f, "Invalid output folder. Please enter correct folder name.",
                  TaskControl::SaveTo);
    f.saveTo = "/tmp";
    EXPECT_TRUE(CheckTask(f).task.has_value());
}

}  // namespace
}  // namespace kestrova
