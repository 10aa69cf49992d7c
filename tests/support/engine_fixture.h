#pragma once
// Shared set-up of the engine tests: a private data directory as the default directory, the
// "DBF" driver as default, and an error hook that records every error and answers default.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "engine/area/areas.h"
#include "engine/area/dbfunc.h"
#include "engine/area/drivers.h"
#include "engine/dbf/dbfarea.h"
#include "runtime/lang/settings.h"
#include "support/files.h"

namespace kvtest {

namespace fs = std::filesystem;

class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = freshTempDir("engine");
    kv::resetSettings();
    kv::setSetting(kv::kSetDefault, kv::Value(dir_.string()));
    kv::setSetting(kv::kSetExclusive, kv::Value(true));  // as the engine's start-up leaves it
    kv::engine::registerDbfDriver();
    kv::engine::registerDbFunctions();
    kv::engine::RDDSETDEFAULT(kv::Value("DBF"));
    errors.clear();
    kv::engine::setErrorHook([this](const kv::ErrorRecord& e) {
      errors.push_back(e);
      return kv::ErrorResult{kv::ErrorAnswer::Default, kv::Value()};
    });
  }
  void TearDown() override {
    kv::engine::closeAllAreas();
    kv::engine::setErrorHook({});
    fs::remove_all(dir_);
  }

  std::string path(const std::string& name) const { return (dir_ / name).string(); }
  std::string bytes(const std::string& name) const { return readFile(path(name)); }
  void writeBytes(const std::string& name, const std::string& data) const {
    writeFile(path(name), data);
  }
  // The last error's gen and sub code ({0, 0} when none), clearing the record.
  std::pair<int, int> lastError() {
    if (errors.empty()) return {0, 0};
    auto e = errors.back();
    errors.clear();
    return {e.genCode, e.subCode};
  }

 public:
  static kv::Value row(const char* name, const char* type, int len, int dec) {
    kv::Value r = kv::Value::newArray();
    auto& it = r.arr()->items;
    it.push_back(kv::Value(name));
    it.push_back(kv::Value(type));
    it.push_back(kv::Value::integer(len));
    it.push_back(kv::Value::integer(dec));
    return r;
  }
  static kv::Value structure(std::initializer_list<kv::Value> rows) {
    kv::Value a = kv::Value::newArray();
    for (const auto& r : rows) a.arr()->items.push_back(r);
    return a;
  }

 protected:
  // Opens a table in a new area: exclusive unless `shared`.
  static void use(const std::string& file, bool shared = false, const char* alias = nullptr) {
    kv::engine::DBUSEAREA(kv::Value(true), kv::Value("DBF"), kv::Value(file),
                          alias ? kv::Value(alias) : kv::Value(), kv::Value(shared));
  }

  fs::path dir_;
  std::vector<kv::ErrorRecord> errors;
};

}  // namespace kvtest
