#pragma once
// The error channel: the program's last words. Every piece written here is appended to
// "Error.txt" (the first piece of a run empties the file) and,
// unless it is a bare CR LF, shown in a message box captioned "Error". A run that writes
// nothing leaves any earlier "Error.txt" alone. The log lives in the executable's directory,
// or in the user's state directory when that one is not writable (platform/programdirs.h).
#include <string>
#include <string_view>

namespace kv {

void writeErrorChannel(std::string_view text);

// Full path of the error log ("<executable directory>/Error.txt" or the user's own).
std::string errorLogPath();

// True once anything was written to the channel in this run.
bool errorChannelUsed();

// Appends bytes to the error log only (no box), creating the file afresh if this is the
// run's first message. Async-signal-safe once the path is known (prepareErrorChannel), so the
// protection-fault handler can use it.
void appendErrorLog(const char* text, std::size_t size);

// Works out the log's path in advance, so that appendErrorLog needs no allocation later.
void prepareErrorChannel();

// Sends the log to another file and forgets earlier writes, so the next message starts it
// afresh (tests).
void setErrorLogPath(std::string_view path);

}  // namespace kv
