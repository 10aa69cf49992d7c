// Damaged index files: every operation ends with a clear error (or no result), never a
// crash or a hang, and the checker names the damage.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "engine/area/dberror.h"
#include "engine/ntx/ntx_check.h"
#include "engine/ntx/ntx_tree.h"

namespace kv::ntx {
namespace {

class NtxBroken : public ::testing::Test {
 protected:
  void SetUp() override {
    engine::setErrorHook([this](const ErrorRecord& e) {
      errors.push_back(e);
      return ErrorResult{ErrorAnswer::Default, Value()};
    });
  }
  void TearDown() override { engine::setErrorHook({}); }

  // A three-level index of 200 keys with 4 keys a page.
  void makeIndex() {
    NtxHeader h;
    h.keySize = 180;
    h.keyText = "KEY";
    std::vector<KeyEntry> keys;
    for (std::uint32_t r = 1; r <= 200; ++r) keys.push_back({"K" + std::to_string(r), r});
    NtxTree t;
    ASSERT_TRUE(t.create(io, h, keys, false));
    ASSERT_TRUE(checkNtx(io).clean());
    root = platform::readLe32(io.data.data() + 4);
  }
  Page page(std::uint32_t off) {
    Page p(4, 188);
    std::copy_n(io.data.begin() + off, 1024, p.bytes());
    return p;
  }
  void putPage(std::uint32_t off, const Page& p) {
    std::copy_n(p.bytes(), 1024, io.data.begin() + off);
  }
  bool raised(int gen, int sub) {
    for (auto& e : errors)
      if (e.genCode == gen && e.subCode == sub && e.subsystem == "DBFNTX") return true;
    return false;
  }

