// The "DBFNTX" driver through the database functions: order creation and opening, the order
// list, navigation and seek through the controlling order, orders following record changes,
// partial and conditional orders, and damaged index files.
#include <cstdint>

#include "engine/ntx/ntx_check.h"
#include "engine/ntx/ntx_format.h"
#include "runtime/lang/settings.h"
#include "support/ntx_fixture.h"

using namespace kv;
using namespace kv::engine;
using kvtest::NtxTest;

namespace {

using DbfNtx = NtxTest;

// A table NAMES with a text field NAME (width 6) and a number N (5, 0).
void makeNames(const std::vector<std::pair<const char*, int>>& rows) {
  DBCREATE(Value("names"),
           kvtest::EngineTest::structure({kvtest::EngineTest::row("NAME", "C", 6, 0),
                                          kvtest::EngineTest::row("N", "N", 5, 0)}));
  DBUSEAREA(Value(true), Value("DBFNTX"), Value("names"));
  for (auto& [name, n] : rows) {
    DBAPPEND();
    FIELDPUT(Value(1), Value(name));
    FIELDPUT(Value(2), Value(n));
  }
}

}  // namespace

// The structural check of an index file's bytes (read without the share lock the open table
// holds).
kv::ntx::NtxCheckReport check(const std::string& data) {
  kv::ntx::MemoryNtxIo io;
  io.data.assign(data.begin(), data.end());
  return kv::ntx::checkNtx(io);
}

TEST_F(DbfNtx, IsTheDefaultDriverAndNamesItself) {
  makeNames({});
  EXPECT_EQ(RDDNAME().str(), "DBFNTX");
  EXPECT_EQ(ORDBAGEXT().str(), ".ntx");
  EXPECT_EQ(INDEXORD().asInt(), 0);
}

TEST_F(DbfNtx, IndexOfAnEmptyTableIsHeaderAndOneEmptyRoot) {
  makeNames({});
  ORDCREATE(Value("byname"), Value(), Value("NAME"));
  EXPECT_TRUE(errors.empty());
  EXPECT_EQ(bytes("byname.ntx").size(), 2048u);
  DBGOTOP();
  EXPECT_TRUE(__EOF().asBool());
  EXPECT_TRUE(__BOF().asBool());
  EXPECT_EQ(ORDKEY().str(), "NAME");
  EXPECT_EQ(ORDNAME().str(), "BYNAME");
  EXPECT_EQ(INDEXORD().asInt(), 1);
  EXPECT_TRUE(check(bytes("byname.ntx")).clean());
}

TEST_F(DbfNtx, CreateBuildsInKeyOrderAndNavigatesBothWays) {
  makeNames({{"DORA", 4}, {"ANA", -12}, {"CECA", 30}, {"BOB", 7}, {"ANA", 1}});
  ORDCREATE(Value("byname"), Value(), Value("NAME"));
  EXPECT_EQ(walk(), (std::vector<int>{2, 5, 4, 3, 1}));
  EXPECT_EQ(walkBack(), (std::vector<int>{2, 5, 4, 3, 1}));
  ORDCREATE(Value("byn"), Value("NUM"), Value("N"));
  EXPECT_EQ(walk(), (std::vector<int>{2, 5, 1, 4, 3}));
  // The header: key size 5, numeric key without decimals, tag name as given.
  std::string h = bytes("byn.ntx");
  EXPECT_EQ(platform::readLe16(h.data() + 14), 5);
  EXPECT_EQ(h.substr(538, 3), "NUM");
  DBGOBOTTOM();
  EXPECT_EQ(recno(), 3);
  DBSKIP(Value(-2));
  EXPECT_EQ(recno(), 1);
  // From the phantom record a step back reaches the last key.
  DBGOBOTTOM();
  DBSKIP();
  EXPECT_TRUE(__EOF().asBool());
  DBSKIP(Value(-1));
  EXPECT_EQ(recno(), 3);
  // A step before the first key stays on it with BOF set.
  DBGOTOP();
  DBSKIP(Value(-1));
  EXPECT_TRUE(__BOF().asBool());
  EXPECT_EQ(recno(), 2);
}

