#include "ui/printer/printdialog.h"

#include <QApplication>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>
#include <utility>
#include <vector>

#include "ui/core/messageloop.h"
#include "ui/core/messages.h"
#include "ui/core/stacking.h"
#include "ui/core/text.h"
#include "ui/forms/form.h"
#include "ui/forms/screen.h"

namespace kv::ui {

namespace {

template <bool PrintDialog::*Field>
void flag(ClassDef* cls, const char* name, const char* setter) {
  property<PrintDialog>(
      cls, name, [](PrintDialog& d) { return Value(d.*Field); },
      [setter](PrintDialog& d, const Value& v, Args a) { boolArg(v, d.*Field, setter, a); });
}

template <int PrintDialog::*Field>
void number(ClassDef* cls, const char* name, const char* setter) {
  property<PrintDialog>(
      cls, name, [](PrintDialog& d) { return Value(d.*Field); },
      [setter](PrintDialog& d, const Value& v, Args a) { intArg(v, d.*Field, setter, a); });
}

void registerPrintDialog(ClassDef* cls) {
  property<PrintDialog>(
      cls, "Caption", [](PrintDialog& d) { return Value(d.caption); },
      [](PrintDialog& d, const Value& v, Args a) { stringArg(v, d.caption, "_CAPTION", a); });
  method<PrintDialog>(cls, "Execute", [](PrintDialog& d, Args) { return Value(d.execute()); });
  flag<&PrintDialog::allPages>(cls, "AllPages", "_ALLPAGES");
  flag<&PrintDialog::collate>(cls, "Collate", "_COLLATE");
  number<&PrintDialog::copies>(cls, "Copies", "_COPIES");
  number<&PrintDialog::fromPage>(cls, "FromPage", "_FROMPAGE");
  readOnly<PrintDialog>(cls, "Name", [](PrintDialog& d) { return Value(d.name); });
  readOnly<PrintDialog>(cls, "Orientation", [](PrintDialog& d) { return Value(d.orientation); });
  number<&PrintDialog::toPage>(cls, "ToPage", "_TOPAGE");
}

LibObject* makePrintDialog() {
  return new PrintDialog;
}

}  // namespace

const LibClass kPrintDialogClass = {"TPrintDialog", &kComponentClass, &makePrintDialog,
                                    &registerPrintDialog};

Value TPrintDialog() {
  return classFunction(kPrintDialogClass);
}

bool PrintDialog::execute() {
  const QPrinterInfo info = QPrinterInfo::defaultPrinter();
  if (info.isNull()) return false;
  QPrinter printer(info, QPrinter::HighResolution);
  maxPage = std::max({maxPage, fromPage, toPage});
  return execute(printer);
}

bool PrintDialog::execute(QPrinter& printer) {
  processMessages();
  QPointer<QWidget> previous = QApplication::activeWindow();
  // The other forms take no input while the dialog is open, also when it is left by an
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
  const int highest = std::max(1, maxPage);
  printer.setCopyCount(std::max(1, copies));
  printer.setCollateCopies(collate);
  printer.setFromTo(std::clamp(fromPage, 1, highest), std::clamp(toPage, 1, highest));
  printer.setPrintRange(allPages ? QPrinter::AllPages : QPrinter::PageRange);
  QWidget owner;  // the hidden owner of the dialog
  QPrintDialog dialog(&printer, &owner);
  dialog.setWindowFlag(Qt::Window);
  dialog.setWindowModality(Qt::ApplicationModal);
  dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintPageRange |
                    QAbstractPrintDialog::PrintCollateCopies |
                    QAbstractPrintDialog::PrintShowPageSize);
  dialog.setMinMax(1, highest);
  if (!caption.empty()) dialog.setWindowTitle(toQString(caption));
  dialog.show();
  while (dialog.isVisible() && !terminated()) messageStep();
  const bool ok = dialog.result() == QDialog::Accepted && !terminated();
  if (ok && alive) {
    name = fromQString(printer.printerName());
    copies = printer.copyCount();
    collate = printer.collateCopies();
    orientation = printer.pageLayout().orientation() == QPageLayout::Landscape;
    allPages =
        printer.printRange() != QPrinter::PageRange && printer.printRange() != QPrinter::Selection;
    if (!allPages) {
      fromPage = printer.fromPage();
      toPage = printer.toPage();
    }
  }
  dialog.hide();
  for (auto& [form, formAlive] : reenable.forms) {
    if (formAlive) form->setWindowEnabled(true);
  }
  reenable.forms.clear();
  if (previous) bringWindowToTop(previous);
  return ok;
}

}  // namespace kv::ui
