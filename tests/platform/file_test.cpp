#include "platform/file.h"
#include "platform/filename.h"
#include "support/files.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

using namespace kv::platform;
namespace fs = std::filesystem;

namespace {

class FileTest : public ::testing::Test {
 protected:
  void SetUp() override { dir_ = kvtest::freshTempDir("file"); }
  void TearDown() override { fs::remove_all(dir_); }
  std::string path(const char* name) const { return (dir_ / name).string(); }
  fs::path dir_;
};

}  // namespace

TEST_F(FileTest, OpenDispositionsAndCodes) {
  File f;
  EXPECT_FALSE(f.open(path("missing"), Access::Read, Share::Shared, Disposition::OpenExisting));
  EXPECT_EQ(lastOsError(), 2);
  EXPECT_FALSE(f.open(path("nodir/x"), Access::Read, Share::Shared, Disposition::OpenExisting));
  EXPECT_EQ(lastOsError(), 3);
  ASSERT_TRUE(f.open(path("a"), Access::ReadWrite, Share::Exclusive, Disposition::CreateNew));
  EXPECT_EQ(f.writeAt(0, "hello", 5), 5);
  f.close();
  EXPECT_FALSE(f.open(path("a"), Access::ReadWrite, Share::Shared, Disposition::CreateNew));
  EXPECT_EQ(lastOsError(), 80);
  ASSERT_TRUE(f.open(path("a"), Access::ReadWrite, Share::Shared, Disposition::OpenOrCreate));
  EXPECT_EQ(f.size(), 5);
  ASSERT_TRUE(f.open(path("a"), Access::ReadWrite, Share::Shared, Disposition::CreateAlways));
  EXPECT_EQ(f.size(), 0);
  EXPECT_FALSE(f.open(dir_.string(), Access::Read, Share::Shared, Disposition::OpenExisting));
  EXPECT_EQ(lastOsError(), 5);
}

TEST_F(FileTest, PositionedAndSequentialIo) {
  File f;
  ASSERT_TRUE(f.open(path("b"), Access::ReadWrite, Share::Exclusive, Disposition::CreateAlways));
  EXPECT_EQ(f.writeAt(10, "xyz", 3), 3);
  EXPECT_EQ(f.size(), 13);
  char buf[20] = {};
  EXPECT_EQ(f.readAt(10, buf, 20), 3);  // short at end of file
  EXPECT_EQ(std::memcmp(buf, "xyz", 3), 0);
  EXPECT_EQ(f.readAt(100, buf, 4), 0);
  EXPECT_EQ(f.seek(0, 0), 0);
  EXPECT_EQ(f.write("ab", 2), 2);
  EXPECT_EQ(f.seek(0, 1), 2);
  EXPECT_EQ(f.seek(-3, 2), 10);
  EXPECT_EQ(f.read(buf, 3), 3);
  EXPECT_TRUE(f.truncate(4));
  EXPECT_EQ(f.size(), 4);
  EXPECT_TRUE(f.flush());
}

// Open-file-description locks conflict between two opens even within one process, which is
// what lets these cases run without a second process (the engine tests use real ones).
TEST_F(FileTest, ShareModesConflictWithCode32) {
  struct Case {
    Share first, second;
    bool ok;
  } cases[] = {{Share::Shared, Share::Shared, true},
               {Share::Shared, Share::Exclusive, false},
               {Share::Exclusive, Share::Shared, false},
               {Share::Exclusive, Share::Exclusive, false}};
  File make;
  ASSERT_TRUE(make.open(path("s"), Access::ReadWrite, Share::Shared, Disposition::CreateAlways));
  make.close();
  for (const auto& c : cases) {
    File a, b;
    ASSERT_TRUE(a.open(path("s"), Access::ReadWrite, c.first, Disposition::OpenExisting));
    EXPECT_EQ(b.open(path("s"), Access::Read, c.second, Disposition::OpenExisting), c.ok);
    if (!c.ok) {
      EXPECT_EQ(lastOsError(), 32);
    }
  }
  // An exclusive holder keeps a truncating create from destroying the file.
  File a, b;
  ASSERT_TRUE(a.open(path("s"), Access::ReadWrite, Share::Exclusive, Disposition::OpenExisting));
  ASSERT_EQ(a.writeAt(0, "keep", 4), 4);
  EXPECT_FALSE(b.open(path("s"), Access::ReadWrite, Share::Shared, Disposition::CreateAlways));
  EXPECT_EQ(a.size(), 4);
}

TEST_F(FileTest, ByteRangeLocksBelongToTheOpenFile) {
  File a, b, c;
  ASSERT_TRUE(a.open(path("l"), Access::ReadWrite, Share::Shared, Disposition::CreateAlways));
  ASSERT_TRUE(b.open(path("l"), Access::ReadWrite, Share::Shared, Disposition::OpenExisting));
  EXPECT_TRUE(a.lock(1000000005, 1));
  EXPECT_FALSE(b.lock(1000000005, 1));
  EXPECT_EQ(lastOsError(), 33);
  EXPECT_FALSE(b.lock(1000000001, 1000000000));  // the file lock covers every record byte
  EXPECT_TRUE(b.lock(1000000000, 1));            // the append lock byte stands apart
  // Closing a third open of the same file does not drop a's lock.
  ASSERT_TRUE(c.open(path("l"), Access::ReadWrite, Share::Shared, Disposition::OpenExisting));
  c.close();
  EXPECT_FALSE(b.lock(1000000005, 1));
  EXPECT_TRUE(a.unlock(1000000005, 1));
  EXPECT_TRUE(b.lock(1000000005, 1));
  EXPECT_TRUE(b.lock(1000000006, 1, false));
  EXPECT_TRUE(a.lock(1000000006, 1, false));  // two shared locks coexist
}