TEST_F(DbfNtx, SeekExactSoftAndLast) {
  makeNames({{"ABX", 1}, {"AC", 2}, {"ABA", 3}, {"B", 4}, {"ABA", 5}});
  ORDCREATE(Value("byname"), Value(), Value("NAME"));
  EXPECT_TRUE(DBSEEK(Value("AB")).asBool());
  EXPECT_EQ(recno(), 3);
  EXPECT_TRUE(DBSEEK(Value("AB"), Value(false), Value(true)).asBool());
  EXPECT_EQ(recno(), 1);
  EXPECT_TRUE(DBSEEK(Value("ABA"), Value(false), Value(true)).asBool());
  EXPECT_EQ(recno(), 5);
  // Not there: exact ends on the phantom record, soft on the next greater key.
  EXPECT_FALSE(DBSEEK(Value("AA")).asBool());
  EXPECT_TRUE(__EOF().asBool());
  EXPECT_FALSE(DBSEEK(Value("ABB"), Value(true)).asBool());
  EXPECT_EQ(recno(), 1);
  EXPECT_FALSE(__EOF().asBool());
  EXPECT_FALSE(DBSEEK(Value("Z"), Value(true)).asBool());
  EXPECT_TRUE(__EOF().asBool());
  // A skip after a seek goes on in key order.
  DBSEEK(Value("AC"));
  DBSKIP();
  EXPECT_EQ(recno(), 4);
}

TEST_F(DbfNtx, SeekWithoutOrderIsNotIndexedError) {
  makeNames({{"A", 1}});
  EXPECT_FALSE(DBSEEK(Value("A")).asBool());
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].genCode, 36);
  EXPECT_EQ(errors[0].subCode, 1020);
  EXPECT_EQ(errors[0].subsystem, "DBFNTX");
}

TEST_F(DbfNtx, SeekFindingOnlyAHiddenDeletedRecord) {
  makeNames({{"AB", 1}, {"AC", 2}, {"ABC", 3}});
  ORDCREATE(Value("byname"), Value(), Value("NAME"));
  DBGOTO(Value(1));
  DBDELETE();
  setSetting(kSetDeleted, Value(true));
  // Soft: lands on the next visible record; its key also begins with "AB".
  EXPECT_TRUE(DBSEEK(Value("AB"), Value(true)).asBool());
  EXPECT_EQ(recno(), 3);
  DBGOTO(Value(3));
  DBDELETE();
  // Now the next visible record is "AC": not found; exact ends on the phantom record.
  EXPECT_FALSE(DBSEEK(Value("AB"), Value(true)).asBool());
  EXPECT_EQ(recno(), 2);
  EXPECT_FALSE(DBSEEK(Value("AB")).asBool());
  EXPECT_TRUE(__EOF().asBool());
  setSetting(kSetDeleted, Value(false));
  EXPECT_TRUE(DBSEEK(Value("AB")).asBool());
  EXPECT_EQ(recno(), 1);
}

TEST_F(DbfNtx, ChangingAKeyMovesTheRecord) {
  makeNames({{"A", 1}, {"C", 2}, {"E", 3}, {"G", 4}});
  ORDCREATE(Value("byname"), Value(), Value("NAME"));
  DBSEEK(Value("C"));
  FIELDPUT(Value(1), Value("F"));
  DBSKIP();
  EXPECT_EQ(recno(), 4);  // the new neighbour of "F" is "G"
  DBSKIP(Value(-2));
  EXPECT_EQ(recno(), 3);
  EXPECT_EQ(walk(), (std::vector<int>{1, 3, 2, 4}));
  // Appends go in at their place; deleting and recalling leaves the keys alone.
  DBAPPEND();
  FIELDPUT(Value(1), Value("B"));
  DBDELETE();
  DBRECALL();
  EXPECT_EQ(walk(), (std::vector<int>{1, 5, 3, 2, 4}));
  DBCOMMIT();
  auto rep = check(bytes("byname.ntx"));
  EXPECT_TRUE(rep.clean());
  EXPECT_EQ(rep.entries.size(), 5u);
  EXPECT_TRUE(errors.empty());
}

