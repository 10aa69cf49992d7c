#pragma once
// Memos: a multi-line edit. `Lines` is the whole text with lines separated by carriage return
// and line feed; `LoadFromFile(cFile)` fills it from a file (a missing or unreadable file
// gives an empty memo). Typed and pasted text that the code page cannot hold is dropped, so
// the text always reads back as the bytes shown. OnChange fires after a change by the user.
#include <string>

#include "ui/controls/wincontrol.h"

namespace kv::ui {

class Memo : public WinControl {
 public:
  Memo();

  std::string lines() const;
  void setLines(const std::string& text);
  void loadFromFile(const std::string& file);

  int alignment = 0;
  int borderStyle = 1;
  int leftMargin = 0;
  int rightMargin = 0;
  int scrollBars = 0;
  bool readOnly() const { return readOnly_; }
  void setReadOnly(bool on);
  int selStart() const;
  int selLength() const;
  void setSelection(int start, int length);

  bool handleEvent(QObject* watched, QEvent* event) override;

 protected:
  QWidget* makeWidget(QWidget* parent) override;
  void applyState() override;

 private:
  std::string text_;
  bool readOnly_ = false;
  bool setting_ = false;
};

extern const LibClass kMemoClass;
Value TMemo();

}  // namespace kv::ui
