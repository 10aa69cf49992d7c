#include "runtime/lib/arrays.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "runtime/error/error.h"
#include "runtime/lang/classes.h"
#include "runtime/lang/codeblock.h"
#include "runtime/lang/settings.h"
#include "runtime/value/compare.h"
#include "support/testblock.h"

using namespace kv;

namespace {

Value list(std::initializer_list<Value> items) {
  Value a = Value::newArray();
  for (const Value& v : items) a.arr()->items.push_back(v);
  return a;
}

std::string joined(const Value& a) {
  std::string s;
  for (const Value& v : a.arr()->items) {
    if (!s.empty()) s += ",";
    s += v.isNil() ? "nil" : v.isNumber() ? std::to_string(v.asInt()) : v.toStdString();
  }
  return s;
}

// The sort as it is described, written plainly: both parts sorted by recursion, the
// partition over 0-based positions of a std::vector of (key, id) pairs.
using Item = std::pair<int, int>;
void referenceSort(std::vector<Item>& v, int lo, int hi) {
  if (lo >= hi) return;
  std::swap(v[lo], v[lo + (hi - lo) / 2]);
  int pivot = v[lo].first;
  int i = lo + 1, j = hi;
  while (true) {
    while (i <= j && v[i].first < pivot) i++;
    while (j >= i && !(v[j].first < pivot)) j--;
    if (i > j) break;
    std::swap(v[i++], v[j--]);
  }
  std::swap(v[lo], v[j]);
  referenceSort(v, lo, j - 1);
  referenceSort(v, j + 1, hi);
}

Value keyBlock() {
  return test::lambdaBlock([](std::span<Value> a) {
    return Value(a[0].arr()->items[0].asInt() < a[1].arr()->items[0].asInt());
  });
}

}  // namespace

TEST(Arrays, SortWithManyEqualKeysFollowsTheQuicksort) {
  std::mt19937 rng(1234);
  for (int n : {2, 3, 7, 16, 101, 500}) {
    for (int keys : {1, 2, 3, 10}) {
      std::vector<Item> ref;
      Value rows = Value::newArray();
      for (int id = 0; id < n; ++id) {
        int key = static_cast<int>(rng() % keys);
        ref.push_back({key, id});
        AADD(rows, list({Value(key), Value(id)}));
      }
      referenceSort(ref, 0, n - 1);
      ASORT(rows, Value(), Value(), keyBlock());
      for (int i = 0; i < n; ++i) {
        ASSERT_EQ(rows.arr()->items[i].arr()->items[1].asInt(), ref[i].second)
            << "n=" << n << " keys=" << keys << " at " << i;
      }
      // The same rows as texts sorted without a block, by "<".
      std::vector<Item> ref2 = ref;
      Value texts = Value::newArray();
      for (auto& [key, id] : ref2) AADD(texts, Value(std::string(1, char('a' + key))));
      referenceSort(ref2, 0, n - 1);
      ASORT(texts);
      for (int i = 0; i < n; ++i) {
        ASSERT_EQ(texts.arr()->items[i].str()[0], char('a' + ref2[i].first));
      }
    }
  }
}

TEST(Arrays, SortByHand) {
  Value never = test::lambdaBlock([](std::span<Value>) { return Value(false); });
  Value two = list({Value("x"), Value("y")});
  EXPECT_EQ(joined(ASORT(two, Value(), Value(), never)), "x,y");
  // Pivot b moves to the front; nothing is less than it; then [a, c] stays.
  Value three = list({Value("a"), Value("b"), Value("c")});
  EXPECT_EQ(joined(ASORT(three, Value(), Value(), never)), "b,a,c");

  Value nums = list({Value(5), Value(3.5), Value(9), Value(1), Value(7)});
  EXPECT_EQ(joined(ASORT(nums)), "1,3,5,7,9");
  Value part = list({Value(5), Value(4), Value(3), Value(2), Value(1)});
  EXPECT_EQ(joined(ASORT(part, Value(2), Value(3))), "5,2,3,4,1");
  EXPECT_EQ(joined(ASORT(part, Value(4), Value(99))), "5,2,3,1,4");
  Value desc =
      test::lambdaBlock([](std::span<Value> a) { return Value(valueGreater(a[0], a[1])); });
  EXPECT_EQ(joined(ASORT(part, Value(), Value(), desc)), "5,4,3,2,1");
  EXPECT_TRUE(ASORT(Value("no array")).isNil());
}

