// Byte-level behaviour of the DBF driver: the exact bytes of new tables, memo placement,
// conversions, positioning and the whole-table operations.
#include "engine/dbf/fieldconv.h"
#include "runtime/format/dates.h"
#include "support/engine_fixture.h"

using namespace kv;
using namespace kv::engine;
using kvtest::EngineTest;
namespace fs = std::filesystem;

namespace {

using DbfTest = EngineTest;

void put(const char* name, const Value& v) {
  FIELDPUT(FIELDPOS(Value(name)), v);
}
Value get(const char* name) {
  return FIELDGET(FIELDPOS(Value(name)));
}
std::uint32_t recno() {
  return static_cast<std::uint32_t>(__RECNO().asDouble());
}

void createSample(const char* file) {
  DBCREATE(Value(file),
           EngineTest::structure(
               {EngineTest::row("NAME", "C", 5, 0), EngineTest::row("PRICE", "N", 8, 2),
                EngineTest::row("DAY", "D", 8, 0), EngineTest::row("DONE", "L", 1, 0),
                EngineTest::row("NOTE", "M", 10, 0)}));
}

}  // namespace

TEST_F(DbfTest, NewTableHasExactBytes) {
  createSample("t.dbf");
  ASSERT_TRUE(errors.empty());
  std::string b = bytes("t.dbf");
  ASSERT_EQ(b.size(), 32u + 32 * 5 + 3);
  EXPECT_EQ(static_cast<unsigned char>(b[0]), 0x83);
  EXPECT_EQ(b.substr(4, 4), std::string(4, '\0'));                        // no records
  EXPECT_EQ(static_cast<unsigned char>(b[8]) + 256 * b[9], 32 * 5 + 34);  // header length
  EXPECT_EQ(static_cast<unsigned char>(b[10]), 1 + 5 + 8 + 8 + 1 + 10);   // record length
  EXPECT_EQ(b.substr(12, 20), std::string(20, '\0'));
  struct Desc {
    const char* name;
    char type;
    int len, dec;
  } want[] = {{"NAME", 'C', 5, 0},
              {"PRICE", 'N', 8, 2},
              {"DAY", 'D', 8, 0},
              {"DONE", 'L', 1, 0},
              {"NOTE", 'M', 10, 0}};
  for (int i = 0; i < 5; ++i) {
    std::string d = b.substr(32 + 32 * i, 32);
    EXPECT_EQ(d.substr(0, 11),
              std::string(want[i].name) + std::string(11 - std::strlen(want[i].name), '\0'));
    EXPECT_EQ(d[11], want[i].type);
    EXPECT_EQ(d.substr(12, 4), std::string(4, '\0'));
    EXPECT_EQ(d[16], want[i].len);
    EXPECT_EQ(d[17], want[i].dec);
    EXPECT_EQ(d.substr(18), std::string(14, '\0'));
  }
  EXPECT_EQ(b.substr(b.size() - 3), std::string("\x0D\x00\x1A", 3));
  std::string m = bytes("t.dbt");
  ASSERT_EQ(m.size(), 512u);
  EXPECT_EQ(m.substr(0, 4), std::string("\x01\x00\x00\x00", 4));
  EXPECT_EQ(m.substr(4), std::string(508, '\0'));
  // A table without memo fields is version 0x03 and gets no memo file.
  DBCREATE(Value("plain"), structure({row("A", "C", 300, 0)}));
  std::string p = bytes("plain.dbf");
  EXPECT_EQ(static_cast<unsigned char>(p[0]), 0x03);
  EXPECT_EQ(static_cast<unsigned char>(p[32 + 16]), 300 % 256);  // wide character field
  EXPECT_EQ(static_cast<unsigned char>(p[32 + 17]), 1);
  EXPECT_FALSE(fs::exists(path("plain.dbt")));
}

