// kestrova-cli killed with SIGKILL in the middle of its pages: what it leaves, and what the
// next run into the same folder makes of it.
#include <signal.h>

#include <chrono>

#include "CliFault.h"
#include "CliProcess.h"
#include "serpdouble/SerpDouble.h"

namespace {

namespace fs = std::filesystem;
using serpdouble::SerpDouble;

constexpr int kResults = 20;

SerpDouble::Options Pages(std::uint16_t port) {
    SerpDouble::Options options;
    options.port = port;
    options.totalResults = kResults;
    options.pageSize = 64 * 1024;
    return options;
}

class KilledRun : public cli_fault::CliFault {
  protected:
    std::vector<std::string> Args(const SerpDouble& server) const {
        return {"--format",
                "tsv",
                "--quiet",
                "--to",
                std::to_string(kResults),
                "--download",
                Out(),
                "--url",
                server.SearchURL("killed")};
    }

    // Every file under a page's name holds that page whole; the number of such files.
    int WholePages(const SerpDouble& server) const {
        int pages = 0;
        for (const auto& entry : fs::directory_iterator(dir_ / "out" / "killed")) {
            const std::string name = entry.path().filename().string();
            if (name.starts_with(".")) continue;  // a temporary file, never a page
            const int n = std::stoi(name.substr(0, 3));
            EXPECT_EQ(cli_fault::ReadFile(entry.path()), server.ExpectedBody(n)) << name;
            ++pages;
        }
        return pages;
    }
};

TEST_F(KilledRun, LeavesNoPartialPageAndTheNextRunCompletesTheFolder) {
    std::uint16_t port = 0;
    {
        auto options = Pages(0);
        for (int i = 11; i <= kResults; ++i)
            options.resultFaults[i] = serpdouble::Fault::PartialThenStallAfter(1000);
        SerpDouble server(options);
        server.Start();
        port = server.Port();
        cli_test::CliProcess cli(Args(server), Appdata());
        // Five pages hang half sent: the job is deep in its pages phase.
        ASSERT_TRUE(
            server.WaitFor([](const auto& s) { return s.stalled >= 5; }, std::chrono::seconds(30)));
        cli.Signal(SIGKILL);
        EXPECT_EQ(cli.Wait().status, 128 + SIGKILL);
        EXPECT_GT(WholePages(server), 0);
    }
    SerpDouble server(Pages(port));  // the same address, so the same file names
    server.Start();
    const auto r = cli_test::RunCli(Args(server), Appdata());
    ASSERT_EQ(r.status, 0) << r.err;
    for (const auto& [n, row] : cli_fault::Rows(r.out)) EXPECT_EQ(row.state, "Complete") << n;
    EXPECT_EQ(WholePages(server), kResults);
}

}  // namespace
