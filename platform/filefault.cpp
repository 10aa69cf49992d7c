#include "platform/filefault.h"

#include <utility>

namespace kv::platform {

namespace {

FileFaultHook& hook() {
  static FileFaultHook h;
  return h;
}

}  // namespace

FileFaultHook setFileFaultHook(FileFaultHook h) {
  return std::exchange(hook(), std::move(h));
}

FileFault fileFaultFor(FileStep step, const std::string& path, std::uint64_t offset,
                       std::uint64_t length) {
  const FileFaultHook& h = hook();
  if (!h) return FileFault::none();
  FileFault f = h(step, path, offset, length);
  // A cut never writes more than was asked for, and a write cut to everything is no cut.
  if (f.kind == FileFault::Kind::Short && (step != FileStep::Write || f.bytes >= length))
    f = FileFault::none();
  return f;
}

}  // namespace kv::platform
