// The key tree of an NTX index: building, searching, stepping, and a model-based run of
// random inserts, deletes and key changes checked against an ordered multimap.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "engine/ntx/ntx_check.h"
#include "engine/ntx/ntx_key.h"
#include "engine/ntx/ntx_tree.h"

namespace kv::ntx {
namespace {

NtxHeader header(int keySize, bool descending = false, bool unique = false) {
  NtxHeader h;
  h.keySize = keySize;
  h.keyText = "KEY";
  h.descending = descending;
  h.unique = unique;
  return h;
}

std::vector<KeyEntry> entries(std::initializer_list<const char*> keys) {
  std::vector<KeyEntry> v;
  std::uint32_t r = 0;
  for (const char* k : keys) v.push_back(KeyEntry{k, ++r});
  return v;
}

TEST(NtxTree, EmptyTableGivesHeaderAndOneEmptyRoot) {
  MemoryNtxIo io;
  NtxTree t;
  ASSERT_TRUE(t.create(io, header(10), {}, false));
  ASSERT_EQ(io.data.size(), 2048u);
  EXPECT_EQ(platform::readLe16(io.data.data()), 6);
  EXPECT_EQ(platform::readLe16(io.data.data() + 2), 1);
  EXPECT_EQ(platform::readLe32(io.data.data() + 4), 1024u);
  EXPECT_EQ(platform::readLe32(io.data.data() + 8), 0u);
  EXPECT_EQ(platform::readLe16(io.data.data() + 12), 18);
  EXPECT_EQ(platform::readLe16(io.data.data() + 18), 50);
  EXPECT_EQ(platform::readLe16(io.data.data() + 20), 25);
  EXPECT_EQ(platform::readLe16(io.data.data() + 1024), 0);                // no keys
  EXPECT_EQ(platform::readLe16(io.data.data() + 1026), 2 * 50 + 4);       // first item slot
  EXPECT_EQ(platform::readLe16(io.data.data() + 1028), 2 * 50 + 4 + 18);  // second item slot
  EXPECT_EQ(t.first(), 0u);
  EXPECT_EQ(t.last(), 0u);
  EXPECT_EQ(t.seek("A", true), 0u);
  NtxTree again;
  ASSERT_TRUE(again.open(io, false));
  EXPECT_EQ(again.header().maxKeys, 50);
  EXPECT_TRUE(checkNtx(io).clean());
}

TEST(NtxTree, SeekExactSoftAndLast) {
  MemoryNtxIo io;
  NtxTree t;
  ASSERT_TRUE(t.create(io, header(4), entries({"AA", "ABX", "ABY", "AC", "ABX"}), false));
  EXPECT_EQ(t.seek("AB", false), 2u);  // the first key beginning with AB
  EXPECT_EQ(t.currentKey(), "ABX ");
  EXPECT_EQ(t.next(), 5u);
  EXPECT_EQ(t.next(), 3u);
  EXPECT_EQ(t.seek("ABZ", false), 0u);
  EXPECT_FALSE(t.positioned());
  EXPECT_EQ(t.seek("ABZ", true), 4u);  // soft: the next greater key
  EXPECT_EQ(t.seek("AD", true), 0u);   // beyond the last key
  EXPECT_EQ(t.seek("", false), 1u);
  EXPECT_EQ(t.last(), 4u);
  EXPECT_EQ(t.next(), 0u);  // at the end the position stays
  EXPECT_EQ(t.prev(), 3u);
}

TEST(NtxTree, UniqueBuildKeepsTheFirstRecordOfEachKey) {
  MemoryNtxIo io;
  NtxTree t;
  ASSERT_TRUE(t.create(io, header(2, false, true), entries({"B", "A", "B", "A", "C"}), false));
  auto r = checkNtx(io);
  ASSERT_TRUE(r.clean());
  ASSERT_EQ(r.entries.size(), 3u);
  EXPECT_EQ(r.entries[0].recno, 2u);
  EXPECT_EQ(r.entries[1].recno, 1u);
  EXPECT_EQ(r.entries[2].recno, 5u);
}

TEST(NtxTree, ShortHeaderWriteFailsTheCreateQuietly) {
  MemoryNtxIo io;
  io.writesBeforeFailure = 0;
  NtxTree t;
  EXPECT_FALSE(t.create(io, header(10), {}, false));
  EXPECT_FALSE(t.isOpen());
}

TEST(NtxTree, FlushWritesTheHeaderOfAnExclusiveIndex) {
  MemoryNtxIo io;
  NtxTree t;
  ASSERT_TRUE(t.create(io, header(180), {}, false));
  for (std::uint32_t r = 1; r <= 40; ++r) ASSERT_TRUE(t.insert(std::to_string(r % 7), r));
  EXPECT_EQ(platform::readLe32(io.data.data() + 4), 1024u);  // the root moved only in memory
  ASSERT_TRUE(t.flush());
  EXPECT_EQ(platform::readLe32(io.data.data() + 4), t.header().root);
  EXPECT_NE(t.header().root, 1024u);
  auto r = checkNtx(io);
  EXPECT_TRUE(r.clean());
  EXPECT_EQ(r.entries.size(), 40u);
  EXPECT_GE(r.depth, 3);
}

TEST(NtxTree, SharedUpdatesCountAndOthersSeeThem) {
  MemoryNtxIo io;
  NtxTree a, b;
  ASSERT_TRUE(a.create(io, header(5), entries({"K1", "K2"}), true));
  ASSERT_TRUE(b.open(io, true));
  std::uint16_t before = platform::readLe16(io.data.data() + 2);
  ASSERT_TRUE(a.lock());
  ASSERT_TRUE(a.lock());  // nested: one file lock
  EXPECT_EQ(io.locksHeld, 1);
  ASSERT_TRUE(a.insert("K0", 3));
  ASSERT_TRUE(a.commitUpdate());
  ASSERT_TRUE(a.unlock());
  ASSERT_TRUE(a.unlock());
  EXPECT_EQ(io.locksHeld, 0);
  EXPECT_EQ(platform::readLe16(io.data.data() + 2), before + 1);
  ASSERT_TRUE(b.lock());
  EXPECT_EQ(b.first(), 3u);
  ASSERT_TRUE(b.unlock());
}

// A station that has read the index (its pages cached) sees another station's update after
// its next lock; without the lock, its reads go to the file.
TEST(NtxTree, SharedReadersSeeOtherStationsChangesAfterTheirLock) {
  MemoryNtxIo io;
  NtxTree a, b;
  ASSERT_TRUE(a.create(io, header(5), entries({"K2", "K4"}), true));
  ASSERT_TRUE(b.open(io, true));
  ASSERT_TRUE(b.lock());
  EXPECT_EQ(b.first(), 1u);
  EXPECT_EQ(b.next(), 2u);
  ASSERT_TRUE(b.unlock());
  // Enough keys from the other station to split the root page b has read.
  ASSERT_TRUE(a.lock());
  for (std::uint32_t r = 3; r <= 80; ++r) ASSERT_TRUE(a.insert("K" + std::to_string(r % 10), r));
  ASSERT_TRUE(a.commitUpdate());
  ASSERT_TRUE(a.unlock());
  ASSERT_TRUE(b.lock());
  std::uint32_t n = 0;
  for (std::uint32_t r = b.first(); r != 0; r = b.next()) ++n;
  EXPECT_EQ(n, 80u);
  EXPECT_EQ(b.seek("K0", false), 10u);
  ASSERT_TRUE(b.unlock());
}

// The build's order is the collation's, whatever the keys share in front, and descending
// orders invert it; equal keys keep record order.
TEST(NtxTree, BuildSortsByCollationThenRecordNumber) {
  static const char letters[] = {'A', 'a',    'N', '\xD1', 'n', '\xF1',
                                 'O', '\xC1', 'E', '\xC8', '0', ' '};
  for (const std::string& lead : {std::string(), std::string("CUSTOMER NAME ")}) {
    for (bool desc : {false, true}) {
      std::mt19937 rng(7);
      std::vector<KeyEntry> in;
      for (std::uint32_t r = 1; r <= 600; ++r) {
        std::string k = lead;
        for (int i = 0; i < 3; ++i) k += letters[rng() % sizeof letters];
        k.resize(20, ' ');
        in.push_back(KeyEntry{k, r});
      }
      std::vector<KeyEntry> want = in;
      std::stable_sort(want.begin(), want.end(), [desc](const KeyEntry& x, const KeyEntry& y) {
        int c = compareKeys(x.key, y.key);
        return desc ? c > 0 : c < 0;
      });
      MemoryNtxIo io;
      NtxTree t;
      ASSERT_TRUE(t.create(io, header(20, desc), in, false));
      auto got = checkNtx(io);
      ASSERT_TRUE(got.clean());
      ASSERT_EQ(got.entries.size(), want.size());
      for (std::size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(got.entries[i].key, want[i].key) << i << " lead '" << lead << "' desc " << desc;
        EXPECT_EQ(got.entries[i].recno, want[i].recno) << i;
      }
    }
  }
}

// ---- model-based run ----

struct ModelCase {
  int keySize;
  int maxKeys;
  bool descending;
};

class NtxModel : public ::testing::TestWithParam<ModelCase> {};

// Keys from a small alphabet with accented twins, so that equal keys, equal-weight keys and
// prefixes are frequent.
std::string randomKey(std::mt19937& rng, int keySize) {
  static const char alphabet[] = {'A', 'B', 'C', '\xC1', 'a', '0', '-'};
  int len = std::min(keySize, int(rng() % 4) + 1);
  std::string k;
  for (int i = 0; i < len; ++i) k += alphabet[rng() % sizeof alphabet];
  k.resize(std::size_t(keySize), ' ');
  return k;
}

using Model = std::multimap<std::string, std::uint32_t>;

std::vector<KeyEntry> sortedModel(const Model& m) {
  std::vector<KeyEntry> v;
  for (auto& [k, r] : m) v.push_back(KeyEntry{k, r});
  std::sort(v.begin(), v.end(), [](const KeyEntry& a, const KeyEntry& b) {
    return a.key != b.key ? a.key < b.key : a.recno < b.recno;
  });
  return v;
}

void expectSame(std::vector<KeyEntry> got, const Model& m, const char* where) {
  std::sort(got.begin(), got.end(), [](const KeyEntry& a, const KeyEntry& b) {
    return a.key != b.key ? a.key < b.key : a.recno < b.recno;
  });
  auto want = sortedModel(m);
  ASSERT_EQ(got.size(), want.size()) << where;
  for (std::size_t i = 0; i < got.size(); ++i) {
    ASSERT_EQ(got[i].key, want[i].key) << where << " at " << i;
    ASSERT_EQ(got[i].recno, want[i].recno) << where << " at " << i;
  }
}

// Walks the whole index forward and backward; both walks must be the reverse of each other
// and hold exactly the model's pairs.
void expectWalks(NtxTree& t, const Model& m) {
  std::vector<KeyEntry> fwd, back;
  for (std::uint32_t r = t.first(); r != 0; r = t.next()) fwd.push_back({t.currentKey(), r});
  for (std::uint32_t r = t.last(); r != 0; r = t.prev()) back.push_back({t.currentKey(), r});
  std::reverse(back.begin(), back.end());
  ASSERT_EQ(fwd.size(), back.size());
  for (std::size_t i = 0; i < fwd.size(); ++i) ASSERT_EQ(fwd[i].recno, back[i].recno);
  expectSame(fwd, m, "walk");
}

// Exact and soft seeks of a prefix land on the leftmost matching / not-less key.
void expectSeek(NtxTree& t, const Model& m, const std::string& prefix) {
  bool any =
      std::any_of(m.begin(), m.end(), [&](auto& kv) { return t.compare(kv.first, prefix) == 0; });
  std::uint32_t r = t.seek(prefix, false);
  ASSERT_EQ(r != 0, any) << prefix;
  if (r != 0) {
    EXPECT_EQ(t.compare(t.currentKey(), prefix), 0);
    if (t.prev() != 0) {
      EXPECT_LT(t.compare(t.currentKey(), prefix), 0);
    }
  }
  bool anyNotLess =
      std::any_of(m.begin(), m.end(), [&](auto& kv) { return t.compare(kv.first, prefix) >= 0; });
  r = t.seek(prefix, true);
  ASSERT_EQ(r != 0, anyNotLess) << prefix;
  if (r != 0) {
    EXPECT_GE(t.compare(t.currentKey(), prefix), 0);
    if (t.prev() != 0) {
      EXPECT_LT(t.compare(t.currentKey(), prefix), 0);
    }
  }
}

void expectClean(MemoryNtxIo& io, NtxTree& t, const Model& m) {
  ASSERT_TRUE(t.flush());
  NtxCheckReport r = checkNtx(io);
  for (auto& p : r.problems) ADD_FAILURE() << p;
  for (auto& n : r.notes) ADD_FAILURE() << n;  // no page may get lost either
  ASSERT_TRUE(r.clean());
  expectSame(r.entries, m, "check");
}

TEST_P(NtxModel, RandomUpdatesMatchTheModel) {
  const ModelCase c = GetParam();
  std::mt19937 rng(20261208u + unsigned(c.keySize));
  MemoryNtxIo io;
  NtxTree t;
  Model m;
  std::uint32_t nextRecno = 0;
  std::vector<KeyEntry> initial;
  for (int i = 0; i < c.maxKeys * c.maxKeys + 600; ++i)
    initial.push_back({randomKey(rng, c.keySize), ++nextRecno});
  for (auto& e : initial) m.emplace(e.key, e.recno);
  ASSERT_TRUE(t.create(io, header(c.keySize, c.descending), initial, false));
  ASSERT_EQ(t.header().maxKeys, c.maxKeys);
  expectClean(io, t, m);

  int maxDepth = 0;
  for (int step = 1; step <= 3000; ++step) {
    unsigned op = rng() % 10;
    if (m.empty() || op < 4) {  // append
      std::string k = randomKey(rng, c.keySize);
      ASSERT_TRUE(t.insert(k, ++nextRecno));
      m.emplace(k, nextRecno);
    } else {
      auto it = std::next(m.begin(), long(rng() % m.size()));
      std::string old = it->first;
      std::uint32_t r = it->second;
      ASSERT_TRUE(t.remove(old, r)) << "step " << step;
      m.erase(it);
      ASSERT_FALSE(t.relocate(old, r, true)) << "step " << step;
      if (op < 7) {  // a key change: the record comes back under a new key
        std::string k = randomKey(rng, c.keySize);
        ASSERT_TRUE(t.insert(k, r));
        m.emplace(k, r);
        ASSERT_TRUE(t.relocate(k, r, false)) << "step " << step;
      }
    }
    if (step % 50 == 0) {
      expectWalks(t, m);
      expectSeek(t, m, randomKey(rng, c.keySize).substr(0, 1 + rng() % 3));
    }
    if (step % 250 == 0) {
      expectClean(io, t, m);
      maxDepth = std::max(maxDepth, checkNtx(io).depth);
    }
    if (HasFatalFailure()) return;
  }
  // Drain to empty: deletions through every level, pages back on the free list.
  while (!m.empty()) {
    auto it = std::next(m.begin(), long(rng() % m.size()));
    ASSERT_TRUE(t.remove(it->first, it->second));
    m.erase(it);
    if (m.size() % 200 == 0) expectClean(io, t, m);
  }
  expectClean(io, t, m);
  EXPECT_EQ(t.first(), 0u);
  EXPECT_GE(maxDepth, 3);
  // Freed pages are reused before the file grows.
  auto size = io.data.size();
  for (std::uint32_t r = 1; r <= 200; ++r) ASSERT_TRUE(t.insert(randomKey(rng, c.keySize), r));
  EXPECT_EQ(io.data.size(), size);
}

INSTANTIATE_TEST_SUITE_P(PageSizes, NtxModel,
                         ::testing::Values(ModelCase{180, 4, false}, ModelCase{40, 18, false},
                                           ModelCase{5, 66, false}, ModelCase{40, 18, true}),
                         [](const auto& info) {
                           return "Keys" + std::to_string(info.param.maxKeys) +
                                  (info.param.descending ? "Descending" : "");
                         });

}  // namespace
}  // namespace kv::ntx
