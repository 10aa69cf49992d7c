#include "ui/printer/printer.h"

#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>
#include <cstdio>

#include "ui/core/fonts.h"
#include "ui/core/messageloop.h"
#include "ui/core/text.h"
#include "ui/dialogs/messagedlg.h"
#include "ui/forms/application.h"
#include "ui/graphics/colors.h"
#include "ui/printer/pagedrawing.h"
#include "ui/printer/pdfoutput.h"
#include "ui/printer/printdialog.h"

namespace kv::ui {

void registerPrinterMessages(ClassDef* cls);  // printer_messages.cpp

namespace {

Printer* g_printer = nullptr;

LibObject* makePrinter() {
  return new Printer;
}

constexpr int kPenWidth = 6;  // logical units

}  // namespace

const char* const kNoPrinterWarning = "Kalvedo: no printer is installed, so nothing was printed.";

const LibClass kPrinterClass = {"TPrinter", &kComponentClass, &makePrinter,
                                &registerPrinterMessages, true};

Value TPrinter() {
  return classFunction(kPrinterClass);
}

Printer* printer() {
  return g_printer;
}

Printer::Printer() {
  recompute();
  printers_ = systemPrinters();
  if (!printers_.empty()) active_ = printers_.front();
  default_ = active_;
  g_printer = this;
}

Printer::~Printer() {
  if (g_printer == this) g_printer = nullptr;
}

void Printer::release() {
  Component::release();
  for (PagePreview* p : previews_) p->detachPrinter();
  previews_.clear();
  brush_.reset();
  font_.reset();
  pen_.reset();
  if (g_printer == this) g_printer = nullptr;
}

Font* Printer::font() const {
  if (!font_) {
    font_ =
        std::make_unique<SubObject<Font>>(kFontClass, self(), [this] { self()->toolsChanged(); });
  }
  return font_->get();
}

Brush* Printer::brush() const {
  if (!brush_) {
    brush_ =
        std::make_unique<SubObject<Brush>>(kBrushClass, self(), [this] { self()->toolsChanged(); });
  }
  return brush_->get();
}

Pen* Printer::pen() const {
  if (!pen_) {
    pen_ = std::make_unique<SubObject<Pen>>(kPenClass, self(), [this] { self()->toolsChanged(); });
    if (Pen* p = pen_->get()) p->width = kPenWidth;
  }
  return pen_->get();
}

const Value& Printer::fontObject() const {
  font();
  return font_->object();
}

const Value& Printer::brushObject() const {
  brush();
  return brush_->object();
}

const Value& Printer::penObject() const {
  pen();
  return pen_->object();
}

void Printer::recompute() {
  geometry_ = pageGeometry(pageSize_, customWidth_, customHeight_, orientation_);
}

void Printer::setOrientation(int orientation) {
  if (orientation == orientation_) return;
  orientation_ = orientation;
  recompute();
}

void Printer::setPageSize(int value) {
  if (recording() || value == pageSize_) return;
  pageSize_ = value;
  recompute();
}

void Printer::setPageWidth(int mm) {
  if (recording()) return;
  customHeight_ = geometry_.paperHeight;
  customWidth_ = mm;
  pageSize_ = kCustomPaper;
  recompute();
}

void Printer::setPageHeight(int mm) {
  if (recording()) return;
  customWidth_ = geometry_.paperWidth;
  customHeight_ = mm;
  pageSize_ = kCustomPaper;
  recompute();
}

void Printer::setTransparent(bool on) {
  transparent_ = on;
  toolsChanged();
}

void Printer::setFont(const std::string& face, int points, bool bold) {
  Font* f = font();
  if (!f) return;
  f->setName(Value(face));
  f->bold = bold;
  f->setSize(points);  // notifies: the open page takes the font
}

void Printer::setActive(const std::string& name) {
  if (name == active_ || std::find(printers_.begin(), printers_.end(), name) == printers_.end())
    return;
  active_ = name;
}

// The open page's text colour, background, background mode, font, brush and pen.
void Printer::applyTools(QPainter& p) const {
  if (Font* f = font()) p.setFont(pageFont(*f));
  if (Brush* b = brush()) {
    p.setBrush(b->qbrush());
    p.setBackground(QBrush(colorOf(b->color)));
  }
  if (Pen* pn = pen()) p.setPen(pn->qpen());
  p.setBackgroundMode(transparent_ ? Qt::TransparentMode : Qt::OpaqueMode);
}

void Printer::toolsChanged() {
  if (QPainter* p = doc_.painter()) applyTools(*p);
}

bool Printer::beginDoc() {
  return doc_.begin();
}

void Printer::newPage() {
  if (QPainter* p = doc_.startPage(orientation_)) applyTools(*p);
}

void Printer::endDoc() {
  doc_.end();
}

int Printer::beginEnhHandle() {
  QPainter* p = doc_.beginEnhanced();
  applyTools(*p);
  return doc_.enhancedHandle();
}

void Printer::playEnhHandle() {
  doc_.playEnhanced();
  toolsChanged();
}

void Printer::drawText(const std::string& text, MmRect r, int align) {
  QPainter* p = doc_.painter();
  if (!p || text.empty()) return;
  Font* f = font();
  const QString shown = f ? symbolText(toQString(f->face()), toQString(text)) : toQString(text);
  drawPageText(*p, shown, logicalRect(geometry_, r), align, colorOf(f ? f->color : 0));
}

void Printer::drawBox(MmRect r) {
  if (QPainter* p = doc_.painter()) p->drawRect(logicalRect(geometry_, r));
}

void Printer::drawLine(MmRect line) {
  if (QPainter* p = doc_.painter()) {
    p->drawLine(geometry_.toLogicalX(line.left), geometry_.toLogicalY(line.top),
                geometry_.toLogicalX(line.right), geometry_.toLogicalY(line.bottom));
  }
}

void Printer::drawShadow(MmRect r) {
  if (QPainter* p = doc_.painter()) drawPageShadow(*p, geometry_, r);
}

void Printer::drawBitmap(const QImage& image, MmRect box) {
  QPainter* p = doc_.painter();
  if (!p || image.isNull()) return;
  const QRect target = logicalRect(geometry_, bitmapBox(box, image.width(), image.height()));
  p->drawImage(target, image);
}

void Printer::drawIcon(const QIcon& icon, MmRect r) {
  QPainter* p = doc_.painter();
  if (!p || icon.isNull()) return;
  const QRect target = logicalRect(geometry_, r);
  // The icon's largest image, stretched into the rectangle.
  const QList<QSize> sizes = icon.availableSizes();
  const QSize best = sizes.isEmpty() ? QSize(256, 256) : sizes.back();
  p->drawPixmap(target, icon.pixmap(best));
}

std::vector<int> Printer::millimeter2Printer(const std::vector<double>& mm) const {
  std::vector<int> out;
  out.reserve(mm.size());
  for (std::size_t i = 0; i < mm.size(); ++i) {
    out.push_back(i % 2 == 0 ? geometry_.toLogicalX(mm[i]) : geometry_.toLogicalY(mm[i]));
  }
  return out;
}

// Print: nothing while recording or without a printer (a warning on standard error says
// why). The print dialog, when shown, offers pages 1 to the page count, all pages, one copy;
// cancelling it stops. The job goes to the printer chosen there (the active printer stays
// the active one), named by the title, with the copies and collation looped here and each
// page played onto the whole sheet. A printer that cannot be opened is reported in a box
// captioned "Error" with the system's reason.
void Printer::print() {
  if (recording()) return;
  if (active_.empty()) {
    std::fprintf(stderr, "%s\n", kNoPrinterWarning);
    return;
  }
  const int count = pages();
  QPrinter qprinter(QPrinterInfo::printerInfo(toQString(active_)), QPrinter::HighResolution);
  setPrinterPaper(qprinter, paper());
  int from = 1, to = count, copies = 1;
  bool collate = false;
  if (showDialog_) {
    Value dialogObject = TPrintDialog();
    PrintDialog* dialog = libraryAs<PrintDialog>(dialogObject);
    if (!dialog) return;
    struct Destroy {
      PrintDialog* d;
      Alive alive;
      ~Destroy() {
        if (alive) d->destroyImpl();
      }
    } destroy{dialog, dialog->alive()};
    dialog->fromPage = 1;
    dialog->toPage = std::max(count, 1);
    dialog->maxPage = std::max(count, 1);
    dialog->allPages = true;
    dialog->copies = 1;
    if (!dialog->execute(qprinter)) return;
    if (!dialog->allPages) {
      from = dialog->fromPage;
      to = dialog->toPage;
    }
    copies = dialog->copies;
    collate = dialog->collate;
  }
  // The dialog may have changed the paper's settings and copies: the job's own are set again.
  setPrinterPaper(qprinter, paper());
  const std::vector<RecordedPage> recorded = doc_.pages();
  std::string reason;
  if (!printPages(qprinter, recorded, printSequence(from, to, count, copies, collate), paper(),
                  title_, reason)) {
    MessageDlgRequest box;
    box.text = reason;
    box.type = 0;  // the information icon
    box.buttons = 2;
    box.caption = "Error";
    runMessageDlg(box);
  }
}

bool Printer::toPdf(const std::string& file) {
  if (file.empty()) return false;
  // The pages are held for the whole output: a handler run between pages may start a new
  // document.
  const std::vector<RecordedPage> recorded = doc_.pages();
  Application* app = application();
  const bool ok = writePdf(file, recorded, paper(), app ? app->title : std::string(), title_,
                           [] { processMessages(); });
  // The last page's orientation stays set, as after the pages were laid out one by one.
  if (!recorded.empty()) setOrientation(recorded.back().orientation);
  return ok;
}

void Printer::preview() {
  if (recording()) return;
  const std::vector<PagePreview*> shown = previews_;
  for (PagePreview* p : shown) p->reset();
  fire(kOnPreview);
}

void Printer::addPreview(PagePreview* p) {
  if (std::find(previews_.begin(), previews_.end(), p) == previews_.end()) previews_.push_back(p);
}

void Printer::removePreview(PagePreview* p) {
  previews_.erase(std::remove(previews_.begin(), previews_.end(), p), previews_.end());
}

}  // namespace kv::ui