TEST_F(DbfTest, ValuesRoundTripThroughTheRecord) {
  createSample("t");
  use("t");
  ASSERT_TRUE(USED().asBool());
  DBAPPEND();
  put("NAME", Value("ab\x9A"));
  put("PRICE", Value(-12.345));
  put("DAY", Value::date(julianFromCalendar(29, 2, 2024)));
  put("DONE", Value(true));
  put("NOTE", Value("first\r\nline"));
  DBAPPEND();  // second record stays blank
  DBCOMMIT();
  DBGOTO(Value(1));
  EXPECT_EQ(get("NAME").str(), "ab\x9A  ");
  EXPECT_DOUBLE_EQ(get("PRICE").asDouble(), -12.35);
  EXPECT_EQ(get("PRICE").width(), 8);
  EXPECT_EQ(get("PRICE").decimals(), 2);
  EXPECT_EQ(dateToStored(get("DAY").julian()), "20240229");
  EXPECT_TRUE(get("DONE").asBool());
  EXPECT_EQ(get("NOTE").str(), "first\r\nline");
  EXPECT_TRUE(get("NOTE").isMemo());
  DBGOTO(Value(2));
  EXPECT_EQ(get("PRICE").asDouble(), 0);
  EXPECT_EQ(get("DAY").julian(), 0);
  EXPECT_FALSE(get("DONE").asBool());
  EXPECT_EQ(get("NOTE").str(), "");
  std::string b = bytes("t.dbf");
  std::size_t hdr = 32 * 5 + 34, rec = 33;
  EXPECT_EQ(b.substr(hdr, rec),
            std::string(" ab\x9A  ") + "  -12.35" + "20240229" + "T" + "         2");
  EXPECT_EQ(b.size(), hdr + 2 * rec + 1);
  EXPECT_EQ(b.back(), '\x1A');
  EXPECT_TRUE(errors.empty());
}

TEST_F(DbfTest, MemoPlacementRules) {
  createSample("t");
  use("t");
  DBAPPEND();
  put("NOTE", Value("x"));
  // The first text of a new memo file starts at block 2.
  EXPECT_EQ(bytes("t.dbt").size(), 2 * 512u + 2);
  EXPECT_EQ(bytes("t.dbt").substr(1024, 2), "x\x1A");
  std::string s510(510, 'a'), s511(511, 'b');
  put("NOTE", Value(s510));  // in place
  DBCOMMIT();                // an exclusive table writes the next-free word on commit
  std::string m = bytes("t.dbt");
  EXPECT_EQ(m.substr(1024, 511), s510 + "\x1A");
  EXPECT_EQ(m.size(), 1024u + 511);
  EXPECT_EQ(m.substr(0, 4), std::string("\x03\x00\x00\x00", 4));  // next free after block 2
  put("NOTE", Value(s511));                                       // too long: appended
  DBCOMMIT();
  m = bytes("t.dbt");
  EXPECT_EQ(m.size(), 3 * 512u + 512);  // filler up to 1536, then 511 + 1
  EXPECT_EQ(m.substr(1536, 512), s511 + "\x1A");
  EXPECT_EQ(m.substr(0, 4), std::string("\x04\x00\x00\x00", 4));
  EXPECT_EQ(get("NOTE").str(), s511);
  // A size exactly on a block boundary gets a whole filler block first.
  put("NOTE", Value(std::string(600, 'c')));
  EXPECT_EQ(bytes("t.dbt").substr(5 * 512, 3), "ccc");
  put("NOTE", Value(""));  // empty memo: the field goes blank
  DBCOMMIT();
  EXPECT_EQ(bytes("t.dbf").substr(32 * 5 + 34 + 23, 10), std::string(10, ' '));
}

TEST_F(DbfTest, NumberThatDoesNotFitStoresAsterisks) {
  DBCREATE(Value("n"), structure({row("V", "N", 5, 2)}));
  use("n");
  DBAPPEND();
  put("V", Value(1234.5));
  EXPECT_EQ(lastError(), std::make_pair(34, 1021));
  DBCOMMIT();
  EXPECT_EQ(bytes("n.dbf").substr(32 + 34 + 1, 5), "*****");
  put("V", Value(99.99));
  EXPECT_EQ(lastError(), std::make_pair(0, 0));
  EXPECT_DOUBLE_EQ(get("V").asDouble(), 99.99);
}

TEST_F(DbfTest, LogicalBytesAndTypeErrors) {
  DBCREATE(Value("l"), structure({row("F", "L", 1, 0)}));
  use("l");
  for (int i = 0; i < 8; ++i) DBAPPEND();
  DBCLOSEALL();
  std::string b = bytes("l.dbf");
  const char cases[] = {'T', 't', 'Y', 'y', 'N', '?', ' ', 'F'};
  for (int i = 0; i < 8; ++i) b[32 + 34 + 2 * i + 1] = cases[i];
  writeBytes("l.dbf", b);
  use("l");
  for (int i = 0; i < 8; ++i) {
    DBGOTO(Value(i + 1));
    EXPECT_EQ(get("F").asBool(), i < 4) << cases[i];
  }
  put("F", Value("x"));  // exclusive: no lock needed, but the type is wrong
  EXPECT_EQ(lastError(), std::make_pair(33, 1020));
  DBGOTO(Value("1"));
  EXPECT_EQ(lastError(), std::make_pair(33, 1020));
}

