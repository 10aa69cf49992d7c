#pragma once
// The error channel: the program's last words. Every piece written here is appended to
// "Error.txt" in the executable's directory (the first piece of a run empties the file) and,
// unless it is a bare CR LF, shown in a message box captioned "Error".
#include <string>
#include <string_view>

namespace kv {

void writeErrorChannel(std::string_view text);

// Full path of the error log ("<executable directory>/Error.txt").
std::string errorLogPath();

// True once anything was written to the channel in this run.
bool errorChannelUsed();

}  // namespace kv
