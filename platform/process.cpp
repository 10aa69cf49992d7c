#include "platform/process.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

extern char** environ;

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

bool startProgram(const std::string& commandLine, bool wait) {
  // Without waiting, the shell starts the command in the background and ends at once: the
  // command's process then belongs to the system, not to this program.
  std::string script = wait ? commandLine : std::string("/bin/sh -c \"$1\" &");
  char sh[] = "/bin/sh";
  char dashC[] = "-c";
  char name[] = "sh";
  std::string cmd = commandLine;
  char* argvWait[] = {sh, dashC, script.data(), nullptr};
  char* argvDetached[] = {sh, dashC, script.data(), name, cmd.data(), nullptr};
  pid_t pid = 0;
  if (::posix_spawn(&pid, sh, nullptr, nullptr, wait ? argvWait : argvDetached, environ) != 0)
    return false;
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return false;
  }
  if (!wait) return true;
  if (WIFEXITED(status) && (WEXITSTATUS(status) == 127 || WEXITSTATUS(status) == 126)) return false;
  return true;
}

}  // namespace kv::platform
