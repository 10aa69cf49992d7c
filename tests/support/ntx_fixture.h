#pragma once
// Set-up of the index driver tests: the engine fixture with "DBFNTX" registered and made the
// default, field names and runtime functions available to key expressions, and helpers to
// build tables and walk the controlling order.
#include <string>
#include <utility>
#include <vector>

#include "engine/area/areas.h"
#include "engine/area/fieldresolver.h"
#include "engine/ntx/dbfntxarea.h"
#include "runtime/lang/functions.h"
#include "support/engine_fixture.h"

namespace kvtest {

class NtxTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    kv::registerRuntimeFunctions();
    kv::engine::installFieldResolver();
    kv::engine::registerDbfNtxDriver();
    kv::engine::RDDSETDEFAULT(kv::Value("DBFNTX"));
  }

  // Opens a table with the index driver in a new area.
  static void useNtx(const std::string& file, bool shared = false, const char* alias = nullptr) {
    kv::engine::DBUSEAREA(kv::Value(true), kv::Value("DBFNTX"), kv::Value(file),
                          alias ? kv::Value(alias) : kv::Value(), kv::Value(shared));
  }
  static kv::engine::DbfNtxArea* area() {
    return dynamic_cast<kv::engine::DbfNtxArea*>(kv::engine::currentArea());
  }
  static int recno() { return static_cast<int>(kv::engine::__RECNO().asDouble()); }
  // Record numbers in the order of the controlling order, from the top.
  static std::vector<int> walk() {
    std::vector<int> out;
    for (kv::engine::DBGOTOP(); !kv::engine::__EOF().asBool(); kv::engine::DBSKIP())
      out.push_back(recno());
    return out;
  }
  // The same from the bottom, reversed back into top-down order.
  static std::vector<int> walkBack() {
    std::vector<int> out;
    for (kv::engine::DBGOBOTTOM(); !kv::engine::__BOF().asBool(); kv::engine::DBSKIP(kv::Value(-1)))
      out.insert(out.begin(), recno());
    return out;
  }
};

}  // namespace kvtest
