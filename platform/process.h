#pragma once
// Facts about the running process.
#include <string>

namespace kv::platform {

// Full path of the running executable ("/opt/kalvedo/bin/kalvedo").
std::string executablePath();
// Directory of the running executable, with no trailing slash.
std::string executableDir();
// Base name of the executable without directory ("kalvedo").
std::string executableName();

// Starts `commandLine` as a new process through "/bin/sh -c", so it is split and searched
// for as a shell does. With `wait` the call blocks until the process ends, and a command the
// shell could not find or run (its exit codes 127 and 126) answers false. Without `wait` the
// command runs detached in the background (no child is left for this process to reap).
// Answers whether the process was started.
bool startProgram(const std::string& commandLine, bool wait);

}  // namespace kv::platform