TEST_F(DbfNtx, ChangedRecordMissingFromTheOrderIsCorruptionAndGoesIn) {
  makeNames({{"B", 1}, {"D", 2}});
  ORDCREATE(Value("byname"), Value(), Value("NAME"));
  DBCLOSEAREA();
  // A record appended without the index.
  DBUSEAREA(Value(true), Value("DBF"), Value("names"));
  DBAPPEND();
  FIELDPUT(Value(1), Value("A"));
  DBCLOSEAREA();
  useNtx("names");
  ORDLISTADD(Value("byname"));
  EXPECT_EQ(walk(), (std::vector<int>{1, 2}));
  DBGOTO(Value(3));
  FIELDPUT(Value(1), Value("C"));
  DBCOMMIT();
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].genCode, 32);
  EXPECT_EQ(errors[0].subCode, 1210);
  EXPECT_EQ(errors[0].flags, kCanDefault);
  EXPECT_EQ(errors[0].tries, 1);
  EXPECT_EQ(errors[0].fileName, path("byname.ntx"));
  EXPECT_EQ(walk(), (std::vector<int>{1, 3, 2}));
}

TEST_F(DbfNtx, ReopenedIndexKeepsChanges) {
  makeNames({{"B", 1}, {"A", 2}});
  ORDCREATE(Value("byname"), Value(), Value("NAME"));
  DBAPPEND();
  FIELDPUT(Value(1), Value("0"));
  DBCLOSEAREA();
  useNtx("names");
  ORDLISTADD(Value("byname"));
  EXPECT_EQ(walk(), (std::vector<int>{3, 2, 1}));
  EXPECT_EQ(ORDBAGNAME().str(), path("byname.ntx"));
  EXPECT_TRUE(errors.empty());
}

TEST_F(DbfNtx, OrderListFocusAndInfo) {
  makeNames({{"B", 2}, {"A", 3}, {"C", 1}});
  ORDCREATE(Value("byname"), Value("NAMES"), Value("NAME"));
  ORDCREATE(Value("byn"), Value(), Value("N"));  // replaces the list
  EXPECT_EQ(area()->orderCount(), 1);
  ORDLISTADD(Value("byname"));
  EXPECT_EQ(INDEXORD().asInt(), 1);
  EXPECT_EQ(ORDNAME(Value(2)).str(), "NAMES");
  EXPECT_EQ(ORDNUMBER(Value("names")).asInt(), 2);
  EXPECT_EQ(ORDKEY(Value("NAMES")).str(), "NAME");
  EXPECT_EQ(ORDSETFOCUS(Value("names")).str(), "BYN");
  EXPECT_EQ(walk(), (std::vector<int>{2, 1, 3}));
  // Unknown names and numbers out of range change nothing.
  EXPECT_EQ(ORDSETFOCUS(Value("nope")).str(), "NAMES");
  EXPECT_EQ(ORDSETFOCUS(Value(7)).str(), "NAMES");
  EXPECT_EQ(ORDSETFOCUS(Value(1)).str(), "NAMES");
  EXPECT_EQ(walk(), (std::vector<int>{3, 1, 2}));
  ORDLISTCLEAR();
  EXPECT_EQ(INDEXORD().asInt(), 0);
  EXPECT_EQ(walk(), (std::vector<int>{1, 2, 3}));
  EXPECT_TRUE(errors.empty());
}

TEST_F(DbfNtx, MissingIndexFileIsAnOpenError) {
  makeNames({{"A", 1}});
  ORDLISTADD(Value("nothere"));
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].genCode, 21);
  EXPECT_EQ(errors[0].subCode, 1003);
  EXPECT_EQ(errors[0].flags & kCanRetry, kCanRetry);
  EXPECT_EQ(errors[0].osCode, 2);
  EXPECT_EQ(area()->orderCount(), 0);
}

