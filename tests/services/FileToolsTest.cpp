#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tessel/Error.h"
#include "tessel/Toolbox.h"

namespace fs = std::filesystem;
namespace FileTools = tessel::FileTools;

namespace {
class FileToolsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() /
                ("kes-filetools-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_);
    }
    void TearDown() override { fs::remove_all(root_); }
    static std::string Read(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    fs::path root_;
};
}  // namespace

TEST_F(FileToolsTest, CreateFolderMakesMissingParentsAndAcceptsExisting) {
    const auto deep = root_ / "a" / "b" / "c";
    FileTools::CreateFolder(deep.string());
    EXPECT_TRUE(fs::is_directory(deep));
    EXPECT_NO_THROW(FileTools::CreateFolder(deep.string()));
    EXPECT_NO_THROW(FileTools::CreateFolder(deep.string() + "/"));
    EXPECT_TRUE(FileTools::FileExists(deep.string()));
    EXPECT_FALSE(FileTools::FileExists((root_ / "none").string()));
}

TEST_F(FileToolsTest, CreateFolderOverAFileFails) {
    const auto file = root_ / "plain";
    FileTools::WriteTextFile(file.string(), "x");
    EXPECT_THROW(FileTools::CreateFolder((file / "sub").string()), tessel::ComError);
}

TEST_F(FileToolsTest, WriteTextFileKeepsBytesAndReplacesWhole) {
    const auto file = root_ / "page.htm";
    const std::string bytes("a\0b\xff\r\n", 6);
    FileTools::WriteTextFile(file.string(), std::string(10000, 'x'));
    FileTools::WriteTextFile(file.string(), bytes);
    EXPECT_EQ(Read(file), bytes);
    EXPECT_EQ(std::distance(fs::directory_iterator(root_), fs::directory_iterator()), 1)
        << "no temporary file left behind";
}

// Saved pages and lists get the mode any program's new files get: 0666 less the umask.
TEST_F(FileToolsTest, AWrittenFileTakesItsModeFromTheUmask) {
    const auto modeUnder = [&](mode_t mask, const std::string& name) {
        const mode_t old = ::umask(mask);
        FileTools::WriteTextFile((root_ / name).string(), "page");
        ::umask(old);
        return fs::status(root_ / name).permissions();
    };
    EXPECT_EQ(modeUnder(077, "private.htm"), fs::perms::owner_read | fs::perms::owner_write)
        << "not readable by others";
    EXPECT_EQ(modeUnder(0, "open.htm"), fs::perms::owner_read | fs::perms::owner_write |
                                            fs::perms::group_read | fs::perms::group_write |
                                            fs::perms::others_read | fs::perms::others_write);
}

TEST_F(FileToolsTest, AFailedWriteReportsTheSystemsReasonAndLeavesNothing) {
    const auto tooLong = root_ / (std::string(300, 'n') + ".htm");
    try {
        FileTools::WriteTextFile(tooLong.string(), "body");
        FAIL() << "a name over the file system's limit must fail";
    } catch (const tessel::ComError& e) {
        EXPECT_EQ(e.Description(), "File name too long");
    }
    EXPECT_TRUE(fs::is_empty(root_));
    EXPECT_THROW(FileTools::WriteTextFile((root_ / "missing" / "f").string(), "x"),
                 tessel::ComError);
}
