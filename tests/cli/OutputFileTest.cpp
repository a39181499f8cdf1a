#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "CliOptions.h"
#include "OutputFile.h"

namespace kestrova::cli {
namespace {

namespace fs = std::filesystem;

class OutputFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("kes-cli-out-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string Read(const fs::path& p) {
        std::ifstream in(p);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    fs::path dir_;
};

TEST_F(OutputFileTest, UncommittedLeavesNoNewFileAndOldFilesAlone) {
    { OutputFile fresh((dir_ / "new").string()); }
    EXPECT_FALSE(fs::exists(dir_ / "new"));
    std::ofstream(dir_ / "old") << "before";
    { OutputFile old((dir_ / "old").string()); }
    EXPECT_EQ(Read(dir_ / "old"), "before");
}

TEST_F(OutputFileTest, CommitReplacesTheContent) {
    std::ofstream(dir_ / "old") << "a much longer text than the new one";
    OutputFile file((dir_ / "old").string());
    file.Commit("new\n");
    EXPECT_EQ(Read(dir_ / "old"), "new\n");
}

TEST_F(OutputFileTest, UnwritablePathsAreRefusedUpFront) {
    EXPECT_THROW(OutputFile((dir_ / "missing/out").string()), UsageError);
    EXPECT_THROW(OutputFile(dir_.string()), UsageError);
}

}  // namespace
}  // namespace kestrova::cli
