#include "ui/printer/pdfoutput.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include "ui/core/text.h"
#include "ui/printer/pagedrawing.h"

namespace kv::ui {

namespace {

constexpr int kPdfResolution = 1200;
constexpr double kEnhancedInsetPt = 40;

QPageLayout layoutOf(const PaperChoice& paper) {
  const PageGeometry portrait =
      pageGeometry(paper.pageSize, paper.customWidth, paper.customHeight, kPortrait);
  return QPageLayout(
      QPageSize(QSizeF(portrait.sheetWidthMm, portrait.sheetHeightMm), QPageSize::Millimeter),
      paper.orientation == kLandscape ? QPageLayout::Landscape : QPageLayout::Portrait,
      QMarginsF(0, 0, 0, 0));
}

}  // namespace

bool writePdf(const std::string& file, const std::vector<RecordedPage>& pages,
              const PaperChoice& paper, const std::string& creator, const std::string& title,
              const std::function<void()>& betweenPages) {
  if (file.empty()) return false;
  QSaveFile out(toQString(file));
  if (!out.open(QIODevice::WriteOnly)) return false;
  QPdfWriter writer(&out);
  writer.setResolution(kPdfResolution);
  writer.setCreator(toQString(creator));
  writer.setTitle(toQString(title));
  PaperChoice sheet = paper;
  if (!pages.empty()) sheet.orientation = pages.front().orientation;
  if (!writer.setPageLayout(layoutOf(sheet))) return false;
  QPainter painter;
  if (!painter.begin(&writer)) return false;
  bool first = true;
  for (const RecordedPage& page : pages) {
    if (betweenPages) betweenPages();
    sheet.orientation = page.orientation;
    if (!first) {
      writer.setPageLayout(layoutOf(sheet));
      writer.newPage();
    }
    first = false;
    const PageGeometry g = sheet.geometry();
    QRectF target(0, 0, writer.width(), writer.height());
    if (page.enhanced) {
      const double inset = kEnhancedInsetPt / 72.0 * writer.resolution();
      target.adjust(inset, inset, -inset, -inset);
    }
    playPage(painter, page.picture, QSizeF(g.logicalWidth, g.logicalHeight), target);
  }
  if (!painter.end()) {
    out.cancelWriting();
    return false;
  }
  return out.commit();
}

}  // namespace kv::ui
