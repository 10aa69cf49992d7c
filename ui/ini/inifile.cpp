#include "ui/ini/inifile.h"

#include "platform/profile.h"
#include "platform/programdirs.h"
#include "ui/core/component.h"
#include "ui/core/messages.h"

namespace kv::ui {

namespace {

// Text argument i, or false after library error 1 for `op`. A missing argument is empty
// when `optional`.
bool textArg(Args a, std::size_t i, std::string& out, const char* op, bool optional = false) {
  if (optional && arg(a, i).isNil()) {
    out.clear();
    return true;
  }
  return stringArg(arg(a, i), out, op, a);
}

void registerIniFile(ClassDef* cls) {
  addMethod(cls, "Create", [](const Value& self, Args args) -> Value {
    if (LibObject* lib = libraryOf(self)) lib->createImpl(args);
    return self;
  });
  method<IniFile>(cls, "DeleteIdent", [](IniFile& f, Args a) -> Value {
    std::string section, key;
    if (textArg(a, 0, section, "DELETEIDENT") && textArg(a, 1, key, "DELETEIDENT"))
      platform::deleteProfileKey(f.profilePath(), section, key);
    return Value();
  });
  property<IniFile>(
      cls, "FileName", [](IniFile& f) { return Value(f.fileName); },
      [](IniFile& f, const Value& v, Args a) { stringArg(v, f.fileName, "_FILENAME", a); });
  method<IniFile>(cls, "ReadString", [](IniFile& f, Args a) -> Value {
    std::string section, key, deflt;
    if (!textArg(a, 0, section, "READSTRING") || !textArg(a, 1, key, "READSTRING") ||
        !textArg(a, 2, deflt, "READSTRING", true))
      return Value();
    return Value(platform::readProfileString(f.profilePath(), section, key, deflt));
  });
  method<IniFile>(cls, "WriteString", [](IniFile& f, Args a) -> Value {
    std::string section, key, value;
    if (textArg(a, 0, section, "WRITESTRING") && textArg(a, 1, key, "WRITESTRING") &&
        textArg(a, 2, value, "WRITESTRING"))
      platform::writeProfileString(f.profilePath(), section, key, value);
    return Value();
  });
}

LibObject* makeIniFile() {
  return new IniFile;
}

}  // namespace

const LibClass kIniFileClass = {"TIniFile", &kObjectClass, &makeIniFile, &registerIniFile};

Value TIniFile() {
  return classFunction(kIniFileClass);
}

void IniFile::createImpl(Args args) {
  const Value& name = arg(args, 0);
  if (name.isString()) fileName = std::string(name.str());
}

std::string IniFile::profilePath() const {
  if (!fileName.empty()) return fileName;
  return platform::userFileDir(platform::ProgramFile::Settings) + "system.ini";
}

}  // namespace kv::ui
