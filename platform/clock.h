#pragma once
// The local clock.
namespace kv::platform {

struct LocalTime {
  int year, month, day;      // calendar date, month 1-12
  int hour, minute, second;  // time of day
  int millisecond;
};

// The current local date and time.
LocalTime localNow();

// Seconds since midnight, local time, with hundredths.
double secondsSinceMidnight();

}  // namespace kv::platform
