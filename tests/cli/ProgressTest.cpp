#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>

#include "Progress.h"

namespace kestrova::cli {
namespace {

void PlayJob(Progress& p) {
    p.ResultList(3);
    p.StartSavingPage(1, "http://a/");
    p.StartSavingPage(2, "http://b/");
    p.PageSkipped(3, "http://c.pdf");
    p.SavingPageComplete("http://b/", false, "Cancelled");
}

TEST(Progress, PlainLinesOnePerEvent) {
    std::ostringstream out;
    Progress p(out, Progress::Mode::Lines);
    PlayJob(p);
    p.SavingPageComplete("http://a/", true, "");
    p.Finish();
    EXPECT_EQ(out.str(),
              "listed 3 results\nsaving 1 http://a/\nsaving 2 http://b/\n"
              "skipped 3 http://c.pdf\nfailed 2 http://b/: Cancelled\nsaved 1 http://a/\n");
}

TEST(Progress, TerminalRedrawsOneLineWithCountsAndThePageUnderWay) {
    std::ostringstream out;
    Progress p(out, Progress::Mode::Terminal, 200);
    PlayJob(p);
    p.StartSavingPage(4, "http://d/");
    const std::string last = out.str().substr(out.str().rfind('\r'));
    EXPECT_EQ(last, "\r3 listed, 0 saved, 1 failed, 1 skipped | saving 1 http://a/\x1b[K");
    EXPECT_EQ(out.str().find('\n'), std::string::npos);
    p.Finish();
    EXPECT_EQ(out.str().back(), '\n');
}

TEST(Progress, ALabelLeadsEveryLineAndIsShownWhileSearching) {
    std::ostringstream out;
    Progress p(out, Progress::Mode::Lines, 80, "kites (3/40)");
    p.Started();
    p.ResultList(1);
    EXPECT_EQ(out.str(), "kites (3/40): searching\nkites (3/40): listed 1 result\n");
}

TEST(Progress, AWaitIsALineOfItsOwnOrShowsOnTheTerminalUntilTheNextEvent) {
    std::ostringstream lines, terminal, quiet;
    Progress l(lines, Progress::Mode::Lines, 80, "kites (1/2)");
    l.Waiting(5, "HTTP 429 Too Many Requests");
    EXPECT_EQ(lines.str(), "kites (1/2): waiting 5 s: HTTP 429 Too Many Requests\n");

    Progress t(terminal, Progress::Mode::Terminal, 200);
    t.StartSavingPage(1, "http://a/");
    t.Waiting(2, "HTTP 503");
    EXPECT_TRUE(terminal.str().ends_with(
        "\r0 listed, 0 saved, 0 failed, 0 skipped | waiting 2 s: HTTP 503\x1b[K"))
        << terminal.str();
    t.PageSkipped(2, "http://b/");
    EXPECT_TRUE(terminal.str().ends_with("| saving 1 http://a/\x1b[K")) << terminal.str();

    Progress(quiet, Progress::Mode::Quiet).Waiting(5, "HTTP 429");
    EXPECT_EQ(quiet.str(), "");
}

TEST(Progress, TerminalLineNeverWraps) {
    std::ostringstream out;
    Progress p(out, Progress::Mode::Terminal, 20);
    p.StartSavingPage(1, "http://a-very-long-address.example/");
    EXPECT_EQ(out.str(), "\r0 listed, 0 saved, \x1b[K");
}

TEST(Progress, QuietAndUnusedTerminalWriteNothing) {
    std::ostringstream quiet, idle;
    Progress q(quiet, Progress::Mode::Quiet);
    PlayJob(q);
    q.Finish();
    Progress(idle, Progress::Mode::Terminal).Finish();
    EXPECT_EQ(quiet.str() + idle.str(), "");
}

}  // namespace
}  // namespace kestrova::cli

namespace kestrova::cli {
namespace {

TEST(ProgressMode, TerminalOnlyOnATerminalAndItsWidthIsRead) {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(::grantpt(master), 0);
    ASSERT_EQ(::unlockpt(master), 0);
    const int terminal = ::open(::ptsname(master), O_RDWR | O_NOCTTY);
    ASSERT_GE(terminal, 0);
    winsize size{};
    size.ws_col = 123;
    ASSERT_EQ(::ioctl(terminal, TIOCSWINSZ, &size), 0);
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);

    std::size_t width = 0;
    EXPECT_EQ(ProgressModeFor(terminal, false, width), Progress::Mode::Terminal);
    EXPECT_EQ(width, 123u);
    EXPECT_EQ(ProgressModeFor(pipeFds[1], false, width), Progress::Mode::Lines);
    EXPECT_EQ(ProgressModeFor(terminal, true, width), Progress::Mode::Quiet);
    for (int fd : {terminal, master, pipeFds[0], pipeFds[1]}) ::close(fd);
}

}  // namespace
}  // namespace kestrova::cli
