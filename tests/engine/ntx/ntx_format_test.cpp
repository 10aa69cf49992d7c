// Layout, sizing, key bytes and key order of NTX index files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/ntx/ntx_format.h"
#include "engine/ntx/ntx_io.h"
#include "engine/ntx/ntx_key.h"
#include "engine/ntx/ntx_tree.h"

namespace kv::ntx {
namespace {

struct SizingCase {
  int keySize, maxKeys, halfPage;
};
class NtxSizing : public ::testing::TestWithParam<SizingCase> {};
TEST_P(NtxSizing, MaximumAndHalfPage) {
  PageSizing s = pageSizing(GetParam().keySize);
  EXPECT_EQ(s.maxKeys, GetParam().maxKeys);
  EXPECT_EQ(s.halfPage, GetParam().halfPage);
  // Offset table and item slots always fit the page.
  EXPECT_LE(2 * s.maxKeys + 4 + (s.maxKeys + 1) * (GetParam().keySize + 8), 1024);
}
INSTANTIATE_TEST_SUITE_P(Sizes, NtxSizing,
                         ::testing::Values(SizingCase{10, 50, 25}, SizingCase{40, 18, 9},
                                           SizingCase{5, 66, 33}, SizingCase{180, 4, 2},
                                           SizingCase{1, 90, 45}, SizingCase{8, 54, 27},
                                           SizingCase{256, 2, 1}));

TEST(NtxHeader, EncodeDecodeRoundTrip) {
  NtxHeader h;
  h.signature = 7;
  h.updateCounter = 513;
  h.root = 5 * 1024;
  h.freeHead = 3 * 1024;
  h.keySize = 12;
  h.itemSize = 20;
  h.keyDecimals = 2;
  h.maxKeys = 44;
  h.halfPage = 22;
  h.keyText = "UPPER(Korisnik)";
  h.unique = true;
  h.descending = true;
  h.forText = "!DELETED()";
  h.tagName = "KORISNIK";
  std::uint8_t b[1024];
  encodeHeader(h, b);
  EXPECT_EQ(b[0], 7);
  EXPECT_EQ(b[2], 1);
  EXPECT_EQ(b[3], 2);
  EXPECT_EQ(platform::readLe32(b + 4), 5u * 1024);
  EXPECT_EQ(platform::readLe16(b + 12), 20);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(b + 22)), "UPPER(Korisnik)");
  EXPECT_EQ(b[278], 1);
  EXPECT_EQ(b[280], 1);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(b + 282)), "!DELETED()");
  EXPECT_EQ(std::string(reinterpret_cast<char*>(b + 538)), "KORISNIK");
  EXPECT_TRUE(std::all_of(b + 549, b + 1024, [](std::uint8_t c) { return c == 0; }));
  NtxHeader d;
  ASSERT_TRUE(decodeHeader(b, 548, d));
  EXPECT_EQ(d.updateCounter, 513);
  EXPECT_EQ(d.freeHead, 3u * 1024);
  EXPECT_EQ(d.keyDecimals, 2);
  EXPECT_EQ(d.keyText, h.keyText);
  EXPECT_EQ(d.forText, h.forText);
  EXPECT_EQ(d.tagName, h.tagName);
  EXPECT_TRUE(d.unique && d.descending);
  EXPECT_TRUE(validateHeader(d, 6 * 1024).empty());
  EXPECT_FALSE(validateHeader(d, 5 * 1024).empty());  // root page past the end
  EXPECT_FALSE(decodeHeader(b, 547, d));
}

TEST(NtxPage, OpenAndCloseRotateTheOffsetTable) {
  Page p(4, 18);
  p.initFresh();
  EXPECT_EQ(p.slot(0), 12);
  EXPECT_EQ(p.slot(4), 12 + 4 * 18);
  std::uint8_t k[10] = {'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A'};
  for (int i = 0; i < 4; ++i) {
    p.openAt(0);  // each new key goes first
    k[0] = static_cast<std::uint8_t>('D' - i);
    p.setChild(0, 0);
    p.setEntry(0, static_cast<std::uint32_t>(i + 1), k);
  }
  EXPECT_EQ(p.count(), 4);
  EXPECT_TRUE(p.validate().empty());
  EXPECT_EQ(p.key(0)[0], 'A');
  EXPECT_EQ(p.key(3)[0], 'D');
  p.closeAt(1);
  EXPECT_EQ(p.count(), 3);
  EXPECT_EQ(p.key(1)[0], 'C');
  EXPECT_TRUE(p.validate().empty());
  p.setSlot(2, p.slot(0));
  EXPECT_FALSE(p.validate().empty());  // one slot used twice
  p.setSlot(2, 3);
  EXPECT_FALSE(p.validate().empty());  // inside the offset table
  p.setCount(5);
  EXPECT_FALSE(p.validate().empty());
}

