// Model-based test of the index driver: random appends, key changes, deletes and recalls on a
// table with a character order and a numeric order, checked against a model of (key, record)
// pairs: the neighbours of every changed record after each step, a full walk of both orders
// and the structural check of both files after each batch. Run with key sizes that give 4,
// 18 and 66 keys per page, so pages split and empty often.
#include <algorithm>
#include <map>
#include <random>
#include <set>

#include "engine/ntx/ntx_check.h"
#include "engine/ntx/ntx_key.h"
#include "engine/ntx/ntx_keyvalue.h"
#include "support/ntx_fixture.h"

using namespace kv;
using namespace kv::engine;

namespace {

struct ModelCase {
  int charWidth;  // key size of the character order
  int numWidth;   // key size of the numeric order
  const char* charKey;
  int steps;
};

class DbfNtxModel : public kvtest::NtxTest, public ::testing::WithParamInterface<ModelCase> {
 protected:
  using Pairs = std::multiset<std::pair<std::string, int>>;

  std::string charKey() const {
    std::string s(FIELDGET(Value(1)).str());
    s.resize(std::size_t(GetParam().charWidth), ' ');
    return s;
  }
  std::string numKey() const {
    return ntx::keyFromValue(FIELDGET(Value(2)), GetParam().numWidth, 0);
  }
  std::string keyOf(int order) const { return order == 1 ? charKey() : numKey(); }

  // Walks order `n` from the top: keys must not descend and the pairs must be the model's.
  void checkWalk(int n, const Pairs& model) {
    ORDSETFOCUS(Value(n));
    Pairs seen;
    std::string prev;
    for (DBGOTOP(); !__EOF().asBool(); DBSKIP()) {
      std::string k = keyOf(n);
      if (!prev.empty()) {
        ASSERT_LE(ntx::compareKeys(prev, k), 0) << "order " << n;
      }
      prev = k;
      seen.insert({k, recno()});
      ASSERT_LE(seen.size(), model.size()) << "order " << n << " walks too far";
    }
    ASSERT_EQ(seen, model) << "order " << n;
    // The same keys backward.
    std::size_t back = 0;
    for (DBGOBOTTOM(); !__BOF().asBool(); DBSKIP(Value(-1))) ++back;
    ASSERT_EQ(back, model.size()) << "order " << n;
  }

  void checkFile(const char* file, const Pairs& model) {
    ntx::MemoryNtxIo io;
    std::string data = bytes(file);
    io.data.assign(data.begin(), data.end());
    ntx::NtxCheckReport rep = ntx::checkNtx(io);
    ASSERT_TRUE(rep.clean()) << file << ": "
                             << (rep.problems.empty() ? "header" : rep.problems.front());
    Pairs got;
    for (auto& e : rep.entries) got.insert({e.key, int(e.recno)});
    ASSERT_EQ(got, model) << file;
    maxDepth_ = std::max(maxDepth_, rep.depth);
  }
  int maxDepth_ = 0;

