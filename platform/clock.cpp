#include "platform/clock.h"

#include <sys/time.h>
#include <time.h>

namespace kv::platform {

namespace {

ClockSource clockSource = nullptr;

}  // namespace

void setClockSource(ClockSource source) {
  clockSource = source;
}

LocalTime localNow() {
  if (clockSource) return clockSource();
  struct timeval tv;
  gettimeofday(&tv, nullptr);
  struct tm tm;
  time_t t = tv.tv_sec;
  localtime_r(&t, &tm);
  return LocalTime{tm.tm_year + 1900,
                   tm.tm_mon + 1,
                   tm.tm_mday,
                   tm.tm_hour,
                   tm.tm_min,
                   tm.tm_sec,
                   static_cast<int>(tv.tv_usec / 1000)};
}

double secondsSinceMidnight() {
  LocalTime t = localNow();
  return t.hour * 3600.0 + t.minute * 60.0 + t.second + (t.millisecond / 10) / 100.0;
}

}  // namespace kv::platform
