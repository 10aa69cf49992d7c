#include "platform/file.h"

#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <utility>
#include <vector>

#include "platform/filefault.h"
#include "platform/filename.h"

namespace kv::platform {

namespace {

thread_local int t_lastError = 0;

// The byte whose lock stands for the share mode of an open: far beyond every record, append
// and file lock range, and beyond any real file size.
constexpr off_t kShareByte = static_cast<off_t>(0x3FFFFFFFFFFFFFFFLL);

int fail(int err) {
  t_lastError = osErrorFromErrno(err);
  return -1;
}

bool ofdLock(int fd, short type, std::uint64_t offset, std::uint64_t length) {
  struct flock fl {};
  fl.l_type = type;
  fl.l_whence = SEEK_SET;
  fl.l_start = static_cast<off_t>(offset);
  fl.l_len = static_cast<off_t>(length);
  fl.l_pid = 0;  // must be 0 for open-file-description locks
  int r;
  do {
    r = ::fcntl(fd, F_OFD_SETLK, &fl);
  } while (r < 0 && errno == EINTR);
  return r == 0;
}

// Directory part of a path ("" for a bare name, "/" for the root).
std::string dirOf(const std::string& path) {
  auto p = path.rfind('/');
  if (p == std::string::npos) return std::string();
  if (p == 0) return "/";
  return path.substr(0, p);
}

bool isRegularFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool isDirectory(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// A missing file whose directory is missing too is "path not found" (3), as on Windows.
int notFoundCode(const std::string& path) {
  std::string dir = dirOf(path);
  if (!dir.empty() && !isDirectory(dir)) return 3;
  return 2;
}

}  // namespace

int lastOsError() {
  return t_lastError;
}
void setLastOsError(int code) {
  t_lastError = code;
}

int osErrorFromErrno(int err) {
  switch (err) {
    case 0:
      return 0;
    case ENOENT:
      return 2;
    case ENOTDIR:
      return 3;
    case EMFILE:
    case ENFILE:
      return 4;
    case EACCES:
    case EPERM:
    case EISDIR:
    case ETXTBSY:
      return 5;
    case EBADF:
      return 6;
    case ENOMEM:
      return 8;
    case EROFS:
      return 19;
    case EIO:
      return 29;  // write fault
    case EAGAIN:
#if EWOULDBLOCK != EAGAIN
    case EWOULDBLOCK:
#endif
    case EDEADLK:
      return 33;
    case EEXIST:
      return 80;
    case EINVAL:
      return 87;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return 112;
    case ENAMETOOLONG:
      return 206;
    case ENOLCK:
      return 36;  // sharing buffer exceeded
    default:
      return 31;  // general failure
  }
}

File::~File() {
  close();
}

File::File(File&& o) noexcept
    : fd_(std::exchange(o.fd_, -1)), readOnly_(o.readOnly_), path_(std::move(o.path_)) {}

File& File::operator=(File&& o) noexcept {
  if (this != &o) {
    close();
    fd_ = std::exchange(o.fd_, -1);
    readOnly_ = o.readOnly_;
    path_ = std::move(o.path_);
  }
  return *this;
}

bool File::open(const std::string& name, Access access, Share share, Disposition disp) {
  close();
  // An existing file that differs only in case is opened (or, by a create, truncated) under
  // its own name, so a create never adds a second file beside it.
  const NameLookup found = lookupName(name);
  if (found.match == NameMatch::Ambiguous) {
    noteAmbiguous(found);
    return false;
  }
  const std::string& path = found.path;
  int flags = O_CLOEXEC;
  // A lock of either kind needs a descriptor that can both read and write on some systems
  // (a write lock needs write access, a read lock read access), so writers open read-write.
  bool wantWrite = access != Access::Read;
  switch (disp) {
    case Disposition::OpenExisting:
      break;
    case Disposition::CreateAlways:
    case Disposition::OpenOrCreate:
      flags |= O_CREAT;
      break;
    case Disposition::CreateNew:
      flags |= O_CREAT | O_EXCL;
      break;
  }
  int fd = -1;
  bool readOnly = false;
  if (wantWrite || share == Share::Exclusive) {
    do {
      fd = ::open(path.c_str(), flags | O_RDWR, 0666);
    } while (fd < 0 && errno == EINTR);
    // An exclusive read of a file we may not write still excludes others with a read lock.
    if (fd < 0 && !wantWrite && (errno == EACCES || errno == EROFS)) {
      fd = ::open(path.c_str(), flags | O_RDONLY, 0666);
      readOnly = true;
    }
  } else {
    do {
      fd = ::open(path.c_str(), flags | O_RDONLY, 0666);
    } while (fd < 0 && errno == EINTR);
    readOnly = true;
  }
  if (fd < 0) {
    int err = errno;
    t_lastError = err == ENOENT ? notFoundCode(path) : osErrorFromErrno(err);
    return false;
  }
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    t_lastError = 5;
    return false;
  }
  short type = (share == Share::Shared || readOnly) ? F_RDLCK : F_WRLCK;
  if (!ofdLock(fd, type, static_cast<std::uint64_t>(kShareByte), 1)) {
    int err = errno;
    ::close(fd);
    t_lastError = (err == EAGAIN || err == EACCES) ? 32 : osErrorFromErrno(err);
    return false;
  }
  // Truncation only after the share check, so a file another process holds stays intact.
  if (disp == Disposition::CreateAlways && ::ftruncate(fd, 0) != 0) {
    int err = errno;
    ::close(fd);
    t_lastError = osErrorFromErrno(err);
    return false;
  }
  fd_ = fd;
  readOnly_ = readOnly;
  path_ = path;
  t_lastError = 0;
  return true;
}

void File::close() {
  if (fd_ >= 0) {
    ::close(fd_);  // drops every open-file-description lock of this open
    fd_ = -1;
  }
  path_.clear();
}

std::int64_t File::readAt(std::uint64_t offset, void* buf, std::size_t n) {
  if (fd_ < 0) return fail(EBADF);
  std::size_t done = 0;
  auto* p = static_cast<char*>(buf);
  while (done < n) {
    ssize_t r = ::pread(fd_, p + done, n - done, static_cast<off_t>(offset + done));
    if (r < 0) {
      if (errno == EINTR) continue;
      return fail(errno);
    }
    if (r == 0) break;
    done += static_cast<std::size_t>(r);
  }
  t_lastError = 0;
  return static_cast<std::int64_t>(done);
}

std::int64_t File::writeAt(std::uint64_t offset, const void* buf, std::size_t n) {
  if (fd_ < 0) return fail(EBADF);
  const FileFault fault = fileFaultFor(FileStep::Write, path_, offset, n);
  if (fault.kind == FileFault::Kind::Fail) return t_lastError = fault.osCode, -1;
  const std::size_t want = fault.kind == FileFault::Kind::Short ? fault.bytes : n;
  std::size_t done = 0;
  auto* p = static_cast<const char*>(buf);
  while (done < want) {
    ssize_t r = ::pwrite(fd_, p + done, want - done, static_cast<off_t>(offset + done));
    if (r < 0) {
      if (errno == EINTR) continue;
      int err = errno;
      if (done == 0) return fail(err);
      t_lastError = osErrorFromErrno(err);
      return static_cast<std::int64_t>(done);
    }
    if (r == 0) {
      t_lastError = 112;
      return static_cast<std::int64_t>(done);
    }
    done += static_cast<std::size_t>(r);
  }
  t_lastError = done < n ? fault.osCode : 0;
  return static_cast<std::int64_t>(done);
}

std::int64_t File::read(void* buf, std::size_t n) {
  if (fd_ < 0) return fail(EBADF);
  ssize_t r;
  do {
    r = ::read(fd_, buf, n);
  } while (r < 0 && errno == EINTR);
  if (r < 0) return fail(errno);
  t_lastError = 0;
  return r;
}

std::int64_t File::write(const void* buf, std::size_t n) {
  if (fd_ < 0) return fail(EBADF);
  const FileFault fault = fileFaultFor(FileStep::Write, path_, ~std::uint64_t(0), n);
  if (fault.kind == FileFault::Kind::Fail) return t_lastError = fault.osCode, -1;
  const std::size_t want = fault.kind == FileFault::Kind::Short ? fault.bytes : n;
  std::size_t done = 0;
  auto* p = static_cast<const char*>(buf);
  while (done < want) {
    ssize_t r = ::write(fd_, p + done, want - done);
    if (r < 0) {
      if (errno == EINTR) continue;
      int err = errno;
      if (done == 0) return fail(err);
      t_lastError = osErrorFromErrno(err);
      return static_cast<std::int64_t>(done);
    }
    done += static_cast<std::size_t>(r);
  }
  t_lastError = done < n ? fault.osCode : 0;
  return static_cast<std::int64_t>(done);
}

std::int64_t File::seek(std::int64_t offset, int whence) {
  if (fd_ < 0) return fail(EBADF);
  int w = whence == 1 ? SEEK_CUR : whence == 2 ? SEEK_END : SEEK_SET;
  off_t r = ::lseek(fd_, static_cast<off_t>(offset), w);
  if (r < 0) return fail(errno);
  t_lastError = 0;
  return r;
}

std::int64_t File::size() const {
  if (fd_ < 0) return fail(EBADF);
  struct stat st {};
  if (::fstat(fd_, &st) != 0) return fail(errno);
  return st.st_size;
}

bool File::truncate(std::uint64_t size) {
  if (fd_ < 0) return fail(EBADF), false;
  int r;
  do {
    r = ::ftruncate(fd_, static_cast<off_t>(size));
  } while (r < 0 && errno == EINTR);
  if (r != 0) return fail(errno), false;
  t_lastError = 0;
  return true;
}

bool File::flush() {
  if (fd_ < 0) return fail(EBADF), false;
  const FileFault fault = fileFaultFor(FileStep::Flush, path_, 0, 0);
  if (fault.kind == FileFault::Kind::Fail) return t_lastError = fault.osCode, false;
  if (::fsync(fd_) != 0 && errno != EINVAL) return fail(errno), false;
  t_lastError = 0;
  return true;
}

bool File::lock(std::uint64_t offset, std::uint64_t length, bool exclusive) {
  if (fd_ < 0) return fail(EBADF), false;
  if (length == 0) {
    t_lastError = 87;
    return false;
  }
  // A descriptor opened for reading only cannot take a write lock; it takes a shared one,
  // which keeps every writer's lock out while it reads, all a reader needs the lock for.
  const FileFault fault = fileFaultFor(FileStep::Lock, path_, offset, length);
  if (fault.kind == FileFault::Kind::Fail)
    return t_lastError = fault.osCode ? fault.osCode : 33, false;
  const bool writeLock = exclusive && !readOnly_;
  if (!ofdLock(fd_, writeLock ? F_WRLCK : F_RDLCK, offset, length)) {
    int err = errno;
    t_lastError = (err == EAGAIN || err == EACCES || err == EBADF) ? 33 : osErrorFromErrno(err);
    return false;
  }
  t_lastError = 0;
  return true;
}

bool File::unlock(std::uint64_t offset, std::uint64_t length) {
  if (fd_ < 0) return fail(EBADF), false;
  if (length == 0 || !ofdLock(fd_, F_UNLCK, offset, length)) {
    t_lastError = length == 0 ? 87 : osErrorFromErrno(errno);
    return false;
  }
  t_lastError = 0;
  return true;
}

bool deleteFile(const std::string& name) {
  const NameLookup found = lookupName(name);
  if (found.match == NameMatch::Ambiguous) {
    noteAmbiguous(found);
    return false;
  }
  const std::string& path = found.path;
  if (isDirectory(path)) {
    t_lastError = 5;
    return false;
  }
  if (::unlink(path.c_str()) != 0) {
    int err = errno;
    t_lastError = err == ENOENT ? notFoundCode(path) : osErrorFromErrno(err);
    return false;
  }
  t_lastError = 0;
  return true;
}

bool renameFile(const std::string& name, const std::string& to) {
  const NameLookup source = lookupName(name);
  if (source.match == NameMatch::Ambiguous) {
    noteAmbiguous(source);
    return false;
  }
  const std::string& from = source.path;
  // An existing target is refused, as the Windows move does without its replace flag; so is
  // one that differs from the target only in case, unless it is the source itself (a rename
  // that only changes the case of a name).
  const NameLookup target = lookupName(to);
  if (target.match == NameMatch::Exact ||
      (target.match == NameMatch::Folded && target.path != from) ||
      target.match == NameMatch::Ambiguous) {
    t_lastError = 80;
    return false;
  }
  if (::rename(from.c_str(), to.c_str()) != 0) {
    int err = errno;
    t_lastError = err == ENOENT ? notFoundCode(from) : osErrorFromErrno(err);
    return false;
  }
  t_lastError = 0;
  return true;
}

bool replaceFileContents(const std::string& name, std::string_view bytes) {
  const NameLookup found = lookupName(name);
  if (found.match == NameMatch::Ambiguous) {
    noteAmbiguous(found);
    return false;
  }
  const std::string target = found.match == NameMatch::Missing ? name : found.path;
  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (exists && (S_ISDIR(old.st_mode) || ::access(target.c_str(), W_OK) != 0)) {
    t_lastError = S_ISDIR(old.st_mode) ? 5 : osErrorFromErrno(errno);
    return false;
  }
  // The temporary file sits beside the target, so the rename never crosses file systems; the
  // process id and a counter keep two writers (two stations, two calls) apart.
  static std::atomic<unsigned> counter{0};
  const auto slash = target.rfind('/');
  const std::string dir = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
  const std::string temp = dir + "~" + base + "." + std::to_string(::getpid()) + "." +
                           std::to_string(counter.fetch_add(1)) + ".tmp";
  const mode_t mode = exists ? (old.st_mode & 07777) : 0666;
  int fd;
  do {
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    const int err = errno;
    t_lastError = err == ENOENT ? notFoundCode(target) : osErrorFromErrno(err);
    return false;
  }
  int err = 0;
  if (exists && ::fchmod(fd, mode) != 0) err = errno;
  for (std::size_t done = 0; err == 0 && done < bytes.size();) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      err = n < 0 ? errno : ENOSPC;
      break;
    }
    done += static_cast<std::size_t>(n);
  }
  if (err == 0 && ::fsync(fd) != 0) err = errno;
  if (::close(fd) != 0 && err == 0) err = errno;
  if (err == 0 && ::rename(temp.c_str(), target.c_str()) != 0) err = errno;
  if (err != 0) {
    ::unlink(temp.c_str());
    t_lastError = osErrorFromErrno(err);
    return false;
  }
  // The new name itself reaches the disk with the directory.
  const int dirFd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd >= 0) {
    ::fsync(dirFd);
    ::close(dirFd);
  }
  t_lastError = 0;
  return true;
}

