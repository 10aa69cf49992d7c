#include "ui/controls/wincontrol.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRect>
#include <QWheelEvent>
#include <QWidget>

#include <algorithm>
#include <unordered_map>

#include "ui/core/devicecontext.h"
#include "ui/core/fonts.h"
#include "ui/graphics/colors.h"
#include "ui/core/hintwindow.h"
#include "ui/core/libclass.h"
#include "ui/core/messages.h"
#include "ui/core/text.h"
#include "ui/menus/menu.h"

namespace kv::ui {

namespace {

std::unordered_map<int, WinControl*>& handles() {
  static std::unordered_map<int, WinControl*> h;
  return h;
}
int g_nextHandle = 0;

// True for a mouse event that Qt passes on to a parent after the child under the mouse did not
// take it: the library's mouse messages go to the window under the mouse only.
bool passedOn(QObject* watched, const QPointF& position) {
  auto* w = qobject_cast<QWidget*>(watched);
  return w && w->childAt(position.toPoint()) != nullptr;
}

}  // namespace

WinControl::WinControl() = default;

WinControl::~WinControl() {
  forgetHintTarget(this);
  forgetWindow();
  if (widget_) {
    widget_->hide();
    widget_->deleteLater();
  }
}

WinControl* controlOfHandle(int handle) {
  auto it = handles().find(handle);
  return it == handles().end() ? nullptr : it->second;
}

WinControl* WinControl::topControl() {
  WinControl* c = this;
  while (c && !c->isTopLevel()) c = c->parentControl();
  return c;
}

WinControl* WinControl::activeControl() const {
  return activeAlive_ ? active_ : nullptr;
}

void WinControl::setActiveControl(WinControl* control) {
  active_ = control;
  activeAlive_ = control ? control->alive() : Alive();
}

QWidget* WinControl::window() {
  if (widget_) return widget_;
  if (destroying()) return nullptr;
  QWidget* parent = nullptr;
  if (!isTopLevel()) {
    WinControl* p = parentControl();
    parent = p ? p->clientWidget() : nullptr;
    if (!parent) return nullptr;
    // Making the parent's window made this one too.
    if (widget_) return widget_;
  }
  widget_ = makeWidget(parent);
  if (!widget_) return nullptr;
  handle_ = ++g_nextHandle;
  handles()[handle_] = this;
  routeWidget(widget_);
  applyState();
  for (WinControl* c : childControls()) c->window();
  realign();
  return widget_;
}

int WinControl::handle() {
  window();
  return handle_;
}

void WinControl::routeWidget(QObject* widget) {
  route(widget, this);
  routed_.emplace_back(widget);
}

void WinControl::forgetWindow() {
  for (WinControl* c : childControls()) c->forgetWindow();
  for (const QPointer<QObject>& o : routed_) {
    if (o) unroute(o);
  }
  routed_.clear();
  if (handle_) handles().erase(handle_);
  handle_ = 0;
}

void WinControl::destroyWindow() {
  if (!widget_) return;
  forgetWindow();
  QWidget* w = widget_;
  widget_ = nullptr;
  w->hide();
  w->deleteLater();  // freed by the message loop, outside the event being handled
}

std::vector<WinControl*> WinControl::childControls() const {
  std::vector<WinControl*> out;
  for (Component* c : components()) {
    auto* w = dynamic_cast<WinControl*>(c);
    if (w && !w->isTopLevel()) out.push_back(w);
  }
  return out;
}

void WinControl::createImpl(Args args) {
  Component::createImpl(args);
  if (isTopLevel()) return;
  WinControl* p = parentControl();
  if (!p) {
    guiError(kGuiNoParent, "CREATE", args);
    return;
  }
  p->tabList_.push_back(this);
  window();
}

void WinControl::release() {
  Component::release();
  if (WinControl* p = parentControl()) {
    auto& list = p->tabList_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
  }
  forgetHintTarget(this);
  destroyWindow();
}

void WinControl::applyState() {
  applyBounds();
  applyFont();
  applyCursor();
  applyBrush();
  applyCaption();
  applyEnabled();
  applyVisible();
}

Brush* WinControl::brush() {
  if (!brush_)
    brush_ = std::make_unique<SubObject<Brush>>(kBrushClass, this, [this] { applyBrush(); });
  return brush_->get();
}

const Value& WinControl::brushObject() {
  brush();
  return brush_->object();
}

QString WinControl::faceName() const {
  if (font_ && font_->get()) return toQString(font_->get()->face());
  return QString::fromLatin1(kDefaultFace);
}

void WinControl::applyFont() {
  Font* f = font_ ? font_->get() : nullptr;
  QWidget* w = contentWidget();
  if (!f || !w) return;
  w->setFont(f->qfont());
  QPalette p = w->palette();
  const QColor c = colorOf(f->color);
  p.setColor(QPalette::WindowText, c);
  p.setColor(QPalette::Text, c);
  p.setColor(QPalette::ButtonText, c);
  w->setPalette(p);
  applyCaption();  // a symbol face shows other characters
}

void WinControl::applyCursor() {
  Cursor* c = cursor_ ? cursor_->get() : nullptr;
  if (!c || !widget_) return;
  if (c->code() == 0) {
    widget_->unsetCursor();
  } else {
    widget_->setCursor(c->qcursor());
  }
}

void WinControl::applyBrush() {
  Brush* b = brush_ ? brush_->get() : nullptr;
  QWidget* w = contentWidget();
  if (!b || !w || !b->colorSet) return;
  QPalette p = w->palette();
  p.setColor(QPalette::Window, colorOf(b->color));
  p.setColor(QPalette::Base, colorOf(b->color));
  w->setPalette(p);
  w->setAutoFillBackground(b->style != 1);
}

void WinControl::applyBounds() {
  if (widget_) widget_->setGeometry(left_, top_, width_, height_);
}

void WinControl::applyVisible() {
  if (widget_) widget_->setVisible(visible_);
}

void WinControl::applyEnabled() {
  if (widget_) widget_->setEnabled(enabled_);
}

void WinControl::boundsImpl(int left, int top, int width, int height) {
  const bool resized = width != width_ || height != height_;
  Control::boundsImpl(left, top, width, height);
  if (resized) realign();
}

void WinControl::realign() {
  if (aligning_ || destroying()) return;
  aligning_ = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{aligning_};
  int l = 0, t = 0, r = clientWidth(), b = clientHeight();
  for (WinControl* c : childControls()) {
    if (r <= l || b <= t) break;
    if (!c->visible() || c->align() == 0) continue;
    switch (c->align()) {
      case 1:
        c->changeBounds(l, t, r - l, c->height());
        t += c->height();
        break;
      case 2:
        c->changeBounds(l, b - c->height(), r - l, c->height());
        b -= c->height();
        break;
      case 3:
        c->changeBounds(l, t, c->width(), b - t);
        l += c->width();
        break;
      case 4:
        c->changeBounds(r - c->width(), t, c->width(), b - t);
        r -= c->width();
        break;
      case 5:
        c->changeBounds(l, t, r - l, b - t);
        return;
      default:
        break;
    }
  }
}

QString WinControl::hintText() const {
  return toQString(hint_);
}

bool WinControl::handleEvent(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
    case QEvent::Wheel:
      if (WinControl* top = topControl(); top && !top->windowAcceptsInput()) return true;
      break;
    default:
      break;
  }
  switch (event->type()) {
    case QEvent::KeyPress:
      return keyPress(watched, static_cast<QKeyEvent*>(event));
    case QEvent::KeyRelease:
      return keyRelease(watched, static_cast<QKeyEvent*>(event));
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
      if (passedOn(watched, static_cast<QMouseEvent*>(event)->position())) return false;
      return mouse(static_cast<QMouseEvent*>(event));
    case QEvent::Enter:
      fire(kOnMouseEnter);
      return false;
    case QEvent::Leave:
      fire(kOnMouseLeave);
      return false;
    case QEvent::Wheel: {
      if (passedOn(watched, static_cast<QWheelEvent*>(event)->position())) return false;
      const int notches = static_cast<QWheelEvent*>(event)->angleDelta().y() / 120;
      auto* focused = dynamic_cast<WinControl*>(targetAt(QApplication::focusWidget()));
      (focused ? focused : this)->fire(kOnMouseWheel, {Value(notches)});
      return false;
    }
    case QEvent::FocusIn:
      if (watched == widget_) focusIn();
      return false;
    case QEvent::FocusOut:
      if (watched == widget_) fire(kOnExit);
      return false;
    case QEvent::Resize:
      if (watched == contentWidget()) {
        fire(kOnResize);
        realign();
      }
      return false;
    case QEvent::Move:
      if (watched == widget_) fire(kOnMove);
      return false;
    case QEvent::Paint:
      return paint(watched, event);
    case QEvent::ContextMenu:
      if (auto* menu = libraryAs<Menu>(popupMenu)) {
        menu->popupAt(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
      }
      return false;
    default:
      return false;
  }
}

void WinControl::focusIn() {
  if (!isTopLevel()) {
    if (WinControl* top = topControl()) top->setActiveControl(this);
  }
  fire(kOnEnter);
}

bool WinControl::mouse(QMouseEvent* event) {
  QWidget* area = contentWidget();
  if (!area) return false;
  const QPoint p = area->mapFromGlobal(event->globalPosition().toPoint());
  const Value x(p.x()), y(p.y());
  const bool left = event->button() == Qt::LeftButton;
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
      if (left) {
        pressed_ = true;
        doublePress_ = event->type() == QEvent::MouseButtonDblClick;
        fire(kOnMouseDown, {x, y});
      }
      break;
    case QEvent::MouseMove:
      fire(kOnMouseMove, {x, y});
      break;
    case QEvent::MouseButtonRelease: {
      if (!left) break;
      const bool wasPressed = pressed_;
      pressed_ = false;
      Alive alive = this->alive();
      fire(kOnMouseUp, {x, y});
      if (!alive || !wasPressed || !area->rect().contains(p)) break;
      if (doublePress_) {
        fire(kOnDblClick);
      } else if (!clicksItself()) {
        click();
      }
      break;
    }
    default:
      break;
  }
  return false;
}

bool WinControl::routesPaint() const {
  if (paintsItself() || events().has(kOnPaint)) return true;
  // An application class that declares PaintWindow paints too.
  static const Symbol* paintWindow = getSymbol("PAINTWINDOW");
  const MessageEntry* e = findMessage(classOf(language()), paintWindow);
  return e && !isLibraryClassRecord(classByHandle(e->declaringClass));
}

bool WinControl::paint(QObject* watched, QEvent* event) {
  if (watched != contentWidget() || !routesPaint()) return false;
  static_cast<QObject*>(watched)->event(event);  // the widget's default content first
  QPainter painter(static_cast<QWidget*>(watched));
  paintContent(painter);
  DeviceContext dc(&painter);
  paintWindow(dc.handle());
  return true;
}

void WinControl::paintWindow(int dc) {
  if (!sendThroughLanguage("PaintWindow", {Value(dc)})) paintWindowImpl(dc);
}

void WinControl::paintWindowImpl(int dc) {
  fire(kOnPaint, {Value(dc)});
}

}  // namespace kv::ui
