#pragma once
// Running a test program as a child process: standard output and error go to files in the
// given directory and are read back with the exit code (or the ending signal).
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace kvtest {

struct Outcome {
  int exitCode = -1;  // -1 when ended by a signal
  int signal = 0;
  std::string out;
  std::string err;
};

inline std::string readFile(const std::filesystem::path& p) {
  std::ifstream f(p, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

// Runs `exe` with `args` and `dir` as its working directory; "out.txt" and "err.txt" in `dir`
// receive its standard output and error.
inline Outcome runProgramIn(const std::filesystem::path& dir, const std::filesystem::path& exe,
                            std::vector<std::string> args) {
  const std::string path = exe.string();
  const std::string out = (dir / "out.txt").string();
  const std::string err = (dir / "err.txt").string();
  posix_spawn_file_actions_t fa;
  posix_spawn_file_actions_init(&fa);
  posix_spawn_file_actions_addopen(&fa, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&fa, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::vector<char*> argv{const_cast<char*>(path.c_str())};
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  const std::filesystem::path here = std::filesystem::current_path();
  std::filesystem::current_path(dir);
  pid_t pid = 0;
  Outcome r;
  if (posix_spawn(&pid, path.c_str(), &fa, nullptr, argv.data(), environ) == 0) {
    int status = 0;
    waitpid(pid, &status, 0);
    if (WIFEXITED(status)) r.exitCode = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) r.signal = WTERMSIG(status);
  }
  std::filesystem::current_path(here);
  posix_spawn_file_actions_destroy(&fa);
  r.out = readFile(out);
  r.err = readFile(err);
  return r;
}

}  // namespace kvtest
