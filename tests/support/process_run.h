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
#include <utility>
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

// A child started by startProgramIn and not yet waited for.
struct Child {
  pid_t pid = -1;  // -1 when it could not be started
  std::filesystem::path dir;
};

// Starts `exe` with `args` and `dir` as its working directory, without waiting; "out.txt" and
// "err.txt" in `dir` receive its standard output and error.
inline Child startProgramIn(const std::filesystem::path& dir, const std::filesystem::path& exe,
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
  Child c;
  c.dir = dir;
  if (posix_spawn(&c.pid, path.c_str(), &fa, nullptr, argv.data(), environ) != 0) c.pid = -1;
  std::filesystem::current_path(here);
  posix_spawn_file_actions_destroy(&fa);
  return c;
}

// Waits for the child to end and reads back its output and exit code.
inline Outcome finishProgram(const Child& c) {
  Outcome r;
  if (c.pid > 0) {
    int status = 0;
    waitpid(c.pid, &status, 0);
    if (WIFEXITED(status)) r.exitCode = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) r.signal = WTERMSIG(status);
  }
  r.out = readFile(c.dir / "out.txt");
  r.err = readFile(c.dir / "err.txt");
  return r;
}

// Runs `exe` with `args` and `dir` as its working directory until it ends.
inline Outcome runProgramIn(const std::filesystem::path& dir, const std::filesystem::path& exe,
                            std::vector<std::string> args) {
  return finishProgram(startProgramIn(dir, exe, std::move(args)));
}

}  // namespace kvtest