// A reader's lock (an index read on a table opened read-only) is granted as a shared lock:
// it keeps a writer's exclusive lock out until released, and the writer's keeps it out.
TEST_F(FileTest, ReadOnlyOpensTakeSharedLocks) {
  File w, r;
  ASSERT_TRUE(w.open(path("ro"), Access::ReadWrite, Share::Shared, Disposition::CreateAlways));
  ASSERT_TRUE(r.open(path("ro"), Access::Read, Share::Shared, Disposition::OpenExisting));
  EXPECT_TRUE(r.lock(1000000000, 1));
  EXPECT_FALSE(w.lock(1000000000, 1));
  EXPECT_EQ(lastOsError(), 33);
  EXPECT_TRUE(r.unlock(1000000000, 1));
  EXPECT_TRUE(w.lock(1000000000, 1));
  EXPECT_FALSE(r.lock(1000000000, 1));
  File moved(std::move(r));
  EXPECT_TRUE(w.unlock(1000000000, 1));
  EXPECT_TRUE(moved.lock(1000000000, 1));  // the read-only mode moves with the file
  EXPECT_FALSE(w.lock(1000000000, 1));
}

TEST_F(FileTest, DeleteRenameExistsFindFirst) {
  for (const char* n : {"t2.dbf", "t1.dbf", "t1.ntx"}) {
    File f;
    ASSERT_TRUE(f.open(path(n), Access::Write, Share::Shared, Disposition::CreateAlways));
  }
  fs::create_directories(dir_ / "sub.dbf");
  EXPECT_EQ(findFirst(path("*.dbf")), path("t1.dbf"));
  EXPECT_EQ(findFirst(path("t?.ntx")), path("t1.ntx"));
  EXPECT_EQ(findFirst(path("*.xyz")), "");
  EXPECT_EQ(lastOsError(), 2);
  EXPECT_EQ(findFirst(path("none/*.dbf")), "");
  EXPECT_EQ(lastOsError(), 3);
  EXPECT_TRUE(fileExists(path("t2.dbf")));
  EXPECT_FALSE(fileExists(path("sub.dbf")));
  EXPECT_FALSE(renameFile(path("t2.dbf"), path("t1.dbf")));
  EXPECT_EQ(lastOsError(), 80);
  EXPECT_TRUE(renameFile(path("t2.dbf"), path("t3.dbf")));
  EXPECT_TRUE(deleteFile(path("t3.dbf")));
  EXPECT_FALSE(deleteFile(path("t3.dbf")));
  EXPECT_EQ(lastOsError(), 2);
}

TEST_F(FileTest, ReplacingContentsGoesThroughATemporaryFileAndKeepsTheOldOneOnFailure) {
  const std::string name = path("klauzula.txt");
  ASSERT_TRUE(replaceFileContents(name, "prvi\r\n"));
  EXPECT_EQ(kvtest::readFile(name), "prvi\r\n");
  fs::permissions(name, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  ASSERT_TRUE(replaceFileContents(name, "drugi\r\ntreci\r\n"));
  EXPECT_EQ(kvtest::readFile(name), "drugi\r\ntreci\r\n");
  EXPECT_EQ(fs::status(name).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  ASSERT_TRUE(replaceFileContents(name, ""));
  EXPECT_EQ(fs::file_size(name), 0u);

  // A name in another case replaces the file on disk under its own name.
  kvtest::writeFile(dir_ / "KALVEDO.INI", "old");
  ASSERT_TRUE(replaceFileContents(path("Kalvedo.ini"), "new"));
  EXPECT_EQ(kvtest::readFile(dir_ / "KALVEDO.INI"), "new");
  EXPECT_FALSE(fs::exists(dir_ / "Kalvedo.ini"));

  // Failures: a directory in the file's place, a missing directory, two names in two cases.
  fs::create_directory(dir_ / "taken");
  EXPECT_FALSE(replaceFileContents(path("taken"), "x"));
  EXPECT_EQ(lastOsError(), 5);
  EXPECT_FALSE(replaceFileContents(path("nodir/x.txt"), "x"));
  EXPECT_EQ(lastOsError(), 3);
  kvtest::writeFile(dir_ / "Dupe.txt", "a");
  kvtest::writeFile(dir_ / "DUPE.txt", "b");
  EXPECT_FALSE(replaceFileContents(path("dupe.txt"), "x"));
  EXPECT_EQ(lastOsError(), kAmbiguousName);
  EXPECT_EQ(kvtest::readFile(dir_ / "Dupe.txt"), "a");

  // Nothing but the files themselves is left behind.
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"DUPE.txt", "Dupe.txt", "KALVEDO.INI", "klauzula.txt",
                                             "taken"}));
}

TEST(FileErrors, ErrnoMapsToWindowsCodes) {
  EXPECT_EQ(osErrorFromErrno(ENOENT), 2);
  EXPECT_EQ(osErrorFromErrno(EACCES), 5);
  EXPECT_EQ(osErrorFromErrno(EEXIST), 80);
  EXPECT_EQ(osErrorFromErrno(ENOSPC), 112);
  EXPECT_EQ(osErrorFromErrno(EAGAIN), 33);
}
