#include "ui/grid/stringgrid.h"

#include <QEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStaticText>
#include <QtMath>
#include <QStyle>
#include <QWheelEvent>
#include <QWidget>

#include <algorithm>

#include "runtime/format/numfmt.h"
#include "ui/core/eventrouter.h"
#include "ui/core/keys.h"
#include "ui/core/messages.h"
#include "ui/core/text.h"
#include "ui/grid/gridcolors.h"
#include "ui/grid/gridfont.h"
#include "ui/grid/gridheader.h"

namespace kv::ui {

namespace {

constexpr int kDefaultColumnWidth = 64;
constexpr int kWheelRows = 3;
constexpr int kVkPrior = 33;
constexpr int kVkNext = 34;
constexpr int kVkEnd = 35;
constexpr int kVkHome = 36;

LibObject* makeStringGrid() {
  return new StringGrid;
}

// The text a cell value shows: strings as they are, numbers as STR gives them without the
// leading blanks; any other value shows empty.
QString cellText(const Value& v) {
  const Value& d = v.deref();
  if (d.isString()) return toQString(d.str());
  if (d.isNumber()) {
    std::string s(STR(d).str());
    s.erase(0, s.find_first_not_of(' '));
    return toQString(s);
  }
  return QString();
}

}  // namespace

void registerStringGrid(ClassDef* cls);  // stringgrid_messages.cpp

const LibClass kStringGridClass = {"TStringGrid", &kWinControlClass, &makeStringGrid,
                                   &registerStringGrid};

Value TStringGrid() {
  return classFunction(kStringGridClass);
}

StringGrid::StringGrid() {
  width_ = 320;
  height_ = 120;
  setTabStop(true);
  selectedFont_ = makeGridFont(this, systemColor(14), selectedFontObject_);
  headerFont_ = makeGridFont(this, systemColor(18), headerFontObject_);
  footerFont_ = makeGridFont(this, systemColor(18), footerFontObject_);
}

void StringGrid::release() {
  WinControl::release();
  for (GridFont** f : {&selectedFont_, &headerFont_, &footerFont_}) {
    if (GridFont* font = *f) {
      *f = nullptr;
      font->grid = nullptr;
      font->destroyImpl();
    }
  }
  selectedFontObject_ = Value();
  headerFontObject_ = Value();
  footerFontObject_ = Value();
}

QWidget* StringGrid::makeWidget(QWidget* parent) {
  auto* w = new QWidget(parent);
  w->setFocusPolicy(Qt::StrongFocus);
  w->setAttribute(Qt::WA_OpaquePaintEvent);
  widget_ = w;
  headerWidget_ = new GridHeader(this, w);
  vertical_ = new QScrollBar(Qt::Vertical, w);
  horizontal_ = new QScrollBar(Qt::Horizontal, w);
  for (QScrollBar* bar : {vertical_.data(), horizontal_.data()}) bar->setFocusPolicy(Qt::NoFocus);
  QObject::connect(vertical_, &QAbstractSlider::actionTriggered, w,
                   [this](int action) { guarded([this, action] { verticalAction(action); }); });
  QObject::connect(horizontal_, &QAbstractSlider::actionTriggered, w,
                   [this](int action) { guarded([this, action] { horizontalAction(action); }); });
  return w;
}

void StringGrid::applyState() {
  WinControl::applyState();
  layoutChildren();
  updateScrollBars();
}

// --- data -------------------------------------------------------------------------------

void StringGrid::setItems(const Value& items, Args args) {
  const Value& d = items.deref();
  if (!d.isArray() || d.isObject()) {
    guiError(kGuiArgument, "_ITEMS", args);
    return;
  }
  items_ = d;
  count_ = std::max(0, sendRecordCount());
  if (count_ > 0) {
    row_ = std::min(row_, count_);
    rowPos_ = std::min(rowPos_, count_);
  }
  row_ = std::max(row_, 1);
  rowPos_ = std::clamp(rowPos_, 1, row_);
  if (widget_) rowPos_ = std::min(rowPos_, visibleRows());
  sendMoveTo(row_);
  updateScrollBars();
  if (widget_ && visible_) widget_->update();
}

// The data operations are sent for every painted cell, so their symbols are looked up once.
int StringGrid::sendRecordCount() {
  static const Symbol* message = getSymbol("DATARECORDCOUNT");
  if (!hasLanguage()) return static_cast<int>(items_.arrayLen());
  Value self = language();
  return send(self, message, Args()).deref().asInt();
}

void StringGrid::sendMoveTo(int row) {
  static const Symbol* message = getSymbol("DATAMOVETO");
  if (!hasLanguage()) {
    cursor_ = row;
    return;
  }
  Value self = language();
  Value n(row);
  send(self, message, Args(&n, 1));
}

Value StringGrid::sendGetData(int column) {
  static const Symbol* message = getSymbol("GETDATA");
  if (!hasLanguage()) return dataText(column);
  Value self = language();
  Value n(column);
  return send(self, message, Args(&n, 1));
}

Value StringGrid::dataText(int column) const {
  const ArrayData* rows = items_.arr();
  if (!rows || cursor_ < 1 || cursor_ > static_cast<int>(rows->items.size())) return Value("");
  const Value& rowValue = rows->items[static_cast<std::size_t>(cursor_) - 1].deref();
  const ArrayData* cells = rowValue.isArray() ? rowValue.arr() : nullptr;
  if (!cells || column < 1 || column > static_cast<int>(cells->items.size())) return Value("");
  const Value& cell = cells->items[static_cast<std::size_t>(column) - 1].deref();
  return cell.isString() ? cell : Value("");
}

// --- rows and columns ---------------------------------------------------------------------

int StringGrid::rowHeight() const {
  if (rowHeight_ > 0) return rowHeight_;
  const QFont f = widget_ ? widget_->font() : QFont();
  return QFontMetrics(f).height() + 4;
}

void StringGrid::setRowHeight(int pixels) {
  rowHeight_ = std::max(0, pixels);
  updateScrollBars();
  repaintGrid();
}

int StringGrid::headerHeight() const {
  return showHeader_ ? QFontMetrics(headerQFont()).height() + 6 : 0;
}

QRect StringGrid::bodyRect() const {
  if (!widget_) return QRect(0, headerHeight(), width_, std::max(0, height_ - headerHeight()));
  const int bar = widget_->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  const int w = widget_->width() - ((scrollBars_ & 2) ? bar : 0);
  const int h = widget_->height() - ((scrollBars_ & 1) ? bar : 0);
  const int top = headerHeight();
  return QRect(0, top, std::max(0, w), std::max(0, h - top));
}

int StringGrid::visibleRows() const {
  return std::max(1, bodyRect().height() / std::max(1, rowHeight()));
}

int StringGrid::clampPosition(int row, int position) const {
  const int visible = visibleRows();
  position = std::clamp(position, 1, std::min(visible, std::max(1, row)));
  // The view stays filled: the first visible row is never beyond the last full window.
  const int maxTop = std::max(1, count_ - visible + 1);
  if (row - position + 1 > maxTop) position = row - maxTop + 1;
  return position;
}

void StringGrid::setRow(int n) {
  n = std::max(1, n);
  int position = n + rowPos_ - row_;
  position = std::min(position, widget_ ? visibleRows() : position);
  // A move above the first visible row puts the current row at the top.
  if (position < 1) position = 1;
  row_ = count_ > 0 ? std::min(n, count_) : n;
  rowPos_ = std::min(position, row_);
  sendMoveTo(row_);
  updateScrollBars();
  repaintGrid();
}

void StringGrid::moveRowBy(int delta) {
  moveRowTo(row_ + delta, rowPos_ + delta);
}

void StringGrid::moveRowTo(int n, int position) {
  if (count_ <= 0) return;
  n = std::clamp(n, 1, count_);
  position = clampPosition(n, position);
  if (n == row_ && position == rowPos_) return;
  const bool rowMoved = n != row_;
  row_ = n;
  rowPos_ = position;
  sendMoveTo(row_);
  updateScrollBars();
  repaintGrid();
  if (rowMoved) changed();
}

void StringGrid::changed() {
  fire(kOnChange);
}

int StringGrid::columnCount() const {
  int n = static_cast<int>(std::max(header.size(), sizes.size()));
  if (n == 0) {
    // Without captions or widths the first row says how many columns there are.
    const ArrayData* rows = items_.arr();
    if (rows && !rows->items.empty()) {
      const Value& first = rows->items.front().deref();
      if (first.isArray()) n = static_cast<int>(first.arrayLen());
    }
  }
  return n;
}

int StringGrid::columnWidth(int c) const {
  if (c < 1) return 0;
  const auto i = static_cast<std::size_t>(c - 1);
  return i < sizes.size() ? std::max(0, sizes[i]) : kDefaultColumnWidth;
}

void StringGrid::setColumnWidth(int c, int width) {
  if (c < 1) return;
  const auto i = static_cast<std::size_t>(c - 1);
  if (sizes.size() <= i) sizes.resize(i + 1, kDefaultColumnWidth);
  sizes[i] = width;
  updateScrollBars();
  repaintGrid();
}

void StringGrid::setSizes(std::vector<int> widths) {
  sizes = std::move(widths);
  updateScrollBars();
  repaintGrid();
}

void StringGrid::setHeaderCaptions(std::vector<std::string> captions) {
  header = std::move(captions);
  updateScrollBars();
  repaintGrid();
}

void StringGrid::setCol(int n) {
  const int columns = std::max(1, columnCount());
  n = std::clamp(n, 1, columns);
  if (n == col_) return;
  col_ = n;
  // Scroll so the current column is in the window.
  if (col_ < leftCol_) leftCol_ = col_;
  const int bodyWidth = bodyRect().width();
  for (;;) {
    int right = 0;
    for (int c = leftCol_; c <= col_; ++c) right += columnWidth(c);
    if (right <= bodyWidth || leftCol_ >= col_) break;
    ++leftCol_;
  }
  updateScrollBars();
  repaintGrid();
}

void StringGrid::setLeftCol(int n) {
  n = std::clamp(n, 1, std::max(1, columnCount()));
  if (n == leftCol_) return;
  leftCol_ = n;
  updateScrollBars();
  repaintGrid();
}

void StringGrid::setShowHeader(bool on) {
  showHeader_ = on;
  layoutChildren();
  repaintGrid();
}

void StringGrid::setScrollBars(int bars) {
  scrollBars_ = bars & 3;
  layoutChildren();
  repaintGrid();
}

QString StringGrid::headerCaption(int c) const {
  const auto i = static_cast<std::size_t>(c - 1);
  return c >= 1 && i < header.size() ? displayText(header[i]) : QString();
}

int StringGrid::headerAlignment(int c) const {
  const auto i = static_cast<std::size_t>(c - 1);
  return c >= 1 && i < headerAlignments.size() ? headerAlignments[i] : 0;
}

int StringGrid::cellAlignment(int c) const {
  const auto i = static_cast<std::size_t>(c - 1);
  return c >= 1 && i < alignments.size() ? alignments[i] : 0;
}

int StringGrid::alignmentFlags(int alignment) {
  return alignment == 1 ? Qt::AlignRight : alignment == 2 ? Qt::AlignHCenter : Qt::AlignLeft;
}

QFont StringGrid::headerQFont() const {
  const QFont base = widget_ ? widget_->font() : QFont();
  return headerFont_ ? headerFont_->font(base) : base;
}

QColor StringGrid::headerTextColor() const {
  return gridColor(headerFont_ ? headerFont_->color : systemColor(8));
}

void StringGrid::headerClicked(int c) {
  fire(kOnHeaderClick, {Value(c)});
}

void StringGrid::columnResized() {
  fire(kOnColResize);
}

int StringGrid::columnAtX(int x) const {
  int left = 0;
  for (int c = leftCol_; c <= columnCount(); ++c) {
    const int right = left + columnWidth(c);
    if (x >= left && x < right) return c;
    left = right;
  }
  return 0;
}

int StringGrid::rowAtY(int y) const {
  const QRect body = bodyRect();
  if (count_ <= 0 || y < body.top() || y >= body.bottom() + 1) return 0;
  const int r = topRow() + (y - body.top()) / std::max(1, rowHeight());
  return r <= count_ ? r : 0;
}

void StringGrid::refresh() {
  if (widget_) widget_->repaint();
}

void StringGrid::repaintGrid() {
  if (!widget_) return;
  widget_->update();
  if (headerWidget_) headerWidget_->update();
}

// --- children -----------------------------------------------------------------------------

void StringGrid::layoutChildren() {
  if (!widget_) return;
  const int bar = widget_->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  const bool v = scrollBars_ & 2, h = scrollBars_ & 1;
  const int w = widget_->width(), hh = widget_->height();
  if (headerWidget_) {
    headerWidget_->setGeometry(0, 0, std::max(0, w - (v ? bar : 0)), headerHeight());
    headerWidget_->setVisible(showHeader_);
  }
  if (vertical_) {
    vertical_->setGeometry(w - bar, 0, bar, std::max(0, hh - (h ? bar : 0)));
    vertical_->setVisible(v);
  }
  if (horizontal_) {
    horizontal_->setGeometry(0, hh - bar, std::max(0, w - (v ? bar : 0)), bar);
    horizontal_->setVisible(h);
  }
  rowPos_ = std::min(rowPos_, visibleRows());
}

void StringGrid::updateScrollBars() {
  if (vertical_) {
    QSignalBlocker block(vertical_);
    vertical_->setRange(count_ > 0 ? 1 : 0, count_);
    vertical_->setPageStep(visibleRows());
    vertical_->setValue(count_ > 0 ? row_ : 0);
  }
  if (horizontal_) {
    QSignalBlocker block(horizontal_);
    horizontal_->setRange(1, std::max(1, columnCount()));
    horizontal_->setPageStep(1);
    horizontal_->setValue(leftCol_);
  }
}

void StringGrid::verticalAction(int action) {
  switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
      moveRowBy(1);
      break;
    case QAbstractSlider::SliderSingleStepSub:
      moveRowBy(-1);
      break;
    case QAbstractSlider::SliderPageStepAdd:
      moveRowTo(row_ + visibleRows(), rowPos_);
      break;
    case QAbstractSlider::SliderPageStepSub:
      moveRowTo(row_ - visibleRows(), rowPos_);
      break;
    case QAbstractSlider::SliderToMinimum:
      moveRowTo(1, 1);
      break;
    case QAbstractSlider::SliderToMaximum:
      moveRowTo(count_, visibleRows());
      break;
    case QAbstractSlider::SliderMove:
      if (vertical_) moveRowTo(vertical_->sliderPosition(), rowPos_);
      break;
    default:
      break;
  }
  // The thumb shows the current row, whatever the action asked for.
  if (vertical_) vertical_->setSliderPosition(count_ > 0 ? row_ : 0);
}

