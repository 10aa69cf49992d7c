#pragma once
// Date-time pickers: a date value (`Date`) and a time string of hours, minutes and seconds
// with colons between ("14:12:59", `Time`), shown together in one control; Qt's date-time
// editor with a drop-down calendar stands for the window system's picker. A change by the
// user fires OnChange; `_Date` and `_Time` by the program do not. An empty date shows the
// current date while the value stays empty until the user changes it.
#include <string>

#include "ui/controls/wincontrol.h"

namespace kv::ui {

class DateTimePicker : public WinControl {
 public:
  DateTimePicker();

  std::int32_t date() const { return julian_; }
  void setDate(std::int32_t julian);
  const std::string& time() const { return time_; }
  void setTime(const std::string& time);

  bool autoSize = true;
  int dateFormat = 0;
  int dateMode = 0;
  int kind = 0;
  bool showCheckBox = false;

 protected:
  QWidget* makeWidget(QWidget* parent) override;
  void applyState() override;

 private:
  void show();
  std::int32_t julian_ = 0;
  std::string time_ = "00:00:00";
  bool setting_ = false;
};

extern const LibClass kDateTimePickerClass;
Value TDateTimePicker();

}  // namespace kv::ui
