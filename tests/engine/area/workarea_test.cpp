// Work areas and the database functions: selection, aliases, the driver registry, argument
// errors, filters, DBEVAL scopes and copying between tables.
#include "runtime/format/numfmt.h"
#include "support/engine_fixture.h"

using namespace kv;
using namespace kv::engine;
using kvtest::EngineTest;
namespace fs = std::filesystem;

namespace {

using WorkAreaTest = EngineTest;

// A block from a C++ function of no arguments.
struct FnBlock : BlockData {
  std::function<Value()> fn;
  explicit FnBlock(std::function<Value()> f) : fn(std::move(f)) {}
  Value eval(std::span<Value>) override { return fn(); }
};
Value block(std::function<Value()> f) {
  return Value::block(std::make_shared<FnBlock>(std::move(f)));
}

void makeNumbers(const char* file, int n) {
  DBCREATE(Value(file), EngineTest::structure(
                            {EngineTest::row("N", "N", 5, 0), EngineTest::row("S", "C", 4, 0)}));
  DBUSEAREA(Value(true), Value("DBF"), Value(file));
  for (int i = 1; i <= n; ++i) {
    DBAPPEND();
    FIELDPUT(Value(1), Value(i));
    FIELDPUT(Value(2), Value(std::to_string(i)));
  }
  DBCLOSEAREA();
}

int num() {
  return static_cast<int>(FIELDGET(Value(1)).asDouble());
}

}  // namespace

TEST_F(WorkAreaTest, NoTableAnswersDefaultsAndRaisesWhereNeeded) {
  EXPECT_TRUE(__EOF().asBool());
  EXPECT_TRUE(__BOF().asBool());
  EXPECT_FALSE(__FOUND().asBool());
  EXPECT_FALSE(__DELETED().asBool());
  EXPECT_EQ(__RECNO().asDouble(), 0);
  EXPECT_EQ(__LASTREC().asDouble(), 0);
  EXPECT_EQ(__FCOUNT().asInt(), 0);
  EXPECT_FALSE(USED().asBool());
  EXPECT_EQ(DBSTRUCT().arrayLen(), 0u);
  EXPECT_TRUE(errors.empty());
  DBGOTOP();
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].genCode, 35);
  EXPECT_EQ(errors[0].subCode, 2001);
  EXPECT_EQ(errors[0].subsystem, "DBCMD");
}

TEST_F(WorkAreaTest, SelectionAndAliases) {
  makeNumbers("one", 1);
  makeNumbers("two", 1);
  makeNumbers("three", 1);
  makeNumbers("four", 1);
  DBUSEAREA(Value(true), Value(), Value("one"));
  DBUSEAREA(Value(true), Value(), Value("two"));
  DBUSEAREA(Value(true), Value(), Value("three"));
  EXPECT_EQ(__FSELECT0().asInt(), 3);
  DBSELECTAREA(Value(2));
  DBCLOSEAREA();
  DBSELECTAREA(Value("ONE"));
  EXPECT_EQ(__FSELECT0().asInt(), 1);
  DBSELECTAREA(Value("nowhere"));  // unknown alias: nothing changes, nothing raised
  EXPECT_EQ(__FSELECT0().asInt(), 1);
  DBSELECTAREA(Value("  3"));
  EXPECT_EQ(ALIAS().str(), "THREE");
  EXPECT_EQ(__FSELECT1(Value("one")).asInt(), 1);
  EXPECT_EQ(__FSELECT1(Value("two")).asInt(), 0);
  // The new-area flag takes the lowest free area: 2.
  DBUSEAREA(Value(true), Value("DBF"), Value("two"), Value("again"));
  EXPECT_EQ(__FSELECT0().asInt(), 2);
  EXPECT_EQ(ALIAS(Value(2)).str(), "AGAIN");
  // An alias in use elsewhere fails the open and leaves the slot empty.
  DBUSEAREA(Value(true), Value("DBF"), Value("four"), Value("one"));
  EXPECT_EQ(lastError(), std::make_pair(18, 1011));
  EXPECT_EQ(__FSELECT0().asInt(), 4);
  EXPECT_FALSE(USED().asBool());
  // Aliased evaluation enters and leaves the alias's area.
  Value prev = __AXPRIN(Value("THREE"));
  EXPECT_EQ(__FSELECT0().asInt(), 3);
  __AXPROUT(prev);
  EXPECT_EQ(__FSELECT0().asInt(), 4);
  DBCLOSEALL();
  EXPECT_EQ(__FSELECT0().asInt(), 1);
  EXPECT_EQ(__FSELECT1(Value("one")).asInt(), 0);
  EXPECT_TRUE(errors.empty());
}

