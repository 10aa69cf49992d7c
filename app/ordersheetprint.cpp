#include "app/ordersheetprint.h"

namespace kv::app {

namespace {

// The sheet's face; the printer's font mapping finds the system's nearest match.
constexpr const char* kSheetFont = "Arial";
// The lower form starts this many millimetres below the upper one.
constexpr double kLowerForm = 145;

ui::MmRect mmRect(const SheetItem& item) {
  return {item.rect[0], item.rect[1], item.rect[2], item.rect[3]};
}

}  // namespace

void playSheetItems(ui::Printer& printer, const std::vector<SheetItem>& items) {
  for (const SheetItem& item : items) {
    switch (item.kind) {
      case SheetItem::Kind::Text:
        printer.setFont(kSheetFont, item.fontSize, item.bold);
        printer.drawText(item.text, mmRect(item), item.align);
        break;
      case SheetItem::Kind::Box:
        printer.drawBox(mmRect(item));
        break;
      case SheetItem::Kind::Line:
        printer.drawLine(mmRect(item));
        break;
    }
  }
}

void recordOrderDocument(ui::Printer& printer, const OrderSheetData& sheet, int copies,
                         const std::function<void()>& poll) {
  printer.setTitle(orderSheetTitle(sheet));
  printer.setOrientation(ui::kPortrait);
  printer.setPageSize(ui::kPaperA4);
  printer.setFont(kSheetFont, 8, false);
  // A recording left open by an error that cut a print short is closed, so this document
  // starts afresh.
  if (printer.recording()) printer.endDoc();
  printer.beginDoc();
  for (int copy = 1; copy <= copies; ++copy) {
    poll();
    printer.newPage();
    for (double o : {0.0, kLowerForm}) {
      poll();
      playSheetItems(printer, orderSheetForm(sheet, o));
    }
  }
  printer.endDoc();
}

}  // namespace kv::app
