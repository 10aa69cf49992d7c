#pragma once
// Event properties. An event holds a code block or nothing; firing evaluates the block with
// the sender's language object first and the event's own arguments after it. Arguments that
// the library reads back (the key of OnKeyDown, the answer of OnCloseQuery, the action of
// OnClose) are passed by reference through a ByRef.
#include <initializer_list>
#include <string_view>
#include <utility>
#include <vector>

#include "runtime/value/value.h"

namespace kv::ui {

// Every event of the library's classes; each class uses its own few.
enum EventId : int {
  kOnClick,
  kOnDblClick,
  kOnMove,
  kOnMouseDown,
  kOnMouseEnter,
  kOnMouseLeave,
  kOnMouseMove,
  kOnMouseUp,
  kOnMouseWheel,
  kOnResize,
  kOnDragDrop,
  kOnEnter,
  kOnExit,
  kOnKeyDown,
  kOnPaint,
  kOnChange,
  kOnTimer,
  kOnClose,
  kOnCloseQuery,
  kOnCreate,
  kOnDestroy,
  kOnHelp,
  kOnHide,
  kOnShow,
  kOnActivate,
  kOnDeactivate,
  kOnMinimize,
  kOnRestore,
  kOnShowHint,
  kOnDrawCell,
  kOnHeaderClick,
  kOnColResize,
  kOnEnterEditor,
  kOnExitEditor,
  kOnFooterClick,
  kOnSearch,
  kOnPreview,
  kOnPageChanged,
};

// A variable passed by reference to an event block and read back afterwards.
class ByRef {
 public:
  explicit ByRef(const Value& initial);
  // The argument to pass: a reference to the variable.
  Value arg() const { return Value::reference(cell_); }
  // The variable as the block left it.
  const Value& value() const { return *cell_; }

 private:
  Cell cell_;
};

// The event blocks of one library object.
class EventHolder {
 public:
  // The setter (_OnClick ...): drops the block held before; a code block is held, NIL clears
  // the event, and any other value clears it and raises library error 1 for `message`.
  void set(int id, const Value& v, std::string_view message);
  // The getter: the held block, or NIL.
  Value get(int id) const;
  bool has(int id) const;
  // Evaluates the held block with `sender` first, then `args`; answers its value (NIL when
  // no block is held). The block stays alive while it runs even if it clears its event.
  Value fire(int id, const Value& sender, std::initializer_list<Value> args = {}) const;
  // Drops every block (the object is being destroyed).
  void clear();

 private:
  std::vector<std::pair<int, Value>> blocks_;
};

}  // namespace kv::ui
