#include "app/core/messagedlg.h"

#include "platform/msgbox.h"
#include "runtime/lang/classes.h"

namespace kv::app {

namespace {

constexpr int kWaitBox = 4;

MessageDlgFn g_dialog = nullptr;

// The result of the button that answers Escape in each button set, 2 (the close box) for a
// box without buttons.
int escapeResult(const Value& buttons) {
  constexpr int kResults[] = {6, 7, 1, 2, 2, 5};
  const Value& b = buttons.deref();
  const int n = b.isNumber() ? b.asInt() : -1;
  return n >= 0 && n < 6 ? kResults[n] : 2;
}

}  // namespace

void setMessageDlg(MessageDlgFn dialog) {
  g_dialog = dialog;
}

Value MessageDlg(const Value& text, const Value& type, const Value& buttons, const Value& position,
                 const Value& borderStyle) {
  if (g_dialog) return g_dialog(text, type, buttons, position, borderStyle);
  return headlessMessageDlg(text, type, buttons, position, borderStyle);
}

Value headlessMessageDlg(const Value& text, const Value& type, const Value& buttons, const Value&,
                         const Value&) {
  constexpr const char* kCaptions[] = {"Information", "Warning", "Error", "Confirmation"};
  const Value& t = type.deref();
  int kind = t.isNumber() ? t.asInt() : 0;
  if (kind == kWaitBox) return Value();
  if (kind < 0 || kind > 3) kind = 0;
  const Value& message = text.deref();
  platform::showMessageBox(kCaptions[kind], message.isString() ? message.str() : "", kind);
  return Value(escapeResult(buttons));
}

void closeWaitBox(const Value& box) {
  if (box.isObject()) send(box, "DESTROY");
}

}  // namespace kv::app
