#pragma once
// A private print scheduler for tests: cupsd with every path (configuration, spool, cache,
// state, logs, its socket) under a fresh temporary directory, so no system printer and no
// system scheduler is touched. CUPS_SERVER is set to its socket for this process and its
// children; the queue "PDF" (the cups-pdf backend) is added and made the default. cups-pdf
// writes its output to ~/PDF; a job's file there begins with the job's name, so tests name
// their jobs uniquely (uniqueName) and find their files by it. The destructor stops the
// scheduler, removes its directory and the output files the test took (takeOutputs).
//
// Print services read CUPS_SERVER once, when they are first used: a test program must make
// its scheduler before anything asks for printers (the printer tests have an executable of
// their own whose main starts it before Qt).
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/files.h"
#include "support/pdf_layout.h"

namespace kvtest {

class PrivateCups {
 public:
  PrivateCups() { start(); }
  ~PrivateCups() { stop(); }
  PrivateCups(const PrivateCups&) = delete;
  PrivateCups& operator=(const PrivateCups&) = delete;

  // True when the scheduler runs with its queue; else why() says what is missing.
  bool ok() const { return ok_; }
  const std::string& why() const { return why_; }
  const std::filesystem::path& dir() const { return dir_; }
  std::filesystem::path socket() const { return dir_ / "cups.sock"; }
  // Where cups-pdf leaves its files.
  static std::filesystem::path outputDir() {
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home ? home : "/root") / "PDF";
  }
  // A job name no other test run shares.
  static std::string uniqueName(const std::string& what) {
    static int seq = 0;
    return "kvtest_" + what + "_" + std::to_string(::getpid()) + "_" + std::to_string(++seq);
  }

  // Waits until the scheduler has no job left (up to `seconds`); false when time ran out.
  bool waitIdle(int seconds = 60) const {
    for (int i = 0; i < seconds * 10; ++i) {
      int status = 0;
      const std::string jobs = commandOutput("lpstat -o 2>/dev/null", &status);
      if (status == 0 && jobs.find_first_not_of(" \n") == std::string::npos) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
  }

  // The output files whose names begin with `jobName`, oldest first; they are removed with
  // the scheduler.
  std::vector<std::filesystem::path> takeOutputs(const std::string& jobName) {
    std::vector<std::filesystem::path> found;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(outputDir(), ec)) {
      if (e.path().filename().string().rfind(jobName, 0) == 0) found.push_back(e.path());
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
      return std::filesystem::last_write_time(a) < std::filesystem::last_write_time(b);
    });
    for (const auto& f : found) taken_.push_back(f);
    return found;
  }

  // The job's output files once they are there (takeOutputs, polled for up to 5 s: the queue
  // writes its file after the job has left the scheduler); none when time ran out.
  std::vector<std::filesystem::path> awaitOutputs(const std::string& jobName) {
    std::vector<std::filesystem::path> out;
    for (int i = 0; i < 50 && out.empty(); ++i) {
      out = takeOutputs(jobName);
      if (out.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return out;
  }

  // The scheduler's page log: one line per printed page set, with the job's name.
  std::string pageLog() const { return readFile(dir_ / "log" / "page_log"); }
  // The job names of the page log, in order, each once.
  std::vector<std::string> jobNames() const {
    std::vector<std::string> names;
    std::istringstream in(pageLog());
    std::string printerName, user, job, date, zone, page, copies, billing, host, name;
    for (std::string line; std::getline(in, line);) {
      std::istringstream l(line);
      l >> printerName >> user >> job >> date >> zone >> page >> copies >> billing >> host >> name;
      if (!name.empty() && (names.empty() || names.back() != name)) names.push_back(name);
    }
    return names;
  }

  // Runs an administration command against this scheduler (lpadmin, lpstat ...).
  int run(const std::string& command) const {
    int status = 0;
    commandOutput(command + " >/dev/null 2>&1", &status);
    return status;
  }

 private:
  void start() {
    if (!std::filesystem::exists("/usr/sbin/cupsd") ||
        !std::filesystem::exists("/usr/lib/cups/backend/cups-pdf")) {
      why_ = "cupsd or cups-pdf is not installed (packages cups, printer-driver-cups-pdf)";
      return;
    }
    dir_ = freshTempDir("cups");
    for (const char* d : {"spool", "cache", "state", "log", "tmp", "ppd", "ssl"})
      std::filesystem::create_directories(dir_ / d);
    // The filters run as the scheduler's own user and must reach the spool.
    std::filesystem::permissions(dir_, std::filesystem::perms(0755));
    std::filesystem::permissions(dir_ / "tmp", std::filesystem::perms(01777));
    const std::string d = dir_.string();
    writeFile(dir_ / "cupsd.conf",
              "Listen " + d +
                  "/cups.sock\nLogLevel info\nBrowsing No\nWebInterface No\n"
                  "DefaultAuthType None\n<Location />\n  Order allow,deny\n  Allow all\n"
                  "</Location>\n<Policy default>\n  <Limit All>\n    Order deny,allow\n"
                  "  </Limit>\n</Policy>\n");
    writeFile(dir_ / "cups-files.conf",
              "ServerRoot " + d + "\nRequestRoot " + d + "/spool\nCacheDir " + d +
                  "/cache\nStateDir " + d + "/state\nTempDir " + d + "/tmp\nErrorLog " + d +
                  "/log/error_log\nAccessLog " + d + "/log/access_log\nPageLog " + d +
                  "/log/page_log\nServerKeychain " + d + "/ssl\nPrintcap " + d +
                  "/printcap\nSandboxing Relaxed\nSystemGroup root\n");
    pid_ = fork();
    if (pid_ == 0) {
      const std::string conf = d + "/cupsd.conf", files = d + "/cups-files.conf";
      const std::string out = d + "/log/cupsd.out";
      if (!std::freopen(out.c_str(), "w", stdout) || !std::freopen(out.c_str(), "a", stderr))
        _exit(126);
      execl("/usr/sbin/cupsd", "cupsd", "-f", "-c", conf.c_str(), "-s", files.c_str(),
            static_cast<char*>(nullptr));
      _exit(127);
    }
    if (pid_ < 0) {
      why_ = "cupsd could not be started";
      return;
    }
    setenv("CUPS_SERVER", socket().c_str(), 1);
    for (int i = 0; i < 100 && !std::filesystem::exists(socket()); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (!std::filesystem::exists(socket())) {
      why_ = "cupsd did not open its socket: " + readFile(dir_ / "log" / "cupsd.out");
      return;
    }
    if (run("lpadmin -p PDF -E -v cups-pdf:/ -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd") != 0 ||
        run("lpadmin -d PDF") != 0) {
      why_ = "the PDF queue could not be added: " + readFile(dir_ / "log" / "error_log");
      return;
    }
    ok_ = true;
  }

  void stop() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      int status = 0;
      for (int i = 0; i < 100 && waitpid(pid_, &status, WNOHANG) == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
      if (waitpid(pid_, &status, WNOHANG) == 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, &status, 0);
      }
    }
    std::error_code ec;
    for (const auto& f : taken_) std::filesystem::remove(f, ec);
    if (!dir_.empty()) std::filesystem::remove_all(dir_, ec);
  }

  std::filesystem::path dir_;
  pid_t pid_ = -1;
  bool ok_ = false;
  std::string why_;
  std::vector<std::filesystem::path> taken_;
};

}  // namespace kvtest
