#include "ui/printer/printjob.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>

#include "ui/core/text.h"
#include "ui/printer/pagedrawing.h"

namespace kv::ui {

std::vector<std::string> systemPrinters() {
  std::vector<std::string> names;
  const QStringList listed = QPrinterInfo::availablePrinterNames();
  QString first = QPrinterInfo::defaultPrinterName();
  if (first.isEmpty() || !listed.contains(first)) {
    if (listed.isEmpty()) return names;
    first = listed.front();
  }
  names.push_back(fromQString(first));
  for (const QString& name : listed) {
    if (name != first) names.push_back(fromQString(name));
  }
  return names;
}

bool printerInstalled(const std::string& name) {
  return !name.empty() && QPrinterInfo::availablePrinterNames().contains(toQString(name));
}

std::vector<int> printSequence(int from, int to, int pageCount, int copies, bool collate) {
  std::vector<int> order;
  from = std::max(from, 1);
  to = std::min(to, pageCount);
  copies = std::max(copies, 1);
  if (from > to) return order;
  if (collate) {
    for (int c = 0; c < copies; ++c) {
      for (int p = from; p <= to; ++p) order.push_back(p);
    }
  } else {
    for (int p = from; p <= to; ++p) {
      for (int c = 0; c < copies; ++c) order.push_back(p);
    }
  }
  return order;
}

namespace {

QPageLayout::Orientation qtOrientation(int orientation) {
  return orientation == kLandscape ? QPageLayout::Landscape : QPageLayout::Portrait;
}

// The sheet of the printer's current page in device pixels, from its corner.
QRectF sheetRect(const QPrinter& printer) {
  return QRectF(QPointF(0, 0), printer.paperRect(QPrinter::DevicePixel).size());
}

}  // namespace

void setPrinterPaper(QPrinter& printer, const PaperChoice& paper) {
  printer.setFullPage(true);
  printer.setCopyCount(1);
  printer.setCollateCopies(false);
  const PageGeometry portrait =
      pageGeometry(paper.pageSize, paper.customWidth, paper.customHeight, kPortrait);
  if (portrait.sheetWidthMm > 0 && portrait.sheetHeightMm > 0) {
    printer.setPageSize(
        QPageSize(QSizeF(portrait.sheetWidthMm, portrait.sheetHeightMm), QPageSize::Millimeter));
  }
  printer.setPageOrientation(qtOrientation(paper.orientation));
  printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

bool printPages(QPrinter& printer, const std::vector<RecordedPage>& pages,
                const std::vector<int>& order, PaperChoice paper, const std::string& title,
                std::string& reason) {
  printer.setDocName(toQString(title));
  if (printer.outputFileName().isEmpty() && !printerInstalled(fromQString(printer.printerName()))) {
    reason = "The printer name is invalid.";
    return false;
  }
  std::vector<const RecordedPage*> sequence;
  for (int n : order) {
    if (n >= 1 && n <= static_cast<int>(pages.size())) sequence.push_back(&pages[n - 1]);
  }
  if (!sequence.empty()) printer.setPageOrientation(qtOrientation(sequence.front()->orientation));
  QPainter painter;
  if (!painter.begin(&printer)) {
    reason = "The printer cannot be opened.";
    return false;
  }
  bool first = true;
  for (const RecordedPage* page : sequence) {
    if (!first) {
      printer.setPageOrientation(qtOrientation(page->orientation));
      printer.newPage();
    }
    first = false;
    paper.orientation = page->orientation;
    const PageGeometry g = paper.geometry();
    playPage(painter, page->picture, QSizeF(g.logicalWidth, g.logicalHeight), sheetRect(printer));
  }
  painter.end();
  return true;
}

}  // namespace kv::ui
