#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "taskcore/DataFolder.h"
#include "taskcore/OutputFolder.h"

namespace kestrova {
namespace {

// Sets or clears one environment variable for the life of a test, then restores it.
class EnvOverride {
  public:
    EnvOverride(const char* name, std::optional<std::string> value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        Apply(value);
    }
    ~EnvOverride() { Apply(old_); }
    EnvOverride(const EnvOverride&) = delete;
    EnvOverride& operator=(const EnvOverride&) = delete;

  private:
    void Apply(const std::optional<std::string>& value) {
        if (value)
            setenv(name_.c_str(), value->c_str(), 1);
        else
            unsetenv(name_.c_str());
    }
    std::string name_;
    std::optional<std::string> old_;
};

TEST(DataFolderFrom, AppendsProductFolderWithOneSeparator) {
    EXPECT_EQ(DataFolderFrom("/home/u/.local/share", "/opt/k"),
              "/home/u/.local/share/Quillmoor/Kestrova/");
    EXPECT_EQ(DataFolderFrom("/home/u/.local/share/", "/opt/k"),
              "/home/u/.local/share/Quillmoor/Kestrova/");
    EXPECT_EQ(DataFolderFrom("/", "/opt/k"), "/Quillmoor/Kestrova/");
}

TEST(DataFolderFrom, FallsBackToTheExecutableFolder) {
    EXPECT_EQ(DataFolderFrom("", "/opt/k"), "/opt/k/");
    EXPECT_EQ(DataFolderFrom("", "/opt/k/"), "/opt/k/");
    EXPECT_EQ(DataFolderFrom("", ""), "./");
}

TEST(DataFolder, FollowsTheEnvironment) {
    EnvOverride xdg("XDG_DATA_HOME", "/tmp/xdg-data");
    {
        EnvOverride appData("APPDATA", "/tmp/app-data/");
        EXPECT_EQ(DataFolder(), "/tmp/app-data/Quillmoor/Kestrova/");
    }
    EnvOverride appData("APPDATA", std::nullopt);
    EXPECT_EQ(DataFolder(), "/tmp/xdg-data/Quillmoor/Kestrova/");
}

TEST(DefaultOutputFolder, PrefersDocumentsThenHome) {
    EXPECT_EQ(DefaultOutputFolder("/home/u/Documents", "/home/u"), "/home/u/Documents/Kestrova/");
    EXPECT_EQ(DefaultOutputFolder("/home/u/Documents/", "/home/u"), "/home/u/Documents/Kestrova/");
    EXPECT_EQ(DefaultOutputFolder("", "/home/u"), "/home/u/Kestrova/");
    EXPECT_EQ(DefaultOutputFolder("", "/"), "/Kestrova/");
    EXPECT_EQ(DefaultOutputFolder("", ""), "");
}

}  // namespace
}  // namespace kestrova
