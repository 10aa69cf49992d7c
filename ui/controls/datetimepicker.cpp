#include "ui/controls/datetimepicker.h"

#include <QDateTimeEdit>

#include <cstdio>

#include "runtime/format/dates.h"
#include "ui/core/messages.h"

namespace kv::ui {

namespace {

template <int DateTimePicker::*Field>
void number(ClassDef* cls, const char* name, const char* setter) {
  property<DateTimePicker>(
      cls, name, [](DateTimePicker& p) { return Value(p.*Field); },
      [setter](DateTimePicker& p, const Value& v, Args a) { intArg(v, p.*Field, setter, a); });
}

template <bool DateTimePicker::*Flag>
void flag(ClassDef* cls, const char* name, const char* setter) {
  property<DateTimePicker>(
      cls, name, [](DateTimePicker& p) { return Value(p.*Flag); },
      [setter](DateTimePicker& p, const Value& v, Args a) { boolArg(v, p.*Flag, setter, a); });
}

void registerDateTimePicker(ClassDef* cls) {
  flag<&DateTimePicker::autoSize>(cls, "AutoSize", "_AUTOSIZE");
  property<DateTimePicker>(
      cls, "Date", [](DateTimePicker& p) { return Value::date(p.date()); },
      [](DateTimePicker& p, const Value& v, Args a) {
        const Value& d = v.deref();
        if (!d.isDate()) {
          guiError(kGuiArgument, "_DATE", a);
          return;
        }
        p.setDate(d.julian());
      });
  number<&DateTimePicker::dateFormat>(cls, "DateFormat", "_DATEFORMAT");
  number<&DateTimePicker::dateMode>(cls, "DateMode", "_DATEMODE");
  number<&DateTimePicker::kind>(cls, "Kind", "_KIND");
  flag<&DateTimePicker::showCheckBox>(cls, "ShowCheckBox", "_SHOWCHECKBOX");
  property<DateTimePicker>(
      cls, "Time", [](DateTimePicker& p) { return Value(p.time()); },
      [](DateTimePicker& p, const Value& v, Args a) {
        std::string s;
        if (stringArg(v, s, "_TIME", a)) p.setTime(s);
      });
  event<DateTimePicker>(cls, "OnChange", kOnChange);
}

LibObject* makeDateTimePicker() {
  return new DateTimePicker;
}

QDate qdateOf(std::int32_t julian) {
  if (julian == 0) return QDate::currentDate();
  const CalendarDate c = calendarDate(julian);
  return QDate(c.year, c.month, c.day);
}

// "hh:mm:ss" of any form the program gives ("9:5" is 09:05:00); an unreadable part is 0.
QTime qtimeOf(const std::string& text) {
  int h = 0, m = 0, s = 0;
  std::sscanf(text.c_str(), "%d:%d:%d", &h, &m, &s);
  const QTime t(h, m, s);
  return t.isValid() ? t : QTime(0, 0, 0);
}

}  // namespace

const LibClass kDateTimePickerClass = {"TDateTimePicker", &kWinControlClass, &makeDateTimePicker,
                                       &registerDateTimePicker};

Value TDateTimePicker() {
  return classFunction(kDateTimePickerClass);
}

DateTimePicker::DateTimePicker() {
  width_ = 186;
  height_ = 21;
  setTabStop(true);
}

QWidget* DateTimePicker::makeWidget(QWidget* parent) {
  auto* w = new QDateTimeEdit(parent);
  w->setFocusPolicy(Qt::StrongFocus);
  w->setCalendarPopup(true);
  w->setDisplayFormat(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
  QObject::connect(w, &QDateTimeEdit::dateTimeChanged,
                   [this, alive = this->alive()](const QDateTime& dt) {
                     if (!alive || setting_) return;
                     guarded([this, dt] {
                       const QDate d = dt.date();
                       julian_ = julianFromCalendar(d.day(), d.month(), d.year());
                       time_ = dt.time().toString(QStringLiteral("HH:mm:ss")).toStdString();
                       fire(kOnChange);
                     });
                   });
  return w;
}

void DateTimePicker::applyState() {
  WinControl::applyState();
  show();
}

void DateTimePicker::show() {
  auto* w = qobject_cast<QDateTimeEdit*>(widget_.data());
  if (!w) return;
  setting_ = true;
  w->setDateTime(QDateTime(qdateOf(julian_), qtimeOf(time_)));
  setting_ = false;
}

void DateTimePicker::setDate(std::int32_t julian) {
  julian_ = julian;
  show();
}

void DateTimePicker::setTime(const std::string& time) {
  time_ = qtimeOf(time).toString(QStringLiteral("HH:mm:ss")).toStdString();
  show();
}

}  // namespace kv::ui
