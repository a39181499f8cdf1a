// The real kestrova-cli program against the search-engine double.
#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "CliProcess.h"
#include "serpdouble/SerpDouble.h"

namespace {

namespace fs = std::filesystem;
using cli_test::CliProcess;
using serpdouble::Fault;
using serpdouble::LinkKind;
using serpdouble::SerpDouble;

constexpr std::chrono::seconds kPatience{20};

using cli_test::Lines;
using cli_test::ReadFile;

class CliRun : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("kes-cli-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    SerpDouble& Serve(SerpDouble::Options options = {}) {
        server_ = std::make_unique<SerpDouble>(std::move(options));
        server_->Start();
        return *server_;
    }
    std::string Url() const { return server_->SearchURL("kestrova"); }
    std::string Appdata() const { return (dir_ / "appdata").string(); }
    cli_test::CliResult Run(std::vector<std::string> args) {
        return cli_test::RunCli(args, Appdata());
    }
    void WaitForStall() {
        ASSERT_TRUE(server_->WaitFor([](const auto& s) { return s.stalled >= 1; }, kPatience));
    }

    fs::path dir_;
    std::unique_ptr<SerpDouble> server_;
};

TEST_F(CliRun, ListPrintsEveryResultOfThePagesThatCoverTheRange) {
    auto& server = Serve();
    const auto r = Run({"--url", Url(), "--to", "15"});
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<std::string> expected;
    for (int i = 1; i <= 20; ++i) expected.push_back(server.PageURL(i));
    EXPECT_EQ(Lines(r.out), expected);
    // Not a terminal: one plain line per event, the log in the data folder.
    EXPECT_NE(r.err.find("skipped 20 " + server.PageURL(20) + "\n"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("listed 20 results\n"), std::string::npos) << r.err;
    const auto log = ReadFile(dir_ / "appdata/Quillmoor/Kestrova/Kestrova.log");
    EXPECT_NE(log.find("Fetchcore.dll"), std::string::npos);
}

TEST_F(CliRun, TsvGivesEachPagesStateAndDetail) {
    SerpDouble::Options o;
    o.links = {{2, LinkKind::Pdf}, {3, LinkKind::Https}};
    o.resultFaults = {{4, Fault::WithStatus(404)}};
    auto& server = Serve(o);
    const auto out = dir_ / "pages";
    const auto r = Run({"--url", Url(), "--to", "4", "--per-page", "4", "--download", out.string(),
                        "--skip-non-html", "--format", "tsv", "--quiet"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const auto rows = Lines(r.out);
    ASSERT_EQ(rows.size(), 4u) << r.out;
    const auto saved =
        out / "kestrova" / ("001-127.0.0.1 " + std::to_string(server.Port()) + " page 1.htm");
    EXPECT_EQ(rows[0], "1\t" + server.PageURL(1) + "\tComplete\t" + saved.string());
    EXPECT_EQ(ReadFile(saved), server.ExpectedBody(1));
    EXPECT_EQ(rows[1], "2\t" + *server.ResultLink(2) + "\tSkipped\t");
    EXPECT_EQ(rows[2], "3\t" + *server.ResultLink(3) + "\tSkipped\t");
    EXPECT_EQ(rows[3].rfind("4\t" + server.PageURL(4) + "\tFailed\t", 0), 0u) << rows[3];
    EXPECT_GT(rows[3].size(), ("4\t" + server.PageURL(4) + "\tFailed\t").size());
}

// The detail of a saved page is the file the job wrote, inside the output folder, even for
// keywords that would name the folder itself, its parent, or a nested folder.
TEST_F(CliRun, TheDetailIsTheSavedFileWhateverTheKeyword) {
    auto& server = Serve();
    const std::string file = "001-127.0.0.1 " + std::to_string(server.Port()) + " page 1.htm";
    const std::vector<std::pair<std::string, std::string>> cases{
        {"..", "_"}, {".", "_"}, {"%00", "_"}, {"a%2Fb", "a_b"}, {"C%2B%2B", "C++"}};
    int run = 0;
    for (const auto& [query, folder] : cases) {
        for (const std::string format : {"tsv", "jsonl"}) {
            SCOPED_TRACE("q=" + query + " " + format);
            const auto out = dir_ / ("out" + std::to_string(++run));
            const auto r =
                Run({"--url", server.BaseURL() + "/google/search?hl=en&q=" + query, "--to", "1",
                     "--per-page", "1", "--download", out.string(), "--format", format, "--quiet"});
            ASSERT_EQ(r.status, 0) << r.err;
            const auto saved = (out / folder / file).string();
            const auto expected =
                format == "tsv" ? "1\t" + server.PageURL(1) + "\tComplete\t" + saved + "\n"
                                : "{\"n\":1,\"url\":\"" + server.PageURL(1) +
                                      "\",\"state\":\"Complete\",\"detail\":\"" + saved + "\"}\n";
            EXPECT_EQ(r.out, expected);
            EXPECT_EQ(ReadFile(saved), server.ExpectedBody(1));
        }
    }
    // A URL whose keyword is empty is refused before anything is fetched or saved.
    const auto out = dir_ / "empty";
    const auto r = Run({"--url", server.BaseURL() + "/google/search?hl=en&q=", "--download",
                        out.string(), "--format", "tsv"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "kestrova-cli: Please enter keyword.\n");
    EXPECT_EQ(r.out, "");
    EXPECT_FALSE(fs::exists(out));
}

TEST_F(CliRun, JsonlWritesOneObjectPerResultToTheOutputFile) {
    auto& server = Serve();
    const auto file = dir_ / "results.jsonl";
    const auto r = Run({"--url", Url(), "--to", "2", "--per-page", "2", "--format", "jsonl",
                        "--output", file.string(), "--log", (dir_ / "own.log").string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(ReadFile(file), "{\"n\":1,\"url\":\"" + server.PageURL(1) +
                                  "\",\"state\":\"Skipped\",\"detail\":\"\"}\n{\"n\":2,\"url\":\"" +
                                  server.PageURL(2) +
                                  "\",\"state\":\"Skipped\",\"detail\":\"\"}\n");
    EXPECT_NE(ReadFile(dir_ / "own.log").find("Fetchcore.dll"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir_ / "appdata"));
}

TEST_F(CliRun, AFailedJobPrintsItsReasonAndNoResults) {
    SerpDouble::Options o;
    o.resultsPageFaults = {{2, Fault::WithStatus(500)}};
    Serve(o);
    const auto file = dir_ / "never.txt";
    const auto r = Run({"--url", Url(), "--to", "15", "--output", file.string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    // Nothing was listed, so the reason is all there is to say.
    const auto err = Lines(r.err);
    ASSERT_EQ(err.size(), 1u) << r.err;
    EXPECT_EQ(err[0].rfind("kestrova-cli: ", 0), 0u);
    EXPECT_GT(err[0].size(), std::string("kestrova-cli: ").size());
    EXPECT_FALSE(fs::exists(file)) << "a failed job leaves no output file";
}

TEST_F(CliRun, RefusedFieldsAndBadUsageExitWithTwoBeforeAnyRequest) {
    Serve();
    const std::string range =
        "kestrova-cli: Invalid result range. Please type a number in the range from 1 to 999.\n";
    EXPECT_EQ(Run({"--url", Url(), "--from", "0"}).err, range);
    EXPECT_EQ(Run({"--url", Url(), "--to", "1000"}).err, range);
    EXPECT_EQ(Run({"--url", Url(), "--from", "6", "--to", "5"}).err,
              "kestrova-cli: Invalid result range. \n");
    EXPECT_EQ(Run({"--url", server_->BaseURL() + "/search?q=x"}).err,
              "kestrova-cli: Invalid search URL. Please enter Google URL.\n");
    EXPECT_EQ(Run({"--url", server_->BaseURL() + "/google/search?hl=en"}).err,
              "kestrova-cli: Please enter keyword.\n");
    EXPECT_EQ(Run({"--url", Url(), "--download", " "}).err,
              "kestrova-cli: Invalid output folder. Please enter correct folder name.\n");
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"--url", Url(), "--from", "0"},
             {"--url", Url(), "kestrova"},
             {"--url", Url(), "--bogus"},
             {"--url", Url(), "--format", "xml"},
             {"--url", Url(), "--output", (dir_ / "no/such/dir/out").string()},
             {"--url", Url(), "--log", (dir_ / "no/such/dir/log").string()},
             {"--keywords", (dir_ / "no-such-list.txt").string()},
             {}}) {
        const auto r = Run(args);
        EXPECT_EQ(r.status, 2) << r.err;
        EXPECT_EQ(r.out, "");
    }
    EXPECT_EQ(server_->Snapshot().Requests(), 0);
}

TEST_F(CliRun, AKeywordListIsCheckedWholeBeforeAnyRequest) {
    Serve();
    const auto list = dir_ / "keywords.txt";
    std::ofstream(list) << "kites\n";
    EXPECT_EQ(Run({"--keywords", list.string(), "--from", "0"}).err,
              "kestrova-cli: Invalid result range. Please type a number in the range from 1 to "
              "999.\n");
    EXPECT_EQ(Run({"--keywords", list.string(), "kites"}).status, 2);
    EXPECT_EQ(server_->Snapshot().Requests(), 0);
}

TEST_F(CliRun, ResumeKeepsWhatAnEarlierRunSavedAndListsItComplete) {
    auto& server = Serve();
    const auto out = dir_ / "pages";
    const auto kept =
        out / "kestrova" / ("001-127.0.0.1 " + std::to_string(server.Port()) + " page 1.htm");
    fs::create_directories(kept.parent_path());
    std::ofstream(kept) << "kept";
    const auto r = Run({"--url", Url(), "--to", "2", "--per-page", "2", "--download", out.string(),
                        "--resume", "--format", "tsv", "--quiet"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(server.Snapshot().pageRequests, 1);
    EXPECT_EQ(ReadFile(kept), "kept");
    EXPECT_EQ(Lines(r.out).at(0), "1\t" + server.PageURL(1) + "\tComplete\t" + kept.string());
}

TEST_F(CliRun, HelpAndVersion) {
    const auto help = Run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: kestrova-cli", 0), 0u);
    const auto version = Run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "kestrova-cli 4.20.0\n");
}

TEST_F(CliRun, CtrlCDuringThePagesCancelsThemAndStillReports) {
    SerpDouble::Options o;
    o.resultFaults = {{2, Fault::StallForever()}};
    auto& server = Serve(o);
    CliProcess cli({"--url", Url(), "--to", "3", "--per-page", "3", "--format", "tsv", "--download",
                    (dir_ / "pages").string()},
                   Appdata());
    WaitForStall();
    cli.Signal(SIGINT);
    const auto r = cli.Wait();
    EXPECT_EQ(r.status, 130) << r.err;
    const auto rows = Lines(r.out);
    ASSERT_EQ(rows.size(), 3u) << r.out;
    EXPECT_EQ(rows[1], "2\t" + server.PageURL(2) + "\tFailed\tCancelled");
    EXPECT_NE(r.err.find("failed 2 " + server.PageURL(2) + ": Cancelled"), std::string::npos);
}

TEST_F(CliRun, CtrlCDuringTheResultsEndsWithoutResults) {
    SerpDouble::Options o;
    o.resultsPageFaults = {{1, Fault::StallForever()}};
    Serve(o);
    CliProcess cli({"--url", Url()}, Appdata());
    WaitForStall();
    cli.Signal(SIGINT);
    const auto r = cli.Wait();
    EXPECT_EQ(r.status, 130);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "kestrova-cli: Cancelled\n");
}

TEST_F(CliRun, SearxngListsItsResultsAndWarnsOnceOfEnginesThatDidNotAnswer) {
    SerpDouble::Options o;
    o.unresponsiveEngines = {{"google", "CAPTCHA"}};
    auto& server = Serve(o);
    const auto r = Run({"--searxng", server.BaseURL() + "/", "--to", "15", "kestrova"});
    ASSERT_EQ(r.status, 0) << r.err;
    // Exactly the range, although the instance's second page holds results 11 to 20.
    std::vector<std::string> expected;
    for (int i = 1; i <= 15; ++i) expected.push_back(server.PageURL(i));
    EXPECT_EQ(Lines(r.out), expected);
    const std::string warning =
        "kestrova-cli: warning: Some search engines of the SearXNG "
        "instance did not answer: google (CAPTCHA)\n";
    const auto at = r.err.find(warning);
    EXPECT_NE(at, std::string::npos) << r.err;
    EXPECT_EQ(r.err.find(warning, at + 1), std::string::npos) << "two pages, one warning";
}

TEST_F(CliRun, TheEnvironmentNamesTheInstanceAndItsRefusalIsExplained) {
    SerpDouble::Options o;
    o.resultsPageFaults = {{1, Fault::WithStatus(403)}};
    auto& server = Serve(o);
    ::setenv("KESTROVA_SEARXNG", server.BaseURL().c_str(), 1);
    const auto r = Run({"--quiet", "kestrova"});
    ::unsetenv("KESTROVA_SEARXNG");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err,
              "kestrova-cli: The SearXNG instance does not serve JSON (HTTP 403): add json to "
              "search.formats in its settings.\n");
    ASSERT_TRUE(server.Snapshot().last);
    EXPECT_EQ(server.Snapshot().last->target, "/search?q=kestrova&format=json&pageno=1");
}

TEST_F(CliRun, AKeywordListSearchesTheSearxngInstanceOnceAKeyword) {
    auto& server = Serve();
    const auto list = dir_ / "keywords.txt";
    std::ofstream(list) << "# birds\nred kites\n\n  f\xC3\xB6hn \n";
    const auto r = Run({"--keywords", list.string(), "--searxng", server.BaseURL(), "--to", "2",
                        "--format", "tsv", "--quiet"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto lines = Lines(r.out);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), "red kites\t1\t" + server.PageURL(1) + "\tSkipped\t");
    EXPECT_EQ(lines.back().rfind("f\xC3\xB6hn\t", 0), 0u) << lines.back();
    EXPECT_EQ(server.Snapshot().searchRequests, 2);
    ASSERT_TRUE(server.Snapshot().last);
    EXPECT_EQ(server.Snapshot().last->target, "/search?q=f%C3%B6hn&format=json&pageno=1");
}

TEST_F(CliRun, AnAnswerThatIsNoResultsPageFailsInsteadOfListingNothing) {
    SerpDouble::Options o;
    o.resultsPageFaults = {{1, Fault::WithStatus(200)}};
    Serve(o);
    const auto r = Run({"--url", Url(), "--quiet"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err,
              "kestrova-cli: Cannot parse page. The answer is not a results page (the search "
              "engine may ask for JavaScript, a consent or a CAPTCHA).\n");
}

}  // namespace
