#pragma once
// The runtime's dynamic value: a kind code, a display width, a decimal count and a payload.
// Scalars (numbers, dates, logicals) live in the value itself; strings, arrays, objects and
// code blocks are reference-counted heap cells shared between copies of the value. Strings
// are immutable 8-bit byte strings in the Windows-1250 code page.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/value/memory.h"

namespace kv {

// Kind codes as the runtime reports them. An object is an array with a class.
enum class Kind : std::uint16_t {
  Nil = 0,
  Integer = 2,
  Double = 8,
  Date = 0x20,
  Logical = 0x80,
  Character = 0x400,
  Memo = 0x0C00,
  Block = 0x1000,
  Array = 0x8000,
  Ref = 0xF000,  // internal: a by-reference argument pointing at a variable's cell
};

class Value;
struct ClassDef;  // class dictionary of an object (runtime/lang/classes.h)

using ValueVector = std::vector<Value, CountingAllocator<Value>>;
using RtString = std::basic_string<char, std::char_traits<char>, CountingAllocator<char>>;

// Base of the heap cells that can hold other values: arrays, objects and code blocks. While
// such a cell lives it is linked into the runtime's registry of containers, which the
// collector of the event poll (runtime/lang/eventpoll.h) walks to find reference cycles. A copy
// is a new cell with a registry link of its own.
class ContainerCell : public std::enable_shared_from_this<ContainerCell> {
 public:
  enum class Type : std::uint8_t { Array, Block };
  explicit ContainerCell(Type type) noexcept;
  ContainerCell(const ContainerCell& other) noexcept;
  ContainerCell& operator=(const ContainerCell&) noexcept { return *this; }
  ~ContainerCell();

  Type cellType() const noexcept { return type_; }
  // Number of values and pointers sharing this cell (0 when no shared pointer owns it).
  long ownerCount() const noexcept { return weak_from_this().use_count(); }

  // Walks the registry: the most recently created live cell first.
  static ContainerCell* firstCell() noexcept;
  ContainerCell* nextCell() const noexcept { return next_; }

 private:
  void link() noexcept;
  ContainerCell* prev_ = nullptr;
  ContainerCell* next_ = nullptr;
  Type type_;
};

// Heap cell of an array or object. `cls` is null for a plain array; objects keep their
// instance data in `items`. Class dictionaries live for the whole run.
struct ArrayData : ContainerCell {
  ValueVector items;
  const ClassDef* cls = nullptr;
  ArrayData();
  ~ArrayData();
};

// Heap cell of a code block. Evaluation goes through evalBlock() (runtime/lang/codeblock.h);
// `params` is the number of declared parameters. traverse() reports every value the block
// holds on to (each once, and only values it holds), so the collector can find cycles
// through blocks. releaseValues() is called by the collector on a block that is part of
// unreachable garbage: a block that can hold values which may lead back to itself other
// than through arrays or by-reference cells (those the collector clears itself) drops them
// there.
class BlockData : public ContainerCell {
 public:
  BlockData() noexcept : ContainerCell(Type::Block) {}
  BlockData(const BlockData& other) noexcept = default;
  virtual ~BlockData() = default;
  virtual Value eval(std::span<Value> args) = 0;
  virtual void traverse(void (*visit)(const Value&, void*), void* ctx) const;
  virtual void releaseValues() {}
  int params = 0;
};

using ArrayPtr = std::shared_ptr<ArrayData>;
using BlockPtr = std::shared_ptr<BlockData>;
using Cell = std::shared_ptr<Value>;  // storage of a variable that can be passed by reference

// Creates an empty array cell, counted in the runtime's memory figures.
ArrayPtr newArrayData(std::size_t n = 0);
// Creates a cell for a variable.
Cell newCell(Value v);

class Value {
 public:
  Value() noexcept : kind_(Kind::Nil), width_(0), dec_(0), i_(0) {}
  Value(int v) noexcept : kind_(Kind::Integer), width_(0), dec_(0), i_(v) {}
  Value(double v) noexcept : kind_(Kind::Double), width_(0), dec_(0), d_(v) {}
  Value(bool v) noexcept : kind_(Kind::Logical), width_(0), dec_(0), l_(v) {}
  Value(const char* s);
  Value(std::string_view s);
  Value(const std::string& s) : Value(std::string_view(s)) {}

