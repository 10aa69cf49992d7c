#include "fuzz/fuzz_support.h"

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "engine/area/areas.h"
#include "engine/area/dberror.h"
#include "engine/area/dbfunc.h"
#include "engine/area/drivers.h"
#include "engine/area/fieldresolver.h"
#include "engine/dbf/dbfarea.h"
#include "engine/ntx/dbfntxarea.h"
#include "runtime/error/error.h"
#include "runtime/error/errorobject.h"
#include "runtime/lang/classes.h"
#include "runtime/lang/codeblock.h"
#include "runtime/lang/functions.h"
#include "runtime/lang/lifecycle.h"
#include "runtime/lang/memvars.h"
#include "runtime/lang/settings.h"
#include "runtime/lang/symbols.h"

namespace kvfuzz {

namespace {

std::string makeScratchDir() {
  const char* base = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
  std::string templ = std::string(base) + "/kvfuzz-XXXXXX";
  if (::mkdtemp(templ.data()) == nullptr) std::abort();
  return templ;
}

void removeScratchDir() {
  std::error_code ec;
  std::filesystem::remove_all(scratchDir(), ec);
}

// Functions an expression from the input may not run: they reach files and the terminal.
constexpr const char* kStubbed[] = {"FILE",     "FCREATE",    "FOPEN",  "FREAD",  "FWRITE",
                                    "FSEEK",    "FCLOSE",     "FERASE", "FERROR", "MEMOREAD",
                                    "MEMOWRIT", "__COPYFILE", "ROW",    "COL",    "PROW",
                                    "PCOL",     "SETPOS",     "DEVPOS", "INKEY",  "ERRORBLOCK"};

void startOnce() {
  kv::registerRuntimeFunctions();
  for (const char* name : kStubbed) {
    kv::registerFunction(name, [](kv::Args) { return kv::Value(); });
  }
  kv::engine::registerDbfDriver();
  kv::engine::registerDbfNtxDriver();
  // Field names in keys and conditions; the database functions stay unregistered by name,
  // so an expression cannot create or erase files.
  kv::engine::installFieldResolver();
  std::atexit(removeScratchDir);
}

}  // namespace

const std::string& scratchDir() {
  // Never destroyed: the exit handler that removes the directory runs after static
  // destructors.
  static const std::string* const dir = new std::string(makeScratchDir());
  return *dir;
}

std::string scratchPath(std::string_view name) {
  return scratchDir() + "/" + std::string(name);
}

void startRun() {
  static const bool started = (startOnce(), true);
  (void)started;
  kv::engine::closeAllAreas();
  kv::releaseAllMemvars();
  kv::resetSettings();
  kv::setSetting(kv::kSetDefault, kv::Value(scratchDir()));
  kv::setSetting(kv::kSetExclusive, kv::Value(true));
  kv::engine::RDDSETDEFAULT(kv::Value("DBF"));
  kv::ERRORBLOCK(kv::makeBlock(
      [](kv::Args args) -> kv::Value {
        // KVFUZZ_TRACE=1 shows each abandoned operation (for looking into seeds and finds).
        static const bool trace = std::getenv("KVFUZZ_TRACE") != nullptr;
        if (trace && kv::isErrorObject(kv::arg(args, 0))) {
          const kv::Value& e = kv::arg(args, 0);
          std::fprintf(stderr, "kvfuzz: %s %s %s\n", kv::send(e, "OPERATION").toStdString().c_str(),
                       kv::send(e, "DESCRIPTION").toStdString().c_str(),
                       kv::send(e, "FILENAME").toStdString().c_str());
        }
        kv::BREAK(kv::arg(args, 0));
      },
      1));
  kv::engine::setErrorHook([](const kv::ErrorRecord&) {
    return kv::ErrorResult{kv::ErrorAnswer::Default, kv::Value()};
  });
}

void writeBytes(const std::string& path, const void* data, std::size_t size) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) std::abort();
  if (size > 0 && std::fwrite(data, 1, size, f) != size) std::abort();
  std::fclose(f);
}

std::string readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void guarded(const std::function<void()>& body) {
  try {
    body();
  } catch (const kv::BreakException&) {
  } catch (const kv::QuitRequest&) {
  }
}

}  // namespace kvfuzz
