#pragma once
// Test support: runs a call that must raise an argument error and checks what was raised.
// The handler installed for the call records the error's general code, subcode and
// operation and answers a substitute, which the call must hand back as its result.
#include <functional>
#include <string>

#include "runtime/error/error.h"
#include "runtime/lang/classes.h"
#include "runtime/lang/codeblock.h"
#include "runtime/lang/lifecycle.h"

namespace kv::test {

struct Raised {
  bool raised = false;
  int genCode = 0;
  int subCode = 0;
  std::string operation;
  bool substituted = false;  // the call answered the handler's substitute
};

inline Raised raise(const std::function<Value()>& call) {
  Raised r;
  Value old = ERRORBLOCK(makeBlock([&r](Args args) {
    const Value& e = arg(args, 0);
    r.raised = true;
    r.genCode = send(e, "GENCODE").asInt();
    r.subCode = send(e, "SUBCODE").asInt();
    r.operation = std::string(send(e, "OPERATION").str());
    return Value("substitute");
  }));
  const Value result = call();
  r.substituted = result.isString() && result.str() == "substitute";
  if (old.isBlock()) {
    ERRORBLOCK(old);
  } else {
    resetErrorSystem();
  }
  return r;
}

// True when `call` raised argument error `subCode` of `operation` and answered the
// substitute.
inline ::testing::AssertionResult raisesArgError(const char* operation, int subCode,
                                                 const std::function<Value()>& call) {
  const Raised r = raise(call);
  if (!r.raised) return ::testing::AssertionFailure() << "no error raised";
  if (r.genCode != EG_ARG || r.subCode != subCode || r.operation != operation) {
    return ::testing::AssertionFailure()
           << "raised " << r.genCode << "/" << r.subCode << " of " << r.operation;
  }
  if (!r.substituted) return ::testing::AssertionFailure() << "substitute not answered";
  return ::testing::AssertionSuccess();
}

}  // namespace kv::test
