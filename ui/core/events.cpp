#include "ui/core/events.h"

#include <algorithm>

#include "runtime/lang/codeblock.h"
#include "ui/core/guierror.h"

namespace kv::ui {

ByRef::ByRef(const Value& initial) : cell_(newCell(initial.deref())) {}

void EventHolder::set(int id, const Value& v, std::string_view message) {
  auto it =
      std::find_if(blocks_.begin(), blocks_.end(), [id](const auto& e) { return e.first == id; });
  if (it != blocks_.end()) blocks_.erase(it);
  const Value& block = v.deref();
  if (block.isBlock()) {
    blocks_.emplace_back(id, block);
  } else if (!block.isNil()) {
    Value given = block;
    guiError(kGuiArgument, message, Args(&given, 1));
  }
}

Value EventHolder::get(int id) const {
  for (const auto& e : blocks_) {
    if (e.first == id) return e.second;
  }
  return Value();
}

bool EventHolder::has(int id) const {
  return std::any_of(blocks_.begin(), blocks_.end(), [id](const auto& e) { return e.first == id; });
}

Value EventHolder::fire(int id, const Value& sender, std::initializer_list<Value> args) const {
  Value block = get(id);
  if (block.isNil()) return Value();
  std::vector<Value> argv;
  argv.reserve(args.size() + 1);
  argv.push_back(sender);
  argv.insert(argv.end(), args.begin(), args.end());
  return EVAL(block, Args(argv));
}

void EventHolder::clear() {
  // Dropping a block may free values whose own release reaches this holder again.
  std::vector<std::pair<int, Value>> old;
  old.swap(blocks_);
}

}  // namespace kv::ui
