#include "app/windowdialogs.h"

#include "app/core/messagedlg.h"
#include "ui/dialogs/errorboxes.h"
#include "ui/dialogs/messagedlg.h"
#include "ui/forms/application.h"

namespace kv::app {

namespace {

constexpr int kWaitBox = 4;

Value windowMessageDlg(const Value& text, const Value& type, const Value& buttons,
                       const Value& position, const Value& borderStyle) {
  const Value& t = type.deref();
  const bool waitBox = t.isNumber() && t.asInt() == kWaitBox;
  if (ui::application() && (waitBox || ui::errorBoxesShown())) {
    return ui::MessageDlg(text, type, buttons, position, borderStyle);
  }
  return headlessMessageDlg(text, type, buttons, position, borderStyle);
}

}  // namespace

void installWindowDialogs() {
  ui::installErrorBoxes();
  setMessageDlg(&windowMessageDlg);
}

void removeWindowDialogs() {
  setMessageDlg(nullptr);
  ui::removeErrorBoxes();
}

}  // namespace kv::app
