// kestrova-cli against the double's Brave Search API: where the key comes from, what is
// refused before any request, the key in no file the run writes, and the exit statuses.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "CliProcess.h"
#include "serpdouble/SerpDouble.h"

namespace {

namespace fs = std::filesystem;
using serpdouble::SerpDouble;

constexpr const char* kKey = "BSA-cli-test-key-7f3a9c";

using cli_test::Lines;
using cli_test::ReadFile;

class CliBrave : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("kes-cli-brave-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "appdata/config/Kestrova");
    }
    void TearDown() override { fs::remove_all(dir_); }

    SerpDouble& Serve(SerpDouble::Options options = {}) {
        options.braveKey = kKey;
        server_ = std::make_unique<SerpDouble>(std::move(options));
        server_->Start();
        return *server_;
    }
    std::string Url() const { return server_->BraveURL("kites"); }
    std::string KeyFile() const { return (dir_ / "appdata/config/Kestrova/brave.key").string(); }
    void WriteKeyFile(const std::string& text, mode_t mode) const {
        std::ofstream(KeyFile()) << text;
        ::chmod(KeyFile().c_str(), mode);
    }
    cli_test::CliResult Run(const std::vector<std::string>& args,
                            const std::vector<std::string>& env = {}) {
        return cli_test::RunCli(args, (dir_ / "appdata").string(), env);
    }
    static std::string EnvKey(const std::string& key = kKey) {
        return std::string("KESTROVA_BRAVE_KEY=") + key;
    }
    // Every file under the test's folder that holds `text`, the key file itself left out.
    std::vector<std::string> FilesHolding(const std::string& text) const {
        std::vector<std::string> found;
        for (const auto& entry : fs::recursive_directory_iterator(dir_)) {
            if (!entry.is_regular_file() || entry.path() == KeyFile()) continue;
            if (ReadFile(entry.path()).find(text) != std::string::npos)
                found.push_back(entry.path().string());
        }
        return found;
    }

    fs::path dir_;
    std::unique_ptr<SerpDouble> server_;
};

TEST_F(CliBrave, TheKeyIsInNoFileTheRunWrites) {
    SerpDouble::Options options;
    options.totalResults = 30;
    auto& server = Serve(options);
    const auto pages = dir_ / "pages";
    const auto output = dir_ / "results.jsonl";
    const auto r =
        Run({"--url", Url(), "--from", "3", "--to", "25", "--per-page", "20", "--download",
             pages.string(), "--format", "jsonl", "--output", output.string()},
            {EnvKey()});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto rows = Lines(ReadFile(output));
    ASSERT_EQ(rows.size(), 23u);
    EXPECT_EQ(rows.front().rfind("{\"n\":3,\"url\":\"" + server.PageURL(3) + "\"", 0), 0u)
        << rows.front();
    EXPECT_TRUE(fs::exists(pages / "kites"));
    EXPECT_TRUE(fs::exists(dir_ / "appdata/Quillmoor/Kestrova/Kestrova.log"));
    EXPECT_EQ(FilesHolding(kKey), std::vector<std::string>{});
    EXPECT_EQ(r.out.find(kKey), std::string::npos);
    EXPECT_EQ(r.err.find(kKey), std::string::npos);
    // It went where it belongs, and only there.
    int withKey = 0;
    for (const auto& request : server.Requests()) {
        withKey += request.Header("X-Subscription-Token") == kKey;
        if (request.kind != serpdouble::PathKind::Search) {
            EXPECT_FALSE(request.Header("X-Subscription-Token")) << request.target;
        }
    }
    EXPECT_EQ(withKey, 2);
}

TEST_F(CliBrave, AReadableKeyFileOrNoKeyExitsWithTwoBeforeAnyRequest) {
    Serve();
    const std::string places =
        "(the key is read from the environment variable "
        "KESTROVA_BRAVE_KEY, else from " +
        KeyFile() + ").\n";
    auto r = Run({"--url", Url()});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "kestrova-cli: The Brave Search API needs a key " + places);
    // The API's own address: refused before anything goes out.
    r = Run({"--brave", "kites"});
    EXPECT_EQ(r.status, 2);
    std::ofstream(dir_ / "keywords.txt") << "kites\nospreys\n";
    r = Run({"--keywords", (dir_ / "keywords.txt").string(), "--brave"});
    EXPECT_EQ(r.status, 2) << "a keyword list is refused whole";

    WriteKeyFile(kKey, 0644);
    r = Run({"--url", Url(), "--download", (dir_ / "pages").string()});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "kestrova-cli: The key file " + KeyFile() +
                         " may be read by others (mode 0644), so it is not used: run chmod 600 " +
                         KeyFile() + " " + places);
    EXPECT_EQ(r.out, "");
    EXPECT_FALSE(fs::exists(dir_ / "pages"));
    EXPECT_EQ(server_->Snapshot().Requests(), 0);
}

TEST_F(CliBrave, ARefusedKeyFailsTheJobSayingWhereItCameFrom) {
    Serve();
    const auto r = Run({"--url", Url(), "--quiet"}, {EnvKey("BSA-revoked")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err,
              "kestrova-cli: The Brave Search API refused the key from the environment variable "
              "KESTROVA_BRAVE_KEY (HTTP 422, SUBSCRIPTION_TOKEN_INVALID): check that it is whole "
              "and active in the API dashboard.\n");
    EXPECT_EQ(FilesHolding("BSA-revoked"), std::vector<std::string>{});
}

TEST_F(CliBrave, TheDepthIsWarnedOfAndAWaitIsShownUnlessQuiet) {
    SerpDouble::Options options;
    options.totalResults = 300;
    options.rateLimit = {1, 429, "0", "1, 1419704"};
    Serve(options);
    const auto r = Run({"--url", Url(), "--to", "230", "--per-page", "20"}, {EnvKey()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Lines(r.out).size(), 200u);
    const std::string warning =
        "kestrova-cli: warning: The Brave Search API gives at most 200 results for a search.\n";
    EXPECT_TRUE(r.err.ends_with(warning)) << r.err;
    const std::string wait = "waiting 0 s: 127.0.0.1:" + std::to_string(server_->Port()) +
                             " answered HTTP 429 (Too Many Requests); asking again, 1 of 3\n";
    EXPECT_NE(r.err.find(wait), std::string::npos) << r.err;

    const auto quiet =
        Run({"--url", Url(), "--to", "230", "--per-page", "20", "--quiet"}, {EnvKey()});
    ASSERT_EQ(quiet.status, 0) << quiet.err;
    EXPECT_EQ(quiet.err, warning) << "the warning stays, the progress goes";
}

}  // namespace
