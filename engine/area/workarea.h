#pragma once
// The generic work area: the state every table driver shares (fields, alias, flags, filter,
// locate scope, result holder) and the operations every driver inherits. Drivers derive from
// it and override the virtual operations they supply; an operation a driver leaves alone
// raises "Operación no soportada" (gen 30). Operations answer a status (0 success).
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/area/dberror.h"
#include "runtime/lang/symbols.h"
#include "runtime/value/value.h"

namespace kv::engine {

// One field of a table. `offset` is its place in the record; as a FieldLink it links the
// fields of every open work area that carry the same name (the chain starts at the symbol,
// runtime/lang/symbols.h).
struct Field : FieldLink {
  std::string name;  // upper case, at most 10 characters
  char type = 'C';   // 'C', 'N', 'D', 'L', 'M' or 'U'
  int width = 0;
  int dec = 0;
  std::uint32_t offset = 0;
  Symbol* sym = nullptr;
  int area = 0;
};

// Arguments of open and create.
struct OpenInfo {
  std::string fileName;
  std::string alias;  // empty: derived from the file name
  bool shared = false;
  bool readOnly = false;
};

// The eight event blocks of a table, in this order.
enum EventKind { kEvOpen, kEvClose, kEvAppend, kEvUpdate, kEvDelete, kEvRead, kEvWrite, kEvGoto };
constexpr int kEventCount = 8;

// Scope of DBEVAL and of copying: a record number, else a next count, else the rest from the
// current record when `rest` is true or a WHILE block is given, else the whole table.
struct Scope {
  Value forBlock, whileBlock, next, record;
  bool rest = false;
};

// A lock request: record number (0 = current), kind 1 lock only this record, 2 add it to the
// locks, 3 lock the file.
struct LockRequest {
  std::uint32_t recNo = 0;
  int kind = 1;
};

// Requests of orderInfo (answered by index drivers).
enum OrderInfoRequest : int {
  kOrdCondition = 1,   // FOR text
  kOrdExpression = 2,  // key text
  kOrdName = 5,        // order name
  kOrdNumber = 6,      // order number (of the controlling order when none is named)
  kOrdBagName = 7,     // index file name
  kOrdBagExt = 8,      // index file extension
};

// Parameters of order creation (for index drivers).
struct OrderCreateInfo {
  std::string bagName, orderName, keyText;
  Value keyBlock;
  bool unique = false;
};

// The condition ORDCONDSET stores for the next order creation. `active` and `partial` are
// derived by settle(): the condition is active when a FOR text, FOR block or EVAL block is
// given, the all, rest or descending flag is set, or a next count or record number of 0 or
// more is given; an active condition is partial with the all flag, a WHILE block, a
// positive next count, a positive record number or the rest flag.
struct OrderCondition {
  std::string forText;
  Value forBlock;
  bool all = false;
  Value whileBlock;
  Value evalBlock;
  std::int64_t evalInterval = 0;  // negative counts as 0
  std::int64_t startRecord = -1;  // -1: not given
  std::int64_t nextCount = -1;
  std::int64_t recordNumber = -1;
  bool rest = false;
  bool descending = false;

  bool active = false;
  bool partial = false;
  void settle();
};

class WorkArea {
 public:
  WorkArea();
  virtual ~WorkArea();
  WorkArea(const WorkArea&) = delete;
  WorkArea& operator=(const WorkArea&) = delete;

  // --- identity
  int areaNumber() const { return area_; }
  void setAreaNumber(int n) { area_ = n; }
  const std::string& alias() const { return alias_; }
  virtual std::string sysName() const { return std::string(); }
  bool isOpen() const { return open_; }

  // --- flags kept by the base
  bool bof() const { return bof_; }
  bool eof() const { return eof_; }
  bool found() const { return found_; }

  // --- navigation (unsupported in the base unless noted)
  virtual Status goBottom();
  virtual Status goTo(std::uint32_t recNo);
  virtual Status goToId(const Value& id);
  virtual Status goTop();
  virtual Status seek(const Value& key, bool soft, bool last);
  // Step-by-step skip through the filter (the base's); drivers may shortcut it.
  virtual Status skip(std::int64_t n);
  // Leaves records the filter or the deleted setting rejects, moving in direction d.
  virtual Status skipFilter(int d);
  virtual Status skipRaw(std::int64_t n);

  // --- records
  virtual Status append(bool releaseLocks);
  virtual Status deleteRec();
  virtual Status recall();
  virtual Status deleted(bool& out);
  virtual Status flush();
  virtual Status goCold();
  virtual Status goHot();
  virtual Status getRec(const char*& out);
  virtual Status putRec(const char* rec);
  // Field numbers are 1-based.
  virtual Status getValue(int field, Value& out);
  virtual Status getVarLen(int field, std::uint32_t& out);
  virtual Status putValue(int field, const Value& v);
  virtual Status recCount(std::uint32_t& out);
  virtual Status recNo(std::uint32_t& out);

