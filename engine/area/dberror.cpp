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

ErrorResult engineRaise(const ErrorRecord& record) {
  if (hook()) return hook()(record);
  return raiseError(record);
}

ErrorRecord fileError(int genCode, int subCode, const std::string& fileName, int osCode) {
  // A name refused because several files differ from it only in case is shown with them all.
  return ErrorRecord(genCode, subCode)
      .file(osCode == platform::kAmbiguousName ? platform::reportedName(fileName) : fileName)
      .os(osCode);
}

ErrorResult dbcmdError(int genCode, int subCode, std::string_view operation) {
  return engineRaise(ErrorRecord(genCode, subCode).in("DBCMD").op(operation).allow(kCanDefault));
}

void noTableError(std::string_view operation) {
  dbcmdError(EG_NOTABLE, kDbCmdNoTable, operation);
}

}  // namespace kv::engine
