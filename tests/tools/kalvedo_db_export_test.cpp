// `kalvedo-db export` through the built executable: a table with every field kind, Serbian
// letters, a memo with CR LF, blanks and a deleted record, parsed by Python's csv module.
#include <cstdio>
#include <cstdlib>

#include "platform/codepage.h"
#include "runtime/format/dates.h"
#include "support/engine_fixture.h"
#include "support/process_run.h"

using namespace kv;
using namespace kv::engine;
using kvtest::EngineTest;

namespace {

std::string tool() {
  const char* bin = std::getenv("KV_BIN_DIR");
  return std::string(bin ? bin : KV_BIN_DIR) + "/kalvedo-db";
}

class ExportToolTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    DBCREATE(Value("orders"), structure({row("NAZIV", "C", 24, 0), row("CENA", "N", 10, 2),
                                         row("KOM", "N", 4, 0), row("DATUM", "D", 8, 0),
                                         row("GOTOVO", "L", 1, 0), row("OPIS", "M", 10, 0)}));
    use("orders");
    auto add = [](const char* name, double price, int count, std::int32_t date, bool done,
                  const char* memo) {
      DBAPPEND();
      FIELDPUT(Value(1), Value(platform::utf8ToCp1250(name)));
      if (price != 0) FIELDPUT(Value(2), Value::number(price, 10, 2));
      if (count != 0) FIELDPUT(Value(3), Value::integer(count));
      if (date != 0) FIELDPUT(Value(4), Value::date(date));
      FIELDPUT(Value(5), Value(done));
      if (*memo) FIELDPUT(Value(6), Value(platform::utf8ToCp1250(memo)));
    };
    add("Čačak, \"Šumadija\"", 1234.5, 3, julianFromCalendar(13, 2, 2013), true,
        "Ekran slomljen\r\nzamena: đžćš ČĆŠŽĐ");
    add("obrisan", -7.25, -2, julianFromCalendar(1, 1, 2001), false, "x");
    DBDELETE();
    add("", 0, 0, 0, false, "");
    DBCLOSEAREA();
    ASSERT_TRUE(errors.empty());
  }

  kvtest::Outcome exportTable(std::vector<std::string> args) {
    args.insert(args.begin(), "export");
    return kvtest::runProgramIn(dir_, tool(), std::move(args));
  }
  // The rows Python's csv module reads from `file`, one repr a line.
  std::string parsed(const std::string& file) {
    writeBytes("read.py",
               "import csv, sys\n"
               "with open(sys.argv[1], encoding='utf-8-sig', newline='') as f:\n"
               "    for row in csv.reader(f):\n"
               "        print(repr(row))\n");
    std::string cmd = "cd " + dir_.string() + " && /usr/bin/python3 read.py " + file + " 2>&1";
    std::string out;
    if (FILE* p = ::popen(cmd.c_str(), "r")) {
      char buf[4096];
      for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
      ::pclose(p);
    }
    return out;
  }
};

const char* kHeader = "['NAZIV', 'CENA', 'KOM', 'DATUM', 'GOTOVO', 'OPIS']\n";
const char* kFirst =
    "['Čačak, \"Šumadija\"', '1234.50', '3', '2013-02-13', 'true', "
    "'Ekran slomljen\\r\\nzamena: đžćš ČĆŠŽĐ']\n";

TEST_F(ExportToolTest, StandardOutputLeavesDeletedRecordsOut) {
  kvtest::Outcome o = exportTable({"orders"});
  ASSERT_EQ(o.exitCode, 0) << o.err;
  ASSERT_EQ(o.out.substr(0, 3), "\xEF\xBB\xBF");
  writeBytes("std.csv", o.out);
  EXPECT_EQ(parsed("std.csv"), std::string(kHeader) + kFirst + "['', '', '', '', 'false', '']\n");
  // Records end with CR LF; the memo is quoted with its own CR LF inside.
  EXPECT_NE(o.out.find("\"Ekran slomljen\r\nzamena: "), std::string::npos);
  EXPECT_EQ(o.out.substr(o.out.size() - 2), "\r\n");
}

TEST_F(ExportToolTest, DeletedOptionAddsTheColumnAndOutputWritesTheFile) {
  kvtest::Outcome o = exportTable({"orders", "--deleted", "--output", "all.csv"});
  ASSERT_EQ(o.exitCode, 0) << o.err;
  EXPECT_EQ(o.out, "all.csv: 3 records\n");
  std::string first = kFirst;
  first.insert(first.size() - 2, ", 'false'");
  EXPECT_EQ(parsed("all.csv"),
            "['NAZIV', 'CENA', 'KOM', 'DATUM', 'GOTOVO', 'OPIS', 'DELETED']\n" + first +
                "['obrisan', '-7.25', '-2', '2001-01-01', 'false', 'x', 'true']\n"
                "['', '', '', '', 'false', '', 'false']\n");
}

TEST_F(ExportToolTest, WrongCallsAndUnwritableOutput) {
  for (const auto& args : std::vector<std::vector<std::string>>{
           {}, {"--deleted"}, {"orders", "--output"}, {"orders", "other"}, {"orders", "--x"}})
    EXPECT_EQ(exportTable(args).exitCode, 2) << (args.empty() ? "" : args.back());
  kvtest::Outcome o = exportTable({"orders", "--output", "no/such/folder.csv"});
  EXPECT_EQ(o.exitCode, 1);
  EXPECT_NE(o.err.find("kalvedo-db: export failed: no/such/folder.csv cannot be written"),
            std::string::npos)
      << o.err;
}

}  // namespace

// A table another station holds exclusively, or one that is missing, ends every reading
// command with a line that says why, never with a silent exit code.
TEST_F(ExportToolTest, TableCommandsSayWhyATableCannotBeOpened) {
  namespace fs = std::filesystem;
  fs::create_directories(dir_ / "st");
  const std::string bin =
      std::string(std::getenv("KV_BIN_DIR") ? std::getenv("KV_BIN_DIR") : KV_BIN_DIR);
  kvtest::Child holder = kvtest::startProgramIn(
      dir_ / "st", bin + "/kv_dbf_station",
      {"open", dir_.string(), "orders", "excl", path("ready"), path("release")});
  for (int i = 0; i < 20000 && !fs::exists(path("ready")); ++i) usleep(500);
  for (const char* command : {"dump", "struct", "export"}) {
    SCOPED_TRACE(command);
    kvtest::Outcome o = kvtest::runProgramIn(dir_, tool(), {command, "orders"});
    EXPECT_EQ(o.exitCode, 1);
    EXPECT_NE(o.err.find(std::string("kalvedo-db: ") + command +
                         " failed: the table orders cannot be opened: another station has it "
                         "open exclusively (error 21/1001"),
              std::string::npos)
        << o.err;
  }
  writeBytes("release", "1");
  EXPECT_EQ(kvtest::finishProgram(holder).exitCode, 0);
  kvtest::Outcome missing = kvtest::runProgramIn(dir_, tool(), {"dump", "nosuch"});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_NE(missing.err.find("the table nosuch cannot be opened: it does not exist"),
            std::string::npos)
      << missing.err;
}