TEST_F(DbfNtx, SortWalksRecordOrderAndKeepsTheControllingOrder) {
  makeNames({{"C", 3}, {"A", 1}, {"B", 2}});
  ORDCREATE(Value("byname"), Value(), Value("NAME"));
  DBCREATE(Value("sorted"), structure({row("NAME", "C", 6, 0), row("N", "N", 5, 0)}));
  DBUSEAREA(Value(true), Value("DBFNTX"), Value("sorted"));
  WorkArea* target = currentArea();
  DBSELECTAREA(Value(1));
  // Descending on N: the scope starts at the top of the record order, not of the index.
  ASSERT_EQ(area()->sort(*target, Scope{}, {2}, {true}), kSuccess);
  EXPECT_EQ(INDEXORD().asInt(), 1);
  EXPECT_EQ(walk(), (std::vector<int>{2, 3, 1}));
  DBSELECTAREA(Value(2));
  EXPECT_EQ(walk(), (std::vector<int>{1, 2, 3}));
  DBGOTOP();
  EXPECT_EQ(FIELDGET(Value(2)).asDouble(), 3);
  EXPECT_TRUE(errors.empty());
}

TEST_F(DbfNtx, SeventeenthOrderIsOverTheLimit) {
  makeNames({{"A", 1}});
  for (int i = 1; i <= 17; ++i) ORDCREATE(Value("by" + std::to_string(i)), Value(), Value("NAME"));
  ORDLISTCLEAR();
  for (int i = 1; i <= 16; ++i) ORDLISTADD(Value("by" + std::to_string(i)));
  EXPECT_EQ(area()->orderCount(), 16);
  EXPECT_TRUE(errors.empty());
  ORDLISTADD(Value("by17"));
  EXPECT_EQ(area()->orderCount(), 16);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].genCode, 31);
  EXPECT_EQ(errors[0].subCode, 1027);
  EXPECT_EQ(errors[0].subsystem, "DBFNTX");
  EXPECT_EQ(errors[0].description, "");
}

TEST_F(DbfNtx, EveryOpenOrderFollowsUpdates) {
  makeNames({{"C", 1}, {"A", 2}, {"B", 3}});
  ORDCREATE(Value("byname"), Value(), Value("NAME"));
  ORDCREATE(Value("byn"), Value(), Value("N"));
  ORDLISTCLEAR();
  ORDLISTADD(Value("byname"));
  ORDLISTADD(Value("byn"));
  DBGOTO(Value(2));
  FIELDPUT(Value(1), Value("D"));
  FIELDPUT(Value(2), Value(0));
  DBAPPEND();
  FIELDPUT(Value(1), Value("AA"));
  FIELDPUT(Value(2), Value(-5));
  EXPECT_EQ(walk(), (std::vector<int>{4, 3, 1, 2}));
  ORDSETFOCUS(Value(2));
  EXPECT_EQ(walk(), (std::vector<int>{4, 2, 1, 3}));
  DBCOMMIT();
  EXPECT_TRUE(check(bytes("byname.ntx")).clean());
  EXPECT_TRUE(check(bytes("byn.ntx")).clean());
  EXPECT_TRUE(errors.empty());
}

TEST_F(DbfNtx, PackZapAndRebuildRebuildOrders) {
  makeNames({{"C", 1}, {"A", 2}, {"B", 3}});
  ORDCREATE(Value("byname"), Value(), Value("NAME"));
  DBSEEK(Value("A"));
  DBDELETE();
  __DBPACK();
  EXPECT_EQ(walk(), (std::vector<int>{2, 1}));
  EXPECT_TRUE(check(bytes("byname.ntx")).clean());
  ORDLISTREBUILD();
  EXPECT_EQ(walk(), (std::vector<int>{2, 1}));
  __DBZAP();
  EXPECT_TRUE(walk().empty());
  EXPECT_EQ(bytes("byname.ntx").size(), 2048u);
  EXPECT_TRUE(errors.empty());
}

TEST_F(DbfNtx, UniqueOrderKeepsTheFirstRecordOfEachKey) {
  makeNames({{"B", 1}, {"A", 2}, {"B", 3}, {"A", 4}});
  ORDCREATE(Value("byname"), Value(), Value("NAME"), Value(), Value(true));
  EXPECT_EQ(walk(), (std::vector<int>{2, 1}));
  DBAPPEND();
  FIELDPUT(Value(1), Value("C"));  // a new value goes in
  DBAPPEND();
  FIELDPUT(Value(1), Value("A"));  // a value already held does not
  EXPECT_EQ(walk(), (std::vector<int>{2, 1, 5}));
  EXPECT_TRUE(errors.empty());
}