  // --- fields
  virtual Status addField(const Field& f);
  int fieldCount() const { return static_cast<int>(fields_.size()); }
  const Field& field(int i) const { return fields_[static_cast<std::size_t>(i - 1)]; }
  // 1-based position of a field name (case-insensitive), 0 when absent.
  int fieldPos(std::string_view name) const;

  // --- open, create, close
  // The base open: links the field names into their chains and registers the alias (error
  // 18 "Alias actualmente en uso" when another area has it).
  virtual Status open(const OpenInfo& info);
  virtual Status create(const OpenInfo& info);
  // The base close: clears filter, relations and scope, unlinks fields and the alias.
  virtual Status close();
  virtual Status info(int request, Value& out);

  // --- whole-table operations
  virtual Status pack();
  virtual Status zap();
  // Copies the records in scope into `target`, ordered on the given field numbers
  // (ascending unless `descending` says otherwise for that key).
  virtual Status sort(WorkArea& target, const Scope& scope, const std::vector<int>& fields,
                      const std::vector<bool>& descending);
  // Copies the records in scope into `target`; `map` pairs source and target field numbers.
  virtual Status trans(WorkArea& target, const std::vector<std::pair<int, int>>& map,
                       const Scope& scope);
  virtual Status transRec(WorkArea& target, const std::vector<std::pair<int, int>>& map);
  // Evaluates `block` for each record in scope.
  Status dbEval(const Value& block, const Scope& scope);

  // --- orders (index drivers override)
  virtual Status orderListAdd(const std::string& bag, const std::string& name);
  virtual Status orderListClear();
  virtual Status orderListFocus(const Value& order, std::string& previous);
  virtual Status orderListRebuild();
  // Creates an order and makes it the controlling one: kSuccess, kFailure after a raised
  // error, kNotCompiled when the key or FOR text does not compile (the syntax error raised),
  // kIndexHeaderShort when the index header was written short (nothing raised).
  [[nodiscard]] virtual Status orderCreate(const OrderCreateInfo& info);
  // Stores the condition of the next order creation (ORDCONDSET).
  virtual Status orderCondition(const OrderCondition& cond);
  virtual Status orderInfo(int request, const Value& order, Value& out);

  // --- filter
  virtual Status setFilter(const Value& block, const std::string& text);
  Status clearFilter();
  const std::string& filterText() const { return filterText_; }
  bool hasFilter() const { return !filterBlock_.isNil(); }

  // --- locks
  virtual Status lock(const LockRequest& req, bool& ok);
  virtual Status unlock(std::uint32_t recNo);

  // --- relations: not used by the program; cleared on close
  virtual Status clearRel();

  // --- expressions
  // Compiles `text` into a block in the result holder; false (and nil there) when it does
  // not compile.
  [[nodiscard]] bool compile(std::string_view text);
  // Evaluates a block with this area selected; the value goes to the result holder.
  Status evalBlock(const Value& block);
  const Value& result() const { return result_; }

  // The error method: fills an empty subsystem with the driver's name and raises the error
  // through the engine's path (engine/area/dberror.h).
  ErrorResult error(ErrorSpec spec);
  // Raises the error and answers true when the handler asked for a retry.
  [[nodiscard]] bool retryAsked(ErrorSpec spec);
  // Raises the error and answers kFailure, for an operation that ends with it.
  Status failWith(ErrorSpec spec);

  // Event blocks handed over from DBSETEVENTS.
  void setEventBlocks(const std::vector<Value>& blocks);

 protected:
  Status unsupported(const char* operation);
  // Runs `process` for every record of the scope (see Scope), honouring FOR and WHILE.
  Status forEachInScope(const Scope& scope, const std::function<Status()>& process);
  // Runs an event block, if set, with this area selected.
  void runEvent(EventKind k);
  void setBof(bool v) { bof_ = v; }
  void setEof(bool v) { eof_ = v; }
  void setFound(bool v) { found_ = v; }

  std::vector<Field> fields_;
  bool bof_ = true, eof_ = true, found_ = false;
  bool atTop_ = false, atBottom_ = false;
  Value filterBlock_;
  std::string filterText_;
  Scope locate_;
  Value result_;
  Value events_[kEventCount];

 private:
  void linkFields();
  void unlinkFields();

  int area_ = 0;
  bool open_ = false;
  std::string alias_;
  Symbol* aliasSym_ = nullptr;
};

// The area an alias symbol names (0 when none): kept beside the symbol table because
// Symbol has no slot for it.
int aliasArea(std::string_view alias);
// Default alias of a file name: the base name without directory and extension, at most 58
// characters.
std::string defaultAlias(std::string_view fileName);
// True when `s` is a valid identifier (letter or underscore, then letters, digits, _).
bool isIdentifier(std::string_view s);

}  // namespace kv::engine