void StringGrid::horizontalAction(int action) {
  if (!horizontal_) return;
  switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
    case QAbstractSlider::SliderPageStepAdd:
      setLeftCol(leftCol_ + 1);
      break;
    case QAbstractSlider::SliderSingleStepSub:
    case QAbstractSlider::SliderPageStepSub:
      setLeftCol(leftCol_ - 1);
      break;
    case QAbstractSlider::SliderToMinimum:
      setLeftCol(1);
      break;
    case QAbstractSlider::SliderToMaximum:
      setLeftCol(columnCount());
      break;
    case QAbstractSlider::SliderMove:
      setLeftCol(horizontal_->sliderPosition());
      break;
    default:
      break;
  }
  horizontal_->setSliderPosition(leftCol_);
}

// --- painting -----------------------------------------------------------------------------

void StringGrid::paintContent(QPainter& painter) {
  if (!widget_) return;
  const QRect body = bodyRect();
  painter.fillRect(widget_->rect(), gridColor(normalColor));
  if (count_ <= 0 || body.isEmpty()) return;
  Alive alive = this->alive();
  const QFont base = widget_->font();
  const QFont selected = selectedFont_ ? selectedFont_->font(base) : base;
  const bool focused = widget_->hasFocus();
  const int height = std::max(1, rowHeight());
  const int columns = columnCount();
  const bool drawsCells = events().has(kOnDrawCell);
  // Ordinary cells take the colour of the grid's Font.
  const int plainColor = this->font() ? this->font()->color : systemColor(8);
  const QColor lines = gridColor(gridLineColor);
  painter.setClipRect(body);
  painter.setFont(base);
  // Laid-out texts are kept for one pair of fonts.
  if (base != cachedFonts_[0] || selected != cachedFonts_[1]) {
    textCache_.clear();
    cachedFonts_[0] = base;
    cachedFonts_[1] = selected;
  }
  bool selectedFontSet = false;
  for (int i = 0;; ++i) {
    const int r = topRow() + i;
    const int y = body.top() + i * height;
    if (r > count_ || y > body.bottom()) break;
    sendMoveTo(r);
    if (!alive) return;
    int x = body.left();
    for (int c = leftCol_; c <= columns && x <= body.right(); ++c) {
      const int w = columnWidth(c);
      if (w <= 0) continue;
      const QRect cell(x, y, w, height);
      x += w;
      const bool isSelected = r == row_ && (rowSelect || c == col_);
      int font = isSelected && selectedFont_ ? selectedFont_->color : plainColor;
      int back = isSelected ? (focused ? selectedFocusColor : selectedUnfocusColor) : normalColor;
      if (drawsCells) {
        ByRef fontRef{Value(font)}, backRef{Value(back)};
        fire(kOnDrawCell, {Value(r), Value(c), fontRef.arg(), backRef.arg(), Value()});
        if (!alive) return;
        if (fontRef.value().isNumber()) font = fontRef.value().asInt();
        if (backRef.value().isNumber() && !(isSelected && allowSelect)) {
          back = backRef.value().asInt();
        }
      }
      const QString text = cellText(sendGetData(c));
      if (!alive) return;
      painter.fillRect(cell, gridColor(back));
      if (isSelected != selectedFontSet) {
        painter.setFont(isSelected ? selected : base);
        selectedFontSet = isSelected;
      }
      painter.setPen(gridColor(font));
      drawCellText(painter, cell, text, cellAlignment(c), isSelected);
      painter.setPen(lines);
      if (gridHorizontal) painter.drawLine(cell.left(), cell.bottom(), cell.right(), cell.bottom());
      if (gridVertical) painter.drawLine(cell.right(), cell.top(), cell.right(), cell.bottom());
    }
  }
  painter.setClipping(false);
  sendMoveTo(row_);
}

