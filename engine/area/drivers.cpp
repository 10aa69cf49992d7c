#include "engine/area/drivers.h"

#include "engine/area/dberror.h"

namespace kv::engine {

namespace {

struct Module {
  std::string name, parent;
  WorkAreaFactory factory;
};

struct Registered {
  std::string name;
  int type;
  int useCount;
};

struct Registry {
  std::vector<Module> modules;
  std::vector<Registered> drivers;
  std::string defaultName;
};

Registry& registry() {
  static Registry r;
  return r;
}

std::string normalName(std::string_view name) {
  while (!name.empty() && name.front() == ' ') name.remove_prefix(1);
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  return upperName(name);
}

const Module* findModule(const std::string& name) {
  for (auto& m : registry().modules)
    if (m.name == name) return &m;
  return nullptr;
}

Registered* findDriver(const std::string& name) {
  for (auto& d : registry().drivers)
    if (d.name == name) return &d;
  return nullptr;
}

}  // namespace

void addDriverModule(std::string_view name, std::string_view parent, WorkAreaFactory factory) {
  std::string n = normalName(name);
  for (auto& m : registry().modules)
    if (m.name == n) {
      m.factory = factory;
      return;
    }
  registry().modules.push_back({n, normalName(parent), factory});
}

void RDDREGISTER(std::string_view name, int type) {
  std::string n = normalName(name);
  if (n.empty()) internalError(9001);
  if (n.size() > 58) internalError(9003);
  if (!findModule(n)) internalError(9002);
  if (findDriver(n)) return;
  if (registry().drivers.size() >= 32) return;
  registry().drivers.push_back({n, type, 0});
}

bool driverRegistered(std::string_view name) {
  return findDriver(normalName(name)) != nullptr;
}

std::string defaultDriver() {
  return registry().defaultName.empty() ? std::string("DBFNTX") : registry().defaultName;
}

Value RDDSETDEFAULT(const Value& name) {
  Value old(defaultDriver());
  const Value& n = name.deref();
  if (n.isString()) {
    std::string want = normalName(n.str());
    if (!want.empty()) {
      if (!findDriver(want)) {
        dbcmdError(EG_ARG, kDbCmdNoDriver, "RDDSETDEFAULT");
        return old;
      }
      registry().defaultName = want;
    }
  }
  return old;
}

Value RDDLIST(const Value& type) {
  int t = type.deref().isNumber() ? type.deref().asInt() : 1;
  Value a = Value::newArray();
  for (auto& d : registry().drivers)
    if (d.type == t) a.arr()->items.push_back(Value(d.name));
  return a;
}

std::unique_ptr<WorkArea> newWorkArea(std::string_view driver, bool& unknown) {
  unknown = false;
  std::string n = normalName(driver);
  bool useDefault = n.size() <= 1;
  if (useDefault) n = defaultDriver();
  Registered* d = findDriver(n);
  if (!d) {
    if (useDefault) internalError(9006);
    unknown = true;
    return nullptr;
  }
  const Module* m = findModule(n);
  if (!m || !m->factory) internalError(9005);
  ++d->useCount;
  return m->factory();
}

void resetDrivers() {
  registry().drivers.clear();
  registry().defaultName.clear();
}

}  // namespace kv::engine