TEST_F(WorkAreaTest, ArgumentErrorsCarryTheirSubcodes) {
  makeNumbers("a", 2);
  DBUSEAREA(Value(true), Value(), Value("a"));
  struct Case {
    const char* fn;
    std::vector<Value> args;
    int sub;
  } cases[] = {{"DBSEEK", {Value("1"), Value(5)}, 1001},
               {"DBSEEK", {Value::newArray()}, 1001},
               {"DBGOTO", {}, 1003},
               {"DBGOTO", {Value(1), Value(2)}, 1003},
               {"DBUSEAREA", {Value(false), Value("DBF")}, 1005},
               {"DBUSEAREA", {Value(false), Value("NOSUCH"), Value("a")}, 1015},
               {"ORDCREATE", {Value("x"), Value()}, 1006},
               {"ORDLISTADD", {Value(3)}, 1008},
               {"FIELDNAME", {Value("1")}, 1009},
               {"DBCREATE", {Value("x")}, 1014},
               {"DBCREATE", {Value(""), structure({row("A", "C", 1, 0)})}, 1014},
               {"RDDSETDEFAULT", {Value("NOSUCH")}, 1015},
               {"ORDKEY", {Value(true)}, 1023},
               {"ORDNAME", {Value(true)}, 1024}};
  for (auto& c : cases) {
    DBSELECTAREA(Value(1));
    if (!USED().asBool()) DBUSEAREA(Value(false), Value(), Value("a"));
    Symbol* s = findSymbol(c.fn);
    ASSERT_TRUE(s && s->fn) << c.fn;
    s->fn(Args(c.args.data(), c.args.size()));
    ASSERT_FALSE(errors.empty()) << c.fn;
    EXPECT_EQ(errors.back().genCode, 1) << c.fn;
    EXPECT_EQ(errors.back().subCode, c.sub) << c.fn;
    EXPECT_EQ(errors.back().subsystem, "DBCMD") << c.fn;
    errors.clear();
  }
}

TEST_F(WorkAreaTest, CreateKeepsFieldsUpToTheFirstMalformedRow) {
  Value st = structure({row("A", "C", 3, 0), row("B", "N", 4, 1), row("C", "C", 2, 0)});
  st.arr()->items[2].arr()->items[1] = Value(7);    // third row: numeric type
  DBUSEAREA(Value(false), Value(), Value("none"));  // fails: nothing in area 1
  errors.clear();
  DBCREATE(Value("k"), st);
  EXPECT_TRUE(errors.empty());
  EXPECT_FALSE(USED().asBool());  // without keep-open: closed again, selection kept
  EXPECT_EQ(__FSELECT0().asInt(), 1);
  DBUSEAREA(Value(false), Value(), Value("k"));
  EXPECT_EQ(__FCOUNT().asInt(), 2);
  Value s = DBSTRUCT();
  EXPECT_EQ(s.arr()->items[1].arr()->items[0].str(), "B");
  EXPECT_EQ(s.arr()->items[1].arr()->items[3].asInt(), 1);
  // With keep-open true the new table stays open in a new area and is selected.
  DBCREATE(Value("k2"), structure({row("X", "L", 1, 0)}), Value(), Value(true));
  EXPECT_EQ(__FSELECT0().asInt(), 2);
  EXPECT_EQ(ALIAS().str(), "K2");
  // Widths the format cannot hold are refused.
  DBCREATE(Value("bad"), structure({row("N", "N", 300, 0)}));
  EXPECT_EQ(lastError(), std::make_pair(1, 1014));
  EXPECT_FALSE(fs::exists(path("bad.dbf")));
}

