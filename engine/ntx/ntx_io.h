#pragma once
// The file underneath an index: positioned reads and writes, size, truncate, flush and
// byte-range locks. The index code talks only to this interface, so tests can put the
// index in memory and inject short reads, short writes and refused locks; the program
// itself uses FileNtxIo over a platform file.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kv::platform {
class File;
}

namespace kv::ntx {

class NtxIo {
 public:
  virtual ~NtxIo() = default;
  // Reads up to n bytes at `offset`; answers the bytes read (short at the end), -1 on failure.
  virtual std::int64_t readAt(std::uint64_t offset, void* buf, std::size_t n) = 0;
  // Writes n bytes at `offset`; answers the bytes written (short only on failure), -1 on
  // failure.
  virtual std::int64_t writeAt(std::uint64_t offset, const void* buf, std::size_t n) = 0;
  // Current size in bytes, -1 on failure.
  virtual std::int64_t size() = 0;
  virtual bool truncate(std::uint64_t size) = 0;
  // Commits the written data to the disk.
  virtual bool flush() = 0;
  // Exclusive byte-range lock without waiting; false on a conflict or failure.
  virtual bool lock(std::uint64_t offset, std::uint64_t length) = 0;
  virtual bool unlock(std::uint64_t offset, std::uint64_t length) = 0;
  // Operating-system code (Windows numbering) of the last failure, 0 when none is known.
  virtual int lastError() const { return 0; }
  // Full name of the file, for error messages.
  virtual std::string name() const = 0;
};

// An index held in memory, with switches to make operations fail.
class MemoryNtxIo : public NtxIo {
 public:
  explicit MemoryNtxIo(std::string name = "memory.ntx") : name_(std::move(name)) {}
  std::int64_t readAt(std::uint64_t offset, void* buf, std::size_t n) override;
  std::int64_t writeAt(std::uint64_t offset, const void* buf, std::size_t n) override;
  std::int64_t size() override { return static_cast<std::int64_t>(data.size()); }
  bool truncate(std::uint64_t size) override;
  bool flush() override { return true; }
  bool lock(std::uint64_t offset, std::uint64_t length) override;
  bool unlock(std::uint64_t offset, std::uint64_t length) override;
  std::string name() const override { return name_; }

  std::vector<std::uint8_t> data;
  // Failure injection: the number of further reads / writes that succeed before every
  // following one is cut to `shortBy` bytes less (-1: never).
  int readsBeforeFailure = -1;
  int writesBeforeFailure = -1;
  std::size_t shortBy = 1;
  bool refuseLocks = false;
  int locksHeld = 0;

 private:
  std::string name_;
};

// An index in a platform file (the file stays owned by the caller).
class FileNtxIo : public NtxIo {
 public:
  explicit FileNtxIo(platform::File& file) : file_(file) {}
  std::int64_t readAt(std::uint64_t offset, void* buf, std::size_t n) override;
  std::int64_t writeAt(std::uint64_t offset, const void* buf, std::size_t n) override;
  std::int64_t size() override;
  bool truncate(std::uint64_t size) override;
  bool flush() override;
  bool lock(std::uint64_t offset, std::uint64_t length) override;
  bool unlock(std::uint64_t offset, std::uint64_t length) override;
  int lastError() const override;
  std::string name() const override;

 private:
  platform::File& file_;
};

}  // namespace kv::ntx