  // Factories for kinds that need more than a C++ type to choose them.
  static Value integer(std::int32_t v, int width = 0);
  static Value number(double v, int width = 0, int dec = 0);
  static Value date(std::int32_t julian);
  static Value logical(bool v) { return Value(v); }
  static Value string(std::string_view s) { return Value(s); }
  static Value memo(std::string_view s);
  static Value array(ArrayPtr a);
  static Value newArray(std::size_t n = 0) { return array(newArrayData(n)); }
  static Value block(BlockPtr b);
  static Value reference(Cell c);

  Kind kind() const noexcept { return kind_; }
  int width() const noexcept { return width_; }
  int decimals() const noexcept { return dec_; }
  void setWidth(int w, int d) noexcept {
    width_ = static_cast<std::uint16_t>(w);
    dec_ = static_cast<std::uint16_t>(d);
  }

  bool isNil() const noexcept { return kind_ == Kind::Nil; }
  bool isNumber() const noexcept { return kind_ == Kind::Integer || kind_ == Kind::Double; }
  bool isInteger() const noexcept { return kind_ == Kind::Integer; }
  bool isDouble() const noexcept { return kind_ == Kind::Double; }
  bool isDate() const noexcept { return kind_ == Kind::Date; }
  bool isLogical() const noexcept { return kind_ == Kind::Logical; }
  // Character or memo.
  bool isString() const noexcept { return kind_ == Kind::Character || kind_ == Kind::Memo; }
  bool isMemo() const noexcept { return kind_ == Kind::Memo; }
  bool isBlock() const noexcept { return kind_ == Kind::Block; }
  // Plain array or object.
  bool isArray() const noexcept { return kind_ == Kind::Array; }
  bool isObject() const noexcept;
  bool isRef() const noexcept { return kind_ == Kind::Ref; }

  // Payload accessors; each expects the matching kind and never crashes on another: a wrong
  // kind yields 0, false, an empty string or a null pointer, except that asInt and asDouble
  // of a date answer its day number.
  // Integers as they are; doubles truncated towards zero and held to the 32-bit range (NaN: 0).
  std::int32_t asInt() const noexcept;
  double asDouble() const noexcept;  // any number
  std::int32_t julian() const noexcept { return kind_ == Kind::Date ? i_ : 0; }
  bool asBool() const noexcept { return kind_ == Kind::Logical && l_; }
  std::string_view str() const noexcept;
  std::string toStdString() const { return std::string(str()); }
  // Shared owners of the heap cell (null for another kind), and raw pointers for quick
  // access while the value is alive.
  ArrayPtr arrayPtr() const noexcept;
  BlockPtr blockPtr() const noexcept;
  Cell cell() const noexcept;
  ArrayData* arr() const noexcept;
  BlockData* blk() const noexcept;
  Value* cellPtr() const noexcept;

  // The referenced variable's value for a by-reference value, else the value itself.
  const Value& deref() const noexcept;

  // Number of elements of an array, 0 for anything else.
  std::size_t arrayLen() const noexcept;

 private:
  Kind kind_;
  std::uint16_t width_;
  std::uint16_t dec_;
  union {
    std::int32_t i_;
    double d_;
    bool l_;
  };
  std::shared_ptr<void> obj_;  // RtString, ArrayData, BlockData or Value (by kind)
};

// One-letter type name: "U", "N", "D", "L", "C", "M", "B", "A", "O".
const char* VALTYPE(const Value& v);
// True for nil, zero numbers, the empty date, a logical that is not true, strings of only
// blanks, tabs, CR and LF, and empty arrays; never for code blocks.
bool EMPTY(const Value& v);

}  // namespace kv
