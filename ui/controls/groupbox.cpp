#include "ui/controls/groupbox.h"

#include <QGroupBox>

#include "ui/core/messages.h"
#include "ui/core/text.h"

namespace kv::ui {

namespace {

Qt::Alignment qtAlignment(int alignment) {
  return alignment == 1 ? Qt::AlignRight : alignment == 2 ? Qt::AlignHCenter : Qt::AlignLeft;
}

void registerGroupBox(ClassDef* cls) {
  property<GroupBox>(
      cls, "Alignment", [](GroupBox& g) { return Value(g.alignment()); },
      [](GroupBox& g, const Value& v, Args a) {
        int n;
        if (intArg(v, n, "_ALIGNMENT", a)) g.setAlignment(n);
      });
}

LibObject* makeGroupBox() {
  return new GroupBox;
}

}  // namespace

const LibClass kGroupBoxClass = {"TGroupBox", &kWinControlClass, &makeGroupBox, &registerGroupBox};

Value TGroupBox() {
  return classFunction(kGroupBoxClass);
}

GroupBox::GroupBox() {
  width_ = 185;
  height_ = 105;
}

QWidget* GroupBox::makeWidget(QWidget* parent) {
  auto* w = new QGroupBox(parent);
  w->setFocusPolicy(Qt::NoFocus);
  w->setAlignment(qtAlignment(alignment_));
  return w;
}

void GroupBox::applyCaption() {
  if (auto* w = qobject_cast<QGroupBox*>(widget_.data())) w->setTitle(displayText(caption_));
}

void GroupBox::setAlignment(int alignment) {
  alignment_ = alignment;
  if (auto* w = qobject_cast<QGroupBox*>(widget_.data())) w->setAlignment(qtAlignment(alignment));
}

}  // namespace kv::ui
