#include "runtime/lang/lifecycle.h"

#include <cstdlib>
#include <exception>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "runtime/error/error.h"
#include "runtime/error/errorchannel.h"
#include "runtime/error/leakreport.h"
#include "runtime/error/protectionfault.h"
#include "runtime/lang/settings.h"

namespace kv {

namespace {

struct Named {
  const char* name;
  Procedure proc;
};

struct State {
  Procedure languageInit = nullptr;
  std::vector<Named> inits;
  std::vector<Named> exits;
  std::vector<Named> shutdown;
  std::vector<Procedure> finals;
  int errorLevel = 0;
  int exitEntries = 0;
  bool exitsRun = false;
};

State& state() {
  static State s;
  return s;
}

}  // namespace

void setLanguageInit(Procedure p) {
  state().languageInit = p;
}
void registerInitProcedure(const char* name, Procedure p) {
  state().inits.push_back({name, p});
}
void registerExitProcedure(const char* name, Procedure p) {
  state().exits.push_back({name, p});
}
void registerShutdownHandler(const char* name, Procedure p) {
  state().shutdown.push_back({name, p});
}
void registerFinalReport(Procedure p) {
  state().finals.push_back(p);
}

int errorLevel() {
  return state().errorLevel;
}
void setErrorLevel(int level) {
  state().errorLevel = level;
}

void QUIT() {
  throw QuitRequest{};
}

void resetLifecycle() {
  state() = State{};
}

int endSequence() {
  State& s = state();
  if (++s.exitEntries > 3) {
    writeErrorChannel("\r\n\r\nAborted during termination");
    std::_Exit(s.errorLevel ? s.errorLevel : 1);
  }
  // A failure inside the end sequence re-enters it; every step runs at most once.
  try {
    if (!s.exitsRun) {
      s.exitsRun = true;
      for (auto& e : s.exits) e.proc();
    }
    while (!s.shutdown.empty()) {
      Named n = s.shutdown.front();
      s.shutdown.erase(s.shutdown.begin());
      n.proc();
    }
    while (!s.finals.empty()) {
      Procedure p = s.finals.front();
      s.finals.erase(s.finals.begin());
      p();
    }
  } catch (const QuitRequest&) {
    return endSequence();
  }
  return s.errorLevel;
}

int runProgram(Procedure mainProc) {
  State& s = state();
  installProtectionFaultHandlers();
  registerFinalReport(&reportUnreleasedMemory);
  resetSettings();
  try {
    if (s.languageInit) s.languageInit();
    for (auto it = s.inits.rbegin(); it != s.inits.rend(); ++it) it->proc();
  } catch (const QuitRequest&) {
    return endSequence();
  } catch (...) {
    writeErrorChannel("\r\n\r\nInitialization errors\r\n");
    return 1;
  }
  try {
    mainProc();
  } catch (const QuitRequest&) {
  } catch (const BreakException&) {
    // A BREAK outside every sequence ends the program quietly.
  } catch (const std::bad_alloc&) {
    writeErrorChannel("\r\nError no recuperable 11: " + genCodeDescription(EG_MEM));
    setErrorLevel(1);
  } catch (const std::exception& e) {
    // A C++ failure no raiser turned into an error object: still reported, never a silent
    // abort, and the end sequence still closes the tables.
    writeErrorChannel(std::string("\r\nError interno: ") + e.what());
    setErrorLevel(1);
  }
  return endSequence();
}

}  // namespace kv
