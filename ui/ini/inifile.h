#pragma once
// TIniFile: a settings file as a library object, a thin layer over the profile functions of
// platform/profile.h. Its one field is the file name (empty after construction). Messages,
// in the order they are registered:
//   Create([fileName])             stores the file name when one is given; answers the object
//   DeleteIdent(section, key)      removes the key (an absent key changes nothing)
//   FileName / _FileName(text)     the file name; the setter wants text (library error 1)
//   ReadString(section, key, def)  the value, or the default when absent; at most 1023 bytes
//   WriteString(section, key, v)   writes the value, creating file, section or key as needed
// Section, key, default and value must be text (library error 1 otherwise; a missing default
// is empty). An empty file name stands for the system's own profile file: "system.ini" in the
// user's settings directory (platform/programdirs.h). Nothing is cached: every message reads
// or rewrites the file. Profile operations report no failures: a missing file reads as
// defaults, and a write that cannot reach the disk is lost.
#include <string>

#include "ui/core/libclass.h"
#include "ui/core/libobject.h"

namespace kv::ui {

class IniFile : public LibObject {
 public:
  void createImpl(Args args) override;
  // The file the profile functions use: the file name, or the system profile when empty.
  std::string profilePath() const;
  std::string fileName;
};

extern const LibClass kIniFileClass;
Value TIniFile();

}  // namespace kv::ui