TEST_F(DbfTest, PositioningAtTheEdges) {
  DBCREATE(Value("p"), structure({row("N", "N", 3, 0)}));
  use("p");
  for (int i = 1; i <= 3; ++i) {
    DBAPPEND();
    put("N", Value(i));
  }
  for (int target : {0, 4, 99}) {
    DBGOTO(Value(target));
    EXPECT_TRUE(__BOF().asBool());
    EXPECT_TRUE(__EOF().asBool());
    EXPECT_EQ(recno(), 4u);
    EXPECT_EQ(get("N").asDouble(), 0);  // the phantom record is blank
  }
  DBGOTOP();
  DBSKIP(Value(-1));
  EXPECT_TRUE(__BOF().asBool());
  EXPECT_FALSE(__EOF().asBool());
  EXPECT_EQ(recno(), 1u);
  DBGOBOTTOM();
  EXPECT_EQ(recno(), 3u);
  DBSKIP();
  EXPECT_TRUE(__EOF().asBool());
  EXPECT_FALSE(__BOF().asBool());
  DBSKIP(Value(-2));
  EXPECT_EQ(recno(), 2u);
  // With the deleted setting on, deleted records are stepped over both ways.
  DBGOTO(Value(2));
  DBDELETE();
  setSetting(kSetDeleted, Value(true));
  DBGOTOP();
  DBSKIP();
  EXPECT_EQ(recno(), 3u);
  DBSKIP(Value(-1));
  EXPECT_EQ(recno(), 1u);
  DBGOTO(Value(1));
  DBDELETE();
  DBGOTO(Value(3));
  DBDELETE();
  DBGOTOP();
  EXPECT_TRUE(__EOF().asBool());
  EXPECT_TRUE(__BOF().asBool());
}

TEST_F(DbfTest, PackAndZap) {
  createSample("z");
  use("z");
  for (int i = 1; i <= 5; ++i) {
    DBAPPEND();
    put("PRICE", Value(i));
    if (i % 2 == 0) DBDELETE();
  }
  __DBPACK();
  EXPECT_EQ(__LASTREC().asDouble(), 3);
  EXPECT_EQ(recno(), 1u);
  std::vector<double> left;
  for (DBGOTOP(); !__EOF().asBool(); DBSKIP()) left.push_back(get("PRICE").asDouble());
  EXPECT_EQ(left, (std::vector<double>{1, 3, 5}));
  DBCOMMIT();
  EXPECT_EQ(bytes("z.dbf").size(), 32u * 5 + 34 + 3 * 33 + 1);
  put("NOTE", Value("memo"));
  __DBZAP();
  EXPECT_EQ(__LASTREC().asDouble(), 0);
  EXPECT_TRUE(__EOF().asBool());
  DBCLOSEAREA();
  EXPECT_EQ(bytes("z.dbf").size(), 32u * 5 + 34 + 1);
  EXPECT_EQ(bytes("z.dbt").size(), 512u);
  EXPECT_TRUE(errors.empty());
}

TEST_F(DbfTest, SharedTableNeedsLocksAndRefusesPack) {
  createSample("s");
  use("s", true);
  DBAPPEND();  // the append locks the new record
  put("NAME", Value("a"));
  DBUNLOCK();
  DBCOMMIT();
  std::string before = bytes("s.dbf");
  put("NAME", Value("b"));
  EXPECT_EQ(lastError(), std::make_pair(38, 1022));
  __DBPACK();
  EXPECT_EQ(lastError(), std::make_pair(37, 1023));
  __DBZAP();
  EXPECT_EQ(lastError(), std::make_pair(37, 1023));
  EXPECT_EQ(bytes("s.dbf"), before);
  EXPECT_TRUE(DBRLOCK().asBool());
  put("NAME", Value("c"));
  EXPECT_EQ(lastError(), std::make_pair(0, 0));
  EXPECT_EQ(DBRLOCKLIST().arrayLen(), 1u);
  EXPECT_FALSE(DBRLOCK(Value(7)).asBool());  // beyond the end: no lock, no error
  EXPECT_TRUE(errors.empty());
}

