#include "platform/profile.h"

#include <vector>

#include "platform/file.h"
#include "platform/filename.h"

namespace kv::platform {

namespace {

// One line of the file: [begin, textEnd) is its text without the line end, [begin, end) the
// line with its end (CR LF, LF, or nothing for a last line without one).
struct Line {
  std::size_t begin = 0;
  std::size_t textEnd = 0;
  std::size_t end = 0;
};

enum class LineKind { Other, Section, Key };

struct Parsed {
  LineKind kind = LineKind::Other;
  std::string_view name;   // section or key name, trimmed
  std::string_view value;  // a key's value, trimmed
};

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view trim(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

std::vector<Line> splitLines(std::string_view text) {
  std::vector<Line> lines;
  std::size_t pos = 0;
  while (pos < text.size()) {
    Line l;
    l.begin = pos;
    const std::size_t lf = text.find('\n', pos);
    if (lf == std::string_view::npos) {
      l.textEnd = l.end = text.size();
    } else {
      l.end = lf + 1;
      l.textEnd = (lf > pos && text[lf - 1] == '\r') ? lf - 1 : lf;
    }
    lines.push_back(l);
    pos = l.end;
  }
  return lines;
}

Parsed parseLine(std::string_view text) {
  Parsed p;
  const std::string_view t = trim(text);
  if (t.empty() || t.front() == ';') return p;
  if (t.front() == '[') {
    const std::size_t close = t.find(']');
    if (close == std::string_view::npos) return p;
    p.kind = LineKind::Section;
    p.name = trim(t.substr(1, close - 1));
    return p;
  }
  p.kind = LineKind::Key;
  const std::size_t eq = t.find('=');
  if (eq == std::string_view::npos) {
    p.name = t;
  } else {
    p.name = trim(t.substr(0, eq));
    p.value = trim(t.substr(eq + 1));
  }
  return p;
}

// Where a key lives in the contents: the lines, the index of the first line after the
// matching section's header (npos without one), the index of the section's last non-blank
// line, and the index of the matching key's line (npos without one).
struct Location {
  std::vector<Line> lines;
  std::size_t sectionHeader = std::string_view::npos;
  std::size_t lastInSection = std::string_view::npos;
  std::size_t keyLine = std::string_view::npos;
  Parsed key;
};

Location locate(std::string_view contents, std::string_view section, std::string_view key) {
  Location loc;
  loc.lines = splitLines(contents);
  const std::string_view wantSection = trim(section);
  const std::string_view wantKey = trim(key);
  bool inside = false;
  for (std::size_t i = 0; i < loc.lines.size(); ++i) {
    const Line& l = loc.lines[i];
    const Parsed p = parseLine(contents.substr(l.begin, l.textEnd - l.begin));
    if (p.kind == LineKind::Section) {
      if (inside) break;  // the first matching section is the one
      if (equalsFolded(p.name, wantSection)) {
        inside = true;
        loc.sectionHeader = i;
        loc.lastInSection = i;
      }
      continue;
    }
    if (!inside) continue;
    if (!trim(contents.substr(l.begin, l.textEnd - l.begin)).empty()) loc.lastInSection = i;
    if (p.kind == LineKind::Key && loc.keyLine == std::string_view::npos &&
        equalsFolded(p.name, wantKey)) {
      loc.keyLine = i;
      loc.key = p;
    }
  }
  return loc;
}

std::string cleanValue(std::string_view value) {
  std::string out(value);
  for (char& c : out)
    if (c == '\r' || c == '\n') c = ' ';
  return out;
}

// Reads the whole file; nullopt when it cannot be opened or read.
std::optional<std::string> readWhole(const std::string& path) {
  File f;
  if (!f.open(path, Access::Read, Share::Shared, Disposition::OpenExisting)) return std::nullopt;
  std::string bytes;
  char buf[8192];
  std::uint64_t at = 0;
  for (;;) {
    const std::int64_t n = f.readAt(at, buf, sizeof buf);
    if (n < 0) return std::nullopt;
    if (n == 0) break;
    bytes.append(buf, static_cast<std::size_t>(n));
    at += static_cast<std::uint64_t>(n);
  }
  return bytes;
}

bool changeFile(const std::string& path, std::string_view section, std::string_view key,
                std::optional<std::string_view> value) {
  const std::optional<std::string> old = readWhole(path);
  if (!old && !value) return true;  // nothing to remove from a missing file
  const std::string contents = old.value_or(std::string());
  const std::string changed = withProfileValue(contents, section, key, value);
  if (old && changed == *old) return true;
  return replaceFileContents(path, changed);
}

}  // namespace

std::optional<std::string> findProfileValue(std::string_view contents, std::string_view section,
                                            std::string_view key) {
  const Location loc = locate(contents, section, key);
  if (loc.keyLine == std::string_view::npos) return std::nullopt;
  std::string_view v = loc.key.value;
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
    v = v.substr(1, v.size() - 2);
  return std::string(v);
}

std::string withProfileValue(std::string_view contents, std::string_view section,
                             std::string_view key, std::optional<std::string_view> value) {
  const Location loc = locate(contents, section, key);
  std::string out;
  if (loc.keyLine != std::string_view::npos) {
    const Line& l = loc.lines[loc.keyLine];
    out.append(contents.substr(0, l.begin));
    if (value) {
      // The key keeps its spelling in the file; the line keeps its own line end.
      out.append(loc.key.name).append("=").append(cleanValue(*value));
      out.append(contents.substr(l.textEnd, l.end - l.textEnd));
    }
    out.append(contents.substr(l.end));
    return out;
  }
  if (!value) return std::string(contents);
  const std::string newLine = std::string(trim(key)) + "=" + cleanValue(*value) + "\r\n";
  if (loc.sectionHeader != std::string_view::npos) {
    const Line& last = loc.lines[loc.lastInSection];
    out.append(contents.substr(0, last.end));
    if (last.end == last.textEnd) out.append("\r\n");  // the file's last line had no end
    out.append(newLine);
    out.append(contents.substr(last.end));
    return out;
  }
  out.append(contents);
  if (!out.empty() && out.back() != '\n') out.append("\r\n");
  if (!out.empty()) out.append("\r\n");
  out.append("[").append(trim(section)).append("]\r\n").append(newLine);
  return out;
}

std::string readProfileString(const std::string& path, std::string_view section,
                              std::string_view key, std::string_view deflt) {
  std::string result;
  const std::optional<std::string> contents = readWhole(path);
  std::optional<std::string> found;
  if (contents) found = findProfileValue(*contents, section, key);
  if (found) {
    result = std::move(*found);
  } else {
    while (!deflt.empty() && deflt.back() == ' ') deflt.remove_suffix(1);
    result.assign(deflt);
  }
  if (result.size() > kProfileValueMax) result.resize(kProfileValueMax);
  return result;
}

bool writeProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value) {
  return changeFile(path, section, key, value);
}

bool deleteProfileKey(const std::string& path, std::string_view section, std::string_view key) {
  return changeFile(path, section, key, std::nullopt);
}

}  // namespace kv::platform
