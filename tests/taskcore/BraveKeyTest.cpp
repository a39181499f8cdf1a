// Where the Brave Search API's key comes from, and the key files that are refused.
#include "taskcore/BraveKey.h"

#include "taskcore/BraveKeyStore.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "FakeSecretStore.h"

namespace kestrova {
namespace {

namespace fs = std::filesystem;

// A config folder of the test's own; the variables are put back afterwards.
class BraveKeyTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Keep("XDG_CONFIG_HOME");
        Keep("HOME");
        Keep(kBraveKeyVariable);
        dir_ = fs::temp_directory_path() / ("kes-key-" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "config/Kestrova");
        ::setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1);
        ::unsetenv(kBraveKeyVariable);
    }
    void TearDown() override {
        for (const auto& [name, value] : kept_) {
            if (value)
                ::setenv(name.c_str(), value->c_str(), 1);
            else
                ::unsetenv(name.c_str());
        }
        fs::remove_all(dir_);
    }
    void Keep(const std::string& name) {
        const char* value = std::getenv(name.c_str());
        kept_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
    }
    std::string File() const { return (dir_ / "config/Kestrova/brave.key").string(); }
    void WriteKey(const std::string& text, mode_t mode) const {
        std::ofstream(File(), std::ios::binary | std::ios::trunc) << text;
        ::chmod(File().c_str(), mode);
    }
    // The refusal's message, which must name both places and never show `secret`.
    std::string Refusal(const std::string& secret = "BSA") const {
        try {
            LoadBraveKey();
        } catch (const ApiKeyUnavailable& e) {
            const std::string message = e.what();
            EXPECT_NE(message.find("KESTROVA_BRAVE_KEY"), std::string::npos) << message;
            EXPECT_NE(message.find(File()), std::string::npos) << message;
            EXPECT_EQ(message.find(secret), std::string::npos) << message;
            return message;
        }
        ADD_FAILURE() << "a key was taken";
        return "";
    }

    fs::path dir_;
    std::vector<std::pair<std::string, std::optional<std::string>>> kept_;
};

TEST_F(BraveKeyTest, TheEnvironmentGoesFirstThenTheFileInTheConfigFolder) {
    WriteKey("BSA-from-file\n", 0600);
    ::setenv(kBraveKeyVariable, "  BSA-from-env \n", 1);
    const ApiKey fromEnv = LoadBraveKey();
    EXPECT_EQ(fromEnv.key, "BSA-from-env");
    EXPECT_EQ(fromEnv.origin, "the environment variable KESTROVA_BRAVE_KEY");

    ::setenv(kBraveKeyVariable, " ", 1);  // blank: as if unset
    const ApiKey fromFile = LoadBraveKey();
    EXPECT_EQ(fromFile.key, "BSA-from-file");
    EXPECT_EQ(fromFile.origin, "the file " + File());

    WriteKey("\t BSA-first-line \r\nsecond line\n", 0400);
    EXPECT_EQ(LoadBraveKey().key, "BSA-first-line");
}

TEST_F(BraveKeyTest, WithoutXdgConfigHomeTheFileIsUnderTheHomeFolder) {
    ::unsetenv("XDG_CONFIG_HOME");
    ::setenv("HOME", "/home/someone", 1);
    EXPECT_EQ(BraveKeyFile(), "/home/someone/.config/Kestrova/brave.key");
    ::setenv("XDG_CONFIG_HOME", "relative/config", 1);
    EXPECT_EQ(BraveKeyFile(), "/home/someone/.config/Kestrova/brave.key");
}

TEST_F(BraveKeyTest, AFileOthersMayReadIsRefusedWithTheChmodThatMends) {
    for (const mode_t mode : {0644, 0640, 0604, 0610, 0601, 0660}) {
        WriteKey("BSA-readable\n", mode);
        const std::string message = Refusal("BSA-readable");
        EXPECT_NE(message.find("chmod 600 " + File()), std::string::npos) << message;
        char octal[8];
        std::snprintf(octal, sizeof octal, "%04o", static_cast<unsigned>(mode));
        EXPECT_NE(message.find(std::string("(mode ") + octal + ")"), std::string::npos) << message;
    }
}

