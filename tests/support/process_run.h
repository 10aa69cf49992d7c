#pragma once
// Running a test program as a child process: standard output and error go to files in the
// given directory and are read back with the exit code (or the ending signal).
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "support/files.h"

extern char** environ;

namespace kvtest {

struct Outcome {
  int exitCode = -1;  // -1 when ended by a signal
  int signal = 0;
  std::string out;
  std::string err;
};

// A child started by startProgramIn and not yet waited for.
struct Child {
  pid_t pid = -1;  // -1 when it could not be started
  std::filesystem::path dir;
};

// The environment of this process changed by `changes`: "NAME=value" sets a variable, a bare
// "NAME" removes it.
inline std::vector<std::string> changedEnvironment(const std::vector<std::string>& changes) {
  std::vector<std::string> env;
  auto nameOf = [](const std::string& entry) { return entry.substr(0, entry.find('=')); };
  for (char** e = environ; *e; ++e) {
    const std::string entry(*e);
    bool changed = false;
    for (const std::string& c : changes) changed = changed || nameOf(c) == nameOf(entry);
    if (!changed) env.push_back(entry);
  }
  for (const std::string& c : changes) {
    if (c.find('=') != std::string::npos) env.push_back(c);
  }
  return env;
}

// Starts `exe` with `args` and `dir` as its working directory, without waiting; "out.txt" and
// "err.txt" in `dir` receive its standard output and error. `env` changes the child's
// environment (see changedEnvironment).
inline Child startProgramIn(const std::filesystem::path& dir, const std::filesystem::path& exe,
                            std::vector<std::string> args,
                            const std::vector<std::string>& env = {}) {
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
  std::vector<std::string> envText = changedEnvironment(env);
  std::vector<char*> envp;
  for (auto& e : envText) envp.push_back(e.data());
  envp.push_back(nullptr);
  const std::filesystem::path here = std::filesystem::current_path();
  std::filesystem::current_path(dir);
  Child c;
  c.dir = dir;
  if (posix_spawn(&c.pid, path.c_str(), &fa, nullptr, argv.data(), envp.data()) != 0) c.pid = -1;
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

// Waits up to `seconds` for the child to end; a child still running then is killed (the
// outcome then has `signal` SIGKILL and `timedOut` set), so a hung program fails a test
// instead of stopping the suite.
inline Outcome finishProgramWithin(const Child& c, int seconds, bool* timedOut = nullptr) {
  if (timedOut) *timedOut = false;
  for (int waited = 0; c.pid > 0 && waited < seconds * 50; ++waited) {
    int status = 0;
    const pid_t r = waitpid(c.pid, &status, WNOHANG);
    if (r == c.pid) {
      Outcome o;
      if (WIFEXITED(status)) o.exitCode = WEXITSTATUS(status);
      if (WIFSIGNALED(status)) o.signal = WTERMSIG(status);
      o.out = readFile(c.dir / "out.txt");
      o.err = readFile(c.dir / "err.txt");
      return o;
    }
    if (r < 0) break;
    usleep(20000);
  }
  if (c.pid > 0 && kill(c.pid, 0) == 0) {
    if (timedOut) *timedOut = true;
    kill(c.pid, SIGKILL);
  }
  return finishProgram(c);
}

// Runs `exe` with `args` and `dir` as its working directory until it ends.
inline Outcome runProgramIn(const std::filesystem::path& dir, const std::filesystem::path& exe,
                            std::vector<std::string> args,
                            const std::vector<std::string>& env = {}) {
  return finishProgram(startProgramIn(dir, exe, std::move(args), env));
}

}  // namespace kvtest