TEST_F(DbfTest, ReadOnlyTableRefusesChanges) {
  createSample("r");
  DBUSEAREA(Value(true), Value("DBF"), Value("r"), Value(), Value(true), Value(true));
  DBAPPEND();
  EXPECT_EQ(lastError(), std::make_pair(39, 1025));
  EXPECT_EQ(__LASTREC().asDouble(), 0);
}

TEST_F(DbfTest, EventBlocksRunAroundOperations) {
  struct Counter : BlockData {
    int* n;
    explicit Counter(int* c) : n(c) {}
    Value eval(std::span<Value>) override {
      ++*n;
      return Value();
    }
  };
  int appends = 0, gotos = 0;
  createSample("e");
  Value blocks[8];
  blocks[kEvAppend] = Value::block(std::make_shared<Counter>(&appends));
  blocks[kEvGoto] = Value::block(std::make_shared<Counter>(&gotos));
  DBSETEVENTS(Args(blocks, 8));
  use("e");
  int afterOpen = gotos;
  EXPECT_GE(afterOpen, 1);
  DBAPPEND();
  DBAPPEND();
  DBGOTO(Value(1));
  EXPECT_EQ(appends, 2);
  EXPECT_EQ(gotos, afterOpen + 1);
}

TEST(FieldConv, NumbersAndDatesRoundTrip) {
  struct Case {
    const char* text;
    double value;
  } cases[] = {{"", 0},
               {"     ", 0},
               {"  -12.35", -12.35},
               {"0.10", 0.1},
               {"1234567.89", 1234567.89},
               {"+7", 7},
               {"-0.00", 0},
               {"12abc", 12},
               {"x12", 0},
               {"0.0000001", 1e-7},
               {"12345678901234567890", 12345678901234567890.0}};
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(numberFromField(c.text), c.value) << c.text;
  EXPECT_EQ(numberToField(-12.345, 8, 2), "  -12.35");
  EXPECT_EQ(numberToField(1234.5, 5, 2), "*****");
  EXPECT_EQ(numberToField(99999, 5, 0), "99999");
  for (const char* d : {"20240229", "19000101", "20991231"})
    EXPECT_EQ(dateToStored(storedToDate(d)), d);
  for (const char* bad : {"20230229", "2024 101", "        ", "20241301", "2024"})
    EXPECT_EQ(storedToDate(bad), 0) << bad;
}

// Reading ahead in chunks serves every record, past chunk ends too, and never answers bytes
// older than a record this area wrote meanwhile.
TEST_F(DbfTest, ReadAheadServesRecordsAndDropsWrittenOnes) {
  createSample("ra");
  use("ra");
  const int n = 3000;  // records of 33 bytes: several 64 KiB chunks
  for (int i = 1; i <= n; ++i) {
    DBAPPEND();
    put("NAME", Value(std::to_string(i)));
  }
  DBCOMMIT();
  auto* area = static_cast<DbfArea*>(currentArea());
  area->setReadAhead(true);
  for (int i = 1; i <= n; ++i) {
    DBGOTO(Value(i));
    ASSERT_EQ(std::stoi(std::string(get("NAME").str())), i) << i;
  }
  DBGOTO(Value(2));
  put("NAME", Value("two"));
  DBGOTO(Value(1));
  EXPECT_EQ(get("NAME").str(), "1    ");
  DBGOTO(Value(2));
  EXPECT_EQ(get("NAME").str(), "two  ");
  area->setReadAhead(false);
  // An exclusive table reads ahead by itself when read in order; a record written ahead of
  // the reader is read back as written, and so is every record after a pack.
  auto name = [] { return std::string(get("NAME").str()); };
  for (int i = 3; i <= 100; ++i) {
    DBGOTO(Value(i));
    ASSERT_EQ(name(), i == 50 ? "fifty"
                              : std::to_string(i) + std::string(5 - std::to_string(i).size(), ' '))
        << i;
    if (i == 10) {
      DBGOTO(Value(50));
      put("NAME", Value("fifty"));
      DBDELETE();
      DBGOTO(Value(10));
    }
  }
  DBGOTO(Value(2));
  DBDELETE();
  __DBPACK();
  EXPECT_EQ(__LASTREC().asDouble(), n - 2);
  for (int i = 1; i <= n - 2; ++i) {
    DBGOTO(Value(i));
    const int want = i == 1 ? 1 : i + 1 < 50 ? i + 1 : i + 2;
    ASSERT_EQ(std::stoi(name()), want) << i;
  }
  EXPECT_TRUE(errors.empty());
}
