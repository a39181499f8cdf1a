#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tessel/Error.h"
#include "tessel/Toolbox.h"
#include "tessel/UnnamedFile.h"

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
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(root_))
            names.push_back(entry.path().filename().string());
        return names;
    }
    fs::path root_;
};

std::string Pattern(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 7 + i / 256);
    return bytes;
}

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
TEST_F(FileToolsTest, AWrittenOrSavedFileTakesItsModeFromTheUmask) {
    const auto modeUnder = [&](mode_t mask, const std::string& name, bool unnamed) {
        const mode_t old = ::umask(mask);
        if (unnamed) {
            auto file = tessel::UnnamedFile::Create(root_.string());
            file.SaveAs((root_ / name).string());
        } else {
            FileTools::WriteTextFile((root_ / name).string(), "page");
        }
        ::umask(old);
        return fs::status(root_ / name).permissions();
    };
    for (const bool unnamed : {false, true}) {
        SCOPED_TRACE(unnamed ? "saved unnamed file" : "written file");
        const std::string kind = unnamed ? "saved" : "written";
        EXPECT_EQ(modeUnder(077, kind + "-private.htm", unnamed),
                  fs::perms::owner_read | fs::perms::owner_write)
            << "not readable by others";
        EXPECT_EQ(modeUnder(0, kind + "-open.htm", unnamed),
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                      fs::perms::group_write | fs::perms::others_read | fs::perms::others_write);
    }
}

// Made in the folder it is saved to, the file is given its name; made on another file
// system (/dev/shm is a mount of its own), it is copied. Either way it replaces what was
// there, byte for byte, with no other name left behind.
TEST_F(FileToolsTest, AnUnnamedFileIsSavedWholeWhereverItWasMade) {
    const auto bytes = Pattern((3 << 20) + 11);
    const auto path = root_ / "page.htm";
    for (const std::string& place : {root_.string(), std::string("/dev/shm")}) {
        SCOPED_TRACE(place);
        FileTools::WriteTextFile(path.string(), "an older page");
        auto file = tessel::UnnamedFile::Create(place);
        ASSERT_EQ(file.Append(std::string_view(bytes).substr(0, 1000)), 0);
        ASSERT_EQ(file.Append(std::string_view(bytes).substr(1000)), 0);
        EXPECT_EQ(file.Size(), static_cast<int64_t>(bytes.size()));
        file.SaveAs(path.string());
        EXPECT_TRUE(Read(path) == bytes);
        EXPECT_EQ(Names(), std::vector<std::string>{"page.htm"});
    }
}

TEST_F(FileToolsTest, AnUnnamedFileMadeWhereNoFolderIsStillWorksAndAFailedSaveLeavesNothing) {
    const auto missing = root_ / "missing";
    auto file = tessel::UnnamedFile::Create(missing.string());  // in the temporary folder
    ASSERT_EQ(file.Append("body"), 0);
    try {
        file.SaveAs((missing / "page.htm").string());
        FAIL() << "a folder that does not exist must fail the save";
    } catch (const tessel::ComError& e) {
        EXPECT_EQ(e.Description(), "No such file or directory");
    }
    EXPECT_TRUE(fs::is_empty(root_));
    file.SaveAs((root_ / "page.htm").string());
    EXPECT_EQ(Read(root_ / "page.htm"), "body");
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

// What a killed run left under a temporary name goes; a name of a process that still runs,
// or a name of another shape, stays.
TEST_F(FileToolsTest, LeftoverTemporaryFilesOfEndedProcessesAreRemoved) {
    const pid_t ended = ::fork();
    if (ended == 0) ::_exit(0);
    ASSERT_GT(ended, 0);
    ASSERT_EQ(::waitpid(ended, nullptr, 0), ended);
    const std::string dead = std::to_string(ended), alive = std::to_string(::getpid());
    for (const std::string& name : std::vector<std::string>{
             ".kestrova-" + dead + "-0", ".kestrova-" + dead + "-17", ".kestrova-" + alive + "-3",
             ".kestrova-" + dead + "-x", ".kestrova-Ab12Cd", "001-page.htm"}) {
        std::ofstream(root_ / name) << "left";
    }
    EXPECT_EQ(FileTools::RemoveLeftoverTempFiles(root_.string()), 2);
    auto names = Names();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names,
              (std::vector<std::string>{".kestrova-" + alive + "-3", ".kestrova-" + dead + "-x",
                                        ".kestrova-Ab12Cd", "001-page.htm"}));
    EXPECT_EQ(FileTools::RemoveLeftoverTempFiles((root_ / "missing").string()), 0);
}

}  // namespace