FileStamp fileStamp(const std::string& path) {
  const NameLookup found = lookupName(path);
  if (found.match == NameMatch::Missing || found.match == NameMatch::Ambiguous) return {};
  const std::string& name = found.match == NameMatch::Folded ? found.path : path;
  struct stat st {};
  if (::stat(name.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return {};
  FileStamp s;
  s.exists = true;
  s.device = static_cast<std::uint64_t>(st.st_dev);
  s.inode = static_cast<std::uint64_t>(st.st_ino);
  s.size = static_cast<std::int64_t>(st.st_size);
  s.modifiedNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
  return s;
}

bool fileExists(const std::string& path) {
  const NameLookup found = lookupName(path);
  switch (found.match) {
    case NameMatch::Exact:
      return isRegularFile(path);
    case NameMatch::Folded:
    case NameMatch::Ambiguous:
      return true;
    case NameMatch::Missing:
      break;
  }
  return false;
}

std::string findFirst(const std::string& pattern) {
  std::string dir = dirOf(pattern);
  std::string mask =
      pattern.substr(pattern.rfind('/') == std::string::npos ? 0 : pattern.rfind('/') + 1);
  DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
  if (!d) {
    t_lastError = 3;
    return std::string();
  }
  auto join = [&](const std::string& name) {
    return dir.empty() ? name : (dir == "/" ? "/" + name : dir + "/" + name);
  };
  std::vector<std::string> names;
  while (dirent* e = ::readdir(d)) {
    std::string name = e->d_name;
    if (name != "." && name != "..") names.push_back(std::move(name));
  }
  ::closedir(d);
  // Names that match as written win; only when none does is the pattern matched without
  // regard to ASCII case. Directory order differs between file systems; the smallest
  // matching name is answered so that the result does not depend on it.
  auto fold = [](std::string s) {
    for (char& c : s)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
  };
  const std::string foldedMask = fold(mask);
  for (bool folded : {false, true}) {
    std::string best;
    bool found = false;
    for (const std::string& name : names) {
      const bool match = folded ? ::fnmatch(foldedMask.c_str(), fold(name).c_str(), FNM_PERIOD) == 0
                                : ::fnmatch(mask.c_str(), name.c_str(), FNM_PERIOD) == 0;
      if (!match || !isRegularFile(join(name))) continue;
      if (!found || name < best) {
        best = name;
        found = true;
      }
    }
    if (found) {
      t_lastError = 0;
      return join(best);
    }
  }
  t_lastError = 2;
  return std::string();
}

}  // namespace kv::platform
