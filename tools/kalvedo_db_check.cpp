#include "tools/kalvedo_db_check.h"

#include <iostream>
#include <sstream>

#include "engine/area/areas.h"
#include "engine/area/dbfunc.h"
#include "engine/dbf/dbfarea.h"
#include "platform/codepage.h"
#include "runtime/error/error.h"
#include "tools/kalvedo_db_errortrap.h"
#include "tools/kalvedo_db_indexcheck.h"
#include "tools/kalvedo_db_tablecheck.h"

namespace kv::tools {

namespace {

// Opens the table shared and read-only with the plain table driver in a new area; an
// error on the way becomes a problem. Answers the work area, null when it did not open.
engine::WorkArea* openForCheck(const std::string& path, Findings& out) {
  ErrorTrap trap;
  try {
    engine::DBUSEAREA(Value(true), Value("DBF"), Value(path), Value(), Value(true), Value(true));
  } catch (const BreakException& b) {
    out.problem(path, "the table cannot be opened: " + ErrorTrap::describe(b.value));
    return nullptr;
  }
  engine::WorkArea* wa = engine::currentArea();
  if (!wa) out.problem(path, "the table cannot be opened");
  return wa;
}

}  // namespace

std::vector<CheckedFile> checkTableSet(const std::string& table,
                                       const std::vector<std::string>& indexes, Findings& found) {
  TableFacts facts = checkTableFile(table, found);
  engine::WorkArea* wa = facts.openable ? openForCheck(table, found) : nullptr;
  std::vector<CheckedFile> files{{table, counted(facts.headerCount, "record")}};
  for (const auto& index : indexes)
    files.push_back({index, counted(checkIndexFile(index, wa, found), "key")});
  if (wa) engine::DBCLOSEAREA();
  return files;
}

int dbCheckCommand(const std::vector<std::string>& args) {
  if (args.empty()) {
    std::cerr << "kalvedo-db: usage: kalvedo-db check TABLE [NTX...]\n";
    return 2;
  }
  Findings found;
  std::vector<std::string> indexes;
  for (std::size_t i = 1; i < args.size(); ++i)
    indexes.push_back(engine::resolveDataFile(args[i], ".ntx"));
  std::string files;
  for (const auto& f : checkTableSet(engine::resolveDataFile(args[0], ".dbf"), indexes, found))
    files += (files.empty() ? "" : ", ") + f.name + " (" + f.count + ")";
  std::ostringstream text;
  found.write(text);
  if (found.clean())
    text << "clean: " << files << '\n';
  else
    text << "damaged: " << counted(found.problems.size(), "problem") << ", "
         << counted(found.notes.size(), "note") << ": " << files << '\n';
  std::cout << platform::cp1250ToUtf8(text.str());
  return found.clean() ? 0 : 1;
}

}  // namespace kv::tools
