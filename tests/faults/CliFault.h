#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace cli_fault {

// One line of `--format tsv`: N, URL, STATE, DETAIL.
struct Row {
    std::string url, state, detail;
};

inline std::map<int, Row> Rows(const std::string& out) {
    std::map<int, Row> rows;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) {
        std::vector<std::string> fields;
        std::istringstream cells(line);
        for (std::string cell; std::getline(cells, cell, '\t');) fields.push_back(cell);
        if (fields.size() == 4) rows[std::stoi(fields[0])] = {fields[1], fields[2], fields[3]};
    }
    return rows;
}

inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// A temporary folder of the test's own, removed at its end.
class CliFault : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("kes-fault-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_ / "out");
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string Appdata() const { return (dir_ / "appdata").string(); }
    std::string Out() const { return (dir_ / "out").string(); }

    std::filesystem::path dir_;
};

}  // namespace cli_fault
