#include "tools/kalvedo_db_errortrap.h"

#include <iostream>

#include "engine/area/areas.h"
#include "engine/area/dbfunc.h"
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

std::string ErrorTrap::reason(const Value& e) {
  if (!isErrorObject(e)) return "";
  switch (const int os = send(e, "OSCODE").asInt()) {
    case 0:
      return "";
    case 2:
      return "it does not exist";
    case 3:
      return "the folder does not exist";
    case 5:
    case 19:
      return "access is denied";
    case 32:
      return "another station has it open exclusively";
    case 33:
      return "another station holds a lock on it";
    case 80:
      return "the file exists already";
    case 112:
      return "the disk is full";
    default:
      return "operating-system error " + std::to_string(os);
  }
}

bool openTableForCommand(const std::string& command, const std::string& table,
                         const std::string& driver) {
  try {
    ErrorTrap trap;
    engine::DBUSEAREA(Value(true), Value(driver), Value(table), Value(), Value(true), Value(true));
  } catch (const BreakException& b) {
    const std::string why = ErrorTrap::reason(b.value);
    std::cerr << "kalvedo-db: " << command << " failed: the table " << table << " cannot be opened"
              << (why.empty() ? "" : ": " + why) << " (" << ErrorTrap::describe(b.value) << ")\n";
    return false;
  }
  return engine::currentArea() != nullptr;
}

}  // namespace kv::tools