void StringGrid::drawCellText(QPainter& painter, const QRect& cell, const QString& text,
                              int alignment, bool selectedFont) {
  if (text.isEmpty()) return;
  // One line, no wrapping. Laying a text out is most of a cell's cost, so laid-out texts are
  // kept for the next paints: a row move shows nearly the same texts again.
  if (textCache_.size() > 8192) textCache_.clear();
  const QString key = (selectedFont ? QLatin1Char('1') : QLatin1Char('0')) + text;
  auto it = textCache_.find(key);
  if (it == textCache_.end()) {
    QStaticText laid(text);
    laid.setTextFormat(Qt::PlainText);
    laid.prepare(QTransform(), painter.font());
    it = textCache_.insert(key, laid);
  }
  const QRect inner = cell.adjusted(2, 1, -2, 0);
  const int advance = qCeil(it->size().width());
  int x = inner.left();
  if (alignment == 1) x = inner.right() + 1 - advance;
  if (alignment == 2) x = inner.left() + (inner.width() - advance) / 2;
  if (advance <= inner.width()) {
    painter.drawStaticText(QPoint(x, inner.top()), *it);
    return;
  }
  painter.save();
  painter.setClipRect(inner, Qt::IntersectClip);
  painter.drawStaticText(inner.topLeft(), *it);
  painter.restore();
}

