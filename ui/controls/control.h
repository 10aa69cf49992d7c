#pragma once
// Controls: the base of every visible object of the library. A control keeps its own state
// (bounds relative to its parent's client area, caption, visibility, enabled state, hint,
// alignment, cargo) whether or not it has a window yet; its window follows that state. The
// owner of a control is also its parent when the owner is a window control.
//
// Bounds: SetBounds, SetPos, SetSize and the setters of Left, Top, Width and Height all end in
// one bounds operation, sent through the language object (SetBounds) when there is one, so an
// application class can override it.
#include <memory>
#include <string>

#include "ui/core/component.h"
#include "ui/graphics/cursor.h"
#include "ui/graphics/font.h"

namespace kv::ui {

class WinControl;
class Form;

class Control : public Component {
 public:
  int left() const { return left_; }
  int top() const { return top_; }
  int width() const { return width_; }
  int height() const { return height_; }
  // The bounds operation, through the language object.
  void changeBounds(int left, int top, int width, int height);
  // The library's own bounds operation (the SetBounds message).
  virtual void boundsImpl(int left, int top, int width, int height);
  // The client area: the size less borders.
  virtual int clientWidth() const { return width_; }
  virtual int clientHeight() const { return height_; }
  // Sizes the control so that its client area gets the given size.
  void setClientSize(int width, int height);

  const std::string& caption() const { return caption_; }
  virtual void setCaption(const std::string& caption);
  bool visible() const { return visible_; }
  virtual void setVisible(bool on);
  bool enabled() const { return enabled_; }
  virtual void setEnabled(bool on);
  const std::string& hint() const { return hint_; }
  void setHint(const std::string& hint) { hint_ = hint; }
  // 0 none, 1 top, 2 bottom, 3 left, 4 right, 5 client.
  int align() const { return align_; }
  void setAlign(int align);
  Value& cargo() { return cargo_; }

  // The window control the control lies in (its owner, when that is a window control).
  WinControl* parentControl() const;
  // The form the control lies on; a form answers itself.
  virtual Form* parentForm() const;

  // A click: hides the hint and fires OnClick.
  virtual void click();

  // The owned font and cursor (made on first use; their language objects are the read-only
  // Font and Cursor properties). The window follows their changes.
  Font* font();
  Cursor* cursor();
  const Value& fontObject();
  const Value& cursorObject();
  bool hasFont() const { return font_ != nullptr; }
  bool hasCursor() const { return cursor_ != nullptr; }

 protected:
  // The window follows the stored bounds, caption, visibility or enabled state.
  virtual void applyBounds() {}
  virtual void applyCaption() {}
  virtual void applyVisible() {}
  virtual void applyEnabled() {}
  virtual void applyFont() {}
  virtual void applyCursor() {}
  // Bounds that the window system changed (the user moved or sized a window).
  void storeBounds(int left, int top, int width, int height);
  // The parent lays its aligned children out again.
  void realignParent();

  int left_ = 0;
  int top_ = 0;
  int width_ = 0;
  int height_ = 0;
  std::string caption_;
  bool visible_ = true;
  bool enabled_ = true;
  std::string hint_;
  int align_ = 0;
  Value cargo_;
  std::unique_ptr<SubObject<Font>> font_;
  std::unique_ptr<SubObject<Cursor>> cursor_;
};

extern const LibClass kControlClass;

}  // namespace kv::ui
