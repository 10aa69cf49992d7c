#include "ui/controls/speedbutton.h"

#include <QPushButton>

#include "ui/core/messages.h"

namespace kv::ui {

namespace {

void registerSpeedButton(ClassDef* cls) {
  readOnly<SpeedButton>(cls, "Glyph", [](SpeedButton& b) { return b.glyphObject(); });
}

LibObject* makeSpeedButton() {
  return new SpeedButton;
}

}  // namespace

const LibClass kSpeedButtonClass = {"TSpeedButton", &kButtonClass, &makeSpeedButton,
                                    &registerSpeedButton};

Value TSpeedButton() {
  return classFunction(kSpeedButtonClass);
}

SpeedButton::SpeedButton() : glyph_(kPictureClass, this, [this] { applyGlyph(); }) {
  width_ = 23;
  height_ = 22;
}

QWidget* SpeedButton::makeWidget(QWidget* parent) {
  QWidget* w = Button::makeWidget(parent);
  if (auto* b = qobject_cast<QPushButton*>(w)) b->setFlat(false);
  return w;
}

void SpeedButton::applyState() {
  Button::applyState();
  applyGlyph();
}

void SpeedButton::release() {
  Button::release();
  glyph_.reset();
}

void SpeedButton::applyGlyph() {
  auto* w = qobject_cast<QPushButton*>(widget_.data());
  Picture* p = glyph();
  if (!w || !p) return;
  const QPixmap pm = p->pixmap();
  w->setIcon(pm.isNull() ? QIcon() : QIcon(pm));
  if (!pm.isNull()) w->setIconSize(pm.size());
}

}  // namespace kv::ui
