#include "tools/kalvedo_db_errortrap.h"

#include "runtime/error/error.h"
#include "runtime/error/errorobject.h"
#include "runtime/lang/classes.h"
#include "runtime/lang/codeblock.h"

namespace kv::tools {

ErrorTrap::ErrorTrap() {
  saved_ = ERRORBLOCK(makeBlock([](Args a) -> Value { BREAK(a.empty() ? Value() : a[0]); }, 1));
}

ErrorTrap::~ErrorTrap() {
  // The program always has a handler; a run without one gets none back either.
  if (!saved_.isNil()) ERRORBLOCK(saved_);
}

std::string ErrorTrap::describe(const Value& e) {
  if (!isErrorObject(e)) return "an error";
  std::string text = "error " + std::to_string(send(e, "GENCODE").asInt()) + "/" +
                     std::to_string(send(e, "SUBCODE").asInt()) + " " +
                     std::string(send(e, "DESCRIPTION").str());
  std::string op(send(e, "OPERATION").str());
  return op.empty() ? text : text + " " + op;
}

}  // namespace kv::tools
