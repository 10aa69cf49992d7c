#include "ui/dialogs/colordialog.h"

#include <QApplication>
#include <QColorDialog>
#include <QPointer>

#include <vector>

#include "ui/core/messageloop.h"
#include "ui/core/messages.h"
#include "ui/core/stacking.h"
#include "ui/core/text.h"
#include "ui/forms/form.h"
#include "ui/forms/screen.h"
#include "ui/graphics/colors.h"

namespace kv::ui {

namespace {

void registerColorDialog(ClassDef* cls) {
  property<ColorDialog>(
      cls, "Caption", [](ColorDialog& d) { return Value(d.caption); },
      [](ColorDialog& d, const Value& v, Args a) { stringArg(v, d.caption, "_CAPTION", a); });
  method<ColorDialog>(cls, "Execute", [](ColorDialog& d, Args) { return Value(d.execute()); });
  readOnly<ColorDialog>(cls, "Icon", [](ColorDialog& d) { return d.iconObject(); });
  property<ColorDialog>(
      cls, "Color", [](ColorDialog& d) { return Value(d.color); },
      [](ColorDialog& d, const Value& v, Args a) { intArg(v, d.color, "_COLOR", a); });
}

LibObject* makeColorDialog() {
  return new ColorDialog;
}

}  // namespace

const LibClass kColorDialogClass = {"TColorDialog", &kComponentClass, &makeColorDialog,
                                    &registerColorDialog};

Value TColorDialog() {
  return classFunction(kColorDialogClass);
}

ColorDialog::ColorDialog() : icon_(kIconClass, this) {}

void ColorDialog::release() {
  Component::release();
  icon_.reset();
}

bool ColorDialog::execute() {
  processMessages();
  QPointer<QWidget> previous = QApplication::activeWindow();
  // The other forms take no input while the chooser is open, also when it is left by an
  // error.
  struct Reenable {
    std::vector<std::pair<Form*, Alive>> forms;
    ~Reenable() {
      for (auto& [form, alive] : forms) {
        if (alive) form->setWindowEnabled(true);
      }
    }
  } reenable;
  for (Form* f : screenForms()) {
    if (f->visible() && f->windowEnabled()) {
      f->setWindowEnabled(false);
      reenable.forms.emplace_back(f, f->alive());
    }
  }
  Alive alive = this->alive();
  QWidget owner;  // the hidden owner of the chooser
  QColorDialog dialog(colorOf(color), &owner);
  dialog.setWindowFlag(Qt::Window);
  dialog.setWindowModality(Qt::ApplicationModal);
  if (!caption.empty()) dialog.setWindowTitle(toQString(caption));
  if (Icon* i = icon(); i && !i->empty()) dialog.setWindowIcon(i->qicon());
  dialog.show();
  while (dialog.isVisible() && !terminated()) messageStep();
  const bool ok = dialog.result() == QDialog::Accepted && !terminated();
  if (ok && alive) color = colorNumber(dialog.selectedColor());
  dialog.hide();
  for (auto& [form, formAlive] : reenable.forms) {
    if (formAlive) form->setWindowEnabled(true);
  }
  reenable.forms.clear();
  if (previous) bringWindowToTop(previous);
  return ok;
}

}  // namespace kv::ui
