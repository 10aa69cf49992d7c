#include "runtime/lang/memvars.h"

#include <gtest/gtest.h>

using namespace kv;

TEST(Memvars, ReleaseRemovesAPublicAndClearsAPrivate) {
  PUBLIC("RELPUB", Value(1));
  RELEASE("relpub");
  EXPECT_FALSE(memvarExists("RELPUB"));
  PUBLIC("RELPUB", Value(2));  // declared again after the release, with its new value
  EXPECT_EQ(memvarGet("RELPUB").asInt(), 2);

  {
    PrivateScope scope;
    scope.declare("RELPUB", Value(3));
    RELEASE("RELPUB");
    // The private stays declared (nil) and still hides the public until its procedure ends.
    EXPECT_TRUE(memvarExists("RELPUB"));
    EXPECT_TRUE(memvarGet("RELPUB").isNil());
  }
  EXPECT_EQ(memvarGet("RELPUB").asInt(), 2);

  RELEASE("NEVERDECLARED");  // nothing to release: no effect
  EXPECT_FALSE(memvarExists("NEVERDECLARED"));
  releaseAllMemvars();
}
