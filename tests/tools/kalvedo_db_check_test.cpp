// `kalvedo-db check` through the built executable: a sound table with its indexes is clean;
// copies damaged byte by byte (a missing, stale or misplaced key, a cut table, a broken
// header or page) each give exit code 1 and name the damage.
#include <algorithm>
#include <cctype>
#include <functional>
#include <sstream>

#include "engine/ntx/ntx_format.h"
#include "engine/ntx/ntx_keyvalue.h"
#include "engine/ntx/ntx_tree.h"
#include "support/engine_fixture.h"
#include "support/tool_runner.h"

using namespace kv;
using namespace kv::engine;
using kvtest::EngineTest;

namespace {

constexpr int kRecords = 200;
constexpr std::uint32_t kHeaderLength = 32 * 2 + 34;
constexpr std::uint32_t kRecordLength = 1 + 8 + 5;

std::string upper(std::string s) {
  for (auto& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

class CheckToolTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    DBCREATE(Value("t"), structure({row("NAME", "C", 8, 0), row("NUM", "N", 5, 0)}));
    use("t");
    for (int i = 1; i <= kRecords; ++i) {
      DBAPPEND();
      FIELDPUT(Value(1),
               Value(std::string(1, static_cast<char>('a' + (i * 7) % 26)) + std::to_string(i)));
      FIELDPUT(Value(2), Value((i * 13) % 41 - 20));
      if (i % 17 == 0) DBDELETE();
    }
    // The indexes as the program keeps them: every record, deleted ones included.
    makeIndex("name.ntx", "UPPER(NAME)", 8, "", [](std::string& key) {
      key = ntx::keyFromValue(Value(upper(std::string(FIELDGET(Value(1)).str()))), 8, 0);
      return true;
    });
    makeIndex("num.ntx", "NUM", 5, "", [](std::string& key) {
      key = ntx::keyFromValue(FIELDGET(Value(2)), 5, 0);
      return true;
    });
    makeIndex("pos.ntx", "NAME", 8, "NUM > 0", [](std::string& key) {
      key = ntx::keyFromValue(FIELDGET(Value(1)), 8, 0);
      return FIELDGET(Value(2)).asDouble() > 0;
    });
    // Claims the FOR condition but holds every record.
    makeIndex("all.ntx", "NAME", 8, "NUM > 0", [](std::string& key) {
      key = ntx::keyFromValue(FIELDGET(Value(1)), 8, 0);
      return true;
    });
    // One key per first letter: the build keeps the first record of each.
    makeIndex(
        "uniq.ntx", "SUBSTR(NAME, 1, 1)", 1, "",
        [](std::string& key) {
          key = ntx::keyFromValue(FIELDGET(Value(1)), 1, 0);
          return true;
        },
        true);
    DBCLOSEALL();
    ASSERT_TRUE(errors.empty());
    table_ = bytes("t.dbf");
    name_ = bytes("name.ntx");
  }

  // Builds an index from the open table: `keyOf` makes the current record's key and answers
  // whether the record belongs in the index.
  void makeIndex(const std::string& file, const std::string& keyText, int size,
                 const std::string& forText, const std::function<bool(std::string&)>& keyOf,
                 bool unique = false) {
    std::vector<ntx::KeyEntry> entries;
    for (int n = 1; n <= kRecords; ++n) {
      DBGOTO(Value(n));
      std::string key;
      if (keyOf(key)) entries.push_back({key, static_cast<std::uint32_t>(n)});
    }
    ntx::NtxHeader h;
    h.keySize = size;
    h.keyText = keyText;
    h.forText = forText;
    h.unique = unique;
    if (!forText.empty()) h.signature = ntx::kSigPlain | ntx::kSigConditional;
    ntx::MemoryNtxIo io;
    ntx::NtxTree tree;
    ASSERT_TRUE(tree.create(io, h, entries, false));
    writeBytes(file, std::string(io.data.begin(), io.data.end()));
  }

  kvtest::ToolRun check(const std::string& args) {
    std::vector<std::string> words{"check"};
    std::istringstream in(args);
    for (std::string w; in >> w;) words.push_back(w);
    return kvtest::runTool(dir_.string(), words);
  }

  std::string table_, name_;
};

std::uint32_t get16(const std::string& s, std::size_t at) {
  return platform::readLe16(s.data() + at);
}
std::uint32_t get32(const std::string& s, std::size_t at) {
  return platform::readLe32(s.data() + at);
}
void put16(std::string& s, std::size_t at, std::uint32_t v) {
  platform::writeLe16(s.data() + at, v);
}

}  // namespace