// --- input --------------------------------------------------------------------------------

bool StringGrid::ownKey(int vk) {
  const int visible = visibleRows();
  switch (vk) {
    case kVkDown:
      moveRowBy(1);
      return true;
    case kVkUp:
      moveRowBy(-1);
      return true;
    case kVkNext:
      moveRowTo(row_ + visible, rowPos_);
      return true;
    case kVkPrior:
      moveRowTo(row_ - visible, rowPos_);
      return true;
    case kVkHome:
      moveRowTo(1, 1);
      return true;
    case kVkEnd:
      moveRowTo(count_, visible);
      return true;
    case kVkRight:
    case kVkLeft: {
      const int step = vk == kVkRight ? 1 : -1;
      if (rowSelect) {
        setLeftCol(leftCol_ + step);
      } else {
        const int before = col_;
        setCol(col_ + step);
        if (col_ != before) changed();
      }
      return true;
    }
    case kVkReturn:
      // The cell editor is not part of this grid: Enter opens nothing.
      return allowEdit;
    default:
      return false;
  }
}

bool StringGrid::handleEvent(QObject* watched, QEvent* event) {
  if (watched != widget_) return WinControl::handleEvent(watched, event);
  WinControl* top = topControl();
  const bool input = !top || top->windowAcceptsInput();
  switch (event->type()) {
    case QEvent::Resize: {
      const bool consumed = WinControl::handleEvent(watched, event);
      layoutChildren();
      updateScrollBars();
      return consumed;
    }
    case QEvent::FocusIn:
    case QEvent::FocusOut:
      widget_->update();
      break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
      auto* me = static_cast<QMouseEvent*>(event);
      if (!input || me->button() != Qt::LeftButton) break;
      const QPoint p = me->position().toPoint();
      if (widget_->childAt(p)) break;
      const int r = rowAtY(p.y());
      const int c = bodyRect().contains(p) ? columnAtX(p.x()) : 0;
      pressOnCell_ = r > 0 && c > 0;
      if (!pressOnCell_) break;
      Alive alive = this->alive();
      const bool colMoved = !rowSelect && c != col_;
      if (colMoved) setCol(c);
      const int before = row_;
      moveRowTo(r, r - topRow() + 1);
      if (!alive) return true;
      if (colMoved && row_ == before) changed();
      if (!alive) return true;
      break;
    }
    case QEvent::Wheel: {
      if (!input) return true;
      Alive alive = this->alive();
      WinControl::handleEvent(watched, event);
      if (!alive) return true;
      const int notches = static_cast<QWheelEvent*>(event)->angleDelta().y() / 120;
      if (notches != 0) moveRowTo(row_ - kWheelRows * notches, rowPos_);
      return true;
    }
    default:
      break;
  }
  return WinControl::handleEvent(watched, event);
}

void StringGrid::click() {
  // Only a click on a data cell is the grid's click.
  if (!pressOnCell_) return;
  pressOnCell_ = false;
  WinControl::click();
}

}  // namespace kv::ui
