// The index file of the program: NtxIo over a platform file. Kept apart from the in-memory
// variant so that programs which never touch real files do not link the platform file.
#include "engine/ntx/ntx_io.h"

#include "platform/file.h"

namespace kv::ntx {

std::int64_t FileNtxIo::readAt(std::uint64_t offset, void* buf, std::size_t n) {
  return file_.readAt(offset, buf, n);
}
std::int64_t FileNtxIo::writeAt(std::uint64_t offset, const void* buf, std::size_t n) {
  return file_.writeAt(offset, buf, n);
}
std::int64_t FileNtxIo::size() {
  return file_.size();
}
bool FileNtxIo::truncate(std::uint64_t size) {
  return file_.truncate(size);
}
bool FileNtxIo::flush() {
  return file_.flush();
}
bool FileNtxIo::lock(std::uint64_t offset, std::uint64_t length) {
  return file_.lock(offset, length, true);
}
bool FileNtxIo::unlock(std::uint64_t offset, std::uint64_t length) {
  return file_.unlock(offset, length);
}
int FileNtxIo::lastError() const {
  return platform::lastOsError();
}
std::string FileNtxIo::name() const {
  return file_.path();
}

}  // namespace kv::ntx