TEST(Arrays, ScanFindsTheFirstMatch) {
  Value names = list({Value("Ana"), Value("Anabela")});
  EXPECT_EQ(ASCAN(names, Value("Anab")), 2);
  EXPECT_EQ(ASCAN(names, Value("An")), 1);
  EXPECT_EQ(ASCAN(names, Value("Anabela")), 2);
  EXPECT_EQ(ASCAN(names, Value("Anabela"), Value(0)), 2);
  EXPECT_EQ(ASCAN(names, Value("An"), Value(2)), 2);
  EXPECT_EQ(ASCAN(names, Value("An"), Value(3)), 0);
  EXPECT_EQ(ASCAN(names, Value("Anab"), Value(1), Value(1)), 0);
  EXPECT_EQ(ASCAN(names, Value("Anab"), Value(-5), Value(50)), 2);
  {
    Value old = SET(kSetExact, Value(true));
    EXPECT_EQ(ASCAN(names, Value("An")), 0);
    EXPECT_EQ(ASCAN(names, Value("Ana")), 1);
    setSetting(kSetExact, old);
  }
  EXPECT_EQ(ASCAN(Value(), Value("An")), 0);
  EXPECT_EQ(ASCAN(Value("Ana"), Value("An")), 0);

  // Nil is unequal to everything but nil without an error; integers and doubles compare.
  Value mixed = list({Value(1), Value(), Value("1"), Value(1.0), Value::newArray()});
  EXPECT_EQ(ASCAN(mixed, Value(1.0)), 1);
  EXPECT_EQ(ASCAN(mixed, Value()), 2);

  // A block gets each element; only the logical true is a match.
  std::vector<int> seen;
  Value block = test::lambdaBlock([&](std::span<Value> a) {
    seen.push_back(a[0].asInt());
    return a[0].asInt() == 3 ? Value(true) : Value(1);
  });
  EXPECT_EQ(ASCAN(list({Value(1), Value(2), Value(3), Value(4)}), block, Value(2)), 3);
  EXPECT_EQ(seen, (std::vector<int>{2, 3}));
}

// An element of another kind than the target raises the argument error of "=", as the
// operator would; the element matches only when the handler's substitute is true.
TEST(Arrays, ScanRaisesForAMixOfKinds) {
  const struct {
    Value array;
    Value target;
    bool answer;  // the handler's substitute
    int raised;   // errors the scan raised
    int result;
  } cases[] = {
      {list({Value(1), Value("a")}), Value("a"), false, 1, 2},
      {list({Value(1), Value("a")}), Value("a"), true, 1, 1},
      {list({Value(1), Value(), Value("1"), Value(1.0)}), Value("1"), false, 1, 3},
      {list({Value("x"), Value::date(5), Value(1)}), Value(1), false, 2, 3},
      {list({Value(1), Value::newArray()}), Value::newArray(), false, 1, 0},
      {list({Value(.5), Value(true)}), Value(true), false, 1, 2},
  };
  for (const auto& c : cases) {
    int raised = 0;
    ERRORBLOCK(makeBlock(
        [&](Args args) {
          const Value& e = arg(args, 0);
          EXPECT_EQ(send(e, "GENCODE").asInt(), EG_ARG);
          EXPECT_EQ(send(e, "SUBCODE").asInt(), 1071);
          EXPECT_EQ(send(e, "OPERATION").str(), "=");
          ++raised;
          return Value(c.answer);
        },
        1));
    EXPECT_EQ(ASCAN(c.array, c.target), c.result);
    EXPECT_EQ(raised, c.raised);
    resetErrorSystem();
  }
  // The same array is the same array.
  Value rows = list({Value::newArray(), Value::newArray()});
  EXPECT_EQ(ASCAN(rows, rows.arr()->items[1]), 2);
}

TEST(Arrays, ScanStopsWhenTheBlockIsAbandoned) {
  int calls = 0;
  Value block = test::lambdaBlock([&](std::span<Value>) -> Value {
    ++calls;
    throw 42;
  });
  EXPECT_THROW(ASCAN(list({Value(1), Value(2)}), block), int);
  EXPECT_EQ(calls, 1);
}

