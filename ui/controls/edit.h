#pragma once
// Edits: a one-line edit holding a value under an edit mask (see editmask.h). `Caption` reads
// and writes the value; `_Caption` also makes its type the edit's type. The library handles
// every typed character itself: a character the picture does not admit, or one that the
// code page cannot hold (a Cyrillic letter, an emoji), is dropped without a sound, and
// pasted text is typed character by character under the same rules. Backspace and Delete
// follow the mask; caret movement and selection are the widget's own. A numeric edit shows
// its value with the whole picture while it does not have the focus, and its editing text
// while it has it. OnChange fires after every change the user makes.
#include <string>

#include "ui/controls/editmask.h"
#include "ui/controls/wincontrol.h"

namespace kv::ui {

class Edit : public WinControl {
 public:
  Edit();

  Value value() const { return mask_.value(); }
  void setValue(const Value& v);
  void setCaption(const std::string& caption) override { setValue(Value(caption)); }
  void setPicture(const std::string& picture);
  const EditMask& mask() const { return mask_; }

  int alignment() const { return alignment_; }
  void setAlignment(int alignment);
  bool readOnly() const { return readOnly_; }
  void setReadOnly(bool on);
  const std::string& passwordChar() const { return passwordChar_; }
  void setPasswordChar(const std::string& c);
  int selStart() const;
  int selLength() const;
  void setSelStart(int start);
  void setSelLength(int length);
  // Text typed as the user would type it (each character through the mask).
  void typeText(const QString& text);
  // Clears the text (the value's type stays).
  void clear();

  bool autoSelect = true;
  bool autoSize = true;
  int borderStyle = 1;
  int leftMargin = 0;
  int rightMargin = 0;

  bool handleEvent(QObject* watched, QEvent* event) override;

 protected:
  QWidget* makeWidget(QWidget* parent) override;
  void applyState() override;
  bool ownKey(int vk) override;

 private:
  void pull();
  void push();
  void changed();
  void paste();

  EditMask mask_;
  int alignment_ = 0;
  bool readOnly_ = false;
  std::string passwordChar_;
};

extern const LibClass kEditClass;
Value TEdit();

// The messages of TEdit after those of TWinControl (TLabeledEdit enters them too).
void registerEditMessages(ClassDef* cls);

}  // namespace kv::ui
