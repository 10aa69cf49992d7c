#pragma once
// Combo boxes. `_Items` with an array of strings replaces the list with copies of them; an
// element that is not a string ends the list there and raises GUI error 6001 after the
// shorter list is set; anything but an array raises 6001 and leaves the list. `Items`
// answers a new array of the strings. ItemIndex is 1-based, 0 for no selection. A selection
// by the user fires OnChange; one by the program does not.
#include <string>
#include <vector>

#include "ui/controls/wincontrol.h"

namespace kv::ui {

class ComboBox : public WinControl {
 public:
  ComboBox();

  const std::vector<std::string>& items() const { return items_; }
  void setItems(std::vector<std::string> items);
  int itemIndex() const { return index_; }
  void setItemIndex(int index);
  bool sorted() const { return sorted_; }
  void setSorted(bool on);
  int dropDownCount() const { return dropDownCount_; }
  void setDropDownCount(int n);
  bool droppedDown() const;
  void setDroppedDown(bool on);
  int style = 0;

 protected:
  QWidget* makeWidget(QWidget* parent) override;
  void applyState() override;

 private:
  void showItems();
  std::vector<std::string> items_;
  int index_ = 0;
  bool sorted_ = false;
  int dropDownCount_ = 8;
  bool filling_ = false;
};

extern const LibClass kComboBoxClass;
Value TComboBox();

}  // namespace kv::ui
