// Damaged files: every one must end in the corruption or read error, never in a crash or a
// read outside the file or the record buffer (run under the sanitizer build as well).
#include <sys/resource.h>

#include <csignal>

#include "support/engine_fixture.h"

using namespace kv;
using namespace kv::engine;
using kvtest::EngineTest;
namespace fs = std::filesystem;

namespace {

using BrokenTest = EngineTest;

std::string le16(int v) {
  return std::string{static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
}

// A good table of one C(4) field and one memo field with one record.
std::string goodTable(const std::string& memoField = "         2") {
  std::string h(32, '\0');
  h[0] = '\x83';
  h[4] = 1;
  h.replace(8, 2, le16(32 * 2 + 34));
  h.replace(10, 2, le16(1 + 4 + 10));
  std::string d1(32, '\0'), d2(32, '\0');
  d1.replace(0, 4, "NAME");
  d1[11] = 'C';
  d1[16] = 4;
  d2.replace(0, 4, "NOTE");
  d2[11] = 'M';
  d2[16] = 10;
  return h + d1 + d2 + std::string("\x0D\x00", 2) + " abcd" + memoField + "\x1A";
}

std::string goodMemo() {
  std::string m(1024, '\0');
  m[0] = 3;
  return m + "hello\x1A";
}

}  // namespace

TEST_F(BrokenTest, DamagedTablesFailToOpenWithCorruption) {
  struct Case {
    const char* what;
    std::string data;
  };
  std::string good = goodTable();
  std::string wrongVersion = good, unknownType = good, headerBeyond = good, tinyHeader = good,
              fieldOutside = good, zeroRecLen = good;
  wrongVersion[0] = '\x30';
  unknownType[32 + 32 + 11] = 'X';
  headerBeyond.replace(8, 2, le16(4000));
  tinyHeader.replace(8, 2, le16(20));
  fieldOutside.replace(10, 2, le16(8));  // fields need 15 bytes
  zeroRecLen.replace(10, 2, le16(0));
  Case cases[] = {{"empty file", ""},
                  {"short header", good.substr(0, 20)},
                  {"wrong version", wrongVersion},
                  {"unknown field type", unknownType},
                  {"header length beyond the file", headerBeyond},
                  {"header length below one field", tinyHeader},
                  {"descriptors cut short", good.substr(0, 50)},
                  {"field outside the record", fieldOutside},
                  {"zero record length", zeroRecLen}};
  for (const auto& c : cases) {
    writeBytes("b.dbf", c.data);
    writeBytes("b.dbt", goodMemo());
    use("b");
    EXPECT_EQ(lastError(), std::make_pair(32, 1012)) << c.what;
    EXPECT_FALSE(USED().asBool()) << c.what;
    DBCLOSEALL();
  }
  // The good table itself opens and reads.
  writeBytes("b.dbf", good);
  use("b");
  EXPECT_EQ(lastError(), std::make_pair(0, 0));
  EXPECT_EQ(FIELDGET(Value(1)).str(), "abcd");
  EXPECT_EQ(FIELDGET(Value(2)).str(), "hello");
}

TEST_F(BrokenTest, RecordCountBeyondTheFileGivesReadError) {
  std::string t = goodTable();
  t[4] = 9;  // claims nine records, holds one
  writeBytes("c.dbf", t);
  writeBytes("c.dbt", goodMemo());
  use("c");
  EXPECT_EQ(FIELDGET(Value(1)).str(), "abcd");
  DBGOTO(Value(5));
  EXPECT_TRUE(FIELDGET(Value(1)).isNil());
  EXPECT_EQ(lastError(), std::make_pair(23, 1010));
}

TEST_F(BrokenTest, MemoPointersOfOtherWritersAndBadBlocks) {
  struct Case {
    const char* field;
    bool ok;
    const char* text;
  } cases[] = {{"0000000002", true, "hello"},  // zero-padded
               {"2         ", true, "hello"},  // left-justified
               {"         0", true, ""},       // empty memo
               {"        99", false, ""},      // block beyond the memo file
               {"9999999999", false, ""}};     // beyond what a block number holds
  for (const auto& c : cases) {
    writeBytes("m.dbf", goodTable(c.field));
    writeBytes("m.dbt", goodMemo());
    use("m");
    Value v = FIELDGET(Value(2));
    if (c.ok) {
      EXPECT_EQ(lastError(), std::make_pair(0, 0)) << c.field;
      EXPECT_EQ(v.str(), c.text) << c.field;
    } else {
      EXPECT_EQ(lastError(), std::make_pair(23, 1010)) << c.field;
    }
    DBCLOSEALL();
  }
}

TEST_F(BrokenTest, MissingMemoFileFailsTheOpen) {
  writeBytes("n.dbf", goodTable());
  use("n");
  auto e = lastError();
  EXPECT_EQ(e, std::make_pair(21, 1002));
  EXPECT_FALSE(USED().asBool());
}

TEST_F(BrokenTest, HeaderOfOtherWritersIsAccepted) {
  // 32 x n + 33 bytes (terminator without the zero byte), odd bytes 12-15 of a descriptor
  // and a value in header byte 29, which is kept on rewrite.
  std::string t = goodTable();
  t.replace(8, 2, le16(32 * 2 + 33));
  t.erase(32 * 3 + 1, 1);
  t[29] = '\x57';
  t[32 + 12] = '\x11';
  t[32 + 15] = '\x7F';
  writeBytes("o.dbf", t);
  writeBytes("o.dbt", goodMemo());
  use("o");
  EXPECT_EQ(lastError(), std::make_pair(0, 0));
  EXPECT_EQ(FIELDGET(Value(1)).str(), "abcd");
  EXPECT_EQ(FIELDGET(Value(2)).str(), "hello");
  FIELDPUT(Value(1), Value("wxyz"));
  DBCLOSEALL();
  std::string after = bytes("o.dbf");
  EXPECT_EQ(after[29], '\x57');
  EXPECT_EQ(after.substr(32 * 2 + 33, 5), " wxyz");
}

// A file-size limit makes the disk refuse writes past it, as a full disk does: every write
// path must report the write error and leave the table readable.
TEST_F(BrokenTest, FullDiskGivesWriteErrors) {
  DBCREATE(Value("full"), structure({row("T", "C", 100, 0), row("M", "M", 10, 0)}));
  use("full");
  DBAPPEND();
  FIELDPUT(Value(1), Value("first"));
  DBCOMMIT();
  ASSERT_TRUE(errors.empty());
  struct rlimit old {};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  auto previous = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit tight = old;
  tight.rlim_cur = static_cast<rlim_t>(fs::file_size(path("full.dbf")) + 150);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tight), 0);
  for (int i = 0; i < 3; ++i) {
    DBAPPEND();
    FIELDPUT(Value(1), Value("more"));
  }
  DBCOMMIT();
  bool sawWrite = false;
  for (const auto& e : errors) sawWrite |= e.genCode == 24 && e.subCode == 1011;
  EXPECT_TRUE(sawWrite);
  errors.clear();
  FIELDPUT(Value(2), Value(std::string(2000, 'm')));  // memo append past the limit
  EXPECT_EQ(lastError(), std::make_pair(24, 1011));
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, previous);
  DBCLOSEALL();
  errors.clear();
  use("full");
  EXPECT_EQ(FIELDGET(Value(1)).str().substr(0, 5), "first");
  // A shared append whose blank record cannot be written leaves the table as it was and
  // holds no lock afterwards.
  DBCLOSEALL();
  errors.clear();
  use("full", true);
  std::uint32_t before = static_cast<std::uint32_t>(__LASTREC().asDouble());
  tight.rlim_cur = static_cast<rlim_t>(fs::file_size(path("full.dbf")));
  std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tight), 0);
  DBAPPEND();
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, previous);
  EXPECT_EQ(lastError(), std::make_pair(24, 1011));
  EXPECT_EQ(__LASTREC().asDouble(), before);
  EXPECT_EQ(DBRLOCKLIST().arrayLen(), 0u);
  DBAPPEND();
  EXPECT_TRUE(errors.empty());
  EXPECT_EQ(__LASTREC().asDouble(), before + 1);
}

TEST_F(BrokenTest, RecordsBeyondAStaleHeaderCountSurviveAnExclusiveClose) {
  DBCREATE(Value("stale"), structure({row("T", "C", 3, 0)}));
  use("stale", true);
  for (const char* t : {"one", "two", "thr"}) {
    DBAPPEND();
    FIELDPUT(Value(1), Value(t));
    DBUNLOCK();
  }
  DBCOMMIT();
  DBCLOSEALL();
  std::string b = bytes("stale.dbf");
  b[4] = 1;  // a station stopped before its header said three
  writeBytes("stale.dbf", b);
  use("stale");
  EXPECT_EQ(__LASTREC().asDouble(), 3);
  DBGOTO(Value(1));
  FIELDPUT(Value(1), Value("ONE"));
  DBCLOSEALL();
  use("stale");
  DBGOTO(Value(3));
  EXPECT_EQ(FIELDGET(Value(1)).str(), "thr");
  EXPECT_TRUE(errors.empty());
}
