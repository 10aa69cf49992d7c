#pragma once
// Splitting a file name into drive, directory, name and extension, as the shop's settings
// and the program's own file names need it. "\" and "/" both separate directories, so names
// written on either kind of station split alike.
#include <string>
#include <string_view>

namespace kv::platform {

// The longest file name that counts: characters beyond it are ignored.
constexpr std::size_t kMaxPathChars = 260;

struct PathParts {
  std::string drive;  // "C:" when the second character is ":", else empty
  std::string dir;    // after the drive up to and including the last separator
  std::string name;   // the last component without its extension
  std::string ext;    // from the last "." of the last component, trailing blanks dropped
};

// Splits the first kMaxPathChars characters of `path` after its leading blanks. Scanning from
// the end: the first "." met before any separator starts the extension (a name ending in a
// dot has that dot as its extension); the first separator ends the name; the rest, up to the
// drive, is the directory with its final separator. A last component that is exactly "." or
// ".." is not split: it belongs to the directory. So C:\my.dir\prog has the name "prog" and
// no extension, and archive.tar.gz has the name "archive.tar".
PathParts splitPath(std::string_view path);

// Drive and directory joined, with the trailing separator: "C:\dir\" for "C:\dir\prog.exe";
// empty when the name has neither.
std::string extractFilePath(std::string_view path);
// The name without directory and extension: "prog" for "C:\dir\prog.exe", "" for "C:\dir\".
std::string extractFileName(std::string_view path);

}  // namespace kv::platform