TEST_F(CheckToolTest, SoundTableAndIndexesAreClean) {
  auto r = check("t name num.ntx pos all.ntx");
  // all.ntx is the only damaged one: its records with NUM <= 0 must not be there.
  EXPECT_EQ(r.code, 1) << r.out;
  EXPECT_NE(r.out.find("all.ntx: record 1: in the index although its FOR condition is false"),
            std::string::npos)
      << r.out;
  EXPECT_EQ(r.out.find("name.ntx:"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("pos.ntx:"), std::string::npos) << r.out;
  r = check("t name num.ntx pos uniq");
  EXPECT_EQ(r.code, 0) << r.out;
  int positive = 0;
  for (int i = 1; i <= kRecords; ++i) positive += (i * 13) % 41 - 20 > 0;
  EXPECT_EQ(r.out,
            "clean: t.dbf (200 records), name.ntx (200 keys), num.ntx (200 keys), pos.ntx (" +
                std::to_string(positive) + " keys), uniq.ntx (26 keys)\n");
  r = check("t");
  EXPECT_EQ(r.code, 0) << r.out;
  EXPECT_EQ(check("").code, 2);
}

TEST_F(CheckToolTest, DamagedCopiesAreFindings) {
  // The first leaf page of name.ntx lies at 1024 and is full.
  const std::uint32_t leaf = 1024;
  const std::uint32_t count = get16(name_, leaf);
  ASSERT_GT(count, 2u);
  const std::uint32_t lastSlot = get16(name_, leaf + 2 + 2 * (count - 1));
  const std::uint32_t lostRecord = get32(name_, leaf + lastSlot + 4);
  struct Case {
    const char* what;
    std::function<void(std::string& table, std::string& index)> damage;
    std::vector<std::string> want;  // texts that must appear in the output
  } cases[] = {
      {"missing key",
       [&](std::string&, std::string& ix) { put16(ix, leaf, count - 1); },
       {"name.ntx: record " + std::to_string(lostRecord) + ": key \""}},
      {"stale key",
       [](std::string& t, std::string&) { t[kHeaderLength + 4 * kRecordLength + 1] = 'Z'; },
       {"name.ntx: record 5: the index holds the stale key"}},
      {"keys out of order",
       [&](std::string&, std::string& ix) {
         std::swap(ix[leaf + 2], ix[leaf + 4]);
         std::swap(ix[leaf + 3], ix[leaf + 5]);
       },
       {"sorts before the key preceding it"}},
      {"cut table",
       [](std::string& t, std::string&) { t.resize(kHeaderLength + 150 * kRecordLength + 3); },
       {"t.dbf: the header counts 200 records, the file holds 150 whole records and 3 bytes",
        "past the table's last record 150"}},
      {"uncounted records",
       [](std::string& t, std::string&) { t += std::string(kRecordLength * 2, ' '); },
       {"t.dbf: " + std::to_string(kRecordLength * 2 + 1) +
        " bytes after the 200 counted records"}},
      {"version byte",
       [](std::string& t, std::string&) { t[0] = 0x05; },
       {"t.dbf: version byte 0x05", "keys not compared with the records"}},
      {"record length",
       [](std::string& t, std::string&) { t[10] = 15; },
       {"t.dbf: record length 15 in the header, the fields need 14"}},
      {"no terminator",
       [](std::string& t, std::string&) { t[96] = 'X'; },
       {"t.dbf: field 3: descriptor runs past the header length 98"}},
      {"unknown type",
       [](std::string& t, std::string&) { t[32 + 32 + 11] = 'Q'; },
       {"t.dbf: field 2 (NUM): unknown field type 0x51"}},
      {"deletion flag",
       [](std::string& t, std::string&) { t[kHeaderLength + kRecordLength] = 'x'; },
       {"t.dbf: record 2: deletion flag 0x78"}},
      {"page count",
       [&](std::string&, std::string& ix) { put16(ix, leaf, 0xFFFF); },
       {"name.ntx: page 1024"}},
      {"root outside the file",
       [](std::string&, std::string& ix) {
         put16(ix, 4, 0);
         put16(ix, 6, 0x10);
       },
       {"name.ntx: header"}},
      {"index cut", [](std::string&, std::string& ix) { ix.resize(300); }, {"name.ntx: header"}},
  };
  for (const auto& c : cases) {
    std::string t = table_, ix = name_;
    c.damage(t, ix);
    writeBytes("t.dbf", t);
    writeBytes("name.ntx", ix);
    auto r = check("t name");
    EXPECT_EQ(r.code, 1) << c.what << "\n" << r.out;
    for (const auto& w : c.want)
      EXPECT_NE(r.out.find(w), std::string::npos) << c.what << "\n" << r.out;
    EXPECT_NE(r.out.find("\ndamaged: "), std::string::npos) << c.what << "\n" << r.out;
  }
  // The intact copies are clean again, and a missing index file is a finding.
  writeBytes("t.dbf", table_);
  writeBytes("name.ntx", name_);
  EXPECT_EQ(check("t name").code, 0);
  auto r = check("t nosuch");
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.out.find("nosuch.ntx: cannot be opened"), std::string::npos) << r.out;
}

