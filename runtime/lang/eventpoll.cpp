// The cycle collector works by trial deletion over the registry of container cells:
// 1. every live container is a node, with the number of its owners (strong references);
//    by-reference cells met on the way become nodes too;
// 2. every reference from one node to another is counted as internal;
// 3. a node with more owners than internal references is held from outside: it and all
//    nodes reachable from it are live;
// 4. the remaining nodes are held only by each other: they are garbage. Their contents are
//    moved out, which breaks every cycle, and released together.
#include "runtime/lang/eventpoll.h"

#include <unordered_map>
#include <utility>
#include <vector>

#include "runtime/value/memory.h"
#include "runtime/value/value.h"

namespace kv {

namespace {

std::int64_t g_lastCollection = 0;

struct Node {
  ContainerCell* container = nullptr;  // an array, object or block
  Cell cell;                           // or a by-reference cell (held during the collection)
  long owners = 0;
  long internal = 0;
  bool live = false;
};

class Collector {
 public:
  std::size_t run() {
    for (ContainerCell* c = ContainerCell::firstCell(); c; c = c->nextCell()) {
      long owners = c->ownerCount();
      if (owners <= 0) continue;  // not shared-owned: nothing for the collector to judge
      add(c, Node{c, nullptr, owners});
    }
    // Count internal references; by-reference cells are discovered (appended) meanwhile.
    for (std::size_t i = 0; i < nodes_.size(); ++i) {
      forEachChild(i, [this](std::size_t child) { ++nodes_[child].internal; });
    }
    std::vector<std::size_t> stack;
    for (std::size_t i = 0; i < nodes_.size(); ++i) {
      if (nodes_[i].owners > nodes_[i].internal) {
        nodes_[i].live = true;
        stack.push_back(i);
      }
    }
    // Marking walks only live nodes, so a cell it meets for the first time (a block that
    // reports a value it did not report before) is marked live too.
    while (!stack.empty()) {
      std::size_t i = stack.back();
      stack.pop_back();
      forEachChild(i, [this, &stack](std::size_t child) {
        if (!nodes_[child].live) {
          nodes_[child].live = true;
          stack.push_back(child);
        }
      });
    }
    return release();
  }

 private:
  std::size_t add(const void* key, Node n) {
    nodes_.push_back(std::move(n));
    index_.emplace(key, nodes_.size() - 1);
    return nodes_.size() - 1;
  }

  // The node of a value that is a container or by-reference cell; -1 for anything else.
  std::ptrdiff_t nodeOf(const Value& v) {
    const void* key = nullptr;
    if (v.isArray())
      key = static_cast<const ContainerCell*>(v.arr());
    else if (v.isBlock())
      key = static_cast<const ContainerCell*>(v.blk());
    else if (v.isRef())
      key = v.cellPtr();
    if (!key) return -1;
    auto it = index_.find(key);
    if (it != index_.end()) return static_cast<std::ptrdiff_t>(it->second);
    if (!v.isRef()) return -1;
    Cell c = v.cell();
    long owners = c.use_count() - 1;  // not counting the copy the node keeps
    return static_cast<std::ptrdiff_t>(add(key, Node{nullptr, std::move(c), owners}));
  }

  template <class F>
  void forEachChild(std::size_t i, F&& f) {
    auto visitValue = [&](const Value& v) {
      std::ptrdiff_t child = nodeOf(v);
      if (child >= 0) f(static_cast<std::size_t>(child));
    };
    // Discovering a by-reference cell appends to nodes_, so no reference into it is kept.
    ContainerCell* container = nodes_[i].container;
    if (!container) {
      Value* held = nodes_[i].cell.get();
      visitValue(*held);
    } else if (container->cellType() == ContainerCell::Type::Array) {
      auto* a = static_cast<ArrayData*>(container);
      for (std::size_t k = 0; k < a->items.size(); ++k) visitValue(a->items[k]);
    } else {
      auto* b = static_cast<BlockData*>(container);
      using Visit = decltype(visitValue);
      b->traverse([](const Value& v, void* ctx) { (*static_cast<Visit*>(ctx))(v); }, &visitValue);
    }
  }

  std::size_t release() {
    // Hold every garbage cell first, so none is freed while the others are being cleared.
    std::vector<std::shared_ptr<ContainerCell>> held;
    std::vector<Cell> cells;
    for (Node& n : nodes_) {
      if (n.live) continue;
      if (n.cell)
        cells.push_back(std::move(n.cell));
      else
        held.push_back(n.container->shared_from_this());
    }
    nodes_.clear();
    index_.clear();
    std::vector<ValueVector> contents;
    std::vector<Value> values;
    for (auto& c : held) {
      if (c->cellType() == ContainerCell::Type::Array) {
        contents.push_back(std::move(static_cast<ArrayData*>(c.get())->items));
        static_cast<ArrayData*>(c.get())->items.clear();
      } else {
        static_cast<BlockData*>(c.get())->releaseValues();
      }
    }
    for (auto& c : cells) values.push_back(std::exchange(*c, Value()));
    std::size_t count = held.size() + cells.size();
    contents.clear();
    values.clear();
    held.clear();
    cells.clear();
    return count;
  }

  std::vector<Node> nodes_;
  std::unordered_map<const void*, std::size_t> index_;
};

}  // namespace

std::size_t collectGarbage() {
  std::size_t n = Collector().run();
  g_lastCollection = memInUse();
  return n;
}

void eventPoll() {
  if (memInUse() - g_lastCollection >= kCollectThreshold) collectGarbage();
}

std::int64_t memAtLastCollection() {
  return g_lastCollection;
}

}  // namespace kv
