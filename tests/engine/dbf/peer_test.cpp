// Independent peers as black boxes: Debian's python3-dbf writes tables we must read, and
// python3-dbfread reads the tables we write. Values cover deleted records, empty dates,
// negative numbers, memos over several blocks and bytes above 0x7F.
#include <cstdio>

#include "runtime/format/dates.h"
#include "support/engine_fixture.h"

using namespace kv;
using namespace kv::engine;
using kvtest::EngineTest;
namespace fs = std::filesystem;

namespace {

using PeerTest = EngineTest;

bool peersAvailable() {
  return std::system("/usr/bin/python3 -c 'import dbf, dbfread' >/dev/null 2>&1") == 0;
}

std::string run(const std::string& cmd) {
  std::string out;
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return out;
  char buf[4096];
  std::size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  pclose(p);
  return out;
}

}  // namespace

TEST_F(PeerTest, TablesThePeerWritesReadTheSame) {
  if (!peersAvailable()) GTEST_SKIP() << "python3-dbf not installed";
  std::string script =
      "import dbf, datetime\n"
      "t = dbf.Table('" +
      path("peer.dbf") +
      "', 'NAME C(10); QTY N(8,2); DAY D; OK L; NOTE M', dbf_type='db3', "
      "codepage='cp1250')\n"
      "t.open(mode=dbf.READ_WRITE)\n"
      "t.append(('ab\\u010d', -12.5, datetime.date(2024,2,29), True, "
      "'line1\\r\\nline2'))\n"
      "t.append(('  lead', 0, None, False, ''))\n"
      "t.append(('gone', 3, datetime.date(1999,12,31), None, 'x'*700))\n"
      "dbf.delete(t[2])\n"
      "t.close()\n";
  writeBytes("w.py", script);
  run("/usr/bin/python3 " + path("w.py"));
  use("peer");
  ASSERT_TRUE(errors.empty());
  ASSERT_EQ(__LASTREC().asDouble(), 3);
  DBGOTO(Value(1));
  EXPECT_EQ(FIELDGET(Value(1)).str(), std::string("ab\xE8       "));
  EXPECT_DOUBLE_EQ(FIELDGET(Value(2)).asDouble(), -12.5);
  EXPECT_EQ(dateToStored(FIELDGET(Value(3)).julian()), "20240229");
  EXPECT_TRUE(FIELDGET(Value(4)).asBool());
  EXPECT_EQ(FIELDGET(Value(5)).str(), "line1\r\nline2");
  EXPECT_FALSE(__DELETED().asBool());
  DBGOTO(Value(2));
  EXPECT_EQ(FIELDGET(Value(1)).str(), "lead      ");  // the peer strips leading blanks
  EXPECT_EQ(FIELDGET(Value(3)).julian(), 0);
  EXPECT_EQ(FIELDGET(Value(5)).str(), "");
  DBGOTO(Value(3));
  EXPECT_TRUE(__DELETED().asBool());
  EXPECT_EQ(FIELDGET(Value(5)).str(), std::string(700, 'x'));
  EXPECT_FALSE(FIELDGET(Value(4)).asBool());  // "?" reads as false
  EXPECT_TRUE(errors.empty());
}

TEST_F(PeerTest, TablesWeWriteThePeerReadsTheSame) {
  if (!peersAvailable()) GTEST_SKIP() << "python3-dbfread not installed";
  DBCREATE(Value("ours"),
           structure({row("NAME", "C", 10, 0), row("QTY", "N", 8, 2), row("DAY", "D", 8, 0),
                      row("OK", "L", 1, 0), row("NOTE", "M", 10, 0)}));
  use("ours");
  struct Rec {
    const char* name;
    double qty;
    int y, m, d;
    bool ok;
    std::string note;
    bool del;
  } recs[] = {{"\x8A\x9A\xE8 ab", -7.25, 2023, 12, 31, true, "multi\r\nline", false},
              {" lead", 0, 0, 0, 0, false, "", true},
              {"big", 123.4, 1900, 1, 1, true, std::string(1500, 'y'), false}};
  for (const auto& r : recs) {
    DBAPPEND();
    FIELDPUT(Value(1), Value(r.name));
    FIELDPUT(Value(2), Value(r.qty));
    FIELDPUT(Value(3), Value::date(julianFromCalendar(r.d, r.m, r.y)));
    FIELDPUT(Value(4), Value(r.ok));
    FIELDPUT(Value(5), Value(r.note));
    if (r.del) DBDELETE();
  }
  DBCLOSEALL();
  std::string script =
      "import dbfread\n"
      "t = dbfread.DBF('" +
      path("ours.dbf") +
      "', encoding='cp1250', load=True, ignore_missing_memofile=False)\n"
      "for r in list(t.records) + ['--'] + list(t.deleted):\n"
      "  if r == '--':\n"
      "    print('--'); continue\n"
      "  print(repr(r['NAME']), r['QTY'], r['DAY'], r['OK'], len(r['NOTE'] or ''),"
      " repr((r['NOTE'] or '')[:12]))\n";
  writeBytes("r.py", script);
  std::string out = run("/usr/bin/python3 " + path("r.py") + " 2>&1");
  EXPECT_EQ(out,
            "'Ššč ab' -7.25 2023-12-31 True 11 'multi\\r\\nline'\n"
            "'big' 123.4 1900-01-01 True 1500 'yyyyyyyyyyyy'\n"
            "--\n"
            "' lead' 0.0 None False 0 ''\n");
}

// A peer's table copied in capitals (PEER.DBF with PEER.DBT, as the peer names them) or with
// a memo file under another case than its table is read under any spelling of its name.
TEST_F(PeerTest, TablesThePeerWritesInCapitalsAreRead) {
  if (!peersAvailable()) GTEST_SKIP() << "python3-dbf not installed";
  auto write = [&](const std::string& name) {
    writeBytes("w.py",
               "import dbf\n"
               "t = dbf.Table('" +
                   path(name) +
                   "', 'NAME C(10); NOTE M', dbf_type='db3', codepage='cp1250')\n"
                   "t.open(mode=dbf.READ_WRITE)\n"
                   "t.append(('prvi', 'opis\\r\\nkvara'))\n"
                   "t.append(('drugi', 'y'*600))\n"
                   "t.close()\n");
    run("/usr/bin/python3 " + path("w.py"));
  };
  write("PEER.DBF");
  write("mixed.dbf");
  fs::rename(path("mixed.dbf"), path("MIXED.DBF"));  // its memo stays mixed.dbt
  ASSERT_TRUE(fs::exists(path("PEER.DBT")));
  for (const char* table : {"peer", "Peer.dbf", "PEER.DBF", "mixed", "MIXED.DBF"}) {
    SCOPED_TRACE(table);
    use(table);
    ASSERT_TRUE(errors.empty());
    ASSERT_EQ(__LASTREC().asDouble(), 2);
    DBGOTO(Value(1));
    EXPECT_EQ(FIELDGET(Value(1)).str(), "prvi      ");
    EXPECT_EQ(FIELDGET(Value(2)).str(), "opis\r\nkvara");
    DBGOTO(Value(2));
    EXPECT_EQ(FIELDGET(Value(2)).str(), std::string(600, 'y'));
    DBCLOSEALL();
  }
  EXPECT_FALSE(fs::exists(path("MIXED.DBT")));
}
