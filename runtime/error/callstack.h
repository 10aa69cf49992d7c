#pragma once
// The call trace: a stack of frames, one per active application procedure or runtime entry.
// Each frame names its procedure and keeps its current line, so error reports and
// PROCNAME/PROCLINE can list the chain of callers, innermost first. Methods are named
// "CLASS:METHOD".
#include <string>
#include <vector>

namespace kv {

struct Frame {
  const char* name;
  int line;
  Frame* caller;
};

// Guard that pushes a frame for the lifetime of a procedure. Use KV_PROC("NAME") at the top of
// a procedure (KV_METHOD("CLASS", "METHOD") in a method) and KV_LINE() to record the current
// source line before a call that may fail. The frames are plain reads for the
// protection-fault handler, so a frame's name must outlive it: a literal, or text its owner
// keeps unchanged while the frame lives (the companion names an expression's frame so).
class FrameGuard {
 public:
  explicit FrameGuard(const char* name, int line = 0) noexcept;
  ~FrameGuard();
  FrameGuard(const FrameGuard&) = delete;
  FrameGuard& operator=(const FrameGuard&) = delete;
  void setLine(int line) noexcept { frame_.line = line; }

 private:
  Frame frame_;
};

// Innermost active frame, or null when none is active.
Frame* currentFrame() noexcept;

// Name of the procedure `level` calls out from the innermost (0 = innermost); empty when
// there is no such level.
std::string PROCNAME(int level = 0);
// Current line of that procedure; 0 when there is no such level.
int PROCLINE(int level = 0);

// Number of active frames.
int frameDepth() noexcept;

}  // namespace kv

#define KV_PROC(name) ::kv::FrameGuard kv_frame_guard_(name, __LINE__)
// The frame of a method: class and method name joined by a colon ("TFKALVEDO:CREATE"); both
// arguments are string literals.
#define KV_METHOD(cls, method) KV_PROC(cls ":" method)
#define KV_LINE() kv_frame_guard_.setLine(__LINE__)
