#include "engine/area/dberror.h"

#include <utility>

#include "platform/filename.h"

namespace kv::engine {

namespace {
ErrorHook& hook() {
  static ErrorHook h;
  return h;
}
}  // namespace

ErrorHook setErrorHook(ErrorHook h) {
  return std::exchange(hook(), std::move(h));
}

ErrorResult engineRaise(const ErrorSpec& spec) {
  if (hook()) return hook()(spec);
  return raiseError(spec);
}

ErrorSpec fileErrorSpec(int genCode, int subCode, const std::string& fileName, int osCode,
                        int flags, int tries) {
  ErrorSpec e;
  e.genCode = genCode;
  e.subCode = subCode;
  // A name refused because several files differ from it only in case is shown with them all.
  e.fileName = osCode == platform::kAmbiguousName ? platform::reportedName(fileName) : fileName;
  e.osCode = osCode;
  e.flags = flags;
  e.tries = tries;
  return e;
}

ErrorResult dbcmdError(int genCode, int subCode, std::string_view operation) {
  ErrorSpec e;
  e.genCode = genCode;
  e.subCode = subCode;
  e.subsystem = "DBCMD";
  e.flags = kCanDefault;
  e.operation = std::string(operation);
  return engineRaise(e);
}

void noTableError(std::string_view operation) {
  dbcmdError(EG_NOTABLE, 2001, operation);
}

}  // namespace kv::engine
