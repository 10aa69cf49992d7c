#include "runtime/value/value.h"

namespace kv {

namespace {

struct StringCell {
  RtString s;
  explicit StringCell(std::string_view v) : s(v.data(), v.size()) {}
};

std::shared_ptr<void> makeString(std::string_view s) {
  return std::allocate_shared<StringCell>(CountingAllocator<StringCell>(), s);
}

}  // namespace

namespace {
// Head of the registry of live container cells (constant-initialised, so cells destroyed
// during program exit can still unlink themselves).
ContainerCell* g_firstCell = nullptr;
}  // namespace

ContainerCell::ContainerCell(Type type) noexcept : type_(type) {
  link();
}

ContainerCell::ContainerCell(const ContainerCell& other) noexcept
    : std::enable_shared_from_this<ContainerCell>(other), type_(other.type_) {
  link();
}

void ContainerCell::link() noexcept {
  next_ = g_firstCell;
  if (next_) next_->prev_ = this;
  g_firstCell = this;
}

ContainerCell::~ContainerCell() {
  if (prev_) {
    prev_->next_ = next_;
  } else {
    g_firstCell = next_;
  }
  if (next_) next_->prev_ = prev_;
}

ContainerCell* ContainerCell::firstCell() noexcept {
  return g_firstCell;
}

ArrayData::ArrayData() : ContainerCell(Type::Array) {}
ArrayData::~ArrayData() = default;

void BlockData::traverse(void (*)(const Value&, void*), void*) const {}

ArrayPtr newArrayData(std::size_t n) {
  auto a = std::allocate_shared<ArrayData>(CountingAllocator<ArrayData>());
  a->items.resize(n);
  return a;
}

Cell newCell(Value v) {
  return std::allocate_shared<Value>(CountingAllocator<Value>(), std::move(v));
}

Value::Value(const char* s) : Value(std::string_view(s ? s : "")) {}

Value::Value(std::string_view s) : kind_(Kind::Character), width_(0), dec_(0), i_(0) {
  obj_ = makeString(s);
}

Value Value::integer(std::int32_t v, int width) {
  Value r(static_cast<int>(v));
  r.width_ = static_cast<std::uint16_t>(width);
  return r;
}

Value Value::number(double v, int width, int dec) {
  Value r(v);
  r.width_ = static_cast<std::uint16_t>(width);
  r.dec_ = static_cast<std::uint16_t>(dec);
  return r;
}

Value Value::date(std::int32_t julian) {
  Value r;
  r.kind_ = Kind::Date;
  r.i_ = julian < 0 ? 0 : julian;
  return r;
}

Value Value::memo(std::string_view s) {
  Value r(s);
  r.kind_ = Kind::Memo;
  return r;
}

Value Value::array(ArrayPtr a) {
  Value r;
  r.kind_ = Kind::Array;
  r.obj_ = std::move(a);
  return r;
}

Value Value::block(BlockPtr b) {
  Value r;
  r.kind_ = Kind::Block;
  r.obj_ = std::move(b);
  return r;
}

Value Value::reference(Cell c) {
  Value r;
  r.kind_ = Kind::Ref;
  r.obj_ = std::move(c);
  return r;
}

bool Value::isObject() const noexcept {
  return kind_ == Kind::Array && obj_ && static_cast<ArrayData*>(obj_.get())->cls != nullptr;
}

std::int32_t Value::asInt() const noexcept {
  if (kind_ == Kind::Integer) return i_;
  if (kind_ == Kind::Double) {
    if (d_ >= 2147483647.0) return 2147483647;
    if (d_ <= -2147483648.0) return -2147483647 - 1;
    if (d_ != d_) return 0;
    return static_cast<std::int32_t>(d_);
  }
  if (kind_ == Kind::Date) return i_;
  return 0;
}

double Value::asDouble() const noexcept {
  if (kind_ == Kind::Double) return d_;
  if (kind_ == Kind::Integer || kind_ == Kind::Date) return i_;
  return 0.0;
}

std::string_view Value::str() const noexcept {
  if (!isString() || !obj_) return {};
  const RtString& s = static_cast<StringCell*>(obj_.get())->s;
  return std::string_view(s.data(), s.size());
}

ArrayPtr Value::arrayPtr() const noexcept {
  return kind_ == Kind::Array ? std::static_pointer_cast<ArrayData>(obj_) : nullptr;
}

BlockPtr Value::blockPtr() const noexcept {
  return kind_ == Kind::Block ? std::static_pointer_cast<BlockData>(obj_) : nullptr;
}

Cell Value::cell() const noexcept {
  return kind_ == Kind::Ref ? std::static_pointer_cast<Value>(obj_) : nullptr;
}

ArrayData* Value::arr() const noexcept {
  return kind_ == Kind::Array ? static_cast<ArrayData*>(obj_.get()) : nullptr;
}

BlockData* Value::blk() const noexcept {
  return kind_ == Kind::Block ? static_cast<BlockData*>(obj_.get()) : nullptr;
}

Value* Value::cellPtr() const noexcept {
  return kind_ == Kind::Ref ? static_cast<Value*>(obj_.get()) : nullptr;
}

const Value& Value::deref() const noexcept {
  const Value* v = this;
  while (v->kind_ == Kind::Ref && v->obj_) v = static_cast<Value*>(v->obj_.get());
  return *v;
}

std::size_t Value::arrayLen() const noexcept {
  ArrayData* a = arr();
  return a ? a->items.size() : 0;
}

const char* VALTYPE(const Value& value) {
  const Value& v = value.deref();
  switch (v.kind()) {
    case Kind::Nil:
      return "U";
    case Kind::Integer:
    case Kind::Double:
      return "N";
    case Kind::Date:
      return "D";
    case Kind::Logical:
      return "L";
    case Kind::Character:
      return "C";
    case Kind::Memo:
      return "M";
    case Kind::Block:
      return "B";
    case Kind::Array:
      return v.isObject() ? "O" : "A";
    case Kind::Ref:
      return "U";
  }
  return "U";
}

bool EMPTY(const Value& value) {
  const Value& v = value.deref();
  switch (v.kind()) {
    case Kind::Nil:
      return true;
    case Kind::Integer:
      return v.asInt() == 0;
    case Kind::Double:
      return v.asDouble() == 0.0;
    case Kind::Date:
      return v.julian() == 0;
    case Kind::Logical:
      return !v.asBool();
    case Kind::Character:
    case Kind::Memo:
      for (char c : v.str()) {
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n') return false;
      }
      return true;
    case Kind::Block:
      return false;
    case Kind::Array:
      return v.arrayLen() == 0;
    case Kind::Ref:
      return true;
  }
  return true;
}

}  // namespace kv
