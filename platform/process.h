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

}  // namespace kv::platform