  MemoryNtxIo io{"broken.ntx"};
  std::uint32_t root = 0;
  std::vector<ErrorRecord> errors;
};

TEST_F(NtxBroken, HeaderDamageFailsTheOpen) {
  struct Case {
    const char* what;
    std::size_t at;
    std::uint16_t value;
  };
  for (Case c :
       {Case{"signature", 0, 0x0001}, Case{"key size 0", 14, 0}, Case{"key size 300", 14, 300},
        Case{"maximum keys", 18, 400}, Case{"root beyond the file", 6, 0x0100}}) {
    makeIndex();
    platform::writeLe16(io.data.data() + c.at, c.value);
    errors.clear();
    NtxTree t;
    EXPECT_FALSE(t.open(io, false)) << c.what;
    EXPECT_TRUE(raised(EG_CORRUPTION, 1012)) << c.what;
    EXPECT_FALSE(checkNtx(io).clean()) << c.what;
  }
  io.data.resize(500);  // shorter than the header
  NtxTree t;
  EXPECT_FALSE(t.open(io, false));
}

TEST_F(NtxBroken, CreateWithKeySizeZeroIsADataWidthError) {
  NtxHeader h;
  h.keySize = 0;
  h.keyText = "KEY";
  NtxTree t;
  EXPECT_FALSE(t.create(io, h, {}, false));
  EXPECT_TRUE(raised(EG_DATAWIDTH, 1026));
  EXPECT_TRUE(io.data.empty());
}

TEST_F(NtxBroken, ChildPageBeyondTheFile) {
  makeIndex();
  Page r = page(root);
  r.setChild(0, 1024 * 1000);
  putPage(root, r);
  NtxTree t;
  ASSERT_TRUE(t.open(io, false));
  EXPECT_EQ(t.first(), 0u);
  EXPECT_TRUE(raised(EG_CORRUPTION, 1012));
  EXPECT_FALSE(t.positioned());
  EXPECT_EQ(t.seek("K1", false), 0u);
  EXPECT_FALSE(t.insert("K0", 999));
  EXPECT_NE(t.last(), 0u);  // the rest of the tree is still reachable
  auto rep = checkNtx(io);
  EXPECT_FALSE(rep.clean());
}

TEST_F(NtxBroken, ChildLoopEndsWithAStackFault) {
  makeIndex();
  Page r = page(root);
  r.setChild(0, root);  // the root is its own first child
  putPage(root, r);
  NtxTree t;
  ASSERT_TRUE(t.open(io, false));
  EXPECT_EQ(t.first(), 0u);
  EXPECT_TRUE(raised(EG_CORRUPTION, 1012));
  errors.clear();
  EXPECT_EQ(t.seek("K", false), 0u);
  EXPECT_TRUE(raised(EG_CORRUPTION, 1012));
  EXPECT_FALSE(t.insert("A", 1000));
  auto rep = checkNtx(io);
  EXPECT_FALSE(rep.clean());
}

TEST_F(NtxBroken, LeafPointingBackUpEndsTheWalk) {
  makeIndex();
  // Follow the rightmost pointers to the last leaf and point its empty end back at the root.
  std::uint32_t off = root;
  while (page(off).child(page(off).count()) != 0) off = page(off).child(page(off).count());
  Page leaf = page(off);
  leaf.setChild(leaf.count(), root);
  putPage(off, leaf);
  NtxTree t;
  ASSERT_TRUE(t.open(io, false));
  int steps = 0;
  for (std::uint32_t r = t.first(); r != 0 && steps < 1000000; r = t.next()) ++steps;
  EXPECT_LT(steps, 1000000);
  EXPECT_FALSE(t.relocate("NOT THERE", 5000, true));
  EXPECT_FALSE(checkNtx(io).clean());
}

TEST_F(NtxBroken, DamagedOffsetTableOrCount) {
  makeIndex();
  Page r = page(root);
  r.setSlot(1, r.slot(0));
  putPage(root, r);
  NtxTree t;
  ASSERT_TRUE(t.open(io, false));
  EXPECT_EQ(t.seek("K5", false), 0u);
  EXPECT_TRUE(raised(EG_CORRUPTION, 1012));
  auto rep = checkNtx(io);
  ASSERT_FALSE(rep.problems.empty());
  r.setSlot(1, r.slot(2) + 188);
  r.setCount(9);
  putPage(root, r);
  errors.clear();
  EXPECT_EQ(t.last(), 0u);
  EXPECT_TRUE(raised(EG_CORRUPTION, 1012));
}

TEST_F(NtxBroken, FreeListLoopIsRefused) {
  makeIndex();
  NtxTree t;
  ASSERT_TRUE(t.open(io, false));
  for (std::uint32_t r = 1; r <= 100; ++r) ASSERT_TRUE(t.remove("K" + std::to_string(r), r));
  ASSERT_TRUE(t.flush());
  std::uint32_t head = platform::readLe32(io.data.data() + 8);
  ASSERT_NE(head, 0u);
  Page f = page(head);
  f.setChild(0, head);
  putPage(head, f);
  auto rep = checkNtx(io);
  EXPECT_FALSE(rep.clean());
  NtxTree u;
  ASSERT_TRUE(u.open(io, false));
  bool failed = false;
  for (std::uint32_t r = 1; r <= 100 && !failed; ++r)
    failed = !u.insert("K" + std::to_string(r), r);
  EXPECT_TRUE(failed);
  EXPECT_TRUE(raised(EG_CORRUPTION, 1012));
}

TEST_F(NtxBroken, ShortPageReadEndsTheSearchWithoutAnError) {
  makeIndex();
  NtxTree t;
  ASSERT_TRUE(t.open(io, false));
  io.readsBeforeFailure = 1;  // the root reads, the page below comes short
  EXPECT_EQ(t.seek("K7", false), 0u);
  EXPECT_FALSE(t.positioned());
  EXPECT_TRUE(errors.empty());
  io.readsBeforeFailure = -1;
  EXPECT_EQ(t.seek("K7", false), 7u);
}

TEST_F(NtxBroken, ShortPageWriteIsAWriteError) {
  makeIndex();
  NtxTree t;
  ASSERT_TRUE(t.open(io, false));
  io.writesBeforeFailure = 0;
  EXPECT_FALSE(t.insert("K0", 201));
  EXPECT_TRUE(raised(EG_WRITE, 1011));
}

// The build writes its pages in batches; a batch that does not reach the file fails the
// build with the write error, whether it is a full batch or the last, partial one.
TEST_F(NtxBroken, ShortBatchWriteFailsTheBuild) {
  NtxHeader h;
  h.keySize = 180;
  h.keyText = "KEY";
  std::vector<KeyEntry> keys;
  for (std::uint32_t r = 1; r <= 600; ++r) keys.push_back({"K" + std::to_string(r), r});
  for (int okWrites : {1, 2, 3}) {
    MemoryNtxIo out{"short.ntx"};
    out.writesBeforeFailure = okWrites;  // the header, then batches of pages
    errors.clear();
    NtxTree t;
    EXPECT_FALSE(t.create(out, h, keys, false)) << okWrites;
    EXPECT_TRUE(raised(EG_WRITE, 1011)) << okWrites;
  }
}

TEST_F(NtxBroken, RandomDamageNeverCrashesOrHangs) {
  std::mt19937 rng(77);
  for (int round = 0; round < 150; ++round) {
    makeIndex();
    std::size_t pages = io.data.size() / 1024;
    for (int k = 0; k < 1 + round % 6; ++k) {
      std::size_t at = 1024 * (1 + rng() % (pages - 1)) + rng() % 1024;
      if (rng() % 4 == 0) at = rng() % 24;
      io.data[at] = static_cast<std::uint8_t>(rng());
    }
    NtxTree t;
    (void)checkNtx(io);
    if (!t.open(io, false)) continue;
    int steps = 0;
    for (std::uint32_t r = t.first(); r != 0 && steps < 100000; r = t.next()) ++steps;
    for (std::uint32_t r = t.last(); r != 0 && steps < 200000; r = t.prev()) ++steps;
    EXPECT_LT(steps, 200000);
    (void)t.seek("K1", true);
    (void)t.relocate("K150", 150, true);
    for (std::uint32_t r = 1; r <= 20; ++r) (void)t.remove("K" + std::to_string(r * 7), r * 7);
    for (std::uint32_t r = 300; r < 330; ++r) (void)t.insert("K" + std::to_string(r), r);
    (void)checkNtx(io);
  }
}

}  // namespace
}  // namespace kv::ntx
