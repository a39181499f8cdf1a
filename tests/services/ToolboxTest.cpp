#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <thread>

#include "tessel/Toolbox.h"

namespace Toolbox = tessel::Toolbox;

TEST(Toolbox, NewIDIsUniqueAcrossThreads) {
    std::vector<std::vector<std::string>> ids(4);
    std::vector<std::thread> threads;
    for (auto& list : ids) {
        threads.emplace_back([&list] {
            for (int i = 0; i < 2000; ++i) list.push_back(Toolbox::NewID());
        });
    }
    for (auto& t : threads) t.join();
    std::set<std::string> all;
    for (auto& list : ids) all.insert(list.begin(), list.end());
    EXPECT_EQ(all.size(), 8000u);
}

TEST(Toolbox, FormatMessageFillsNumberedPlaceholders) {
    EXPECT_EQ(Toolbox::FormatMessage("URL '%1' is already downloading. ", {"http://a/"}),
              "URL 'http://a/' is already downloading. ");
    EXPECT_EQ(Toolbox::FormatMessage("%2-%1-%2", {"a", "b"}), "b-a-b");
    EXPECT_EQ(Toolbox::FormatMessage("%1 and %3", {"a"}), "a and %3");
    EXPECT_EQ(Toolbox::FormatMessage("100%", {}), "100%");
    std::vector<std::string> ten{"1", "2", "3", "4", "5", "6", "7", "8", "9", "ten"};
    EXPECT_EQ(Toolbox::FormatMessage("%10|%1", ten), "ten|1");
    // An argument that itself holds a placeholder is not expanded again.
    EXPECT_EQ(Toolbox::FormatMessage("%1%2", {"%2", "x"}), "%2x");
}

TEST(Toolbox, URLEncodeEscapesEverythingButUnreservedBytes) {
    EXPECT_EQ(Toolbox::URLEncode("a b"), "a%20b");
    EXPECT_EQ(Toolbox::URLEncode("c++ & d=e"), "c%2B%2B%20%26%20d%3De");
    EXPECT_EQ(Toolbox::URLEncode("A-z_0.9~"), "A-z_0.9~");
    EXPECT_EQ(Toolbox::URLEncode("\xC3\xA9"), "%C3%A9");
}

TEST(Toolbox, ExpandEnvironmentReplacesReferences) {
    ::setenv("KES_TEST_VALUE", "value", 1);
    ::unsetenv("KES_TEST_UNSET");
    EXPECT_EQ(Toolbox::ExpandEnvironment("a%KES_TEST_VALUE%b"), "avalueb");
    EXPECT_EQ(Toolbox::ExpandEnvironment("a%KES_TEST_UNSET%b"), "ab");
    EXPECT_EQ(Toolbox::ExpandEnvironment("50% off"), "50% off");
}

TEST(Toolbox, AppDataFallsBackToTheXdgDataHome) {
    const char* saved = std::getenv("APPDATA");
    const std::string keep = saved ? saved : "";
    ::unsetenv("APPDATA");
    ::setenv("XDG_DATA_HOME", "/tmp/xdg-data", 1);
    EXPECT_EQ(Toolbox::ExpandEnvironment("%APPDATA%/x"), "/tmp/xdg-data/x");
    ::unsetenv("XDG_DATA_HOME");
    ::setenv("HOME", "/home/someone", 1);
    EXPECT_EQ(Toolbox::ExpandEnvironment("%APPDATA%"), "/home/someone/.local/share");
    ::setenv("APPDATA", "/srv/appdata", 1);
    EXPECT_EQ(Toolbox::ExpandEnvironment("%APPDATA%"), "/srv/appdata");
    if (saved)
        ::setenv("APPDATA", keep.c_str(), 1);
    else
        ::unsetenv("APPDATA");
}

TEST(Toolbox, WindowsVersionIsOneLine) {
    const auto line = Toolbox::WindowsVersion();
    EXPECT_FALSE(line.empty());
    EXPECT_EQ(line.find('\n'), std::string::npos);
    EXPECT_NE(line.find("Linux"), std::string::npos);
}
