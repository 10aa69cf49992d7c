#include "ui/controls/label.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>

#include "ui/core/messages.h"
#include "ui/core/text.h"

namespace kv::ui {

namespace {

Qt::Alignment qtAlignment(int alignment) {
  switch (alignment) {
    case 1:
      return Qt::AlignRight | Qt::AlignTop;
    case 2:
      return Qt::AlignHCenter | Qt::AlignTop;
    default:
      return Qt::AlignLeft | Qt::AlignTop;
  }
}

void registerLabel(ClassDef* cls) {
  property<Label>(
      cls, "Alignment", [](Label& l) { return Value(l.alignment()); },
      [](Label& l, const Value& v, Args a) {
        int n;
        if (intArg(v, n, "_ALIGNMENT", a)) l.setAlignment(n);
      });
  property<Label>(
      cls, "AutoSize", [](Label& l) { return Value(l.autoSize()); },
      [](Label& l, const Value& v, Args a) {
        bool on;
        if (boolArg(v, on, "_AUTOSIZE", a)) l.setAutoSize(on);
      });
  property<Label>(
      cls, "BorderStyle", [](Label& l) { return Value(l.borderStyle); },
      [](Label& l, const Value& v, Args a) { intArg(v, l.borderStyle, "_BORDERSTYLE", a); });
  property<Label>(
      cls, "Transparent", [](Label& l) { return Value(l.transparent); },
      [](Label& l, const Value& v, Args a) { boolArg(v, l.transparent, "_TRANSPARENT", a); });
  property<Label>(
      cls, "WordWrap", [](Label& l) { return Value(l.wordWrap()); },
      [](Label& l, const Value& v, Args a) {
        bool on;
        if (boolArg(v, on, "_WORDWRAP", a)) l.setWordWrap(on);
      });
}

LibObject* makeLabel() {
  return new Label;
}

}  // namespace

const LibClass kLabelClass = {"TLabel", &kWinControlClass, &makeLabel, &registerLabel};

Value TLabel() {
  return classFunction(kLabelClass);
}

Label::Label() {
  width_ = 65;
  height_ = 13;
}

QWidget* Label::makeWidget(QWidget* parent) {
  auto* w = new QLabel(parent);
  w->setTextFormat(Qt::PlainText);
  w->setFocusPolicy(Qt::NoFocus);
  w->setAlignment(qtAlignment(alignment_));
  w->setWordWrap(wordWrap_);
  return w;
}

void Label::applyCaption() {
  if (auto* w = qobject_cast<QLabel*>(widget_.data())) w->setText(displayText(caption_));
}

void Label::applyFont() {
  WinControl::applyFont();
  fitToText();
}

void Label::setCaption(const std::string& caption) {
  WinControl::setCaption(caption);
  fitToText();
}

void Label::setAutoSize(bool on) {
  autoSize_ = on;
  fitToText();
}

void Label::setAlignment(int alignment) {
  alignment_ = alignment;
  if (auto* w = qobject_cast<QLabel*>(widget_.data())) w->setAlignment(qtAlignment(alignment));
}

void Label::setWordWrap(bool on) {
  wordWrap_ = on;
  if (auto* w = qobject_cast<QLabel*>(widget_.data())) w->setWordWrap(on);
  fitToText();
}

QSize Label::textSize() const {
  const QFont font = widget_ ? widget_->font() : QApplication::font();
  const QFontMetrics fm(font);
  const QString text = displayText(caption_);
  if (text.isEmpty()) return QSize(0, fm.height());
  const int flags =
      Qt::AlignLeft | Qt::AlignTop | Qt::TextExpandTabs | (wordWrap_ ? Qt::TextWordWrap : 0);
  const int room = wordWrap_ ? width_ : 0x3FFFFF;
  return fm.boundingRect(QRect(0, 0, room, 0x3FFFFF), flags, text).size();
}

void Label::fitToText() {
  if (!autoSize_) return;
  const QSize s = textSize();
  changeBounds(left_, top_, wordWrap_ ? width_ : s.width(), s.height());
}

}  // namespace kv::ui
