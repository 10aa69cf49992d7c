#pragma once
// A test's hand on the file layer: a hook that every write, flush and lock of a
// platform::File asks first, and that may let the step run, cut a write short or make the
// step fail with an operating-system code. Tests step a failure through every write and lock
// of an operation this way; the program itself never installs a hook, and without one the
// file layer asks nothing.
#include <cstdint>
#include <functional>
#include <string>

namespace kv::platform {

enum class FileStep {
  Write,  // writeAt and write: `offset` is the position, `length` the bytes asked for
  Flush,  // flush: offset and length 0
  Lock,   // lock of [offset, offset + length); unlock is never refused
};

// What the hook answers for one step.
struct FileFault {
  enum class Kind { None, Short, Fail };
  Kind kind = Kind::None;
  // Short: the bytes that are written before the write stops (below the length asked for;
  // the write then answers this count and leaves code 112, disk full).
  std::uint64_t bytes = 0;
  // Fail: the Windows code left in lastOsError() (33 for a refused lock when 0).
  int osCode = 0;

  static FileFault none() { return {}; }
  static FileFault cut(std::uint64_t bytes) { return {Kind::Short, bytes, 112}; }
  static FileFault fail(int osCode) { return {Kind::Fail, 0, osCode}; }
};

// `path` is the name the file was opened under.
using FileFaultHook = std::function<FileFault(FileStep step, const std::string& path,
                                              std::uint64_t offset, std::uint64_t length)>;

// Installs the hook (an empty one removes it) for every thread; answers the previous one.
FileFaultHook setFileFaultHook(FileFaultHook hook);
// The hook's answer for a step; none when no hook is installed. Used by platform::File.
FileFault fileFaultFor(FileStep step, const std::string& path, std::uint64_t offset,
                       std::uint64_t length);

}  // namespace kv::platform
