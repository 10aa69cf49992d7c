#pragma once
// The local clock.
namespace kv::platform {

struct LocalTime {
  int year, month, day;      // calendar date, month 1-12
  int hour, minute, second;  // time of day
  int millisecond;
};

// The current local date and time: the system's clock, or the source set below.
LocalTime localNow();

// Puts another source in place of the system's clock (a test steers the time of day through
// it); null puts the system's clock back.
using ClockSource = LocalTime (*)();
void setClockSource(ClockSource source);

// Seconds since midnight, local time, with hundredths.
double secondsSinceMidnight();

}  // namespace kv::platform
