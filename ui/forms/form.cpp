#include "ui/forms/form.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMenuBar>
#include <QMoveEvent>
#include <QVBoxLayout>
#include <QWidget>

#include <algorithm>

#include "ui/core/messages.h"
#include "ui/core/text.h"
#include "ui/forms/application.h"
#include "ui/forms/bordericons.h"
#include "ui/forms/screen.h"
#include "ui/menus/menu.h"

namespace kv::ui {

namespace {

LibObject* makeForm() {
  return new Form;
}

}  // namespace

void registerFormMessages(ClassDef* cls);  // form_messages.cpp

const LibClass kFormClass = {"TForm", &kWinControlClass, &makeForm, &registerFormMessages};

Value TForm() {
  return classFunction(kFormClass);
}

FrameExtents frameExtents(int borderStyle) {
  switch (borderStyle) {
    case 0:
      return {0, 0};
    case 2:
      return {26, 4};
    case 4:
      return {20, 3};
    case 5:
      return {20, 4};
    default:  // 1 single, 3 dialog
      return {26, 3};
  }
}

Form::Form() {
  width_ = 320;
  height_ = 240;
  visible_ = false;
  borderIconsObject_ = classFunction(kBorderIconsClass);
  borderIcons_ = libraryAs<BorderIcons>(borderIconsObject_);
  if (borderIcons_) borderIcons_->form = this;
}

Form::~Form() {
  removeScreenForm(this);
  if (borderIcons_) {
    borderIcons_->form = nullptr;
    borderIcons_->destroyImpl();
  }
}

void Form::createImpl(Args args) {
  WinControl::createImpl(args);
  addScreenForm(this);
}

void Form::release() {
  fire(kOnDestroy);
  if (Application* app = application(); app && app->mainForm() == this) app->setMainForm(nullptr);
  removeScreenForm(this);
  WinControl::release();
  menu = Value();
  if (borderIcons_) {
    BorderIcons* icons = borderIcons_;
    borderIcons_ = nullptr;
    icons->form = nullptr;
    icons->destroyImpl();
  }
  borderIconsObject_ = Value();
}

QWidget* Form::clientWidget() {
  window();
  return client_;
}

int Form::frameWidth() const {
  return 2 * frameExtents(borderStyle_).border;
}

int Form::frameHeight() const {
  FrameExtents e = frameExtents(borderStyle_);
  return e.caption + 2 * e.border;
}

int Form::clientWidth() const {
  return std::max(0, width_ - frameWidth());
}

int Form::clientHeight() const {
  return std::max(0, height_ - frameHeight() - menuBarHeight());
}

int Form::menuBarHeight() const {
  return menuBar_ ? menuBar_->sizeHint().height() : 0;
}

void Form::setMenuBar(QMenuBar* bar) {
  if (menuBar_ && menuBar_ != bar) {
    menuBar_->hide();
    menuBar_->setParent(nullptr);
  }
  menuBar_ = bar;
  if (!layout_ || !widget_) return;
  layout_->setMenuBar(bar);
  if (bar) bar->show();
  applyBounds();
  realign();
}

bool Form::sizeable() const {
  if (borderStyle_ == 2 || borderStyle_ == 5) return true;
  return formStyle_ == 1 && (borderStyle_ == 0 || borderStyle_ == 3);
}

QWidget* Form::makeWidget(QWidget*) {
  auto* frame = new QWidget(nullptr, Qt::Window);
  layout_ = new QVBoxLayout(frame);
  layout_->setContentsMargins(0, 0, 0, 0);
  layout_->setSpacing(0);
  client_ = new QWidget(frame);
  layout_->addWidget(client_);
  routeWidget(client_);
  // A window made again shows the menu bar of the form's menu again.
  if (Menu* m = libraryAs<Menu>(menu)) {
    menuBar_ = m->menuBar();
    layout_->setMenuBar(menuBar_);
  }
  return frame;
}

void Form::applyWindowStyle() {
  if (!widget_ || !borderIcons_) return;
  const bool wasVisible = widget_->isVisible();
  Qt::WindowFlags f = Qt::CustomizeWindowHint;
  switch (borderStyle_) {
    case 0:
      f |= Qt::Window | Qt::FramelessWindowHint;
      break;
    case 3:
      f |= Qt::Dialog | Qt::WindowTitleHint;
      break;
    case 4:
    case 5:
      f |= Qt::Tool | Qt::WindowTitleHint;
      break;
    default:
      f |= Qt::Window | Qt::WindowTitleHint;
      break;
  }
  const BorderIcons& icons = *borderIcons_;
  if (borderStyle_ != 0) {
    if (icons.systemMenu) f |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    // Only windows with an ordinary caption carry the minimise and maximise boxes.
    const bool boxes =
        (icons.systemMenu || formStyle_ != 1) && (borderStyle_ == 1 || borderStyle_ == 2);
    if (boxes && icons.minimize) f |= Qt::WindowMinimizeButtonHint;
    if (boxes && icons.maximize) f |= Qt::WindowMaximizeButtonHint;
    if (icons.help) f |= Qt::WindowContextHelpButtonHint;
  }
  if (widget_->windowFlags() != f) widget_->setWindowFlags(f);
  applyBounds();
  if (wasVisible) widget_->show();
}

void Form::applyState() {
  applyWindowStyle();
  WinControl::applyState();
  if (icon_ && icon_->get() && !icon_->get()->empty())
    widget_->setWindowIcon(icon_->get()->qicon());
}

Icon* Form::icon() {
  if (!icon_) {
    icon_ = std::make_unique<SubObject<Icon>>(kIconClass, this, [this] {
      if (widget_ && icon_ && icon_->get()) widget_->setWindowIcon(icon_->get()->qicon());
    });
  }
  return icon_->get();
}

const Value& Form::iconObject() {
  icon();
  return icon_->object();
}

void Form::applyConstraints(int cw, int ch) {
  if (!sizeable()) {
    widget_->setMinimumSize(0, 0);
    widget_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    widget_->setFixedSize(cw, ch);
    return;
  }
  const int fw = frameWidth(), fh = frameHeight();
  auto lower = [](int limit, int frame) { return limit > 0 ? std::max(0, limit - frame) : 0; };
  auto upper = [](int limit, int frame) {
    return limit > 0 ? std::max(0, limit - frame) : QWIDGETSIZE_MAX;
  };
  widget_->setMinimumSize(lower(limits_[kMinWidth], fw), lower(limits_[kMinHeight], fh));
  widget_->setMaximumSize(upper(limits_[kMaxWidth], fw), upper(limits_[kMaxHeight], fh));
  widget_->resize(cw, ch);
}

void Form::applyBounds() {
  // The window system holds a window within its size limits whoever sizes it (the user,
  // maximising, the program), so the size kept is the one the window gets.
  auto held = [this](int size, Limit low, Limit high) {
    if (limits_[high] > 0) size = std::min(size, limits_[high]);
    if (limits_[low] > 0) size = std::max(size, limits_[low]);
    return size;
  };
  width_ = held(width_, kMinWidth, kMaxWidth);
  height_ = held(height_, kMinHeight, kMaxHeight);
  if (!widget_) return;
  applyConstraints(clientWidth(), std::max(0, height_ - frameHeight()));
  // Default positions leave the first placing to the desktop.
  if (shownOnce_ || (position != 1 && position != 2)) widget_->move(left_, top_);
}

void Form::applyCaption() {
  if (widget_) widget_->setWindowTitle(displayText(caption_));
}

void Form::setBorderStyle(int style) {
  if (style < 0 || style > 5) return;
  borderStyle_ = style;
  applyWindowStyle();
}

void Form::setFormStyle(int style) {
  if (style == 1) {
    Application* app = application();
    Form* main = app ? app->mainForm() : nullptr;
    if (!main || main->formStyle() != 2) {
      Value given(style);
      guiError(kGuiNoMdiForm, "_FORMSTYLE", Args(&given, 1));
      return;
    }
  }
  formStyle_ = style;
  applyWindowStyle();
}

int Form::windowState() const {
  if (widget_ && visible_) {
    if (widget_->isMinimized()) return 1;
    if (widget_->isMaximized()) return 2;
    return 0;
  }
  return windowState_;
}

void Form::setWindowState(int state) {
  windowState_ = state;
  if (!widget_ || !visible_ || !widget_->isVisible()) return;
  if (state == 1) {
    widget_->showMinimized();
  } else if (state == 2) {
    widget_->showMaximized();
  } else {
    widget_->showNormal();
  }
}

void Form::setLimit(Limit which, int value) {
  limits_[which] = std::max(0, value);
  applyBounds();
  realign();
}

void Form::userMovedOrSized() {
  if (!widget_ || !widget_->isVisible()) return;
  storeBounds(widget_->x(), widget_->y(), widget_->width() + frameWidth(),
              widget_->height() + frameHeight());
}

bool Form::handleEvent(QObject* watched, QEvent* event) {
  if (watched == widget_) {
    switch (event->type()) {
      case QEvent::Close:
        event->ignore();
        close();
        return true;
      case QEvent::Resize: {
        // A window system that sizes the window beyond its limits (maximising it on a screen
        // without a window manager) is overruled: the window keeps within them.
        const QSize now = widget_->size();
        const QSize held = now.expandedTo(widget_->minimumSize()).boundedTo(widget_->maximumSize());
        if (held != now) {
          widget_->resize(held);
          return false;
        }
        userMovedOrSized();
        return false;
      }
      case QEvent::Move: {
        // The user may not move the window beyond the smallest left and top edges.
        if (event->spontaneous() && (limits_[kMinLeft] > 0 || limits_[kMinTop] > 0)) {
          const QPoint p = widget_->pos();
          const QPoint q(std::max(p.x(), limits_[kMinLeft]), std::max(p.y(), limits_[kMinTop]));
          if (q != p) widget_->move(q);
        }
        userMovedOrSized();
        break;
      }
      default:
        break;
    }
  }
  return WinControl::handleEvent(watched, event);
}

}  // namespace kv::ui
