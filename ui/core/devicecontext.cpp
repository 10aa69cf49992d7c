#include "ui/core/devicecontext.h"

#include <unordered_map>

namespace kv::ui {

namespace {

std::unordered_map<int, QPainter*>& painters() {
  static std::unordered_map<int, QPainter*> p;
  return p;
}
int g_next = 0;

}  // namespace

DeviceContext::DeviceContext(QPainter* painter) : handle_(++g_next) {
  painters()[handle_] = painter;
}

DeviceContext::~DeviceContext() {
  painters().erase(handle_);
}

QPainter* painterOf(int handle) {
  auto it = painters().find(handle);
  return it == painters().end() ? nullptr : it->second;
}

}  // namespace kv::ui
