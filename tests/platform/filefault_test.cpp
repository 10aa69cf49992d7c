// The fault hook of the file layer: what a cut or refused write, a failing flush and a
// refused lock do to the file and to the answers and codes its callers see.
#include "platform/filefault.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/file.h"
#include "support/files.h"

using namespace kv::platform;
namespace fs = std::filesystem;

namespace {

class FileFaultTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = kvtest::freshTempDir("filefault");
    ASSERT_TRUE(f_.open((dir_ / "f").string(), Access::ReadWrite, Share::Shared,
                        Disposition::CreateAlways));
    ASSERT_EQ(f_.writeAt(0, "0123456789", 10), 10);
  }
  void TearDown() override {
    setFileFaultHook({});
    f_.close();
    fs::remove_all(dir_);
  }
  std::string contents() const { return kvtest::readFile(dir_ / "f"); }

  fs::path dir_;
  File f_;
};

TEST_F(FileFaultTest, WritesAreCutOrRefusedAsTheHookSays) {
  struct Case {
    const char* what;
    FileFault fault;
    bool positioned;  // writeAt, else the sequential write at position 0
    std::int64_t answer;
    int code;
    const char* left;
  };
  const Case cases[] = {
      {"cut at 2", FileFault::cut(2), true, 2, 112, "01ab456789"},
      {"cut at 0", FileFault::cut(0), true, 0, 112, "0123456789"},
      {"cut beyond the length is no cut", FileFault::cut(9), true, 4, 0, "01abcd6789"},
      {"refused", FileFault::fail(29), true, -1, 29, "0123456789"},
      {"sequential cut", FileFault::cut(1), false, 1, 112, "a123456789"},
      {"sequential refused", FileFault::fail(5), false, -1, 5, "0123456789"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_EQ(f_.writeAt(0, "0123456789", 10), 10);
    std::uint64_t asked = 0;
    setFileFaultHook([&](FileStep step, const std::string& path, std::uint64_t, std::uint64_t n) {
      EXPECT_EQ(step, FileStep::Write);
      EXPECT_EQ(path, f_.path());
      asked = n;
      return c.fault;
    });
    if (c.positioned) {
      EXPECT_EQ(f_.writeAt(2, "abcd", 4), c.answer);
    } else {
      ASSERT_EQ(f_.seek(0, 0), 0);
      EXPECT_EQ(f_.write("abcd", 4), c.answer);
    }
    EXPECT_EQ(lastOsError(), c.code);
    EXPECT_EQ(asked, 4u);
    setFileFaultHook({});
    EXPECT_EQ(contents(), c.left);
  }
}

TEST_F(FileFaultTest, FlushFailsAndLockIsRefusedWithTheirCodes) {
  setFileFaultHook([](FileStep step, const std::string&, std::uint64_t offset, std::uint64_t) {
    if (step == FileStep::Flush) return FileFault::fail(29);
    if (step == FileStep::Lock && offset == 100) return FileFault::fail(0);
    return FileFault::none();
  });
  EXPECT_FALSE(f_.flush());
  EXPECT_EQ(lastOsError(), 29);
  EXPECT_FALSE(f_.lock(100, 1));
  EXPECT_EQ(lastOsError(), 33);  // a refused lock reads as a conflict
  EXPECT_TRUE(f_.lock(101, 1));
  // The refused lock was never taken: another open of the file gets it.
  setFileFaultHook({});
  File other;
  ASSERT_TRUE(other.open(f_.path(), Access::ReadWrite, Share::Shared, Disposition::OpenExisting));
  EXPECT_TRUE(other.lock(100, 1));
  EXPECT_FALSE(other.lock(101, 1));
  EXPECT_TRUE(f_.flush());
}

}  // namespace
