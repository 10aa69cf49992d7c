#include "runtime/lang/eventpoll.h"

#include <gtest/gtest.h>

#include <string>

#include "runtime/lib/arrays.h"
#include "runtime/value/memory.h"
#include "support/testblock.h"

using namespace kv;

namespace {

// Memory in use once everything earlier tests left behind as garbage is gone.
std::int64_t settledMemory() {
  collectGarbage();
  return memInUse();
}

}  // namespace

TEST(EventPoll, ReclaimsAnArrayThatHoldsItself) {
  std::int64_t base = settledMemory();
  {
    Value a = Value::newArray();
    AADD(a, Value("payload"));
    AADD(a, a);
  }
  EXPECT_GT(memInUse(), base);  // reference counting alone cannot free the cycle
  EXPECT_EQ(collectGarbage(), 1u);
  EXPECT_EQ(memInUse(), base);
}

TEST(EventPoll, ReclaimsCyclesThroughArraysBlocksAndCells) {
  std::int64_t base = settledMemory();
  {
    // Two arrays holding each other.
    Value a = Value::newArray(), b = Value::newArray();
    AADD(a, b);
    AADD(b, a);
    // A block that holds the array it is stored in.
    Value holder = Value::newArray();
    AADD(holder, test::lambdaBlock([](std::span<Value>) { return Value(); }, {holder}));
    // A by-reference cell holding an array that holds the reference.
    Cell c = newCell(Value::newArray());
    c->arr()->items.push_back(Value::reference(c));
  }
  EXPECT_GT(memInUse(), base);
  EXPECT_EQ(collectGarbage(), 6u);
  EXPECT_EQ(memInUse(), base);
}

TEST(EventPoll, KeepsWhatIsStillReachable) {
  std::int64_t base = settledMemory();
  Value root = Value::newArray();
  {
    Value a = Value::newArray(), b = Value::newArray();
    AADD(a, b);
    AADD(b, a);
    AADD(b, Value("kept"));
    AADD(root, a);  // the cycle hangs off a live variable
  }
  ArrayPtr byPointer = newArrayData();  // held by C++ code, in a cycle with itself
  byPointer->items.push_back(Value::array(byPointer));
  Cell var = newCell(Value());
  Value blk = test::lambdaBlock([](std::span<Value>) { return Value(); }, {Value::reference(var)});
  *var = blk;  // a block that sees the variable holding it, while the variable lives

  EXPECT_EQ(collectGarbage(), 0u);
  Value a = root.arr()->items[0];
  Value b = a.arr()->items[0];
  EXPECT_EQ(b.arr()->items[1].str(), "kept");
  EXPECT_EQ(b.arr()->items[0].arr(), a.arr());
  EXPECT_EQ(byPointer->items.size(), 1u);
  EXPECT_TRUE(var->isBlock());

  // Dropping the outside references leaves pure garbage.
  root = Value();
  a = b = Value();
  byPointer->items.clear();
  byPointer.reset();
  var.reset();
  blk = Value();
  EXPECT_EQ(collectGarbage(), 4u);  // a, b, the block and the variable's cell
  EXPECT_EQ(memInUse(), base);
}

TEST(EventPoll, CollectsOnlyAfterTheThresholdOfGrowth) {
  std::int64_t base = settledMemory();
  {
    Value a = Value::newArray();
    AADD(a, a);
  }
  eventPoll();  // far below the threshold: the cycle stays
  EXPECT_GT(memInUse(), base);
  {
    Value big = Value::newArray();
    AADD(big, Value(std::string(static_cast<std::size_t>(kCollectThreshold), 'x')));
    AADD(big, big);
  }
  EXPECT_GE(memInUse() - memAtLastCollection(), kCollectThreshold);
  eventPoll();
  EXPECT_EQ(memInUse(), base);
  EXPECT_EQ(memAtLastCollection(), base);
}
