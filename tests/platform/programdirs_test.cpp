// Where the settings file and the error log go: beside the executable when its directory is
// writable, else in the user's configuration and state directories, created as needed.
#include "platform/programdirs.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <optional>

#include "support/files.h"

using namespace kv::platform;
namespace fs = std::filesystem;

namespace {

// Sets an environment variable for the test's life and puts the old value back.
class EnvVar {
 public:
  EnvVar(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value) {
      ::setenv(name, value, 1);
    } else {
      ::unsetenv(name);
    }
  }
  ~EnvVar() {
    if (old_) {
      ::setenv(name_, old_->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

class ProgramDirsTest : public ::testing::Test {
 protected:
  void SetUp() override { dir_ = kvtest::freshTempDir("progdirs"); }
  void TearDown() override { fs::remove_all(dir_); }
  std::string sub(const char* s) const { return (dir_ / s).string(); }
  fs::path dir_;
};

// No process, not even the superuser's, can create a file in a /proc directory.
constexpr const char* kUnwritable = "/proc/self";

TEST_F(ProgramDirsTest, WritableExecutableDirectoryKeepsBothFiles) {
  fs::create_directories(sub("bin"));
  EXPECT_EQ(programFileDirFor(ProgramFile::Settings, sub("bin")), sub("bin") + "/");
  EXPECT_EQ(programFileDirFor(ProgramFile::ErrorLog, sub("bin") + "/"), sub("bin") + "/");
  EXPECT_TRUE(fs::is_empty(sub("bin")));  // the probe file is gone again
}

TEST_F(ProgramDirsTest, UnwritableExecutableDirectoryUsesTheUsersDirectories) {
  ASSERT_FALSE(directoryWritable(kUnwritable));
  struct Case {
    const char* config;  // XDG_CONFIG_HOME, nullptr unset
    const char* state;   // XDG_STATE_HOME
    const char* settingsDir;
    const char* logDir;
  } cases[] = {
      {"cfg", "st", "cfg/kalvedo/", "st/kalvedo/"},
      {nullptr, nullptr, "home/.config/kalvedo/", "home/.local/state/kalvedo/"},
      {"relative", "", "home/.config/kalvedo/", "home/.local/state/kalvedo/"},
  };
  for (const auto& c : cases) {
    const std::string config = c.config && c.config[0] == 'c' ? sub(c.config) : "";
    const std::string state = c.state && c.state[0] == 's' ? sub(c.state) : "";
    EnvVar home("HOME", sub("home").c_str());
    EnvVar cfg("XDG_CONFIG_HOME",
               c.config ? (config.empty() ? c.config : config.c_str()) : nullptr);
    EnvVar st("XDG_STATE_HOME", c.state ? (state.empty() ? c.state : state.c_str()) : nullptr);
    const std::string settings = programFileDirFor(ProgramFile::Settings, kUnwritable);
    const std::string log = programFileDirFor(ProgramFile::ErrorLog, kUnwritable);
    EXPECT_EQ(settings, sub(c.settingsDir)) << c.settingsDir;
    EXPECT_EQ(log, sub(c.logDir)) << c.logDir;
    EXPECT_TRUE(fs::is_directory(settings));
    EXPECT_TRUE(directoryWritable(log));
  }
}

}  // namespace