TEST_F(BraveKeyTest, NoKeyAnEmptyFileOrAKeyNoHeaderCanCarryIsRefused) {
    EXPECT_EQ(Refusal(),
              "The Brave Search API needs a key (the key is read from the environment variable "
              "KESTROVA_BRAVE_KEY, else from " +
                  File() + ").");
    WriteKey("\n\n", 0600);
    EXPECT_NE(Refusal().find("holds no key"), std::string::npos);
    WriteKey("BSA half\n", 0600);
    EXPECT_NE(Refusal("BSA half").find("blanks or control characters"), std::string::npos);
    ::setenv(kBraveKeyVariable, "BSA\x01x", 1);
    EXPECT_NE(Refusal("BSA\x01x").find("The environment variable KESTROVA_BRAVE_KEY holds"),
              std::string::npos);
    ::unsetenv(kBraveKeyVariable);
    fs::remove(File());
    fs::create_directory(File());
    EXPECT_NE(Refusal().find("no regular file"), std::string::npos);
}

// The window's store: the secret store when it answers, else the file the command line reads.
class BraveKeyStoreTest : public BraveKeyTest {
  protected:
    std::string FileText() const {
        std::ostringstream text;
        text << std::ifstream(File(), std::ios::binary).rdbuf();
        return text.str();
    }
    test::FakeSecretStore secrets_;
    BraveKeyStore store_{secrets_};
};

TEST_F(BraveKeyStoreTest, AnAnsweringSecretStoreKeepsTheKeyAndGoesBeforeEveryOtherPlace) {
    ::setenv(kBraveKeyVariable, "BSA-from-env", 1);
    WriteKey("BSA-from-file\n", 0600);
    EXPECT_EQ(store_.Save("  BSA-kept \n"), BraveKeyStore::Place::SecretStore);
    EXPECT_THROW(store_.Save("BSA with blank"), std::invalid_argument);
    EXPECT_EQ(secrets_.kept.at(BraveKeyStore::kSecretName), "BSA-kept");
    EXPECT_EQ(FileText(), "BSA-from-file\n");  // the command line's file is left alone
    EXPECT_EQ(store_.Stored(), "BSA-kept");
    EXPECT_EQ(store_.ForJob().key, "BSA-kept");
    EXPECT_EQ(store_.ForJob().origin, "the desktop's secret store");

    store_.Save("");  // forgotten: the environment, then the file, as on the command line
    EXPECT_TRUE(secrets_.kept.empty());
    EXPECT_EQ(store_.ForJob().key, "BSA-from-env");
    ::unsetenv(kBraveKeyVariable);
    fs::remove(File());
    try {
        store_.ForJob();
        ADD_FAILURE() << "a key was taken";
    } catch (const ApiKeyUnavailable& e) {
        const std::string message = e.what();
        for (const std::string& place :
             {std::string("Edit > Preferences"), File(), std::string(kBraveKeyVariable)})
            EXPECT_NE(message.find(place), std::string::npos) << message;
    }
}

TEST_F(BraveKeyStoreTest, WithoutASecretServiceTheKeyGoesToTheFileWithMode0600) {
    secrets_.answers = false;
    fs::remove_all(dir_ / "config");  // the folder is made as well
    EXPECT_EQ(store_.Save(" BSA-in-file "), BraveKeyStore::Place::File);
    EXPECT_EQ(fs::status(File()).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(FileText(), "BSA-in-file\n");
    EXPECT_EQ(store_.Stored(), "BSA-in-file");
    EXPECT_EQ(store_.ForJob().origin, "the file " + File());
    EXPECT_THROW(store_.Save("BSA\x7f"), std::invalid_argument);
    EXPECT_EQ(FileText(), "BSA-in-file\n");

    // A file made readable by hand is replaced by a private one; no temporary is left.
    WriteKey("BSA-old\n", 0644);
    store_.Save("BSA-new");
    EXPECT_EQ(fs::status(File()).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(FileText(), "BSA-new\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_ / "config/Kestrova"), {}), 1);

    store_.Save("");
    EXPECT_FALSE(fs::exists(File()));
    EXPECT_EQ(store_.Stored(), "");
}

}  // namespace
}  // namespace kestrova
