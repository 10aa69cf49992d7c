#include "app/core/dataindex.h"

#include <cctype>
#include <cstdio>
#include <memory>
#include <optional>

#include "app/core/datafiles.h"
#include "app/core/messagedlg.h"
#include "engine/area/dbfunc.h"
#include "engine/ntx/ntx_format.h"
#include "platform/filename.h"
#include "runtime/error/callstack.h"
#include "runtime/error/error.h"
#include "runtime/error/errorobject.h"
#include "runtime/lang/classes.h"
#include "runtime/lang/codeblock.h"
#include "runtime/lib/filefuncs.h"

namespace kv::app {

using namespace kv::engine;

namespace {

// Message box types and the button set of a box with a single Ok button.
constexpr int kInformation = 0;
constexpr int kError = 2;
constexpr int kOkButton = 2;

// True for the error an index file raises when it fails its open as damaged.
bool isDamagedIndex(const Value& e) {
  return isErrorObject(e) && send(e, "GENCODE").deref().asInt() == EG_CORRUPTION &&
         send(e, "SUBCODE").deref().asInt() == kDbCorruption &&
         send(e, "SUBSYSTEM").deref().isString() && send(e, "SUBSYSTEM").deref().str() == "DBFNTX";
}

// Puts the handler that was installed back on every way out of the trapped open.
class HandlerRestore {
 public:
  explicit HandlerRestore(Value handler) : handler_(std::move(handler)) {}
  ~HandlerRestore() { ERRORBLOCK(handler_); }
  HandlerRestore(const HandlerRestore&) = delete;
  HandlerRestore& operator=(const HandlerRestore&) = delete;

 private:
  Value handler_;
};

// Adds the index to the current area's order list. An index that fails its open as damaged
// does not reach the program's handler: the open is abandoned and the damaged file's name is
// answered. Every other error goes to the handler as usual; nothing when no damage was met.
std::optional<std::string> addIndexTrapped(const Value& bag) {
  const Value handler = ERRORBLOCK();
  // Without a handler any error ends the program; there is nothing to trap for.
  if (!handler.isBlock()) {
    ORDLISTADD(bag);
    return std::nullopt;
  }
  HandlerRestore restore(handler);
  auto trapped = std::make_shared<bool>(false);
  ERRORBLOCK(makeBlock(
      [handler, trapped](Args a) -> Value {
        const Value& e = arg(a, 0);
        if (!isDamagedIndex(e)) return EVAL(handler, {e});
        *trapped = true;
        BREAK(e);
      },
      1));
  try {
    ORDLISTADD(bag);
  } catch (const BreakException& b) {
    // A BREAK of the program's own handler belongs to whoever recovers from it.
    if (!*trapped) throw;
    const Value file = send(b.value, "FILENAME").deref();
    if (file.isString() && !file.str().empty()) return std::string(file.str());
    return std::string(bag.deref().str()) + ".ntx";
  }
  return std::nullopt;
}

// The file name without its directory.
std::string withoutDirectory(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The first backup name of the damaged file that no file holds yet.
std::string freeBackupName(const std::string& indexFile) {
  std::string name;
  for (int n = 1; name.empty() || FILE(Value(name)); ++n) name = indexBackupName(indexFile, n);
  return name;
}

}  // namespace

std::string indexBackupName(const std::string& indexFile, int n) {
  const std::string name = withoutDirectory(indexFile);
  const std::size_t dot = name.find_last_of('.');
  char number[16];
  std::snprintf(number, sizeof number, "_K%02d", n);
  return platform::derivedName(indexFile, number,
                               dot == std::string::npos ? std::string() : name.substr(dot));
}

std::string reindexCommand(const std::string& table, const std::string& indexFile,
                           const std::string& key) {
  bool plain = !key.empty();
  for (char c : key) plain = plain && (std::isalnum(static_cast<unsigned char>(c)) || c == '_');
  return "kalvedo-db reindex " + table + " " + indexFile + " " + (plain ? key : "\"" + key + "\"");
}

void OtvoriIndeks(const Value& alias, const Value& table, const Value& bag, const Value& key) {
  KV_PROC("OTVORIINDEKS");
  KV_LINE();
  ORDLISTCLEAR();
  const std::optional<std::string> found = addIndexTrapped(bag);
  if (!found) return;
  // The names as they are on disk, so that the backup follows the index file's case.
  const std::string damaged = platform::existingName(*found);
  const std::string tableName = platform::existingName(std::string(table.deref().str()));
  const std::string indexName = withoutDirectory(damaged);
  // The build needs the table to itself: a record another station wrote meanwhile would be
  // missing from the new index, and that station would go on with the old file.
  KV_LINE();
  DBCLOSEAREA();
  DBUSEAREA(Value(true), Value(kDataDriver), table, alias, Value(false), Value(false));
  bool rebuilt = false;
  std::string backup;
  if (USED().asBool()) {
    backup = freeBackupName(damaged);
    KV_LINE();
    if (__COPYFILE(Value(damaged), Value(backup))) {
      KV_LINE();
      ORDCREATE(bag, Value(), key, Value(), Value(false));
      // A create that stopped without an error (a header written short) leaves no order.
      rebuilt = INDEXORD().asInt() > 0;
    }
    DBCLOSEAREA();
  } else {
    // This station had the table open a moment ago, so another one holds it.
    KV_LINE();
    MessageDlg(Value("Indeks " + indexName +
                     " je ostecen i mora se ponovo napraviti dok nijedna druga stanica ne "
                     "radi sa bazom " +
                     tableName +
                     ". Zatvorite program na svim stanicama, pa u direktorijumu sa podacima "
                     "pokrenite:\r\n" +
                     reindexCommand(tableName, indexName, std::string(key.deref().str()))),
               Value(kError), Value(kOkButton));
  }
  if (!rebuilt) {
    // The table stays closed: without its index no station may write to it.
    KV_LINE();
    ntx::raiseNtxError(EG_CORRUPTION, kDbCorruption, damaged);
    return;
  }
  KV_LINE();
  DBUSEAREA(Value(true), Value(kDataDriver), table, alias, Value(true), Value(false));
  ORDLISTADD(bag);
  KV_LINE();
  MessageDlg(
      Value("Indeks " + indexName + " je bio ostecen, pa je ponovo napravljen iz baze " +
            tableName + ". Ostecena datoteka je sacuvana kao " + withoutDirectory(backup) + "."),
      Value(kInformation), Value(kOkButton));
}

}  // namespace kv::app
