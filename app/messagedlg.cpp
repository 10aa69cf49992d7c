#include "app/messagedlg.h"

#include "runtime/classes.h"

namespace kv::app {

Value MessageDlg(const Value&, const Value&, const Value&, const Value&, const Value&) {
  return Value();
}

void closeWaitBox(const Value& box) {
  if (box.isObject()) send(box, "DESTROY");
}

}  // namespace kv::app
