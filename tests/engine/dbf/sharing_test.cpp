// Two real processes on one table: appends under record locks, lock conflicts, the share
// modes of exclusive and shared opens, and indexes kept current by both at once.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdio>
#include <set>

#include "engine/area/fieldresolver.h"
#include "engine/ntx/dbfntxarea.h"
#include "runtime/lang/functions.h"
#include "support/engine_fixture.h"
#include "support/tool_runner.h"

extern char** environ;

using namespace kv;
using namespace kv::engine;
using kvtest::EngineTest;
namespace fs = std::filesystem;

namespace {

std::string stationPath() {
  const char* bin = std::getenv("KV_BIN_DIR");
  return std::string(bin ? bin : KV_BIN_DIR) + "/kv_dbf_station";
}

struct Station {
  pid_t pid = -1;
  std::string out;  // file holding its standard output
};

Station start(const std::vector<std::string>& args, const std::string& outFile) {
  std::vector<std::string> all{stationPath()};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t fa;
  posix_spawn_file_actions_init(&fa);
  posix_spawn_file_actions_addopen(&fa, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  Station s;
  s.out = outFile;
  if (posix_spawn(&s.pid, argv[0], &fa, nullptr, argv.data(), environ) != 0) s.pid = -1;
  posix_spawn_file_actions_destroy(&fa);
  return s;
}

int finish(Station& s) {
  int status = 0;
  if (s.pid > 0) waitpid(s.pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void waitFile(const std::string& f) {
  for (int i = 0; i < 20000 && !fs::exists(f); ++i) usleep(1000);
}

class SharingTest : public EngineTest {
 protected:
  void makeTable() {
    DBCREATE(Value("shared"),
             structure({row("TAG", "C", 1, 0), row("SEQ", "N", 6, 0), row("CHECK", "C", 10, 0)}));
    ASSERT_TRUE(errors.empty());
  }
};

}  // namespace

TEST_F(SharingTest, TwoStationsAppendThousandRecordsEach) {
  makeTable();
  Station a = start({"append", dir_.string(), "shared", "1000", "A"}, path("a.out"));
  Station b = start({"append", dir_.string(), "shared", "1000", "B"}, path("b.out"));
  ASSERT_GT(a.pid, 0);
  ASSERT_GT(b.pid, 0);
  EXPECT_EQ(finish(a), 0) << bytes("a.out");
  EXPECT_EQ(finish(b), 0) << bytes("b.out");
  use("shared");
  ASSERT_EQ(__LASTREC().asDouble(), 2000);
  std::set<std::string> seen;
  for (DBGOTOP(); !__EOF().asBool(); DBSKIP()) {
    std::string tag(FIELDGET(Value(1)).str());
    int seq = static_cast<int>(FIELDGET(Value(2)).asDouble());
    std::string check(FIELDGET(Value(3)).str());
    ASSERT_TRUE(tag == "A" || tag == "B") << __RECNO().asDouble();
    ASSERT_EQ(check.substr(0, check.find(' ')), tag + std::to_string(seq));
    seen.insert(check);
  }
  EXPECT_EQ(seen.size(), 2000u);
  // A shared commit writes only the header, so the end mark may or may not follow.
  std::size_t size = bytes("shared.dbf").size(), data = 32u * 3 + 34 + 2000 * 18;
  EXPECT_TRUE(size == data || size == data + 1) << size;
  EXPECT_TRUE(errors.empty());
}

TEST_F(SharingTest, TwoStationsAppendMemoTextsUnderTheMemoAppendLock) {
  DBCREATE(Value("memos"), structure({row("TAG", "C", 1, 0), row("SEQ", "N", 6, 0),
                                      row("CHECK", "C", 10, 0), row("NOTE", "M", 10, 0)}));
  Station a = start({"append", dir_.string(), "memos", "300", "A"}, path("a.out"));
  Station b = start({"append", dir_.string(), "memos", "300", "B"}, path("b.out"));
  EXPECT_EQ(finish(a), 0) << bytes("a.out");
  EXPECT_EQ(finish(b), 0) << bytes("b.out");
  use("memos");
  ASSERT_EQ(__LASTREC().asDouble(), 600);
  for (DBGOTOP(); !__EOF().asBool(); DBSKIP()) {
    std::string tag(FIELDGET(Value(1)).str());
    int i = static_cast<int>(FIELDGET(Value(2)).asDouble());
    std::string want =
        std::string(static_cast<std::size_t>(1 + (i * 37) % 1300), tag[0]) + std::to_string(i);
    ASSERT_EQ(FIELDGET(Value(4)).str(), want) << tag << i;
  }
  EXPECT_TRUE(errors.empty());
}

TEST_F(SharingTest, RecordLockBlocksTheOtherStationUntilReleased) {
  makeTable();
  use("shared");
  DBAPPEND();
  DBAPPEND();
  DBCLOSEALL();
  Station s = start({"hold", dir_.string(), "shared", "2", path("ready"), path("release")},
                    path("hold.out"));
  waitFile(path("ready"));
  use("shared", true);
  EXPECT_FALSE(DBRLOCK(Value(2)).asBool());
  EXPECT_TRUE(DBRLOCK(Value(1)).asBool());  // another record is free
  EXPECT_FALSE(__FLOCK().asBool());         // the file lock needs every record free
  DBGOTO(Value(2));
  FIELDPUT(Value(1), Value("X"));
  EXPECT_EQ(lastError(), std::make_pair(38, 1022));
  writeBytes("release", "1");
  EXPECT_EQ(finish(s), 0) << bytes("hold.out");
  EXPECT_TRUE(DBRLOCK(Value(2)).asBool());
  EXPECT_TRUE(__FLOCK().asBool());
}

TEST_F(SharingTest, ExclusiveAndSharedOpensExcludeEachOther) {
  makeTable();
  struct Case {
    const char* other;
    bool mineShared;
  } cases[] = {{"shared", false}, {"excl", true}, {"excl", false}};
  for (const auto& c : cases) {
    fs::remove(path("ready"));
    fs::remove(path("release"));
    Station s = start({"open", dir_.string(), "shared", c.other, path("ready"), path("release")},
                      path("open.out"));
    waitFile(path("ready"));
    use("shared", c.mineShared);
    ASSERT_EQ(errors.size(), 1u) << c.other;
    EXPECT_EQ(errors[0].genCode, 21);
    EXPECT_EQ(errors[0].subCode, 1001);
    EXPECT_EQ(errors[0].osCode, 32);
    EXPECT_FALSE(USED().asBool());
    errors.clear();
    writeBytes("release", "1");
    EXPECT_EQ(finish(s), 0);
  }
  // Two shared opens live side by side; each sees the other's appends at once.
  fs::remove(path("ready"));
  fs::remove(path("release"));
  Station s = start({"open", dir_.string(), "shared", "shared", path("ready"), path("release")},
                    path("open.out"));
  waitFile(path("ready"));
  use("shared", true);
  EXPECT_TRUE(USED().asBool());
  writeBytes("release", "1");
  EXPECT_EQ(finish(s), 0);
}

TEST_F(SharingTest, CreateOverATableAnotherStationHoldsChangesNothing) {
  makeTable();
  use("shared");
  DBAPPEND();
  DBCLOSEALL();
  std::string before = bytes("shared.dbf");
  Station s = start({"open", dir_.string(), "shared", "shared", path("ready"), path("release")},
                    path("open.out"));
  waitFile(path("ready"));
  DBCREATE(Value("shared"), structure({row("OTHER", "C", 3, 0)}));
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].genCode, 20);
  EXPECT_EQ(errors[0].subCode, 1004);
  EXPECT_EQ(errors[0].osCode, 32);
  errors.clear();
  writeBytes("release", "1");
  EXPECT_EQ(finish(s), 0);
  EXPECT_EQ(bytes("shared.dbf"), before);
}

TEST_F(SharingTest, AppendLockFailureLeavesTheTableAsItWas) {
  makeTable();
  use("shared");
  DBAPPEND();
  DBCLOSEALL();
  // Another station holds the lock byte of the record an append would create (record 2).
  Station s =
      start({"rawlock", dir_.string(), "shared", "1000000002", path("ready"), path("release")},
            path("raw.out"));
  waitFile(path("ready"));
  use("shared", true);
  DBAPPEND();
  ASSERT_EQ(errors.size(), 1u) << bytes("raw.out");
  EXPECT_EQ(errors[0].genCode, 40);
  EXPECT_EQ(errors[0].subCode, 1024);
  EXPECT_EQ(errors[0].flags, kCanRetry | kCanDefault);
  EXPECT_EQ(__LASTREC().asDouble(), 1);
  errors.clear();
  writeBytes("release", "1");
  EXPECT_EQ(finish(s), 0);
  DBAPPEND();  // free again
  EXPECT_TRUE(errors.empty());
  EXPECT_EQ(__LASTREC().asDouble(), 2);
  // Several record locks at once, released one by one.
  DBAPPEND();
  EXPECT_TRUE(DBRLOCK(Value(1)).asBool());
  EXPECT_TRUE(DBRLOCK(Value(2)).asBool());
  EXPECT_EQ(DBRLOCKLIST().arrayLen(), 3u);
  DBRUNLOCK(Value(2));
  EXPECT_EQ(DBRLOCKLIST().arrayLen(), 2u);
  EXPECT_TRUE(__LOCK().asBool());  // already held: succeeds, the others stay
  EXPECT_EQ(DBRLOCKLIST().arrayLen(), 2u);
  DBGOTO(Value(2));
  EXPECT_TRUE(__LOCK().asBool());  // a new one: only this record stays locked
  ASSERT_EQ(DBRLOCKLIST().arrayLen(), 1u);
  EXPECT_EQ(DBRLOCKLIST().arr()->items[0].asDouble(), 2);
  DBUNLOCK();
  EXPECT_EQ(DBRLOCKLIST().arrayLen(), 0u);
}

TEST_F(SharingTest, TwoStationsKeepACharacterAndANumericIndexCurrent) {
  registerRuntimeFunctions();
  installFieldResolver();
  registerDbfNtxDriver();
  makeTable();
  const int first = 200, appends = 300;
  DBUSEAREA(Value(true), Value("DBFNTX"), Value("shared"), Value(), Value(false));
  for (int i = 1; i <= first; ++i) {
    DBAPPEND();
    FIELDPUT(Value(1), Value("I"));
    FIELDPUT(Value(2), Value(i));
    FIELDPUT(Value(3), Value("I" + std::to_string(i)));
  }
  ORDCREATE(Value("chk"), Value(), Value("CHECK"));
  ORDCREATE(Value("seq"), Value(), Value("SEQ"));
  DBCLOSEALL();
  ASSERT_TRUE(errors.empty());
  const std::string n = std::to_string(appends), f = std::to_string(first);
  Station a = start({"indexed", dir_.string(), "shared", n, "A", f, "chk", "seq"}, path("a.out"));
  Station b = start({"indexed", dir_.string(), "shared", n, "B", f, "chk", "seq"}, path("b.out"));
  ASSERT_GT(a.pid, 0);
  ASSERT_GT(b.pid, 0);
  EXPECT_EQ(finish(a), 0) << bytes("a.out");
  EXPECT_EQ(finish(b), 0) << bytes("b.out");
  auto r = kvtest::runTool(dir_.string(), {"check", "shared", "chk", "seq"});
  EXPECT_EQ(r.code, 0) << r.out;
  EXPECT_EQ(r.out, "clean: shared.dbf (800 records), chk.ntx (800 keys), seq.ntx (800 keys)\n");
  // Every appended and every changed key is found, on its record.
  DBUSEAREA(Value(true), Value("DBFNTX"), Value("shared"), Value(), Value(true));
  ORDLISTADD(Value("chk"));
  ORDLISTADD(Value("seq"));
  auto padded = [](std::string s) { return s + std::string(10 - s.size(), ' '); };
  for (const char* tag : {"A", "B"}) {
    for (int i = 1; i <= appends; ++i) {
      ASSERT_TRUE(DBSEEK(Value(padded(tag + std::to_string(i)))).asBool()) << tag << i;
      EXPECT_EQ(FIELDGET(Value(2)).asInt(), i);
    }
  }
  for (int rec = 1; rec <= first; ++rec) {
    std::string tag = rec % 2 ? "A" : "B";
    ORDSETFOCUS(Value(1));
    ASSERT_TRUE(DBSEEK(Value(padded(tag + "u" + std::to_string(rec)))).asBool()) << rec;
    EXPECT_EQ(__RECNO().asInt(), rec);
    ORDSETFOCUS(Value(2));
    ASSERT_TRUE(DBSEEK(Value(-rec)).asBool()) << rec;
    EXPECT_EQ(__RECNO().asInt(), rec);
  }
  ORDSETFOCUS(Value(1));
  EXPECT_FALSE(DBSEEK(Value(padded("I1"))).asBool());
  EXPECT_TRUE(errors.empty());
}
