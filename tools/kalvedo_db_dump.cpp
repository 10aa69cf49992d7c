#include "tools/kalvedo_db_dump.h"

#include <iostream>
#include <sstream>

#include "engine/area/areas.h"
#include "engine/area/dbfunc.h"
#include "engine/area/drivers.h"
#include "engine/area/tabledump.h"
#include "platform/codepage.h"
#include "tools/kalvedo_db_errortrap.h"

namespace kv::tools {

namespace {

// Opens the table shared and read-only in a new area: with the index driver when an index is
// to be walked, else with the default driver (plain "DBF" while no index driver is
// registered). Answers the work area (null when the open failed, which has been reported).
engine::WorkArea* openTable(const char* command, const std::string& table, bool indexed = false) {
  std::string driver = indexed                                             ? "DBFNTX"
                       : engine::driverRegistered(engine::defaultDriver()) ? ""
                                                                           : "DBF";
  return openTableForCommand(command, table, driver) ? engine::currentArea() : nullptr;
}

void usage(const char* what) {
  std::cerr << "kalvedo-db: usage: " << what << "\n";
}

}  // namespace

int dbStructCommand(const std::vector<std::string>& args) {
  if (args.size() != 1) {
    usage("kalvedo-db struct TABLE");
    return 2;
  }
  engine::WorkArea* wa = openTable("struct", args[0]);
  if (!wa) return 1;
  std::ostringstream out;
  engine::writeStructure(*wa, out);
  std::cout << platform::cp1250ToUtf8(out.str());
  engine::DBCLOSEAREA();
  return 0;
}

int dbDumpCommand(const std::vector<std::string>& args) {
  std::string table, index;
  bool withDeleted = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--deleted") {
      withDeleted = true;
    } else if (args[i] == "--index" && i + 1 < args.size()) {
      index = args[++i];
    } else if (table.empty() && args[i].rfind("--", 0) != 0) {
      table = args[i];
    } else {
      table.clear();
      break;
    }
  }
  if (table.empty()) {
    usage("kalvedo-db dump TABLE [--index NTX] [--deleted]");
    return 2;
  }
  engine::WorkArea* wa = openTable("dump", table, !index.empty());
  if (!wa) return 1;
  if (!index.empty()) {
    // The index becomes the controlling order, so the walk from the top follows its keys.
    engine::ORDLISTADD(Value(index));
    if (engine::INDEXORD().asInt() != 1) {
      engine::DBCLOSEAREA();
      return 1;
    }
  }
  std::ostringstream out;
  engine::Status status = engine::writeRecords(*wa, out, withDeleted);
  std::cout << platform::cp1250ToUtf8(out.str());
  engine::DBCLOSEAREA();
  return status == engine::kSuccess ? 0 : 1;
}

}  // namespace kv::tools
