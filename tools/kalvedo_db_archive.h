#pragma once
// ZIP archives of the companion's backups, written and read with libarchive (deflate
// compression, the usual tools open them). The writer sends every byte through the platform
// file layer, so a failed write (a full disk, a file-size limit) leaves its Windows
// operating-system code in platform::lastOsError() like any other file operation.
#include <ctime>
#include <string>
#include <vector>

#include "platform/file.h"

struct archive;

namespace kv::tools {

// One file of an archive: its name inside the archive, its bytes and its modification time.
struct ArchiveEntry {
  std::string name;
  std::string bytes;
  std::time_t mtime = 0;
};

// Writes a ZIP archive into a file already opened for writing (and left open: the caller
// flushes and closes it). Not copyable.
class ZipWriter {
 public:
  explicit ZipWriter(platform::File& out);
  ~ZipWriter();
  ZipWriter(const ZipWriter&) = delete;
  ZipWriter& operator=(const ZipWriter&) = delete;

  // Adds one entry, compressed. Answers false on failure; error() then describes it and
  // osError() holds the file layer's code of a failed write (0 when the library failed).
  bool add(const ArchiveEntry& entry);
  // Writes the archive's central directory. Answers false on failure, as add() does.
  bool finish();

  const std::string& error() const { return error_; }
  int osError() const { return osError_; }

 private:
  static long writeBlock(struct archive*, void* self, const void* buf, std::size_t n);
  bool failed();

  platform::File& out_;
  struct archive* a_ = nullptr;
  bool finished_ = false;
  int osError_ = 0;
  std::string error_;
};

// Reads every entry of the ZIP archive `path` into `out`, checking each entry's checksum.
// Answers false with a description in `error` when the archive cannot be opened or read.
bool readZip(const std::string& path, std::vector<ArchiveEntry>& out, std::string& error);

}  // namespace kv::tools
