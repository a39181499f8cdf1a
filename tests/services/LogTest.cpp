#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <thread>

#include "tessel/Log.h"

namespace fs = std::filesystem;

namespace {
std::vector<std::string> Lines(const fs::path& p) {
    std::ifstream in(p);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}
fs::path TempLog(const char* name) {
    auto p = fs::temp_directory_path() / ("kes-log-" + std::to_string(::getpid()) + name);
    fs::remove(p);
    return p;
}
}  // namespace

TEST(Log, AnEntryIsOneLineWithItsFields) {
    const auto file = TempLog("fields");
    tessel::Log log;
    log.Open(file.string());
    EXPECT_EQ(log.FileName(), file.string());
    log.Write(-2147220863, "URL 'x' is already downloading. ", 4, "CDownloader.Download");
    const auto lines = Lines(file);
    ASSERT_EQ(lines.size(), 1u);
    const std::regex shape(
        R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3}\tT\d+\tL4\t-2147220863\tCDownloader\.Download\tURL 'x' is already downloading\. )");
    EXPECT_TRUE(std::regex_match(lines[0], shape)) << lines[0];
    fs::remove(file);
}

TEST(Log, ControlCharactersCannotSplitOrForgeEntries) {
    const auto file = TempLog("escape");
    tessel::Log log;
    log.Open(file.string());
    log.Write(0, "first\nT1\tL5\t0\t\tforged\r\\end\x01", 0, "src\n");
    const auto lines = Lines(file);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("first\\nT1\\tL5\\t0\\t\\tforged\\r\\\\end\\x01"), std::string::npos);
    EXPECT_NE(lines[0].find("\tsrc\\n\t"), std::string::npos);
    fs::remove(file);
}

TEST(Log, AnUnopenedOrUnwritableLogDropsEntriesQuietly) {
    tessel::Log unopened;
    EXPECT_NO_THROW(unopened.Write(1, "x", 0, ""));
    tessel::Log broken;
    broken.Open("/nonexistent-folder/kestrova.log");
    EXPECT_NO_THROW(broken.Write(1, "x", 0, ""));
    tessel::Log unnamed;
    EXPECT_NO_THROW(unnamed.Open(""));
    EXPECT_NO_THROW(unnamed.Write(1, "x", 0, ""));
    EXPECT_EQ(unnamed.FileName(), "");
}

TEST(Log, ManyLogsOnManyThreadsWriteOnlyWholeLines) {
    const auto file = TempLog("threads");
    constexpr int kThreads = 8, kEntries = 500;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            tessel::Log log;  // each thread opens its own, as the components do
            log.Open(file.string());
            const std::string payload(200 + t * 50, static_cast<char>('a' + t));
            for (int i = 0; i < kEntries; ++i)
                log.Write(i, payload, 5, "thread" + std::to_string(t));
        });
    }
    for (auto& t : threads) t.join();
    const auto lines = Lines(file);
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(kThreads * kEntries));
    const std::regex whole(R"(.*\tL5\t\d+\tthread(\d)\t([a-h]+))");
    for (const auto& line : lines) {
        std::smatch m;
        ASSERT_TRUE(std::regex_match(line, m, whole)) << line.substr(0, 80);
        const int t = std::stoi(m[1]);
        EXPECT_EQ(m[2].str(), std::string(200 + t * 50, static_cast<char>('a' + t)));
    }
    fs::remove(file);
}
