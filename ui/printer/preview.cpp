#include "ui/printer/preview.h"

#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QWidget>

#include <algorithm>

#include "ui/core/eventrouter.h"
#include "ui/core/messages.h"
#include "ui/graphics/colors.h"
#include "ui/printer/pagedrawing.h"

namespace kv::ui {

namespace {

constexpr int kMargin = 50;
constexpr int kGrey = 12632256;

void registerPreview(ClassDef* cls) {
  event<Preview>(cls, "OnPageChanged", kOnPageChanged);
  property<Preview>(
      cls, "Page", [](Preview& p) { return Value(p.page()); },
      [](Preview& p, const Value& v, Args a) {
        int n;
        if (intArg(v, n, "_PAGE", a)) p.setPage(n);
      });
  readOnly<Preview>(cls, "Pages", [](Preview& p) { return Value(p.pages()); });
  method<Preview>(cls, "ViewFullSize", [](Preview& p, Args) {
    p.setView(Preview::View::FullSize);
    return Value();
  });
  method<Preview>(cls, "ViewNormal", [](Preview& p, Args) {
    p.setView(Preview::View::Normal);
    return Value();
  });
  method<Preview>(cls, "ViewZoom", [](Preview& p, Args) {
    p.setView(Preview::View::Zoom);
    return Value();
  });
}

LibObject* makePreview() {
  return new Preview;
}

}  // namespace

const LibClass kPreviewClass = {"TPreview", &kWinControlClass, &makePreview, &registerPreview};

Value TPreview() {
  return classFunction(kPreviewClass);
}

Preview::Preview() {
  width_ = 146;
  height_ = 150;
  if (Brush* b = brush()) {
    b->color = kGrey;
    b->colorSet = true;
  }
}

Preview::~Preview() {
  if (printer_) printer_->removePreview(this);
}

void Preview::createImpl(Args args) {
  WinControl::createImpl(args);
  printer_ = printer();
  if (printer_) printer_->addPreview(this);
}

void Preview::release() {
  if (printer_) printer_->removePreview(this);
  printer_ = nullptr;
  WinControl::release();
}

QWidget* Preview::makeWidget(QWidget* parent) {
  auto* w = new QWidget(parent);
  w->setFocusPolicy(Qt::StrongFocus);
  widget_ = w;
  vertical_ = new QScrollBar(Qt::Vertical, w);
  horizontal_ = new QScrollBar(Qt::Horizontal, w);
  for (QScrollBar* bar : {vertical_.data(), horizontal_.data()}) {
    bar->setFocusPolicy(Qt::NoFocus);
    QObject::connect(bar, &QAbstractSlider::valueChanged, w,
                     [this](int) { guarded([this] { scrolled(); }); });
  }
  return w;
}

void Preview::applyState() {
  WinControl::applyState();
  layout();
}

void Preview::applyBounds() {
  WinControl::applyBounds();
  layout();
}

int Preview::pages() const {
  return printer_ ? static_cast<int>(printer_->document().pages().size()) : 0;
}

const RecordedPage* Preview::shownPage() const {
  if (!printer_ || page_ < 1 || page_ > pages()) return nullptr;
  return &printer_->document().pages()[page_ - 1];
}

void Preview::setPage(int n) {
  if (n < 1 || n > pages()) return;
  page_ = n;
  layout();
  if (widget_) widget_->update();
  fire(kOnPageChanged);
}

void Preview::setView(View v) {
  view_ = v;
  scrollX_ = scrollY_ = 0;
  layout();
  if (widget_) widget_->update();
}

void Preview::reset() {
  page_ = 1;
  setView(View::Normal);
}

void Preview::scrollTo(int x, int y) {
  scrollX_ = x;
  scrollY_ = y;
  layout();
  if (widget_) widget_->update();
}

QSize Preview::pageSize(int width, int height) const {
  const RecordedPage* shown = shownPage();
  PaperChoice paper = printer_ ? printer_->paper() : PaperChoice{};
  if (shown) paper.orientation = shown->orientation;
  const PageGeometry g = paper.geometry();
  if (g.logicalWidth <= 0 || g.logicalHeight <= 0) return QSize();
  const double ratio = static_cast<double>(g.logicalHeight) / g.logicalWidth;
  const int normalWidth = std::max(0, width - 2 * kMargin);
  switch (view_) {
    case View::FullSize: {
      const int w = std::max(0, width - 2 * kMargin), h = std::max(0, height - 2 * kMargin);
      if (w * ratio <= h) return QSize(w, static_cast<int>(w * ratio));
      return QSize(static_cast<int>(h / ratio), h);
    }
    case View::Normal:
      return QSize(normalWidth, static_cast<int>(normalWidth * ratio));
    case View::Zoom: {
      const double factor = ratio < 1 ? 2.0 : 1.5;
      return QSize(static_cast<int>(normalWidth * factor),
                   static_cast<int>(normalWidth * ratio * factor));
    }
  }
  return QSize();
}

void Preview::layout() {
  if (!widget_ || !vertical_ || !horizontal_) return;
  const int bar = widget_->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  const int w = width_, h = height_;
  // The page decides the scroll bars, which take room from the page area: a bar once needed
  // stays, even when the page then fits.
  bool needV = false, needH = false;
  if (view_ != View::FullSize) {
    needV = pageSize(w, h).height() + 2 * kMargin > h;
    needH = pageSize(w - (needV ? bar : 0), h).width() + 2 * kMargin > w - (needV ? bar : 0);
    if (needH && !needV) needV = pageSize(w, h - bar).height() + 2 * kMargin > h - bar;
  }
  const int viewW = w - (needV ? bar : 0), viewH = h - (needH ? bar : 0);
  const QSize page = pageSize(viewW, viewH);
  const int maxY = needV ? std::max(0, page.height() + 2 * kMargin - viewH) : 0;
  const int maxX = needH ? std::max(0, page.width() + 2 * kMargin - viewW) : 0;
  scrollX_ = std::clamp(scrollX_, 0, maxX);
  scrollY_ = std::clamp(scrollY_, 0, maxY);
  {
    QSignalBlocker bv(vertical_), bh(horizontal_);
    vertical_->setGeometry(w - bar, 0, bar, std::max(0, h - (needH ? bar : 0)));
    vertical_->setVisible(needV);
    vertical_->setRange(0, maxY);
    vertical_->setSingleStep(scrollStep());
    vertical_->setPageStep(std::max(1, viewH));
    vertical_->setValue(scrollY_);
    horizontal_->setGeometry(0, h - bar, std::max(0, w - (needV ? bar : 0)), bar);
    horizontal_->setVisible(needH);
    horizontal_->setRange(0, maxX);
    horizontal_->setSingleStep(scrollStep());
    horizontal_->setPageStep(std::max(1, viewW));
    horizontal_->setValue(scrollX_);
  }
}

void Preview::scrolled() {
  if (!vertical_ || !horizontal_) return;
  scrollX_ = horizontal_->value();
  scrollY_ = vertical_->value();
  if (widget_) widget_->update();
}

QRect Preview::pageRect() const {
  const bool v = vertical_ && vertical_->isVisibleTo(widget_);
  const bool h = horizontal_ && horizontal_->isVisibleTo(widget_);
  const int bar = widget_ ? widget_->style()->pixelMetric(QStyle::PM_ScrollBarExtent) : 0;
  const int viewW = width_ - (v ? bar : 0), viewH = height_ - (h ? bar : 0);
  const QSize size = pageSize(viewW, viewH);
  if (view_ == View::FullSize) {
    return QRect(QPoint((viewW - size.width()) / 2, (viewH - size.height()) / 2), size);
  }
  return QRect(QPoint(kMargin - scrollX_, kMargin - scrollY_), size);
}

void Preview::paintContent(QPainter& painter) {
  const RecordedPage* shown = shownPage();
  if (!shown) return;
  const QRect area = pageRect();
  if (area.isEmpty()) return;
  painter.fillRect(area, Qt::white);
  PaperChoice paper = printer_->paper();
  paper.orientation = shown->orientation;
  const PageGeometry g = paper.geometry();
  painter.save();
  painter.setClipRect(area);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  playPage(painter, shown->picture, QSizeF(g.logicalWidth, g.logicalHeight), area);
  painter.restore();
}

}  // namespace kv::ui
