// `kalvedo-db backup` through the built executable: a backup taken while another station
// appends and changes records through the index, read back by independent readers (Python's
// zipfile, python3-dbfread, unzip), and the failures that must leave no archive behind.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <regex>

#include "support/engine_fixture.h"
#include "support/process_run.h"

using kvtest::EngineTest;
namespace fs = std::filesystem;

namespace {

std::string binary(const char* name) {
  const char* bin = std::getenv("KV_BIN_DIR");
  return std::string(bin ? bin : KV_BIN_DIR) + "/" + name;
}

bool pythonPeers() {
  return std::system("/usr/bin/python3 -c 'import zipfile, dbfread' >/dev/null 2>&1") == 0;
}

// The names of the files in a folder.
std::vector<std::string> listing(const fs::path& dir) {
  std::vector<std::string> out;
  for (const auto& e : fs::directory_iterator(dir)) out.push_back(e.path().filename().string());
  std::sort(out.begin(), out.end());
  return out;
}

// Runs the companion in `dir` with its files limited to `limit` bytes (a disk that fills up).
kvtest::Outcome runLimited(const fs::path& dir, rlim_t limit, std::vector<std::string> args) {
  std::string exe = binary("kalvedo-db");
  pid_t pid = ::fork();
  if (pid == 0) {
    if (::chdir(dir.c_str()) != 0) _exit(90);
    int out = ::open("out.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int err = ::open("err.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ::dup2(out, 1);
    ::dup2(err, 2);
    rlimit r{limit, limit};
    ::setrlimit(RLIMIT_FSIZE, &r);
    std::vector<char*> argv{exe.data()};
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    ::execv(exe.c_str(), argv.data());
    _exit(91);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  kvtest::Outcome o;
  o.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  o.out = kvtest::readFile(dir / "out.txt");
  o.err = kvtest::readFile(dir / "err.txt");
  return o;
}

class BackupToolTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    // The work-order-like table the stations write, with its index on CHECK, and a small
    // table with a memo text in the table's code page.
    tool({"eval",
          "DBCREATE(\"t\", {{\"TAG\",\"C\",2,0},{\"SEQ\",\"N\",6,0},{\"CHECK\",\"C\",10,0}})",
          "DBUSEAREA(.T., \"DBFNTX\", \"t\", , .F.)", "ORDCREATE(\"t\", , \"CHECK\")"});
    tool({"eval", "DBCREATE(\"k\", {{\"NAME\",\"C\",20,0},{\"NOTE\",\"M\",10,0}})",
          "DBUSEAREA(.T., \"DBFNTX\", \"k\", , .F.)", "ORDCREATE(\"k\", , \"UPPER(NAME)\")",
          "DBAPPEND()", "FIELDPUT(1, \"Čačak Šid Đakovo\")",
          "FIELDPUT(2, \"žuto\" + CHR(13) + CHR(10) + REPLICATE(\"ćš\", 900))", "DBCLOSEAREA()"});
    writeBytes("klauzula.txt", "Uslovi servisa\r\n");
    ASSERT_EQ(station({"indexed", dir_.string(), "t", "200", "A", "0", "t.ntx"}), 0);
    fs::create_directories(dir_ / "out");
  }

  void tool(std::vector<std::string> args) {
    kvtest::Outcome o = kvtest::runProgramIn(dir_, binary("kalvedo-db"), std::move(args));
    ASSERT_EQ(o.exitCode, 0) << o.out << o.err;
  }
  int station(std::vector<std::string> args) {
    fs::create_directories(dir_ / "st");
    return kvtest::runProgramIn(dir_ / "st", binary("kv_dbf_station"), std::move(args)).exitCode;
  }
  kvtest::Outcome backup(std::vector<std::string> args = {"out"}) {
    args.insert(args.begin(), "backup");
    return kvtest::runProgramIn(dir_, binary("kalvedo-db"), std::move(args));
  }
  // Whole records in the table file right now.
  std::size_t records(const std::string& table, std::size_t header, std::size_t record) {
    std::size_t size = fs::file_size(dir_ / table);
    return size < header ? 0 : (size - header) / record;
  }
  std::string python(const std::string& script) {
    writeBytes("peer.py", script);
    std::string cmd = "cd " + dir_.string() + " && /usr/bin/python3 peer.py 2>&1";
    std::string out;
    if (FILE* p = ::popen(cmd.c_str(), "r")) {
      char buf[4096];
      for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
      ::pclose(p);
    }
    return out;
  }
};

TEST_F(BackupToolTest, BackupWhileAnotherStationWritesThroughTheIndexChecksClean) {
  if (!pythonPeers()) GTEST_SKIP() << "python3-dbfread not installed";
  constexpr std::size_t kHeader = 32 * 3 + 34, kRecord = 1 + 2 + 6 + 10;
  const std::size_t before = records("t.dbf", kHeader, kRecord);
  ASSERT_EQ(before, 200u);
  fs::create_directories(dir_ / "st2");
  kvtest::Child writer =
      kvtest::startProgramIn(dir_ / "st2", binary("kv_dbf_station"),
                             {"indexed", dir_.string(), "t", "3000", "B", "400", "t.ntx"});
  ASSERT_GT(writer.pid, 0);
  // The backup starts once the other station is under way.
  for (int i = 0; i < 20000 && records("t.dbf", kHeader, kRecord) < before + 20; ++i) usleep(500);
  kvtest::Outcome b = backup();
  kvtest::Outcome w = kvtest::finishProgram(writer);
  ASSERT_EQ(w.exitCode, 0) << w.out;
  const std::size_t after = records("t.dbf", kHeader, kRecord);
  ASSERT_EQ(after, 3200u);
  std::printf("%s", b.out.c_str());
  ASSERT_EQ(b.exitCode, 0) << b.out << b.err;

  std::vector<std::string> made = listing(dir_ / "out");
  ASSERT_EQ(made.size(), 1u);
  EXPECT_TRUE(std::regex_match(made[0], std::regex(R"(kalvedo-backup-\d{8}-\d{6}\.zip)")));
  std::smatch m;
  ASSERT_TRUE(std::regex_search(b.out, m, std::regex(R"(t\.dbf \((\d+) records\): clean)")));
  const std::size_t copied = std::stoul(m[1]);
  EXPECT_GE(copied, before + 20);
  EXPECT_LE(copied, after);
  EXPECT_NE(b.out.find("t.ntx (" + std::to_string(copied) + " keys): clean"), std::string::npos);
  EXPECT_NE(b.out.find("k.dbf (1 record): clean"), std::string::npos);
  EXPECT_NE(b.out.find("backup: out/" + made[0] + ", 6 files, 2 tables clean"), std::string::npos);

  // The independent readers: Python's zipfile tests and unpacks the archive, python3-dbfread
  // reads the tables in it.
  std::string out = python(
      "import zipfile, dbfread\n"
      "z = zipfile.ZipFile('out/" +
      made[0] +
      "')\n"
      "print(z.testzip())\n"
      "print(sorted(z.namelist()))\n"
      "z.extractall('unpacked')\n"
      "t = list(dbfread.DBF('unpacked/t.dbf'))\n"
      "print(len(t), len(set(r['CHECK'] for r in t)))\n"
      "# A record the other station changed holds its mark and minus its number.\n"
      "print(all(r['CHECK'] == ('Bu' + str(-r['SEQ']) if r['SEQ'] < 0 else r['TAG'] +"
      " str(r['SEQ'])) for r in t))\n"
      "k = list(dbfread.DBF('unpacked/k.dbf', encoding='cp1250'))\n"
      "print(k[0]['NAME'], k[0]['NOTE'][:6] == 'žuto\\r\\n', len(k[0]['NOTE']))\n");
  EXPECT_EQ(out, "None\n['k.dbf', 'k.dbt', 'k.ntx', 'klauzula.txt', 't.dbf', 't.ntx']\n" +
                     std::to_string(copied) + " " + std::to_string(copied) +
                     "\nTrue\nČačak Šid Đakovo True 1806\n");
  if (fs::exists("/usr/bin/unzip")) {
    EXPECT_EQ(
        std::system(
            ("/usr/bin/unzip -tq " + (dir_ / "out" / made[0]).string() + " >/dev/null").c_str()),
        0);
  }
}

TEST_F(BackupToolTest, FailuresTellWhyAndLeaveNoArchive) {
  writeBytes("plain.txt", "not a folder");
  struct Case {
    const char* dest;
    const char* says;
  } cases[] = {{"missing/folder", "the folder does not exist"}, {"plain.txt", "cannot be created"}};
  for (const auto& c : cases) {
    kvtest::Outcome o = backup({c.dest});
    EXPECT_EQ(o.exitCode, 1) << c.dest;
    EXPECT_NE(o.err.find("kalvedo-db: backup failed: "), std::string::npos) << o.err;
    EXPECT_NE(o.err.find(c.says), std::string::npos) << o.err;
  }
  EXPECT_FALSE(fs::exists(dir_ / "missing"));
  EXPECT_EQ(bytes("plain.txt"), "not a folder");
}

TEST_F(BackupToolTest, TableHeldExclusivelyByAnotherStationEndsTheBackup) {
  fs::create_directories(dir_ / "st3");
  kvtest::Child holder =
      kvtest::startProgramIn(dir_ / "st3", binary("kv_dbf_station"),
                             {"open", dir_.string(), "t", "excl", path("ready"), path("release")});
  for (int i = 0; i < 20000 && !fs::exists(path("ready")); ++i) usleep(500);
  kvtest::Outcome o = backup();
  writeBytes("release", "1");
  EXPECT_EQ(kvtest::finishProgram(holder).exitCode, 0);
  EXPECT_EQ(o.exitCode, 1);
  EXPECT_NE(o.err.find("the table t.dbf cannot be copied: another station has it open "
                       "exclusively (error 21/1001"),
            std::string::npos)
      << o.err;
  EXPECT_TRUE(listing(dir_ / "out").empty());
}

TEST_F(BackupToolTest, FullDiskRemovesTheUnfinishedArchive) {
  kvtest::Outcome o = runLimited(dir_, 256, {"backup", "out"});
  EXPECT_EQ(o.exitCode, 1) << o.out;
  EXPECT_NE(o.err.find("cannot be written: the disk is full (error 24/2"), std::string::npos)
      << o.err;
  EXPECT_TRUE(listing(dir_ / "out").empty());
  // With room again the same data directory backs up clean.
  kvtest::Outcome ok = backup();
  EXPECT_EQ(ok.exitCode, 0) << ok.err;
  EXPECT_EQ(listing(dir_ / "out").size(), 1u);
}

}  // namespace
