#pragma once
// Files as the runtime and the table engine use them: open with share modes, positioned
// read and write, size, truncate, flush to disk, delete, byte-range locks and first-match
// search. Failures answer false / -1 and leave a Windows operating-system code (2 file not
// found, 3 path not found, 5 access denied, 32 sharing violation, 33 lock violation, 80 file
// exists, 112 disk full, ...) in lastOsError(); errno is mapped to those codes in one place.
//
// Share modes are emulated with an open-file-description lock on one reserved byte far
// beyond every lock range: a shared open holds a read lock on it, an exclusive open a write
// lock; a conflict fails the open with code 32. Byte-range locks are open-file-description
// locks too (F_OFD_SETLK), so, as with a Windows handle, their owner is the open file and
// closing another descriptor of the same file does not drop them.
//
// Every name goes through lookupName() (platform/filename.h): a name not found exactly is
// matched without regard to ASCII case in its directory, and a name that matches several
// files differing only in case fails with code 80 (kAmbiguousName) rather than picking one.
#include <cstdint>
#include <string>
#include <string_view>

namespace kv::platform {

// Windows code of the last failed file operation of this thread (0 after a success of the
// functions that clear it).
int lastOsError();
void setLastOsError(int code);
// Maps an errno value to the Windows code.
int osErrorFromErrno(int err);

enum class Access { Read, Write, ReadWrite };
enum class Share { Exclusive, Shared };
enum class Disposition {
  OpenExisting,  // fail with 2 when missing
  CreateAlways,  // create, or truncate an existing file
  CreateNew,     // fail with 80 when it exists
  OpenOrCreate,  // open, creating when missing
};

// An open file. Moveable, not copyable; closes on destruction.
class File {
 public:
  File() = default;
  ~File();
  File(File&& o) noexcept;
  File& operator=(File&& o) noexcept;
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  // Opens `name`, or the one file that differs from it only in case; a create that finds
  // such a file opens (and, for CreateAlways, truncates) it instead of adding a second one.
  // Answers false (and sets lastOsError) on failure; an ambiguous name fails with 80.
  bool open(const std::string& name, Access access, Share share, Disposition disp);
  void close();
  bool isOpen() const { return fd_ >= 0; }
  int fd() const { return fd_; }
  // The name the file was opened under: the given one, or the name of the file on disk that
  // differs from it only in case.
  const std::string& path() const { return path_; }

  // Positioned read: answers bytes read (short at end of file), -1 on failure.
  std::int64_t readAt(std::uint64_t offset, void* buf, std::size_t n);
  // Positioned write of all n bytes: answers bytes written (short only on failure, e.g. a
  // full disk), -1 on failure.
  std::int64_t writeAt(std::uint64_t offset, const void* buf, std::size_t n);
  // Sequential read / write from the file's own position (for the runtime's file handles).
  std::int64_t read(void* buf, std::size_t n);
  std::int64_t write(const void* buf, std::size_t n);
  // Moves the file position: whence 0 from start, 1 from current, 2 from end. Answers the new
  // position, or -1.
  std::int64_t seek(std::int64_t offset, int whence);

  // Current size in bytes, -1 on failure.
  std::int64_t size() const;
  // Cuts or extends the file to `size` bytes.
  bool truncate(std::uint64_t size);
  // Writes the file's data to the disk (fsync).
  bool flush();

  // Byte-range lock of [offset, offset + length) without waiting. `exclusive` false takes a
  // shared (read) lock, and so does a file opened for reading only: such a lock still keeps
  // out every exclusive lock of the range. A conflict answers false with code 33.
  bool lock(std::uint64_t offset, std::uint64_t length, bool exclusive = true);
  bool unlock(std::uint64_t offset, std::uint64_t length);

 private:
  int fd_ = -1;
  bool readOnly_ = false;
  std::string path_;
};

// Deletes a file (or the one that differs from the name only in case); false (with the
// code) on failure. An ambiguous name deletes nothing and fails with 80.
bool deleteFile(const std::string& name);
// Renames a file, replacing nothing: false when the target exists, also under another case
// (unless that is the source itself), or on failure.
bool renameFile(const std::string& name, const std::string& to);
// Makes `bytes` the whole contents of `name` with no moment at which the file holds half of
// them: the bytes go to a new temporary file in the same directory, which is flushed to disk
// and then renamed over the old file, so a crash leaves either the old or the new contents.
// An existing file (or the one file that differs from the name only in case, which keeps its
// own name) lends the new one its permission bits; a file this process may not write is
// refused with 5 as a create over it would be. On failure the old file is left as it was, the
// temporary file is removed, and false is answered with the code.
bool replaceFileContents(const std::string& name, std::string_view bytes);
// True when the file exists (not a directory), exactly or differing only in case; also when
// several files differ from the name only in case (a name of that file exists, although
// opening it fails).
bool fileExists(const std::string& path);
// What tells one version of a file from another without reading it: its identity (device and
// inode), size and modification time in nanoseconds. A file that does not exist (or cannot be
// looked at) has exists false and zeros elsewhere. Two stamps are equal when nothing about
// the file changed that a rewrite (in place or by a rename over it) would change.
struct FileStamp {
  bool exists = false;
  std::uint64_t device = 0, inode = 0;
  std::int64_t size = 0, modifiedNs = 0;
  bool operator==(const FileStamp&) const = default;
};
// The stamp of `path`, found as fileExists finds it (an ambiguous name has no stamp).
FileStamp fileStamp(const std::string& path);
// First file matching `pattern` (a path whose last component may hold * and ? wildcards,
// matched as a shell matches them): the pattern's directory joined with the smallest
// matching name (directories are not matched); empty when none. Names matching as written
// win; when there is none the pattern is matched without regard to ASCII case. Sets code 2
// (or 3 for a missing directory) when nothing matches.
std::string findFirst(const std::string& pattern);

}  // namespace kv::platform
