#include "platform/filename.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>

#include "platform/file.h"

namespace kv::platform {

namespace {

// The ambiguous name of the last refused operation of this thread and its text.
thread_local std::string t_ambiguousPath;
thread_local std::string t_ambiguousText;

char foldChar(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
char upperChar(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}
bool isUpper(char c) {
  return c >= 'A' && c <= 'Z';
}
bool isLower(char c) {
  return c >= 'a' && c <= 'z';
}

// Where the last component of a path starts.
std::size_t componentStart(const std::string& path) {
  auto slash = path.rfind('/');
  return slash == std::string::npos ? 0 : slash + 1;
}

// Where the extension (its dot) of the last component starts; npos when it has none.
std::size_t extensionStart(const std::string& path) {
  auto dot = path.rfind('.');
  if (dot == std::string::npos || dot < componentStart(path)) return std::string::npos;
  return dot;
}

// Letters of a piece of a name: whether it has capitals and small letters.
struct Letters {
  bool upper = false, lower = false;
  bool any() const { return upper || lower; }
};
Letters lettersOf(std::string_view s) {
  Letters l;
  for (char c : s) {
    l.upper = l.upper || isUpper(c);
    l.lower = l.lower || isLower(c);
  }
  return l;
}

bool isRegularFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

}  // namespace

bool equalsFolded(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (foldChar(a[i]) != foldChar(b[i])) return false;
  return true;
}

NameLookup lookupName(const std::string& path) {
  NameLookup out;
  out.path = path;
  struct stat st {};
  if (::lstat(path.c_str(), &st) == 0) {
    out.match = NameMatch::Exact;
    return out;
  }
  const std::size_t start = componentStart(path);
  const std::string prefix = path.substr(0, start);  // the directory as written, with its slash
  const std::string name = path.substr(start);
  if (name.empty() || name == "." || name == "..") return out;
  DIR* d = ::opendir(prefix.empty() ? "." : prefix.c_str());
  if (!d) return out;
  while (dirent* e = ::readdir(d)) {
    const std::string entry = e->d_name;
    if (entry == name || !equalsFolded(entry, name)) continue;
    if (isRegularFile(prefix + entry)) out.variants.push_back(prefix + entry);
  }
  ::closedir(d);
  std::sort(out.variants.begin(), out.variants.end());
  if (out.variants.size() == 1) {
    out.match = NameMatch::Folded;
    out.path = out.variants.front();
    out.variants.clear();
  } else if (out.variants.size() > 1) {
    out.match = NameMatch::Ambiguous;
  }
  return out;
}

std::string existingName(const std::string& path) {
  NameLookup found = lookupName(path);
  return found.match == NameMatch::Folded ? found.path : path;
}

void noteAmbiguous(const NameLookup& lookup) {
  std::string text = lookup.path + " (";
  for (std::size_t i = 0; i < lookup.variants.size(); ++i) {
    if (i > 0) text += i + 1 == lookup.variants.size() ? " and " : ", ";
    text += lookup.variants[i];
  }
  text += " differ only in case)";
  t_ambiguousPath = lookup.path;
  t_ambiguousText = std::move(text);
  setLastOsError(kAmbiguousName);
}

std::string reportedName(const std::string& path) {
  if (lastOsError() == kAmbiguousName && path == t_ambiguousPath && !t_ambiguousText.empty())
    return t_ambiguousText;
  return path;
}

std::string derivedName(const std::string& from, std::string_view suffix, std::string_view ext) {
  const std::size_t start = componentStart(from);
  const std::size_t dot = extensionStart(from);
  const std::string base = from.substr(0, dot == std::string::npos ? from.size() : dot);
  const Letters whole = lettersOf(std::string_view(from).substr(start));
  Letters decides =
      dot == std::string::npos ? Letters{} : lettersOf(std::string_view(from).substr(dot));
  if (!decides.any()) decides = lettersOf(std::string_view(base).substr(start));
  std::string added = std::string(suffix) + std::string(ext);
  if (decides.upper && !decides.lower) {
    std::transform(added.begin(), added.end(), added.begin(), upperChar);
  } else if (whole.lower && !whole.upper) {
    std::transform(added.begin(), added.end(), added.begin(), foldChar);
  }
  return base + added;
}

std::string withDefaultExtension(const std::string& name, std::string_view ext) {
  if (extensionStart(name) != std::string::npos) return name;
  return derivedName(name, "", ext);
}

}  // namespace kv::platform
