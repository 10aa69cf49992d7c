// Forms: showing and hiding, placing by Position, ShowModal and Close.
#include <QApplication>
#include <QPointer>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <vector>

#include "ui/core/hintwindow.h"
#include "ui/core/messageloop.h"
#include "ui/core/stacking.h"
#include "ui/forms/application.h"
#include "ui/forms/form.h"
#include "ui/forms/screen.h"

namespace kv::ui {

namespace {

bool windowExposed(void* ctx) {
  auto* w = static_cast<QWidget*>(ctx);
  return !w || !w->isVisible() || w->isMinimized() ||
         (w->windowHandle() && w->windowHandle()->isExposed());
}

Form* formOfWindow(QWidget* w) {
  return w ? dynamic_cast<Form*>(targetOf(w)) : nullptr;
}

}  // namespace

void Form::setVisible(bool on) {
  if (on) {
    showForm();
  } else {
    hideForm();
  }
}

void Form::showForm() {
  if (visible_ && widget_ && widget_->isVisible()) return;
  Alive alive = this->alive();
  visible_ = true;
  fire(kOnShow);
  if (!alive || !visible_) return;
  QWidget* w = window();
  if (!w) return;
  place();
  if (!alive || !visible_) return;
  const int state = borderStyle_ >= 3 ? 0 : windowState_;
  if (state == 1) {
    w->showMinimized();
  } else if (state == 2) {
    w->showMaximized();
  } else {
    w->showNormal();
    bringWindowToTop(w);
  }
  shownOnce_ = true;
  WinControl* focus = activeControl();
  if (!focus) focus = nextInTabOrder(this, nullptr, true, true, false);
  if (focus) focus->setFocus();
  // Bring the window up to date before the caller goes on (a wait box must be drawn).
  updateWindows(&windowExposed, w, 200);
}

void Form::hideForm() {
  Alive alive = this->alive();
  fire(kOnHide);
  if (!alive) return;
  if (widget_) widget_->hide();
  visible_ = false;
}

void Form::place() {
  if (position != 4 && position != 5) return;
  int left = (screenWidth() - width_) / 2;
  int top = (screenHeight() - height_) / 2;
  if (position == 5) {
    Form* active = formOfWindow(QApplication::activeWindow());
    if (active && active != this && active->windowState() != 1) {
      left = active->left() + (active->width() - width_) / 2;
      top = active->top() + (active->height() - height_) / 2;
    }
  }
  changeBounds(std::max(left, 0), std::max(top, 0), width_, height_);
}

void Form::showModal() {
  if (modal_ || visible_) return;
  Alive alive = this->alive();
  if (QWidget* grabber = QWidget::mouseGrabber()) grabber->releaseMouse();
  hideHint();
  modalResult_ = 0;
  QPointer<QWidget> previous = QApplication::activeWindow();
  if (QWidget* w = window()) w->setWindowModality(Qt::ApplicationModal);
  showForm();
  if (!alive) return;
  if (!visible_) {
    if (widget_) widget_->setWindowModality(Qt::NonModal);
    return;
  }
  // Every other visible, enabled form stops taking input until the modal loop ends, also when
  // the loop is left by an error.
  struct Disabled {
    Form* form;
    Alive alive;
  };
  struct Reenable {
    std::vector<Disabled> forms;
    ~Reenable() {
      for (Disabled& d : forms) {
        if (d.alive) d.form->setWindowEnabled(true);
      }
    }
  } reenable;
  for (Form* f : screenForms()) {
    if (f != this && f->visible() && f->enabled() && f->windowEnabled()) {
      f->setWindowEnabled(false);
      reenable.forms.push_back({f, f->alive()});
    }
  }
  struct ModalFlag {
    Form* form;
    Alive alive;
    ~ModalFlag() {
      if (alive) form->modal_ = false;
    }
  } modalFlag{this, alive};
  modal_ = true;
  while (alive && modalResult_ == 0 && !terminated()) messageStep();
  if (!alive) return;
  modal_ = false;
  for (Disabled& d : reenable.forms) {
    if (d.alive) d.form->setWindowEnabled(true);
  }
  reenable.forms.clear();
  bringWindowToTop(previous);
  closingAfterModal_ = true;
  close();
  if (!alive) return;
  closingAfterModal_ = false;
  if (widget_) {
    // A form that stayed visible (its OnClose refused) must not keep blocking the others.
    const bool shown = widget_->isVisible();
    if (shown) widget_->hide();
    widget_->setWindowModality(Qt::NonModal);
    if (shown) widget_->show();
  }
  if (previous) previous->update();
}

void Form::close() {
  Alive alive = this->alive();
  if (closingAfterModal_) {
    closingAfterModal_ = false;
  } else {
    if (events().has(kOnCloseQuery)) {
      ByRef mayClose{Value(true)};
      fire(kOnCloseQuery, {mayClose.arg()});
      if (!alive) return;
      if (mayClose.value().isLogical() && !mayClose.value().asBool()) return;
    }
    if (modal_ && modalResult_ == 0) {
      modalResult_ = 2;
      return;
    }
  }
  int action = 1;
  if (events().has(kOnClose)) {
    ByRef closeAction{Value(1)};
    fire(kOnClose, {closeAction.arg()});
    if (!alive) return;
    if (closeAction.value().isNumber()) action = closeAction.value().asInt();
  }
  if (action == 0) return;
  Application* app = application();
  if (app && app->mainForm() == this) {
    postQuitMessage();
    return;
  }
  if (action == 1) {
    hideForm();
  } else if (action == 3) {
    if (widget_) widget_->showMinimized();
  } else {
    destroyWindow();
    visible_ = false;
  }
}

}  // namespace kv::ui