TEST_F(DbfNtx, ConditionalAndDescendingOrders) {
  makeNames({{"A", 1}, {"B", 2}, {"C", 3}, {"D", 4}});
  Value forArgs[] = {Value("N % 2 == 0")};
  ORDCONDSET(Args(forArgs, 1));
  ORDCREATE(Value("even"), Value(), Value("NAME"));
  EXPECT_EQ(ORDFOR().str(), "N % 2 == 0");
  EXPECT_EQ(walk(), (std::vector<int>{2, 4}));
  std::string h = bytes("even.ntx");
  EXPECT_EQ(h[0], 7);
  // A record that starts to meet the condition comes in; one that stops, goes.
  DBGOTO(Value(1));
  FIELDPUT(Value(2), Value(6));
  DBGOTO(Value(4));
  FIELDPUT(Value(2), Value(5));
  EXPECT_EQ(walk(), (std::vector<int>{1, 2}));
  // A skip from a record the order lacks goes on from where its key would stand.
  DBGOTO(Value(3));
  DBSKIP();
  EXPECT_TRUE(__EOF().asBool());
  DBGOTO(Value(3));
  DBSKIP(Value(-1));
  EXPECT_EQ(recno(), 2);

  Value descArgs[] = {Value(), Value(), Value(), Value(), Value(),    Value(),
                      Value(), Value(), Value(), Value(), Value(true)};
  ORDCONDSET(Args(descArgs, 11));
  ORDCREATE(Value("down"), Value(), Value("NAME"));
  EXPECT_EQ(walk(), (std::vector<int>{4, 3, 2, 1}));
  EXPECT_TRUE(DBSEEK(Value("C")).asBool());
  EXPECT_EQ(recno(), 3);
  EXPECT_TRUE(errors.empty());
}

TEST_F(DbfNtx, PartialOrderJoinsTheOpenOrders) {
  makeNames({{"A", 1}, {"B", 2}});
  ORDCREATE(Value("byname"), Value(), Value("NAME"));
  Value args[] = {Value(), Value(), Value(true)};  // the all flag
  ORDCONDSET(Args(args, 3));
  ORDCREATE(Value("part"), Value(), Value("N"));
  EXPECT_EQ(area()->orderCount(), 2);
  EXPECT_EQ(INDEXORD().asInt(), 2);
  EXPECT_EQ(bytes("part.ntx")[0], 6 + 1 + 8);
  // The condition was used up: the next create replaces the list again.
  ORDCREATE(Value("again"), Value(), Value("N"));
  EXPECT_EQ(area()->orderCount(), 1);
}

TEST_F(DbfNtx, EvalBlockCanEndTheBuildEarly) {
  makeNames({{"A", 1}, {"B", 2}, {"C", 3}, {"D", 4}, {"E", 5}});
  int calls = 0;
  struct Counter : BlockData {
    int* n;
    explicit Counter(int* c) : n(c) {}
    Value eval(std::span<Value>) override { return Value(++*n < 2); }
  };
  Value args[] = {
      Value(), Value(), Value(), Value(), Value::block(std::make_shared<Counter>(&calls)),
      Value(2)};
  ORDCONDSET(Args(args, 6));
  ORDCREATE(Value("some"), Value(), Value("NAME"));
  EXPECT_EQ(calls, 2);  // after records 2 and 4
  EXPECT_EQ(walk(), (std::vector<int>{1, 2, 3, 4}));
}

