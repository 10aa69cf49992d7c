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

  // Every virtual operation answers a Status. A driver raises the error of any failure
  // through error() before it answers kFailure, so a caller needs only pass the status on;
  // an operation the base leaves to drivers raises "Operación no soportada" (gen 30, the
  // operation's name) in the base. Record numbers are 1-based; the record after the last is
  // the phantom record: all blanks, at BOF and EOF, stores nothing.

  // --- navigation (drivers supply them)
  // The first / last record in the area's order (the controlling order of an index driver,
  // else record order); with no records the phantom record. Filter and deleted setting apply.
  virtual Status goBottom();
  virtual Status goTop();
  // Record `recNo` in record order, writing a hot record back first; a number outside the
  // table positions on the phantom record. Resets found().
  virtual Status goTo(std::uint32_t recNo);
  // goTo with a record number given as a value; another kind raises the data-type error
  // (33/1020).
  virtual Status goToId(const Value& id);
  // Searches the controlling order for `key` (a soft seek stays on the next greater key,
  // `last` takes the last equal key) and sets found(); a driver without orders raises.
  virtual Status seek(const Value& key, bool soft, bool last);
  // Moves n records through the filter and the deleted setting (the base steps one record
  // at a time with skipRaw and skipFilter); at either end BOF or EOF is set.
  virtual Status skip(std::int64_t n);
  // Leaves records the filter or the deleted setting rejects, moving in direction d; at the
  // top it stays at BOF, at the bottom at EOF (the base's, on skipRaw and deleted).
  virtual Status skipFilter(int d);
  // Moves n records in the area's order with no filter; 0 re-reads the current record.
  virtual Status skipRaw(std::int64_t n);

  // --- records
  // Appends a blank record and makes it current and hot; a shared table takes the append
  // lock (40/1024 with retry while another station holds it) and locks the new record,
  // first releasing the other record locks when `releaseLocks`.
  virtual Status append(bool releaseLocks);
  // Marks / unmarks the current record as deleted (nothing on the phantom record).
  virtual Status deleteRec();
  virtual Status recall();
  // Whether the current record is marked deleted.
  virtual Status deleted(bool& out);
  // Writes a hot record back, then the header and the files to disk (DBCOMMIT).
  virtual Status flush();
  // Writes the current record back when it was changed (hot) and brings the orders along.
  virtual Status goCold();
  // Makes the current record writable: read-only 39/1025, a shared record without its lock
  // 38/1022.
  virtual Status goHot();
  // The current record's bytes (deletion flag first), valid until the next operation; and
  // the replacement of all of them (the record goes hot).
  virtual Status getRec(const char*& out);
  virtual Status putRec(const char* rec);
  // Field values by 1-based field number; a number outside the fields answers kFailure with
  // nothing raised. putValue makes the record hot; a value of the wrong kind raises 33/1020,
  // a number too wide for its field 34/1021 (the field then holds asterisks).
  virtual Status getValue(int field, Value& out);
  virtual Status putValue(int field, const Value& v);
  // The length of a memo field's text (0 for other fields).
  virtual Status getVarLen(int field, std::uint32_t& out);
  // The number of records, and the current record number (the phantom record's is the
  // count + 1).
  virtual Status recCount(std::uint32_t& out);
  virtual Status recNo(std::uint32_t& out);

  // --- fields
  // Adds a field for create(): the name upper-cased and cut to 10 characters; kFailure
  // (nothing raised) without a name or with a negative width.
  virtual Status addField(const Field& f);
  int fieldCount() const { return static_cast<int>(fields_.size()); }
  const Field& field(int i) const { return fields_[static_cast<std::size_t>(i - 1)]; }
  // 1-based position of a field name (case-insensitive), 0 when absent.
  int fieldPos(std::string_view name) const;

  // --- open, create, close
  // Opens the table `info` names (a driver then calls the base open, which links the field
  // names into their chains and registers the alias: error 18 "Alias actualmente en uso"
  // when another area has it). A failed open leaves the area closed.
  virtual Status open(const OpenInfo& info);
  // Creates the table from the fields added with addField and leaves it open exclusively
  // (the base only opens, as the drivers' base open does).
  virtual Status create(const OpenInfo& info);
  // Writes back what is pending, releases locks and files; the base close then clears
  // filter, relations and scope and unlinks fields and alias. Answers kFailure when a write
  // failed, yet always closes.
  virtual Status close();
  // Facts of the table by request number (DBINFO); the base answers false for 1 and 2 and
  // nil for anything else.
  virtual Status info(int request, Value& out);

  // --- whole-table operations
  // Removes the deleted records / every record; both need the table exclusively (37/1023)
  // and writable (39/1025); an index driver then rebuilds its orders.
  virtual Status pack();
  virtual Status zap();
  // Copies the records in scope into `target`, ordered on the given field numbers
  // (ascending unless `descending` says otherwise for that key).
  virtual Status sort(WorkArea& target, const Scope& scope, const std::vector<int>& fields,
                      const std::vector<bool>& descending);
  // Copies the records in scope into `target`; `map` pairs source and target field numbers.
  virtual Status trans(WorkArea& target, const std::vector<std::pair<int, int>>& map,
                       const Scope& scope);
  // Appends the current record to `target` with the mapped fields and its deleted mark.
  virtual Status transRec(WorkArea& target, const std::vector<std::pair<int, int>>& map);
  // Evaluates `block` for each record in scope.
  Status dbEval(const Value& block, const Scope& scope);

  // --- orders (index drivers override; the base raises for all but orderInfo)
  // Opens the index file `bag` as a further order; the first becomes the controlling one.
  virtual Status orderListAdd(const std::string& bag, const std::string& name);
  // Closes every order; the area is then in record order.
  virtual Status orderListClear();
  // Makes the order named (number or tag name) the controlling one, `previous` the tag
  // name of the one before; nil or an unknown order changes nothing.
  virtual Status orderListFocus(const Value& order, std::string& previous);
  // Rebuilds every open order from the records.
  virtual Status orderListRebuild();
  // Creates an order and makes it the controlling one: kSuccess, kFailure after a raised
  // error, kNotCompiled when the key or FOR text does not compile (the syntax error raised),
  // kIndexHeaderShort when the index header was written short (nothing raised).
  [[nodiscard]] virtual Status orderCreate(const OrderCreateInfo& info);
  // Stores the condition of the next order creation (ORDCONDSET).
  virtual Status orderCondition(const OrderCondition& cond);
  // A fact of an order (OrderInfoRequest) named by number or tag name, nil or the
  // controlling one; nil for no such order (the base answers nil for every request).
  virtual Status orderInfo(int request, const Value& order, Value& out);

  // --- filter
  // Replaces the filter: the block decides, the text is what DBFILTER answers.
  virtual Status setFilter(const Value& block, const std::string& text);
  Status clearFilter();
  const std::string& filterText() const { return filterText_; }
  bool hasFilter() const { return !filterBlock_.isNil(); }

  // --- locks
  // Takes the lock the request names; `ok` tells whether it is held (a refused lock is no
  // error). An exclusive table holds every lock.
  virtual Status lock(const LockRequest& req, bool& ok);
  // Releases the lock of record `recNo`, or with 0 every lock of the area.
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
  ErrorResult error(ErrorRecord record);
  // Raises the error and answers true when the handler asked for a retry.
  [[nodiscard]] bool retryAsked(ErrorRecord record);
  // Raises the error and answers kFailure, for an operation that ends with it.
  Status failWith(ErrorRecord record);

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
