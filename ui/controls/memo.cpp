#include "ui/controls/memo.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextCursor>

#include "runtime/lib/filefuncs.h"
#include "ui/core/keys.h"
#include "ui/core/messages.h"
#include "ui/core/text.h"

namespace kv::ui {

namespace {

// True when the code page holds every character of `text` (line ends included).
bool representable(const QString& text) {
  for (char32_t cp : text.toUcs4()) {
    unsigned char b;
    if (cp != '\n' && cp != '\r' && cp != '\t' && !toCp1250(cp, b)) return false;
  }
  return true;
}

// Only what the code page holds.
QString representablePart(const QString& text) {
  QString out;
  for (char32_t cp : text.toUcs4()) {
    unsigned char b;
    if (cp == '\n' || cp == '\r' || cp == '\t' || toCp1250(cp, b))
      out.append(QString::fromUcs4(&cp, 1));
  }
  return out;
}

// The memo's widget: pasted and dropped text keeps only what the code page holds.
class MemoWidget : public QPlainTextEdit {
 public:
  using QPlainTextEdit::QPlainTextEdit;

 protected:
  void insertFromMimeData(const QMimeData* source) override {
    if (source && source->hasText()) insertPlainText(representablePart(source->text()));
  }
};

void registerMemo(ClassDef* cls) {
  property<Memo>(
      cls, "Alignment", [](Memo& m) { return Value(m.alignment); },
      [](Memo& m, const Value& v, Args a) { intArg(v, m.alignment, "_ALIGNMENT", a); });
  property<Memo>(
      cls, "BorderStyle", [](Memo& m) { return Value(m.borderStyle); },
      [](Memo& m, const Value& v, Args a) { intArg(v, m.borderStyle, "_BORDERSTYLE", a); });
  property<Memo>(
      cls, "LeftMargin", [](Memo& m) { return Value(m.leftMargin); },
      [](Memo& m, const Value& v, Args a) { intArg(v, m.leftMargin, "_LEFTMARGIN", a); });
  property<Memo>(
      cls, "Lines", [](Memo& m) { return Value(m.lines()); },
      [](Memo& m, const Value& v, Args a) {
        std::string s;
        if (stringArg(v, s, "_LINES", a)) m.setLines(s);
      });
  method<Memo>(cls, "LoadFromFile", [](Memo& m, Args a) -> Value {
    std::string file;
    if (stringArg(arg(a, 0), file, "LOADFROMFILE", a)) m.loadFromFile(file);
    return Value();
  });
  property<Memo>(
      cls, "ReadOnly", [](Memo& m) { return Value(m.readOnly()); },
      [](Memo& m, const Value& v, Args a) {
        bool on;
        if (boolArg(v, on, "_READONLY", a)) m.setReadOnly(on);
      });
  property<Memo>(
      cls, "RightMargin", [](Memo& m) { return Value(m.rightMargin); },
      [](Memo& m, const Value& v, Args a) { intArg(v, m.rightMargin, "_RIGHTMARGIN", a); });
  property<Memo>(
      cls, "ScrollBars", [](Memo& m) { return Value(m.scrollBars); },
      [](Memo& m, const Value& v, Args a) { intArg(v, m.scrollBars, "_SCROLLBARS", a); });
  property<Memo>(
      cls, "SelLength", [](Memo& m) { return Value(m.selLength()); },
      [](Memo& m, const Value& v, Args a) {
        int n;
        if (intArg(v, n, "_SELLENGTH", a)) m.setSelection(m.selStart(), n);
      });
  property<Memo>(
      cls, "SelStart", [](Memo& m) { return Value(m.selStart()); },
      [](Memo& m, const Value& v, Args a) {
        int n;
        if (intArg(v, n, "_SELSTART", a)) m.setSelection(n, 0);
      });
  event<Memo>(cls, "OnChange", kOnChange);
}

LibObject* makeMemo() {
  return new Memo;
}

}  // namespace

const LibClass kMemoClass = {"TMemo", &kWinControlClass, &makeMemo, &registerMemo};

Value TMemo() {
  return classFunction(kMemoClass);
}

Memo::Memo() {
  width_ = 185;
  height_ = 89;
  setTabStop(true);
}

QWidget* Memo::makeWidget(QWidget* parent) {
  auto* w = new MemoWidget(parent);
  w->setFocusPolicy(Qt::StrongFocus);
  w->setTabChangesFocus(true);
  routeWidget(w->viewport());
  QObject::connect(w, &QPlainTextEdit::textChanged, [this, alive = this->alive()] {
    if (!alive || setting_) return;
    guarded([this] {
      if (auto* pw = qobject_cast<QPlainTextEdit*>(widget_.data())) {
        QString t = pw->toPlainText();
        t.replace(QChar('\n'), QStringLiteral("\r\n"));
        text_ = fromQString(t);
      }
      fire(kOnChange);
    });
  });
  return w;
}

void Memo::applyState() {
  WinControl::applyState();
  auto* w = qobject_cast<QPlainTextEdit*>(widget_.data());
  if (!w) return;
  w->setReadOnly(readOnly_);
  setting_ = true;
  w->setPlainText(displayText(text_));
  setting_ = false;
}

std::string Memo::lines() const {
  return text_;
}

void Memo::setLines(const std::string& text) {
  text_ = text;
  if (auto* w = qobject_cast<QPlainTextEdit*>(widget_.data())) {
    setting_ = true;
    w->setPlainText(displayText(text_));
    setting_ = false;
  }
}

void Memo::loadFromFile(const std::string& file) {
  const Value content = MEMOREAD(Value(file));
  setLines(content.isString() ? std::string(content.str()) : std::string());
}

void Memo::setReadOnly(bool on) {
  readOnly_ = on;
  if (auto* w = qobject_cast<QPlainTextEdit*>(widget_.data())) w->setReadOnly(on);
}

int Memo::selStart() const {
  auto* w = qobject_cast<QPlainTextEdit*>(widget_.data());
  return w ? w->textCursor().selectionStart() : 0;
}

int Memo::selLength() const {
  auto* w = qobject_cast<QPlainTextEdit*>(widget_.data());
  if (!w) return 0;
  const QTextCursor c = w->textCursor();
  return c.selectionEnd() - c.selectionStart();
}

void Memo::setSelection(int start, int length) {
  auto* w = qobject_cast<QPlainTextEdit*>(widget_.data());
  if (!w) return;
  QTextCursor c = w->textCursor();
  c.setPosition(std::max(0, start));
  c.movePosition(QTextCursor::Right, QTextCursor::KeepAnchor, std::max(0, length));
  w->setTextCursor(c);
}

bool Memo::handleEvent(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    // A character the code page cannot hold is dropped like a key the memo refuses.
    if (virtualKeyOf(key) == 0 && !representable(key->text())) return true;
  } else if (event->type() == QEvent::InputMethod) {
    auto* im = static_cast<QInputMethodEvent*>(event);
    if (!representable(im->commitString())) {
      if (auto* w = qobject_cast<QPlainTextEdit*>(widget_.data())) {
        w->insertPlainText(representablePart(im->commitString()));
      }
      return true;
    }
  }
  return WinControl::handleEvent(watched, event);
}

}  // namespace kv::ui