TEST_F(CheckToolTest, IndexOfAnExpressionThatFailsIsAFindingNotAStop) {
  // A header whose key text compiles but fails on every record, and one that does not
  // compile.
  std::string ix = name_;
  const char* failing = "SUBSTR(NAME, 1, 2) + NUM";
  std::fill(ix.begin() + 22, ix.begin() + 278, '\0');
  std::copy(failing, failing + std::strlen(failing), ix.begin() + 22);
  writeBytes("bad.ntx", ix);
  auto r = check("t bad");
  EXPECT_EQ(r.code, 1) << r.out;
  EXPECT_NE(r.out.find("bad.ntx: record 1: evaluating the key raised error 1/"), std::string::npos)
      << r.out;
  std::fill(ix.begin() + 22, ix.begin() + 278, '\0');
  ix[22] = '(';
  writeBytes("bad.ntx", ix);
  r = check("t bad");
  EXPECT_EQ(r.code, 1) << r.out;
  EXPECT_NE(r.out.find("bad.ntx: key expression \"(\" does not compile"), std::string::npos)
      << r.out;
}

TEST_F(CheckToolTest, ReindexRebuildsADamagedIndex) {
  writeBytes("name.ntx", std::string(3000, 'x'));
  EXPECT_EQ(check("t name").code, 1);
  auto r = kvtest::runTool(dir_.string(), {"reindex", "t", "name", "UPPER(NAME)"});
  EXPECT_EQ(r.code, 0) << r.out;
  EXPECT_NE(r.out.find("built from 200 records, key UPPER(NAME)"), std::string::npos) << r.out;
  r = check("t name num pos");
  EXPECT_EQ(r.code, 0) << r.out;
  // A new index of another key; then wrong calls.
  r = kvtest::runTool(dir_.string(), {"reindex", "t", "both", "STR(NUM, 5) + NAME"});
  EXPECT_EQ(r.code, 0) << r.out;
  EXPECT_EQ(check("t both").code, 0);
  EXPECT_EQ(kvtest::runTool(dir_.string(), {"reindex", "t", "name"}).code, 2);
  EXPECT_EQ(kvtest::runTool(dir_.string(), {"reindex", "t", "bad", "("}).code, 1);
  EXPECT_EQ(kvtest::runTool(dir_.string(), {"reindex", "nosuch", "x", "NAME"}).code, 1);
}

TEST_F(CheckToolTest, DumpWalksTheIndexInKeyOrder) {
  struct Row {
    int num, recno;
    std::string line;
  };
  std::vector<Row> rows;
  for (int i = 1; i <= kRecords; ++i) {
    int num = (i * 13) % 41 - 20;
    std::string name = std::string(1, static_cast<char>('a' + (i * 7) % 26)) + std::to_string(i);
    rows.push_back(
        {num, i,
         std::to_string(i) + (i % 17 == 0 ? "*" : " ") + name + "|" + std::to_string(num) + "\n"});
  }
  std::stable_sort(rows.begin(), rows.end(),
                   [](const Row& a, const Row& b) { return a.num < b.num; });
  std::string all, visible;
  for (const auto& row : rows) {
    all += row.line;
    if (row.recno % 17 != 0) visible += row.line;
  }
  EXPECT_EQ(kvtest::runTool(dir_.string(), {"dump", "t", "--index", "num", "--deleted"}).out, all);
  EXPECT_EQ(kvtest::runTool(dir_.string(), {"dump", "t", "--index", "num.ntx"}).out, visible);
  // A damaged index is an error, not a dump in record order.
  writeBytes("name.ntx", std::string(100, 'x'));
  auto r = kvtest::runTool(dir_.string(), {"dump", "t", "--index", "name"});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.out, "");
}

TEST_F(CheckToolTest, UniqueOrderHoldsEachKeyValueOnce) {
  // uniq.ntx holds the first record of each first letter (records 1-26): sound while the
  // order is unique, 174 records missing once it is not.
  std::string ix = bytes("uniq.ntx");
  writeBytes("u2.ntx", ix);
  ix[278] = 0;
  writeBytes("u1.ntx", ix);
  auto r = check("t u1 u2");
  EXPECT_EQ(r.code, 1) << r.out;
  EXPECT_NE(r.out.find("u1.ntx: record 27: key \"h\" is missing"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("124 more record problems"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("u2.ntx"), r.out.find("u2.ntx (26 keys)")) << r.out;
  // Every record's first letter, marked unique afterwards: each letter is there 7 or 8 times.
  use("t");
  makeIndex("u3.ntx", "SUBSTR(NAME, 1, 1)", 1, "", [](std::string& key) {
    key = ntx::keyFromValue(FIELDGET(Value(1)), 1, 0);
    return true;
  });
  DBCLOSEALL();
  ix = bytes("u3.ntx");
  ix[278] = 1;
  writeBytes("u3.ntx", ix);
  r = check("t u3");
  EXPECT_EQ(r.code, 1) << r.out;
  EXPECT_NE(r.out.find("u3.ntx: key \"b\" is in the unique order 8 times"), std::string::npos)
      << r.out;
}