std::string numKey(int v, int width) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%*d", width, v);
  std::string s(buf);
  numericTransform(s);
  return s;
}

TEST(NtxKey, NumericTransform) {
  EXPECT_EQ(numKey(-12, 5), "00,+*");
  EXPECT_EQ(numKey(12, 5), "00012");
  EXPECT_EQ(numKey(0, 3), "000");
  std::string dec = "  -0.90";
  numericTransform(dec);
  EXPECT_EQ(dec, "00,,.#,");
  // Negatives first, larger magnitudes first; then the positives.
  std::vector<int> values{-1000, -999, -100, -12, -9, -1, 0, 1, 9, 12, 100, 9999};
  for (std::size_t i = 1; i < values.size(); ++i)
    EXPECT_LT(compareKeys(numKey(values[i - 1], 6), numKey(values[i], 6)), 0)
        << values[i - 1] << " vs " << values[i];
}

struct WeightCase {
  int code, weight;
};
class NtxWeights : public ::testing::TestWithParam<WeightCase> {};
TEST_P(NtxWeights, Table) {
  EXPECT_EQ(collationWeights()[std::size_t(GetParam().code)], GetParam().weight);
}
INSTANTIATE_TEST_SUITE_P(
    Codes, NtxWeights,
    ::testing::Values(WeightCase{0x20, 0x20}, WeightCase{0x41, 0x41}, WeightCase{0x4E, 0x4E},
                      WeightCase{0x4F, 0x50}, WeightCase{0x5A, 0x5B}, WeightCase{0x6E, 0x6F},
                      WeightCase{0x6F, 0x71}, WeightCase{0xBF, 0xC1}, WeightCase{0xD1, 0x4F},
                      WeightCase{0xF1, 0x70}, WeightCase{0xC0, 0x41}, WeightCase{0xC5, 0x41},
                      WeightCase{0xC6, 0xC8}, WeightCase{0xC7, 0xC9}, WeightCase{0xC8, 0x45},
                      WeightCase{0xCF, 0x49}, WeightCase{0xD0, 0xD2}, WeightCase{0xD2, 0x50},
                      WeightCase{0xD7, 0xD8}, WeightCase{0xDD, 0x5A}, WeightCase{0xDF, 0xE0},
                      WeightCase{0xE0, 0x62}, WeightCase{0xE7, 0xE8}, WeightCase{0xEC, 0x6A},
                      WeightCase{0xF0, 0xF1}, WeightCase{0xF2, 0x71}, WeightCase{0xF7, 0xF7},
                      WeightCase{0xF9, 0x77}, WeightCase{0xFD, 0x7B}, WeightCase{0xFE, 0xFE},
                      WeightCase{0xFF, 0x7B}));

TEST(NtxKey, CompareOverTheShorterLengthWithWeights) {
  EXPECT_EQ(compareKeys("AB", "ABC"), 0);
  EXPECT_EQ(compareKeys("ABC", "AB"), 0);
  EXPECT_LT(compareKeys("ABC", "ABD"), 0);
  EXPECT_GT(compareKeys("b", "B"), 0);
  EXPECT_EQ(compareKeys("\xC1rbol", "Arbol"), 0);  // accented A sorts as A
  EXPECT_LT(compareKeys("NZ",
                        "\xD1"
                        "A"),
            0);                              // N-tilde after every N...
  EXPECT_LT(compareKeys("\xD1Z", "OA"), 0);  // ...and before O
  EXPECT_LT(compareKeys("nz",
                        "\xF1"
                        "a"),
            0);
  EXPECT_LT(compareKeys("\xF1z", "oa"), 0);
  EXPECT_LT(compareKeys("Z", "a"), 0);
}

}  // namespace
}  // namespace kv::ntx
