#include "runtime/lib/filefuncs.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/file.h"
#include "platform/filename.h"
#include "runtime/error/error.h"

namespace kv {

namespace {

namespace pf = platform;

constexpr int kInvalidHandle = 6;
constexpr int kInvalidParameter = 87;
constexpr int kNegativeSeek = 131;
constexpr std::size_t kMaxPath = 260;
constexpr std::size_t kCopyBlock = 4096;

int g_fileError = 0;

// Open handles of the file functions, by handle number (the descriptor of the open file, so
// numbers are small and never shared by two open files).
std::map<std::int32_t, pf::File>& handles() {
  static std::map<std::int32_t, pf::File> h;
  return h;
}

void clearError() {
  g_fileError = 0;
}

void setError(int code) {
  g_fileError = code;
  setDosError(code);
}

// Takes over the platform's code of the failed call.
void setOsError() {
  setError(pf::lastOsError() ? pf::lastOsError() : 31);
}

pf::File* fileOf(const Value& handleV) {
  const Value& h = handleV.deref();
  if (h.isNumber()) {
    auto it = handles().find(h.asInt());
    if (it != handles().end()) return &it->second;
  }
  setError(kInvalidHandle);
  return nullptr;
}

bool nameOf(const Value& v, std::string& name) {
  const Value& n = v.deref();
  if (!n.isString()) {
    setError(kInvalidParameter);
    return false;
  }
  name = n.toStdString();
  return true;
}

std::int32_t keep(pf::File&& f) {
  std::int32_t h = f.fd();
  handles()[h] = std::move(f);
  return h;
}

ErrorAnswer raiseFileError(int genCode, int subCode, const std::string& fileName, int tries,
                           const Value& source, const Value& target) {
  return raiseError(baseError(genCode, subCode, "__COPYFILE")
                        .allow(kCanRetry | kCanDefault)
                        .os(pf::lastOsError())
                        .attempt(tries)
                        .file(pf::reportedName(fileName))  // every file of an ambiguous name
                        .with({source.deref(), target.deref()}))
      .answer;
}

}  // namespace

bool FILE(const Value& nameV) {
  clearError();
  const Value& n = nameV.deref();
  if (!n.isString()) return false;
  std::string_view name = n.str();
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  if (name.size() > kMaxPath) name = name.substr(0, kMaxPath);
  if (name.empty()) return false;
  return !pf::findFirst(std::string(name)).empty();
}

std::int32_t FCREATE(const Value& nameV, const Value&) {
  clearError();
  std::string name;
  if (!nameOf(nameV, name)) return -1;
  pf::File f;
  if (!f.open(name, pf::Access::ReadWrite, pf::Share::Shared, pf::Disposition::CreateAlways)) {
    setOsError();
    return -1;
  }
  return keep(std::move(f));
}

std::int32_t FOPEN(const Value& nameV, const Value& modeV) {
  clearError();
  std::string name;
  if (!nameOf(nameV, name)) return -1;
  int mode = modeV.deref().isNumber() ? modeV.deref().asInt() : FO_READ;
  pf::Access access;
  switch (mode & 3) {
    case FO_READ:
      access = pf::Access::Read;
      break;
    case FO_WRITE:
      access = pf::Access::Write;
      break;
    case FO_READWRITE:
      access = pf::Access::ReadWrite;
      break;
    default:
      setError(kInvalidParameter);
      return -1;
  }
  int sharing = mode & 0x70;
  pf::Share share =
      (sharing == FO_COMPAT || sharing == FO_DENYNONE) ? pf::Share::Shared : pf::Share::Exclusive;
  pf::File f;
  if (!f.open(name, access, share, pf::Disposition::OpenExisting)) {
    setOsError();
    return -1;
  }
  return keep(std::move(f));
}

std::int32_t FREAD(const Value& handleV, Value& bufferV, const Value& countV) {
  clearError();
  pf::File* f = fileOf(handleV);
  if (!f) return 0;
  Value* target = bufferV.isRef() ? bufferV.cellPtr() : &bufferV;
  if (!target->isString() || !countV.deref().isNumber()) {
    setError(kInvalidParameter);
    return 0;
  }
  std::string buffer = target->toStdString();
  std::int64_t want = countV.deref().asInt();
  if (want <= 0) return 0;
  std::size_t n = std::min(static_cast<std::size_t>(want), buffer.size());
  std::size_t done = 0;
  while (done < n) {
    std::int64_t r = f->read(buffer.data() + done, n - done);
    if (r < 0) {
      setOsError();
      break;
    }
    if (r == 0) break;
    done += static_cast<std::size_t>(r);
  }
  if (done > 0) *target = target->isMemo() ? Value::memo(buffer) : Value(buffer);
  return static_cast<std::int32_t>(done);
}

std::int32_t FWRITE(const Value& handleV, const Value& textV, const Value& countV) {
  clearError();
  pf::File* f = fileOf(handleV);
  if (!f) return 0;
  const Value& text = textV.deref();
  if (!text.isString()) {
    setError(kInvalidParameter);
    return 0;
  }
  std::string_view s = text.str();
  std::size_t n = s.size();
  if (countV.deref().isNumber()) {
    std::int64_t c = countV.deref().asInt();
    n = c <= 0 ? 0 : std::min(n, static_cast<std::size_t>(c));
  }
  if (n == 0) return 0;
  std::int64_t w = f->write(s.data(), n);
  if (w < 0) {
    setOsError();
    return 0;
  }
  if (static_cast<std::size_t>(w) < n) setOsError();
  return static_cast<std::int32_t>(w);
}

std::int64_t FSEEK(const Value& handleV, const Value& offsetV, const Value& originV) {
  clearError();
  pf::File* f = fileOf(handleV);
  if (!f) return 0;
  std::int64_t offset = offsetV.deref().isNumber() ? offsetV.deref().asInt() : 0;
  int origin = originV.deref().isNumber() ? originV.deref().asInt() : 0;
  if (origin < 0 || origin > 2) {
    setError(kInvalidParameter);
    return f->seek(0, 1);
  }
  std::int64_t base = origin == 0 ? 0 : origin == 1 ? f->seek(0, 1) : f->size();
  if (base < 0) {
    setOsError();
    return 0;
  }
  if (base + offset < 0) {
    std::int64_t here = f->seek(0, 1);
    setError(kNegativeSeek);
    return here;
  }
  std::int64_t pos = f->seek(base + offset, 0);
  if (pos < 0) {
    setOsError();
    return f->seek(0, 1);
  }
  return pos;
}

bool FCLOSE(const Value& handleV) {
  clearError();
  if (!fileOf(handleV)) return false;
  handles().erase(handleV.deref().asInt());
  return true;
}

std::int32_t FERASE(const Value& nameV) {
  clearError();
  std::string name;
  if (!nameOf(nameV, name)) return -1;
  if (!pf::deleteFile(name)) {
    setOsError();
    return -1;
  }
  return 0;
}

std::int32_t FERROR() {
  return g_fileError;
}

Value MEMOREAD(const Value& nameV) {
  clearError();
  std::string name;
  if (!nameOf(nameV, name)) return Value("");
  pf::File f;
  if (!f.open(name, pf::Access::Read, pf::Share::Shared, pf::Disposition::OpenExisting)) {
    setOsError();
    return Value("");
  }
  std::int64_t size = f.size();
  if (size < 0) {
    setOsError();
    return Value("");
  }
  std::string text(static_cast<std::size_t>(size), '\0');
  std::int64_t got = size > 0 ? f.readAt(0, text.data(), text.size()) : 0;
  if (got < 0) {
    setOsError();
    return Value("");
  }
  text.resize(static_cast<std::size_t>(got));
  // The end-of-text mark some editors leave is not part of the text.
  if (!text.empty() && text.back() == '\x1A') text.pop_back();
  return Value(text);
}

bool MEMOWRIT(const Value& nameV, const Value& textV) {
  clearError();
  std::string name;
  if (!nameOf(nameV, name)) return false;
  const Value& text = textV.deref();
  if (!text.isString()) {
    setError(kInvalidParameter);
    return false;
  }
  pf::File f;
  if (!f.open(name, pf::Access::Write, pf::Share::Shared, pf::Disposition::CreateAlways)) {
    setOsError();
    return false;
  }
  std::string_view s = text.str();
  std::int64_t w = s.empty() ? 0 : f.writeAt(0, s.data(), s.size());
  if (w < 0 || static_cast<std::size_t>(w) < s.size()) {
    setOsError();
    return false;
  }
  return true;
}

bool __COPYFILE(const Value& sourceV, const Value& targetV) {
  clearError();
  std::string source, target;
  if (!nameOf(sourceV, source) || !nameOf(targetV, target)) return false;

  pf::File in;
  for (int tries = 1;; ++tries) {
    if (in.open(source, pf::Access::Read, pf::Share::Shared, pf::Disposition::OpenExisting)) {
      break;
    }
    setOsError();
    if (raiseFileError(EG_OPEN, kBaseCopyFileOpen, source, tries, sourceV, targetV) !=
        ErrorAnswer::Retry) {
      return false;
    }
  }
  pf::File out;
  for (int tries = 1;; ++tries) {
    if (out.open(target, pf::Access::Write, pf::Share::Shared, pf::Disposition::CreateAlways)) {
      break;
    }
    setOsError();
    if (raiseFileError(EG_CREATE, kBaseCopyFileOpen, target, tries, sourceV, targetV) !=
        ErrorAnswer::Retry) {
      return false;  // `in` closes as it goes out of scope
    }
  }

  // Positioned reads and writes, so a retried block lands exactly where it belongs.
  std::vector<char> block(kCopyBlock);
  std::uint64_t offset = 0;
  for (;;) {
    std::int64_t got;
    for (int tries = 1;; ++tries) {
      got = in.readAt(offset, block.data(), block.size());
      if (got >= 0) break;
      setOsError();
      if (raiseFileError(EG_READ, kBaseCopyFileData, source, tries, sourceV, targetV) !=
          ErrorAnswer::Retry) {
        return false;
      }
    }
    if (got == 0) break;
    auto n = static_cast<std::size_t>(got);
    for (int tries = 1;; ++tries) {
      std::int64_t put = out.writeAt(offset, block.data(), n);
      if (put == got) break;
      setOsError();
      if (raiseFileError(EG_WRITE, kBaseCopyFileData, target, tries, sourceV, targetV) !=
          ErrorAnswer::Retry) {
        return false;
      }
    }
    offset += n;
  }
  clearError();
  return true;
}

void closeAllFileHandles() {
  handles().clear();
}

void registerFileFunctions() {
  registerFunction("FILE", [](Args a) { return Value(FILE(arg(a, 0))); });
  registerFunction("FCREATE", [](Args a) { return Value(FCREATE(arg(a, 0), arg(a, 1))); });
  registerFunction("FOPEN", [](Args a) { return Value(FOPEN(arg(a, 0), arg(a, 1))); });
  registerFunction("FREAD", [](Args a) {
    // The buffer must come by reference to be filled; a copy is filled otherwise.
    Value local = arg(a, 1);
    Value& buffer = a.size() > 1 && a[1].isRef() ? a[1] : local;
    return Value(FREAD(arg(a, 0), buffer, arg(a, 2)));
  });
  registerFunction("FWRITE", [](Args a) { return Value(FWRITE(arg(a, 0), arg(a, 1), arg(a, 2))); });
  registerFunction("FSEEK", [](Args a) {
    std::int64_t pos = FSEEK(arg(a, 0), arg(a, 1), arg(a, 2));
    return pos <= INT32_MAX ? Value(static_cast<int>(pos))
                            : Value::number(static_cast<double>(pos));
  });
  registerFunction("FCLOSE", [](Args a) { return Value(FCLOSE(arg(a, 0))); });
  registerFunction("FERASE", [](Args a) { return Value(FERASE(arg(a, 0))); });
  registerFunction("FERROR", [](Args) { return Value(FERROR()); });
  registerFunction("MEMOREAD", [](Args a) { return MEMOREAD(arg(a, 0)); });
  registerFunction("MEMOWRIT", [](Args a) { return Value(MEMOWRIT(arg(a, 0), arg(a, 1))); });
  registerFunction("__COPYFILE", [](Args a) { return Value(__COPYFILE(arg(a, 0), arg(a, 1))); });
}

}  // namespace kv
