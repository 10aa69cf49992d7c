#include "ui/controls/labelededit.h"

#include "runtime/lang/classes.h"
#include "ui/controls/label.h"
#include "ui/core/messages.h"

namespace kv::ui {

namespace {

void registerLabeledEdit(ClassDef* cls) {
  registerEditMessages(cls);
  readOnly<LabeledEdit>(cls, "EditLabel", [](LabeledEdit& e) { return e.labelObject(); });
  property<LabeledEdit>(
      cls, "LabelCaption",
      [](LabeledEdit& e) {
        Label* l = e.label();
        return Value(l ? l->caption() : std::string());
      },
      [](LabeledEdit& e, const Value& v, Args a) {
        std::string s;
        if (!stringArg(v, s, "_LABELCAPTION", a)) return;
        if (Label* l = e.label()) l->setCaption(s);
        e.placeLabel();
      });
  property<LabeledEdit>(
      cls, "LabelPosition", [](LabeledEdit& e) { return Value(e.labelPosition()); },
      [](LabeledEdit& e, const Value& v, Args a) {
        int n;
        if (intArg(v, n, "_LABELPOSITION", a)) e.setLabelPosition(n);
      });
  property<LabeledEdit>(
      cls, "LabelSpacing", [](LabeledEdit& e) { return Value(e.labelSpacing()); },
      [](LabeledEdit& e, const Value& v, Args a) {
        int n;
        if (intArg(v, n, "_LABELSPACING", a)) e.setLabelSpacing(n);
      });
}

LibObject* makeLabeledEdit() {
  return new LabeledEdit;
}

}  // namespace

const LibClass kLabeledEditClass = {"TLabeledEdit", &kEditClass, &makeLabeledEdit,
                                    &registerLabeledEdit};

Value TLabeledEdit() {
  return classFunction(kLabeledEditClass);
}

LabeledEdit::LabeledEdit() = default;

Label* LabeledEdit::label() const {
  return libraryAs<Label>(label_);
}

void LabeledEdit::createImpl(Args args) {
  Edit::createImpl(args);
  if (!alive() || destroying()) return;
  label_ = TLabel();
  send(label_, "Create", {owner() ? owner()->language() : Value()});
  if (Label* l = label()) l->setCaption("Label:");
  placeLabel();
}

void LabeledEdit::release() {
  Value label = label_;
  label_ = Value();
  if (LibObject* l = libraryOf(label)) l->destroy();
  Edit::release();
}

void LabeledEdit::boundsImpl(int left, int top, int width, int height) {
  Edit::boundsImpl(left, top, width, height);
  placeLabel();
}

void LabeledEdit::setLabelPosition(int position) {
  labelPosition_ = position;
  placeLabel();
}

void LabeledEdit::setLabelSpacing(int spacing) {
  labelSpacing_ = spacing;
  placeLabel();
}

void LabeledEdit::placeLabel() {
  Label* l = label();
  if (!l) return;
  const int lw = l->width();
  const int lh = l->height();
  const int s = labelSpacing_;
  int x = left_;
  int y = top_;
  switch (labelPosition_) {
    case 1:
      y = top_ + height_ + s;
      break;
    case 2:
      x = left_ - s - lw;
      y = top_ + (height_ - lh) / 2;
      break;
    case 3:
      x = left_ + width_ + s;
      y = top_ + (height_ - lh) / 2;
      break;
    default:
      y = top_ - s - lh;
      break;
  }
  l->changeBounds(x, y, lw, lh);
}

}  // namespace kv::ui
