// Values as NTX key bytes and the key layout taken from a key value at create time.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/area/dberror.h"
#include "engine/ntx/ntx_keyvalue.h"
#include "runtime/format/dates.h"

namespace kv::ntx {
namespace {

struct KeyCase {
  const char* what;
  Value value;
  int size, decimals;
  std::string key;
};

class NtxKeyValue : public ::testing::TestWithParam<KeyCase> {};

TEST_P(NtxKeyValue, Bytes) {
  const KeyCase& c = GetParam();
  EXPECT_EQ(keyFromValue(c.value, c.size, c.decimals), c.key) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Values, NtxKeyValue,
    ::testing::Values(KeyCase{"negative integer", Value::number(-12, 5, 0), 5, 0, "00,+*"},
                      KeyCase{"positive integer", Value::number(12, 5, 0), 5, 0, "00012"},
                      KeyCase{"integer kind", Value(12), 5, 0, "00012"},
                      KeyCase{"zero", Value::number(0, 3, 0), 3, 0, "000"},
                      KeyCase{"decimals", Value::number(3.5, 6, 2), 6, 2, "003.50"},
                      KeyCase{"negative decimals", Value::number(-3.5, 6, 2), 6, 2, "0,).',"},
                      KeyCase{"too wide", Value::number(123456, 4, 0), 4, 0, "****"},
                      KeyCase{"text padded", Value("AB"), 4, 0, "AB  "},
                      KeyCase{"text cut", Value("ABCDEF"), 3, 0, "ABC"},
                      KeyCase{"memo", Value::memo("xy"), 3, 0, "xy "},
                      KeyCase{"date", Value::date(julianFromCalendar(9, 2, 2024)), 8, 0,
                              "20240209"},
                      KeyCase{"empty date", Value::date(0), 8, 0, "        "},
                      KeyCase{"true", Value(true), 1, 0, "T"},
                      KeyCase{"false", Value(false), 1, 0, "F"}));

TEST(NtxKeyValue, NegativesSortBeforePositivesLargerMagnitudeFirst) {
  std::vector<double> nums{-100, -12, -3, 0, 4, 15};
  for (std::size_t i = 1; i < nums.size(); ++i)
    EXPECT_LT(keyFromValue(Value::number(nums[i - 1], 5, 0), 5, 0),
              keyFromValue(Value::number(nums[i], 5, 0), 5, 0))
        << nums[i - 1] << " " << nums[i];
}

TEST(NtxKeyValue, WideNumericKeyStaysRightJustified) {
  std::string k = keyFromValue(Value::number(7, 100, 0), 100, 0);
  ASSERT_EQ(k.size(), 100u);
  EXPECT_EQ(k, std::string(99, '0') + "7");
}

TEST(NtxKeyValue, SeekKeyKeepsOnlyTheTextsOwnLength) {
  EXPECT_EQ(seekKeyFromValue(Value("AB"), 10, 0), "AB");
  EXPECT_EQ(seekKeyFromValue(Value("ABCDEFGHIJKL"), 10, 0), "ABCDEFGHIJ");
  EXPECT_EQ(seekKeyFromValue(Value::number(-12, 5, 0), 5, 0), "00,+*");
}

struct LayoutCase {
  const char* what;
  Value value;
  int size, decimals;
};

class NtxKeyLayout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(NtxKeyLayout, FromValue) {
  const LayoutCase& c = GetParam();
  KeyLayout l;
  ASSERT_TRUE(keyLayoutFromValue(c.value, l, "x.ntx")) << c.what;
  EXPECT_EQ(l.size, c.size) << c.what;
  EXPECT_EQ(l.decimals, c.decimals) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Values, NtxKeyLayout,
                         ::testing::Values(LayoutCase{"field number", Value::number(0, 7, 2), 7, 2},
                                           LayoutCase{"integer without width", Value(5), 10, 0},
                                           LayoutCase{"text", Value(std::string(30, 'x')), 30, 0},
                                           LayoutCase{"long text", Value(std::string(300, 'x')),
                                                      256, 0},
                                           LayoutCase{"date", Value::date(0), 8, 0},
                                           LayoutCase{"logical", Value(false), 1, 0}));

TEST(NtxKeyLayout, EmptyTextIsADataWidthError) {
  std::vector<ErrorRecord> seen;
  auto old = engine::setErrorHook([&](const ErrorRecord& e) {
    seen.push_back(e);
    return ErrorResult{ErrorAnswer::Default, Value()};
  });
  KeyLayout l;
  EXPECT_FALSE(keyLayoutFromValue(Value(""), l, "x.ntx"));
  engine::setErrorHook(old);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].genCode, 34);
  EXPECT_EQ(seen[0].subCode, 1026);
  EXPECT_EQ(seen[0].subsystem, "DBFNTX");
}

}  // namespace
}  // namespace kv::ntx
