#include "platform/programdirs.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/process.h"

namespace kv::platform {

namespace {

std::string withSlash(std::string dir) {
  if (dir.empty() || dir.back() != '/') dir.push_back('/');
  return dir;
}

// The XDG base directory named by `var`, or $HOME + `fallback`.
std::string baseDir(const char* var, const char* fallback) {
  const char* v = std::getenv(var);
  if (v && v[0] == '/') return withSlash(v);
  const char* home = std::getenv("HOME");
  return withSlash(std::string(home && home[0] ? home : "/tmp") + fallback);
}

// mkdir -p, mode 0700 for the directories it makes (the user's own files).
void makeDirs(const std::string& dir) {
  for (std::size_t pos = 1; pos <= dir.size(); ++pos) {
    if (pos == dir.size() || dir[pos] == '/') {
      const std::string part = dir.substr(0, pos);
      if (!part.empty()) ::mkdir(part.c_str(), 0700);
    }
  }
}

}  // namespace

bool directoryWritable(const std::string& dir) {
  const std::string probe =
      withSlash(dir) + ".kv_probe_" + std::to_string(static_cast<long>(::getpid()));
  const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  ::close(fd);
  ::unlink(probe.c_str());
  return true;
}

std::string userFileDir(ProgramFile which) {
  const std::string dir = which == ProgramFile::Settings
                              ? baseDir("XDG_CONFIG_HOME", "/.config") + "kalvedo/"
                              : baseDir("XDG_STATE_HOME", "/.local/state") + "kalvedo/";
  makeDirs(dir);
  return dir;
}

std::string programFileDirFor(ProgramFile which, const std::string& exeDir) {
  if (directoryWritable(exeDir)) return withSlash(exeDir);
  return userFileDir(which);
}

std::string programFileDir(ProgramFile which) {
  static const std::string exeDir = executableDir();
  static const bool writable = directoryWritable(exeDir);
  return writable ? withSlash(exeDir) : userFileDir(which);
}

}  // namespace kv::platform
