#include "ui/controls/panel.h"

#include <QFrame>
#include <QPainter>

#include "ui/core/messages.h"
#include "ui/core/text.h"

namespace kv::ui {

namespace {

void registerPanel(ClassDef* cls) {
  property<Panel>(
      cls, "Alignment", [](Panel& p) { return Value(p.alignment); },
      [](Panel& p, const Value& v, Args a) {
        if (intArg(v, p.alignment, "_ALIGNMENT", a) && p.windowIfMade()) p.windowIfMade()->update();
      });
  property<Panel>(
      cls, "BevelInner", [](Panel& p) { return Value(p.bevelInner); },
      [](Panel& p, const Value& v, Args a) { intArg(v, p.bevelInner, "_BEVELINNER", a); });
  property<Panel>(
      cls, "BevelOuter", [](Panel& p) { return Value(p.bevelOuter()); },
      [](Panel& p, const Value& v, Args a) {
        int n;
        if (intArg(v, n, "_BEVELOUTER", a)) p.setBevelOuter(n);
      });
  property<Panel>(
      cls, "Transparent", [](Panel& p) { return Value(p.transparent); },
      [](Panel& p, const Value& v, Args a) { boolArg(v, p.transparent, "_TRANSPARENT", a); });
}

LibObject* makePanel() {
  return new Panel;
}

}  // namespace

const LibClass kPanelClass = {"TPanel", &kWinControlClass, &makePanel, &registerPanel};

Value TPanel() {
  return classFunction(kPanelClass);
}

Panel::Panel() {
  width_ = 185;
  height_ = 41;
}

QWidget* Panel::makeWidget(QWidget* parent) {
  auto* w = new QFrame(parent);
  w->setFocusPolicy(Qt::NoFocus);
  widget_ = w;
  applyBevel();
  return w;
}

void Panel::setBevelOuter(int bevel) {
  bevelOuter_ = bevel;
  applyBevel();
}

void Panel::applyBevel() {
  auto* w = qobject_cast<QFrame*>(widget_.data());
  if (!w) return;
  switch (bevelOuter_) {
    case 1:
      w->setFrameStyle(QFrame::Panel | QFrame::Sunken);
      break;
    case 2:
      w->setFrameStyle(QFrame::Panel | QFrame::Raised);
      break;
    default:
      w->setFrameStyle(QFrame::NoFrame);
      break;
  }
  w->setLineWidth(1);
}

int Panel::clientWidth() const {
  return bevelOuter_ ? std::max(0, width_ - 2) : width_;
}

int Panel::clientHeight() const {
  return bevelOuter_ ? std::max(0, height_ - 2) : height_;
}

void Panel::applyCaption() {
  if (widget_) widget_->update();
}

void Panel::paintContent(QPainter& painter) {
  if (caption_.empty() || !widget_) return;
  Qt::Alignment align = Qt::AlignVCenter;
  align |= alignment == 0 ? Qt::AlignLeft : alignment == 1 ? Qt::AlignRight : Qt::AlignHCenter;
  painter.setFont(widget_->font());
  painter.setPen(widget_->palette().color(QPalette::WindowText));
  painter.drawText(widget_->rect().adjusted(2, 2, -2, -2), static_cast<int>(align),
                   displayText(caption_));
}

}  // namespace kv::ui