TEST_F(WorkAreaTest, FilterSkipsAndScopes) {
  makeNumbers("f", 10);
  DBUSEAREA(Value(true), Value(), Value("f"));
  DBSETFILTER(block([] { return Value(num() % 3 == 0); }), Value("N % 3 == 0"));
  EXPECT_EQ(DBFILTER().str(), "N % 3 == 0");
  std::vector<int> seen;
  for (DBGOTOP(); !__EOF().asBool(); DBSKIP()) seen.push_back(num());
  EXPECT_EQ(seen, (std::vector<int>{3, 6, 9}));
  DBGOBOTTOM();
  EXPECT_EQ(num(), 9);
  DBSKIP(Value(-5));
  EXPECT_EQ(num(), 3);
  EXPECT_TRUE(__BOF().asBool());
  DBSETFILTER(block([] { return Value(false); }));
  DBGOTOP();
  EXPECT_TRUE(__EOF().asBool());
  EXPECT_TRUE(__BOF().asBool());
  DBCLEARFILTER();
  EXPECT_EQ(DBFILTER().str(), "");
  // DBEVAL: whole table; FOR; WHILE from the current record; next count; one record.
  int sum = 0;
  Value add = block([&] {
    sum += num();
    return Value();
  });
  DBEVAL(add);
  EXPECT_EQ(sum, 55);
  sum = 0;
  DBEVAL(add, block([] { return Value(num() > 8); }));
  EXPECT_EQ(sum, 19);
  sum = 0;
  DBGOTO(Value(4));
  DBEVAL(add, Value(), block([] { return Value(num() < 7); }));
  EXPECT_EQ(sum, 4 + 5 + 6);
  sum = 0;
  DBGOTO(Value(2));
  DBEVAL(add, Value(), Value(), Value(3));
  EXPECT_EQ(sum, 2 + 3 + 4);
  sum = 0;
  DBEVAL(add, Value(), Value(), Value(), Value(7));
  EXPECT_EQ(sum, 7);
  EXPECT_TRUE(errors.empty());
}

TEST_F(WorkAreaTest, CopyBetweenTablesAndAppendFrom) {
  makeNumbers("src", 5);
  DBUSEAREA(Value(true), Value(), Value("src"));
  DBGOTO(Value(2));
  DBDELETE();
  DBCREATE(Value("dst"), structure({row("S", "C", 4, 0), row("N", "N", 5, 0)}));
  DBUSEAREA(Value(true), Value(), Value("dst"));
  int dst = __FSELECT0().asInt();
  DBSELECTAREA(Value("SRC"));
  Value names = Value::newArray();
  names.arr()->items = {Value("N"), Value("S"), Value("MISSING")};
  __DBTRANS(Value(dst), names, block([] { return Value(num() != 4); }));
  DBSELECTAREA(Value(dst));
  EXPECT_EQ(__LASTREC().asDouble(), 4);
  DBGOTO(Value(2));
  EXPECT_EQ(FIELDGET(Value(2)).asDouble(), 2);
  EXPECT_EQ(FIELDGET(Value(1)).str(), "2   ");
  EXPECT_TRUE(__DELETED().asBool());  // deletion copied too
  // One record alone.
  DBSELECTAREA(Value("SRC"));
  DBGOTO(Value(5));
  __DBTRANSREC(Value(dst), names);
  DBSELECTAREA(Value(dst));
  EXPECT_EQ(__LASTREC().asDouble(), 5);
  DBGOBOTTOM();
  EXPECT_EQ(FIELDGET(Value(2)).asDouble(), 5);
  // Append from a file: the common fields of all records.
  DBSELECTAREA(Value("SRC"));
  DBCLOSEAREA();
  DBSELECTAREA(Value(dst));
  EXPECT_TRUE(__DBAPP(Value("src")).asBool());
  EXPECT_EQ(__LASTREC().asDouble(), 10);
  EXPECT_EQ(__FSELECT0().asInt(), dst);
  EXPECT_TRUE(errors.empty());
  // From a copy of the current table whose base name is the current alias.
  DBCLOSEAREA();
  std::filesystem::copy_file(path("dst.dbf"), path("dst.k10"));
  use("dst", false, "DST");
  EXPECT_TRUE(__DBAPP(Value("dst.k10")).asBool());
  EXPECT_EQ(__LASTREC().asDouble(), 20);
  EXPECT_EQ(ALIAS().str(), "DST");
  EXPECT_TRUE(errors.empty());
}

TEST_F(WorkAreaTest, DriverRegistry) {
  EXPECT_EQ(RDDSETDEFAULT().str(), "DBF");
  Value list = RDDLIST();
  ASSERT_GE(list.arrayLen(), 1u);
  EXPECT_EQ(list.arr()->items[0].str(), "DBF");
  RDDREGISTER(" dbf ");  // already registered: accepted as it is
  EXPECT_EQ(RDDLIST().arrayLen(), list.arrayLen());
  makeNumbers("r", 1);
  DBUSEAREA(Value(true), Value("dbf"), Value("r"));
  EXPECT_EQ(RDDNAME().str(), "DBF");
  Value v;
  currentArea()->info(101, v);
  EXPECT_EQ(v.str(), "3.19");
  currentArea()->info(9, v);
  EXPECT_EQ(v.str(), ".dbf");
  // A plain table has no orders: order operations are not supported by the driver.
  DBSEEK(Value("1"));
  EXPECT_EQ(lastError(), std::make_pair(30, 0));
}

