#include "platform/pathsplit.h"

namespace kv::platform {

namespace {

bool isSeparator(char c) {
  return c == '\\' || c == '/';
}

}  // namespace

PathParts splitPath(std::string_view path) {
  if (path.size() > kMaxPathChars) path = path.substr(0, kMaxPathChars);
  while (!path.empty() && path.front() == ' ') path.remove_prefix(1);
  PathParts parts;
  if (path.size() >= 2 && path[1] == ':') {
    parts.drive.assign(path.substr(0, 2));
    path.remove_prefix(2);
  }
  // The last component: everything after the last separator.
  std::size_t start = path.size();
  while (start > 0 && !isSeparator(path[start - 1])) --start;
  std::string_view last = path.substr(start);
  if (last == "." || last == "..") {
    parts.dir.assign(path);
    return parts;
  }
  parts.dir.assign(path.substr(0, start));
  const std::size_t dot = last.rfind('.');
  if (dot != std::string_view::npos) {
    std::string_view ext = last.substr(dot);
    while (!ext.empty() && ext.back() == ' ') ext.remove_suffix(1);
    parts.ext.assign(ext);
    last = last.substr(0, dot);
  }
  parts.name.assign(last);
  return parts;
}

std::string extractFilePath(std::string_view path) {
  const PathParts parts = splitPath(path);
  return parts.drive + parts.dir;
}

std::string extractFileName(std::string_view path) {
  return splitPath(path).name;
}

}  // namespace kv::platform