TEST_F(DbfNtx, SharedTablesSeeEachOthersIndexChanges) {
  makeNames({{"B", 1}, {"D", 2}});
  ORDCREATE(Value("byname"), Value(), Value("NAME"));
  DBCLOSEAREA();
  useNtx("names", true);
  ORDLISTADD(Value("byname"));
  useNtx("names", true, "other");
  ORDLISTADD(Value("byname"));
  DBAPPEND();
  FIELDPUT(Value(1), Value("C"));
  DBUNLOCK();
  DBSELECTAREA(Value(1));
  EXPECT_EQ(walk(), (std::vector<int>{1, 3, 2}));
  EXPECT_TRUE(DBSEEK(Value("C")).asBool());
  EXPECT_EQ(recno(), 3);
  ASSERT_TRUE(__LOCK().asBool());
  FIELDPUT(Value(1), Value("A"));
  DBUNLOCK();
  DBSELECTAREA(Value(2));
  EXPECT_EQ(walk(), (std::vector<int>{3, 1, 2}));
  EXPECT_TRUE(errors.empty());
}

// Damaged index files opened through ORDLISTADD: a clear corruption error, never a crash or
// a hang; the table stays usable.
struct Damage {
  const char* what;
  void (*apply)(std::string& file);
  bool opens;  // the header passes; the damage shows when the tree is read
};

class DbfNtxDamaged : public NtxTest, public ::testing::WithParamInterface<Damage> {};

TEST_P(DbfNtxDamaged, GivesCorruptionError) {
  DBCREATE(Value("wide"), structure({row("K", "C", 180, 0)}));
  useNtx("wide");
  for (int i = 0; i < 40; ++i) {
    DBAPPEND();
    FIELDPUT(Value(1), Value(std::string(1, char('A' + i % 26)) + std::to_string(i)));
  }
  ORDCREATE(Value("wide"), Value(), Value("K"));
  ORDLISTCLEAR();
  ASSERT_TRUE(errors.empty());
  std::string data = bytes("wide.ntx");
  ASSERT_GT(data.size(), 4096u);  // several levels: 4 keys a page
  GetParam().apply(data);
  writeBytes("wide.ntx", data);
  ORDLISTADD(Value("wide"));
  ASSERT_FALSE(errors.empty()) << GetParam().what;
  EXPECT_EQ(errors.back().genCode, 32) << GetParam().what;
  EXPECT_EQ(errors.back().subsystem, "DBFNTX");
  EXPECT_EQ(area()->orderCount(), GetParam().opens ? 1 : 0) << GetParam().what;
  errors.clear();
  // Whatever the damage, moving and seeking end without crashing.
  DBGOBOTTOM();
  DBSKIP(Value(-3));
  if (GetParam().opens) {
    DBSEEK(Value("B"));
    // Changes still reach the table, whatever the order can take.
    DBGOTO(Value(5));
    FIELDPUT(Value(1), Value("changed"));
    DBAPPEND();
    FIELDPUT(Value(1), Value("new"));
    DBCOMMIT();
    EXPECT_FALSE(errors.empty());
  }
  ORDLISTCLEAR();
  EXPECT_EQ(walk().size(), GetParam().opens ? 41u : 40u);
  if (GetParam().opens) {
    DBGOTO(Value(5));
    EXPECT_EQ(FIELDGET(Value(1)).str().substr(0, 7), "changed");
  }
}

void put32at(std::string& d, std::size_t at, std::uint32_t v) {
  platform::writeLe32(d.data() + at, v);
}
std::uint32_t get32at(const std::string& d, std::size_t at) {
  return platform::readLe32(d.data() + at);
}

INSTANTIATE_TEST_SUITE_P(
    Files, DbfNtxDamaged,
    ::testing::Values(Damage{"bad signature", [](std::string& d) { d[0] = 0, d[1] = 0; }, false},
                      Damage{"key size 0", [](std::string& d) { d[14] = 0, d[15] = 0; }, false},
                      Damage{"root beyond the file",
                             [](std::string& d) { put32at(d, 4, 4096u * 1024u); }, false},
                      Damage{"child loop",
                             [](std::string& d) {
                               std::uint32_t root = get32at(d, 4);
                               std::size_t slot = platform::readLe16(d.data() + root + 2);
                               put32at(d, root + slot,
                                       root);  // the first child of the root is the root
                             },
                             true},
                      Damage{"short file", [](std::string& d) { d.resize(300); }, false}));