TEST_F(WorkAreaTest, SortCopiesRecordsInKeyOrder) {
  DBCREATE(Value("u"), structure({row("G", "C", 1, 0), row("N", "N", 4, 0), row("M", "M", 10, 0)}));
  DBUSEAREA(Value(true), Value(), Value("u"));
  const char* groups = "BABA";
  int nums[] = {5, 7, 1, 3};
  for (int i = 0; i < 4; ++i) {
    DBAPPEND();
    FIELDPUT(Value(1), Value(std::string(1, groups[i])));
    FIELDPUT(Value(2), Value(nums[i]));
    FIELDPUT(Value(3), Value("memo " + std::to_string(nums[i])));
  }
  WorkArea* src = currentArea();
  DBCREATE(Value("sorted"),
           structure({row("G", "C", 1, 0), row("N", "N", 4, 0), row("M", "M", 10, 0)}));
  DBUSEAREA(Value(true), Value(), Value("sorted"));
  WorkArea* dst = currentArea();
  ASSERT_EQ(src->sort(*dst, Scope{}, {1, 2}, {false, true}), kSuccess);
  std::vector<std::string> got;
  for (DBGOTOP(); !__EOF().asBool(); DBSKIP())
    got.push_back(std::string(FIELDGET(Value(1)).str()) +
                  std::to_string(static_cast<int>(FIELDGET(Value(2)).asDouble())) + ":" +
                  std::string(FIELDGET(Value(3)).str()));
  EXPECT_EQ(got, (std::vector<std::string>{"A7:memo 7", "A3:memo 3", "B5:memo 5", "B1:memo 1"}));
  EXPECT_TRUE(errors.empty());
}

TEST_F(WorkAreaTest, NamesWithoutDirectoryUseDefaultThenSearchPath) {
  fs::create_directories(dir_ / "other");
  setSetting(kSetDefault, Value((dir_ / "other").string()));
  makeNumbers("far", 2);  // created in the default directory
  setSetting(kSetDefault, Value((dir_ / "none").string()));
  setSetting(kSetPath, Value(" /no/such ; " + (dir_ / "other").string()));
  DBUSEAREA(Value(true), Value(), Value("far"));
  EXPECT_TRUE(errors.empty());
  EXPECT_EQ(__LASTREC().asDouble(), 2);
  DBCLOSEALL();
  setSetting(kSetPath, Value(""));
  DBUSEAREA(Value(true), Value(), Value("far"));
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].osCode, 3);  // the default directory does not exist
  EXPECT_EQ(errors[0].fileName, (dir_ / "none" / "far.dbf").string());
}

// Numbers the engine answers carry no display width of their own, so STR shows them with the
// default width of their value (65000 does not turn into asterisks); only the record number
// keeps its 7-digit width.
TEST_F(WorkAreaTest, NumbersTheEngineAnswersShowWithTheDefaultWidth) {
  DBCREATE(Value("w"), structure({row("WIDE", "C", 65000, 0), row("PRICE", "N", 10, 2)}));
  DBUSEAREA(Value(true), Value(), Value("w"), Value(), Value(true));
  for (int i = 0; i < 3; ++i) DBAPPEND();
  DBUNLOCK();
  DBGOTO(Value(2));
  ASSERT_TRUE(DBRLOCK(Value(2)).asBool());
  const Value st = DBSTRUCT();
  auto item = [&](std::size_t r, std::size_t c) { return st.arr()->items[r].arr()->items[c]; };
  Value lens = Value::newArray(2), decs = Value::newArray(2);
  const Value fieldsFilled = AFIELDS(Value(), Value(), lens, decs);
  ASSERT_EQ(DBRLOCKLIST().arrayLen(), 1u);
  struct Case {
    const char* what;
    Value value;
    const char* text;
    int width;
  } cases[] = {
      {"length of a 65000-wide field", item(0, 2), "     65000", 0},
      {"its decimals", item(0, 3), "         0", 0},
      {"length of a numeric field", item(1, 2), "        10", 0},
      {"its decimals", item(1, 3), "         2", 0},
      {"AFIELDS length", lens.arr()->items[0], "     65000", 0},
      {"AFIELDS decimals", decs.arr()->items[1], "         2", 0},
      {"AFIELDS count", fieldsFilled, "         2", 0},
      {"LASTREC", __LASTREC(), "         3", 0},
      {"FCOUNT", __FCOUNT(), "         2", 0},
      {"locked record", DBRLOCKLIST().arr()->items[0], "         2", 0},
      {"RECNO", __RECNO(), "      2", 7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(c.value.isNumber());
    EXPECT_EQ(c.value.width(), c.width);
    EXPECT_EQ(STR(c.value).str(), c.text);
  }
  EXPECT_TRUE(errors.empty());
}
