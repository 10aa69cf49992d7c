#include "tools/kalvedo_db_reindex.h"

#include <iostream>

#include "engine/area/areas.h"
#include "engine/area/dbfunc.h"
#include "platform/codepage.h"

namespace kv::tools {

int dbReindexCommand(const std::vector<std::string>& args) {
  if (args.size() != 3) {
    std::cerr << "kalvedo-db: usage: kalvedo-db reindex TABLE NTX KEY\n";
    return 2;
  }
  const std::string key = platform::utf8ToCp1250(args[2]);
  engine::DBUSEAREA(Value(true), Value("DBFNTX"), Value(args[0]), Value(), Value(false),
                    Value(false));
  if (!engine::currentArea()) return 1;
  engine::ORDCREATE(Value(args[1]), Value(), Value(key));
  // A create that stopped without an error (a header that could not be written in full)
  // leaves no order behind; that must not pass for success.
  const bool built = engine::INDEXORD().asInt() > 0;
  std::string line;
  if (built) {
    line = std::string(engine::ORDBAGNAME().str()) + ": built from " +
           std::to_string(engine::__LASTREC().asInt()) + " records, key " +
           std::string(engine::ORDKEY().str()) + "\n";
  }
  engine::DBCLOSEAREA();
  if (!built) {
    std::cerr << "kalvedo-db: the index " << args[1] << " was not built\n";
    return 1;
  }
  std::cout << platform::cp1250ToUtf8(line);
  return 0;
}

}  // namespace kv::tools
