#include "platform/process.h"

#include <unistd.h>

#include <climits>

namespace kv::platform {

std::string executablePath() {
  char buf[PATH_MAX + 1];
  ssize_t n = ::readlink("/proc/self/exe", buf, PATH_MAX);
  if (n <= 0) return std::string();
  return std::string(buf, static_cast<size_t>(n));
}

std::string executableDir() {
  std::string p = executablePath();
  auto slash = p.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return p.substr(0, slash);
}

std::string executableName() {
  std::string p = executablePath();
  auto slash = p.rfind('/');
  return slash == std::string::npos ? p : p.substr(slash + 1);
}

}  // namespace kv::platform
