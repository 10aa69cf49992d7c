#include "runtime/error/callstack.h"

namespace kv {

namespace {
Frame* g_top = nullptr;
int g_depth = 0;
}  // namespace

FrameGuard::FrameGuard(const char* name, int line) noexcept : frame_{name, line, g_top} {
  g_top = &frame_;
  ++g_depth;
}

FrameGuard::~FrameGuard() {
  g_top = frame_.caller;
  --g_depth;
}

Frame* currentFrame() noexcept {
  return g_top;
}

int frameDepth() noexcept {
  return g_depth;
}

static Frame* frameAt(int level) {
  Frame* f = g_top;
  while (f && level > 0) {
    f = f->caller;
    --level;
  }
  return level < 0 ? nullptr : f;
}

std::string PROCNAME(int level) {
  Frame* f = frameAt(level);
  return f && f->name ? std::string(f->name) : std::string();
}

int PROCLINE(int level) {
  Frame* f = frameAt(level);
  return f ? f->line : 0;
}

}  // namespace kv