  // From record r in order n: the key before it is not greater, the key after not less.
  void checkNeighbours(int n, int r) {
    ORDSETFOCUS(Value(n));
    DBGOTO(Value(r));
    std::string k = keyOf(n);
    DBSKIP();
    if (!__EOF().asBool()) {
      ASSERT_GE(ntx::compareKeys(keyOf(n), k), 0) << "after " << r;
    }
    DBGOTO(Value(r));
    DBSKIP(Value(-1));
    if (!__BOF().asBool()) {
      ASSERT_LE(ntx::compareKeys(keyOf(n), k), 0) << "before " << r;
    }
    ASSERT_TRUE(errors.empty()) << errors.front().genCode << "/" << errors.front().subCode;
  }
};

using DbfNtxModelShared = kvtest::NtxTest;

TEST_P(DbfNtxModel, RandomChangesKeepOrdersExact) {
  const ModelCase& c = GetParam();
  DBCREATE(Value("model"),
           structure({row("K", "C", c.charWidth, 0), row("N", "N", c.numWidth, 0)}));
  useNtx("model");
  ORDCREATE(Value("kchar"), Value(), Value(c.charKey));
  ORDCREATE(Value("knum"), Value(), Value("N"));
  ORDLISTCLEAR();
  ORDLISTADD(Value("kchar"));
  ORDLISTADD(Value("knum"));
  ASSERT_TRUE(errors.empty());

  std::mt19937 rng(20240611u + unsigned(c.charWidth));
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  auto randomText = [&] {
    std::string s(std::size_t(pick(1, 3)), 'A');
    for (auto& ch : s) ch = char('A' + pick(0, 3));
    return s;
  };
  Pairs model[3];
  std::vector<std::pair<std::string, std::string>> keys(1);  // per record: char, number
  int count = 0;
  const int batch = 100;
  for (int step = 1; step <= c.steps; ++step) {
    int op = count < 10 ? 0 : pick(0, 9);
    int r = 0;
    if (op <= 3) {
      DBAPPEND();
      FIELDPUT(Value(1), Value(randomText()));
      FIELDPUT(Value(2), Value(pick(-60, 60)));
      r = ++count;
      keys.push_back({charKey(), numKey()});
      model[1].insert({keys[std::size_t(r)].first, r});
      model[2].insert({keys[std::size_t(r)].second, r});
    } else {
      r = pick(1, count);
      DBGOTO(Value(r));
      auto& k = keys[std::size_t(r)];
      if (op <= 5) {
        FIELDPUT(Value(1), Value(randomText()));
        model[1].erase(model[1].find({k.first, r}));
        k.first = charKey();
        model[1].insert({k.first, r});
      } else if (op <= 7) {
        FIELDPUT(Value(2), Value(pick(-60, 60)));
        model[2].erase(model[2].find({k.second, r}));
        k.second = numKey();
        model[2].insert({k.second, r});
      } else if (op == 8) {
        DBDELETE();
      } else {
        DBRECALL();
      }
    }
    checkNeighbours(1 + step % 2, r);
    if (HasFatalFailure()) return;
    if (step % batch == 0 || step == c.steps) {
      checkWalk(1, model[1]);
      checkWalk(2, model[2]);
      if (HasFatalFailure()) return;
      DBCOMMIT();
      checkFile("kchar.ntx", model[1]);
      checkFile("knum.ntx", model[2]);
      if (HasFatalFailure()) return;
    }
  }
  // A rebuild gives the same pairs.
  ORDLISTREBUILD();
  DBCOMMIT();
  checkFile("kchar.ntx", model[1]);
  checkFile("knum.ntx", model[2]);
  EXPECT_TRUE(errors.empty());
  // The run reached a table and trees of some size.
  EXPECT_GT(count, c.steps / 3);
  EXPECT_GE(maxDepth_, 2);
}

// Two work areas on the same shared table and index take turns changing records: each sees
// the other's changes through the update counter of the index header.
TEST_F(DbfNtxModelShared, TwoAreasTakeTurns) {
  DBCREATE(Value("both"), structure({row("K", "C", 40, 0)}));
  useNtx("both");
  ORDCREATE(Value("both"), Value(), Value("K"));
  DBCLOSEAREA();
  useNtx("both", true, "one");
  ORDLISTADD(Value("both"));
  useNtx("both", true, "two");
  ORDLISTADD(Value("both"));
  std::mt19937 rng(7u);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  std::multiset<std::pair<std::string, int>> model;
  std::vector<std::string> keys(1);
  auto key = [] {
    std::string s(FIELDGET(Value(1)).str());
    s.resize(40, ' ');
    return s;
  };
  for (int step = 0; step < 400; ++step) {
    DBSELECTAREA(Value(1 + step % 2));
    std::string text(std::size_t(pick(1, 3)), 'A');
    for (auto& ch : text) ch = char('A' + pick(0, 4));
    if (keys.size() < 20 || pick(0, 1) == 0) {
      DBAPPEND();
      FIELDPUT(Value(1), Value(text));
      keys.push_back(key());
      model.insert({keys.back(), recno()});
    } else {
      int r = pick(1, int(keys.size()) - 1);
      DBGOTO(Value(r));
      ASSERT_TRUE(__LOCK().asBool());
      FIELDPUT(Value(1), Value(text));
      model.erase(model.find({keys[std::size_t(r)], r}));
      keys[std::size_t(r)] = key();
      model.insert({keys[std::size_t(r)], r});
    }
    DBUNLOCK();
    ASSERT_TRUE(errors.empty()) << errors.front().genCode << "/" << errors.front().subCode;
    if (step % 50 == 49) {
      for (int a = 1; a <= 2; ++a) {
        DBSELECTAREA(Value(a));
        std::multiset<std::pair<std::string, int>> seen;
        for (DBGOTOP(); !__EOF().asBool(); DBSKIP()) seen.insert({key(), recno()});
        ASSERT_EQ(seen, model) << "area " << a << " step " << step;
      }
      ntx::MemoryNtxIo io;
      std::string data = bytes("both.ntx");
      io.data.assign(data.begin(), data.end());
      ASSERT_TRUE(ntx::checkNtx(io).clean());
    }
  }
}

INSTANTIATE_TEST_SUITE_P(KeysPerPage, DbfNtxModel,
                         ::testing::Values(ModelCase{180, 5, "K", 1200},         // 4 and 66 keys
                                           ModelCase{40, 40, "UPPER(K)", 1200},  // 18 keys
                                           ModelCase{5, 12, "K", 1500}));        // 66 keys
}  // namespace
