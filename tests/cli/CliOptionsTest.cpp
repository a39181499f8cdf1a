#include <gtest/gtest.h>

#include <cstdlib>

#include "CliOptions.h"
#include "TaskFromOptions.h"

namespace kestrova::cli {
namespace {

TEST(CliOptions, DefaultsMatchTheTaskEditor) {
    const auto o = ParseArguments({"kestrova"});
    EXPECT_EQ(o.keyword, "kestrova");
    EXPECT_FALSE(o.searchUrl);
    EXPECT_EQ(o.from, "1");
    EXPECT_EQ(o.to, "10");
    EXPECT_EQ(o.perPage, "10");
    EXPECT_FALSE(o.downloadFolder);
    EXPECT_EQ(o.format, OutputFormat::List);
    EXPECT_FALSE(o.quiet || o.skipNonHtml);
}

TEST(CliOptions, ValuesInBothFormsAndFlags) {
    const auto o = ParseArguments({"--from=5", "--to", "7", "--per-page=3", "--download", "d",
                                   "--skip-non-html", "--format=jsonl", "--quiet", "--url=u"});
    EXPECT_EQ(o.from, "5");
    EXPECT_EQ(o.to, "7");
    EXPECT_EQ(o.perPage, "3");
    EXPECT_EQ(o.downloadFolder, "d");
    EXPECT_TRUE(o.skipNonHtml && o.quiet);
    EXPECT_EQ(o.format, OutputFormat::Jsonl);
    EXPECT_EQ(o.searchUrl, "u");
    // After "--" a keyword may begin with a dash; a value may too.
    EXPECT_EQ(ParseArguments({"--from", "-1", "--", "--quiet"}).keyword, "--quiet");
}

TEST(CliOptions, RefusesWhatItCannotUse) {
    for (const auto& args :
         std::vector<std::vector<std::string>>{{},
                                               {"a", "b"},
                                               {"a", "--url", "u"},
                                               {"a", "--bogus"},
                                               {"a", "--to"},
                                               {"a", "--quiet=yes"},
                                               {"a", "--format", "csv"},
                                               {"--searxng", "http://s"},
                                               {"--url", "u", "--searxng", "s"},
                                               {"--brave"},
                                               {"--brave=k", "a"},
                                               {"--brave", "--url", "u"},
                                               {"--brave", "--searxng", "s", "a"},
                                               {"a", "--manifest"},
                                               {"a", "--warc="}}) {
        EXPECT_THROW(ParseArguments(args), UsageError) << ::testing::PrintToString(args);
    }
    EXPECT_TRUE(ParseArguments({"--help"}).help);
    const auto corpus = ParseArguments({"a", "--download", "d", "--manifest", "--warc", "r.warc"});
    EXPECT_TRUE(corpus.manifest);
    EXPECT_EQ(corpus.warcFile, "r.warc");
}

TEST(CliOptions, AKeywordListTakesThePlaceOfKeywordAndUrl) {
    const auto o = ParseArguments({"--keywords", "-", "--pause=1.5", "--resume"});
    EXPECT_EQ(o.keywordsFile, "-");
    EXPECT_EQ(o.pause, std::chrono::milliseconds(1500));
    EXPECT_TRUE(o.resume);
    for (const auto& args : std::vector<std::vector<std::string>>{{"--keywords", "f", "k"},
                                                                  {"--keywords", "f", "--url", "u"},
                                                                  {"k", "--pause", "-1"},
                                                                  {"k", "--pause", "nan"},
                                                                  {"k", "--pause", "86401"},
                                                                  {"k", "--pause", "2s"}}) {
        EXPECT_THROW(ParseArguments(args), UsageError) << ::testing::PrintToString(args);
    }
}

TEST(TaskFromOptions, KeywordGivesTheUrlAndTheUrlGivesTheKeyword) {
    CliOptions o;
    o.keyword = " two words ";
    auto fields = FieldsFrom(o);
    EXPECT_EQ(fields.searchUrl, "http://www.google.com/search?hl=en&q=two+words");
    EXPECT_FALSE(fields.downloadPages);
    o.searchUrl = "http://x.google.com/search?as_q=a&q=b%41+c&hl=en";
    o.downloadFolder = "out";
    fields = FieldsFrom(o);
    EXPECT_EQ(fields.keyword, "bA c");
    EXPECT_EQ(fields.searchUrl, *o.searchUrl);
    EXPECT_TRUE(fields.downloadPages);
    EXPECT_EQ(fields.saveTo, "out");
}

TEST(TaskFromOptions, SearxngComesFromTheOptionElseFromTheEnvironment) {
    CliOptions o;
    o.keyword = "red kites";
    ::setenv("KESTROVA_SEARXNG", "http://env.example", 1);
    EXPECT_EQ(FieldsFrom(o).searchUrl, "http://env.example/search?q=red+kites&format=json");
    o.searxng = "https://opt.example/";
    EXPECT_EQ(FieldsFrom(o).searchUrl, "https://opt.example/search?q=red+kites&format=json");
    o.searxng.reset();
    o.searchUrl = "http://www.google.com/search?q=x";
    EXPECT_EQ(FieldsFrom(o).searchUrl, *o.searchUrl) << "--url wins over the environment";
    ::unsetenv("KESTROVA_SEARXNG");
}

TEST(TaskFromOptions, BraveSearchesTheApisOwnAddressEvenWithAnInstanceInTheEnvironment) {
    ::setenv("KESTROVA_SEARXNG", "http://env.example", 1);
    const auto o = ParseArguments({"--brave", "red kites"});
    EXPECT_EQ(FieldsFrom(o).searchUrl,
              "https://api.search.brave.com/res/v1/web/search?q=red+kites");
    ::unsetenv("KESTROVA_SEARXNG");
    EXPECT_TRUE(ParseArguments({"--keywords", "f", "--brave"}).brave);
}

}  // namespace
}  // namespace kestrova::cli