TEST(Arrays, ResizeInsertDeleteFill) {
  Value a = ARRAY(3);
  EXPECT_EQ(joined(a), "nil,nil,nil");
  AFILL(a, Value(7));
  EXPECT_EQ(joined(a), "7,7,7");
  AFILL(a, Value(1), Value(2), Value(1));
  EXPECT_EQ(joined(a), "7,1,7");
  AFILL(a, Value(0), Value(3), Value(10));
  EXPECT_EQ(joined(a), "7,1,0");
  EXPECT_EQ(AADD(a, Value(9)).asInt(), 9);
  EXPECT_EQ(joined(a), "7,1,0,9");
  EXPECT_EQ(joined(ADEL(a, Value(2))), "7,0,9,nil");
  EXPECT_EQ(joined(AINS(a, Value(1))), "nil,7,0,9");
  EXPECT_EQ(joined(ADEL(a, Value(5))), "nil,7,0,9");
  EXPECT_EQ(joined(AINS(a, Value(0))), "nil,7,0,9");
  EXPECT_EQ(joined(ASIZE(a, Value(2))), "nil,7");
  EXPECT_EQ(joined(ASIZE(a, Value(3))), "nil,7,nil");
  EXPECT_EQ(joined(ASIZE(a, Value(-1))), "");
  EXPECT_EQ(LEN(a).asInt(), 0);
  EXPECT_EQ(LEN(Value("abc")).asInt(), 3);

  Value dims[2] = {Value(2), Value(3)};
  Value grid = ARRAY(Args(dims, 2));
  ASSERT_EQ(LEN(grid).asInt(), 2);
  EXPECT_EQ(LEN(grid.arr()->items[1]).asInt(), 3);
  EXPECT_NE(grid.arr()->items[0].arr(), grid.arr()->items[1].arr());
}

TEST(Arrays, CloneIsDeepAndKeepsShape) {
  Value row = list({Value("a"), Value(1)});
  Value outer = list({row, row, Value("x")});
  AADD(outer, outer);  // the array holds itself
  Value copy = ACLONE(outer);
  const auto& c = copy.arr()->items;
  ASSERT_EQ(c.size(), 4u);
  EXPECT_NE(c[0].arr(), row.arr());
  EXPECT_EQ(c[0].arr(), c[1].arr());  // a row reached twice is copied once
  EXPECT_EQ(c[3].arr(), copy.arr());  // the cycle points at the copy
  c[0].arr()->items[0] = Value("b");
  EXPECT_EQ(row.arr()->items[0].str(), "a");
  EXPECT_TRUE(ACLONE(Value(3)).isNil());
  outer.arr()->items.clear();  // break the cycles for the leak figures
  copy.arr()->items.clear();
}

TEST(Arrays, EvalPassesElementAndIndex) {
  std::string trace;
  Value block = test::lambdaBlock([&](std::span<Value> a) {
    trace += a[0].toStdString() + std::to_string(a[1].asInt()) + " ";
    return Value();
  });
  Value a = list({Value("p"), Value("q"), Value("r")});
  EXPECT_EQ(AEVAL(a, block, Value(2)).arr(), a.arr());
  EXPECT_EQ(trace, "q2 r3 ");
}

TEST(Arrays, WrongArgumentsRaiseWithTheFunctionsName) {
  std::vector<std::pair<std::string, int>> seen;
  ERRORBLOCK(makeBlock(
      [&seen](Args a) {
        seen.emplace_back(send(a[0], "OPERATION").toStdString(), send(a[0], "SUBCODE").asInt());
        return Value("substitute");
      },
      1));
  Value notArray("text");
  EXPECT_EQ(AADD(notArray, Value(1)).str(), "substitute");
  EXPECT_EQ(ASIZE(notArray, Value(1)).str(), "substitute");
  EXPECT_EQ(AEVAL(Value::newArray(1), Value(3)).str(), "substitute");
  EXPECT_EQ(LEN(Value(5)).str(), "substitute");
  EXPECT_EQ(ARRAY(-1).str(), "substitute");
  resetErrorSystem();
  const std::vector<std::pair<std::string, int>> expected = {
      {"AADD", 1123}, {"ASIZE", 2023}, {"AEVAL", 2017}, {"LEN", 1111}, {"ARRAY", 1131}};
  EXPECT_EQ(seen, expected);
  // Functions that only look or rearrange answer nil or 0 for a non-array.
  EXPECT_TRUE(AFILL(notArray, Value(1)).isNil());
  EXPECT_TRUE(ADEL(notArray, Value(1)).isNil());
  EXPECT_TRUE(AINS(notArray, Value(1)).isNil());
}
