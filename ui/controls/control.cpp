#include "ui/controls/control.h"

#include "ui/controls/wincontrol.h"
#include "ui/core/hintwindow.h"
#include "ui/core/messages.h"

namespace kv::ui {

namespace {

void registerControl(ClassDef* cls) {
  property<Control>(
      cls, "Align", [](Control& c) { return Value(c.align()); },
      [](Control& c, const Value& v, Args a) {
        int n;
        if (intArg(v, n, "_ALIGN", a)) c.setAlign(n);
      });
  property<Control>(
      cls, "Caption", [](Control& c) { return Value(c.caption()); },
      [](Control& c, const Value& v, Args a) {
        std::string s;
        if (stringArg(v, s, "_CAPTION", a)) c.setCaption(s);
      });
  property<Control>(
      cls, "Cargo", [](Control& c) { return c.cargo(); },
      [](Control& c, const Value& v, Args) { c.cargo() = v.deref(); });
  property<Control>(
      cls, "ClientHeight", [](Control& c) { return Value(c.clientHeight()); },
      [](Control& c, const Value& v, Args a) {
        int n;
        if (intArg(v, n, "_CLIENTHEIGHT", a)) c.setClientSize(c.clientWidth(), n);
      });
  property<Control>(
      cls, "ClientWidth", [](Control& c) { return Value(c.clientWidth()); },
      [](Control& c, const Value& v, Args a) {
        int n;
        if (intArg(v, n, "_CLIENTWIDTH", a)) c.setClientSize(n, c.clientHeight());
      });
  readOnly<Control>(cls, "Cursor", [](Control& c) { return c.cursorObject(); });
  property<Control>(
      cls, "Enabled", [](Control& c) { return Value(c.enabled()); },
      [](Control& c, const Value& v, Args a) {
        bool on;
        if (boolArg(v, on, "_ENABLED", a)) c.setEnabled(on);
      });
  readOnly<Control>(cls, "Font", [](Control& c) { return c.fontObject(); });
  property<Control>(
      cls, "Height", [](Control& c) { return Value(c.height()); },
      [](Control& c, const Value& v, Args a) {
        int n;
        if (intArg(v, n, "_HEIGHT", a)) c.changeBounds(c.left(), c.top(), c.width(), n);
      });
  property<Control>(
      cls, "Hint", [](Control& c) { return Value(c.hint()); },
      [](Control& c, const Value& v, Args a) {
        std::string s;
        if (stringArg(v, s, "_HINT", a)) c.setHint(s);
      });
  property<Control>(
      cls, "Left", [](Control& c) { return Value(c.left()); },
      [](Control& c, const Value& v, Args a) {
        int n;
        if (intArg(v, n, "_LEFT", a)) c.changeBounds(n, c.top(), c.width(), c.height());
      });
  event<Control>(cls, "OnClick", kOnClick);
  event<Control>(cls, "OnDblClick", kOnDblClick);
  event<Control>(cls, "OnMove", kOnMove);
  event<Control>(cls, "OnMouseDown", kOnMouseDown);
  event<Control>(cls, "OnMouseEnter", kOnMouseEnter);
  event<Control>(cls, "OnMouseLeave", kOnMouseLeave);
  event<Control>(cls, "OnMouseMove", kOnMouseMove);
  event<Control>(cls, "OnMouseUp", kOnMouseUp);
  event<Control>(cls, "OnMouseWheel", kOnMouseWheel);
  event<Control>(cls, "OnResize", kOnResize);
  method<Control>(cls, "SetBounds", [](Control& c, Args a) -> Value {
    int l, t, w, h;
    if (intArg(arg(a, 0), l, "SETBOUNDS", a) && intArg(arg(a, 1), t, "SETBOUNDS", a) &&
        intArg(arg(a, 2), w, "SETBOUNDS", a) && intArg(arg(a, 3), h, "SETBOUNDS", a)) {
      c.boundsImpl(l, t, w, h);
    }
    return Value();
  });
  method<Control>(cls, "SetPos", [](Control& c, Args a) -> Value {
    int l, t;
    if (intArg(arg(a, 0), l, "SETPOS", a) && intArg(arg(a, 1), t, "SETPOS", a)) {
      c.changeBounds(l, t, c.width(), c.height());
    }
    return Value();
  });
  method<Control>(cls, "SetSize", [](Control& c, Args a) -> Value {
    int w, h;
    if (intArg(arg(a, 0), w, "SETSIZE", a) && intArg(arg(a, 1), h, "SETSIZE", a)) {
      c.changeBounds(c.left(), c.top(), w, h);
    }
    return Value();
  });
  property<Control>(
      cls, "Top", [](Control& c) { return Value(c.top()); },
      [](Control& c, const Value& v, Args a) {
        int n;
        if (intArg(v, n, "_TOP", a)) c.changeBounds(c.left(), n, c.width(), c.height());
      });
  property<Control>(
      cls, "Visible", [](Control& c) { return Value(c.visible()); },
      [](Control& c, const Value& v, Args a) {
        bool on;
        if (boolArg(v, on, "_VISIBLE", a)) c.setVisible(on);
      });
  property<Control>(
      cls, "Width", [](Control& c) { return Value(c.width()); },
      [](Control& c, const Value& v, Args a) {
        int n;
        if (intArg(v, n, "_WIDTH", a)) c.changeBounds(c.left(), c.top(), n, c.height());
      });
}

}  // namespace

const LibClass kControlClass = {"TControl", &kComponentClass, nullptr, &registerControl};

void Control::changeBounds(int left, int top, int width, int height) {
  if (!sendThroughLanguage("SetBounds", {Value(left), Value(top), Value(width), Value(height)})) {
    boundsImpl(left, top, width, height);
  }
}

void Control::boundsImpl(int left, int top, int width, int height) {
  if (width < 0) width = 0;
  if (height < 0) height = 0;
  const bool changed = left != left_ || top != top_ || width != width_ || height != height_;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  applyBounds();
  if (changed && align_ != 0) realignParent();
}

void Control::setClientSize(int width, int height) {
  changeBounds(left_, top_, width + (width_ - clientWidth()), height + (height_ - clientHeight()));
}

void Control::setCaption(const std::string& caption) {
  caption_ = caption;
  applyCaption();
}

void Control::setVisible(bool on) {
  if (on == visible_) return;
  visible_ = on;
  applyVisible();
  if (align_ != 0) realignParent();
}

void Control::setEnabled(bool on) {
  enabled_ = on;
  applyEnabled();
}

void Control::setAlign(int align) {
  if (align == align_) return;
  align_ = align;
  realignParent();
}

WinControl* Control::parentControl() const {
  return dynamic_cast<WinControl*>(owner());
}

Form* Control::parentForm() const {
  WinControl* p = parentControl();
  return p ? p->parentForm() : nullptr;
}

void Control::click() {
  hideHint();
  fire(kOnClick);
}

Font* Control::font() {
  if (!font_) font_ = std::make_unique<SubObject<Font>>(kFontClass, this, [this] { applyFont(); });
  return font_->get();
}

Cursor* Control::cursor() {
  if (!cursor_) {
    cursor_ = std::make_unique<SubObject<Cursor>>(kCursorClass, this, [this] { applyCursor(); });
  }
  return cursor_->get();
}

const Value& Control::fontObject() {
  font();
  return font_->object();
}

const Value& Control::cursorObject() {
  cursor();
  return cursor_->object();
}

void Control::storeBounds(int left, int top, int width, int height) {
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
}

void Control::realignParent() {
  if (WinControl* p = parentControl()) p->realign();
}

}  // namespace kv::ui
