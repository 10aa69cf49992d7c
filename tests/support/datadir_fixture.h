#pragma once
// Shared set-up of the application's data-file tests: a private empty directory as the
// current directory (the application's files have bare names), the engine started as the
// program starts it, deleted records hidden as MAIN leaves it, an error block that records
// every error and answers false, and the message boxes collected instead of shown.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/core/datafiles.h"
#include "engine/area/areas.h"
#include "engine/area/dbfunc.h"
#include "engine/area/fieldresolver.h"
#include "engine/dbf/dbfarea.h"
#include "engine/ntx/dbfntxarea.h"
#include "platform/msgbox.h"
#include "runtime/error/error.h"
#include "runtime/lang/classes.h"
#include "runtime/lang/codeblock.h"
#include "runtime/lang/functions.h"
#include "runtime/lang/memvars.h"
#include "runtime/lang/settings.h"
#include "support/files.h"

namespace kvtest {

namespace fs = std::filesystem;

// The default manufacturer list in the order FILLPROIZV stores it.
inline const std::vector<std::string> kDefaultMakers = {
    "Alcatel",       "Audio Vox", "BenQ-Siemens", "Ericsson", "LG",        "Martin Dawes",
    "Mitsubishi",    "Motorola",  "Nec",          "Nokia",    "Panasonic", "Pantech",
    "Philips",       "Sagem",     "Samsung",      "Sharp",    "Siemens",   "Sony",
    "Sony Ericsson", "Telital",   "Vertu",        "VK Mobile"};

struct RecordedError {
  int genCode;
  int subCode;
  std::string operation;
};

struct ShownBox {
  std::string caption;
  std::string text;  // Windows-1250
  int kind;
};

class DataDirTest : public ::testing::Test {
 protected:
  void SetUp() override {
    home_ = fs::current_path();
    dir_ = freshTempDir("app");
    fs::current_path(dir_);
    startEngine();
    kv::setSetting(kv::kSetDeleted, kv::Value(true));
    kv::app::registerDataFileFunctions();
    errors.clear();
    boxes.clear();
    kv::platform::setDialogBoxHook(&showBox);
    kv::ERRORBLOCK(kv::makeBlock([this](kv::Args args) {
      const kv::Value& e = kv::arg(args, 0);
      errors.push_back({kv::send(e, "GENCODE").asInt(), kv::send(e, "SUBCODE").asInt(),
                        std::string(kv::send(e, "OPERATION").str())});
      // Shown in the test's output, so that a failure names the error.
      std::fprintf(stderr, "raised %d/%d %s %s\n", errors.back().genCode, errors.back().subCode,
                   errors.back().operation.c_str(),
                   std::string(kv::send(e, "FILENAME").str()).c_str());
      return kv::Value(false);
    }));
  }
  void TearDown() override {
    kv::platform::setDialogBoxHook(nullptr);
    kv::engine::closeAllAreas();
    kv::resetErrorSystem();
    kv::RELEASE("aDbf");
    kv::resetSettings();
    fs::current_path(home_);
    fs::remove_all(dir_);
  }

  // The runtime's functions by name, then the engine's start-up: the table drivers, the
  // exclusive setting on, the database functions by name and field access for compiled
  // expressions (index keys such as upper(Naziv) need both).
  static void startEngine() {
    kv::resetSettings();
    kv::registerRuntimeFunctions();
    kv::engine::registerDbfDriver();
    kv::engine::registerDbfNtxDriver();
    kv::setSetting(kv::kSetExclusive, kv::Value(true));
    kv::engine::registerDbFunctions();
    kv::engine::installFieldResolver();
  }

  static bool exists(const std::string& name) { return fs::exists(name); }
  static std::string bytes(const std::string& name) { return readFile(name); }

  // The field names of the current area's structure.
  static std::vector<std::string> fieldNames() {
    std::vector<std::string> out;
    const kv::Value rows = kv::engine::DBSTRUCT();
    for (const kv::Value& row : rows.arr()->items) out.emplace_back(row.arr()->items[0].str());
    return out;
  }
  static kv::Value field(const char* name) {
    return kv::engine::FIELDGET(kv::engine::FIELDPOS(kv::Value(name)));
  }
  static void put(const char* name, const kv::Value& v) {
    kv::engine::FIELDPUT(kv::engine::FIELDPOS(kv::Value(name)), v);
  }
  // A structure made of the first `n` rows of a table's current structure.
  static kv::Value firstRows(const char* table, std::size_t n) {
    kv::Value all = kv::app::StrukturaTabele(table);
    kv::Value out = kv::Value::newArray();
    for (std::size_t i = 0; i < n; ++i) out.arr()->items.push_back(all.arr()->items[i]);
    return out;
  }
  // Opens a table shared in a new area, as the application does.
  static void use(const char* file, const char* alias = nullptr) {
    kv::engine::DBUSEAREA(kv::Value(true), kv::Value("DbfNtx"), kv::Value(file),
                          alias ? kv::Value(alias) : kv::Value(), kv::Value(true));
  }
  static std::string trimmed(const kv::Value& v) {
    std::string s(v.str());
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
  }
  // Names of ProizTel in record order, deleted records included.
  static std::vector<std::string> makersInRecordOrder() {
    kv::engine::DBSELECTAREA(kv::Value("ProizTel"));
    std::vector<std::string> out;
    for (int r = 1; r <= kv::engine::__LASTREC().asInt(); ++r) {
      kv::engine::DBGOTO(kv::Value(r));
      out.push_back(trimmed(field("NAZIV")));
    }
    return out;
  }
  // Creates a table with the given structure and runs `fill` on it, opened shared.
  static void makeTable(const char* file, const kv::Value& structure,
                        const std::function<void()>& fill) {
    kv::engine::DBCREATE(kv::Value(file), structure);
    use(file);
    fill();
    kv::engine::DBCLOSEAREA();
  }

  static void showBox(std::string_view caption, std::string_view text, int kind) {
    boxes.push_back({std::string(caption), std::string(text), kind});
  }

  fs::path home_;
  fs::path dir_;
  std::vector<RecordedError> errors;
  static inline std::vector<ShownBox> boxes;
};

}  // namespace kvtest
