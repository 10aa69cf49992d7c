#include "app/core/settingsfile.h"

#include "platform/pathsplit.h"
#include "platform/process.h"
#include "platform/profile.h"
#include "platform/programdirs.h"
#include "runtime/format/dates.h"
#include "runtime/format/numfmt.h"
#include "runtime/lang/functions.h"
#include "runtime/lang/symbols.h"
#include "runtime/lib/strings.h"

namespace kv::app {

namespace {

std::string g_dir;               // the tests' directory, or empty
std::uint64_t g_generation = 0;  // see settingsGeneration()

bool allBlank(std::string_view s) {
  return s.find_first_not_of(' ') == std::string_view::npos;
}

}  // namespace

void setSettingsDir(std::string_view dir) {
  ++g_generation;  // another file: what was read from the old one says nothing of it
  g_dir.assign(dir);
  if (!g_dir.empty() && g_dir.back() != '/') g_dir.push_back('/');
}

std::string settingsFileName(const Value& base) {
  const Value& b = base.deref();
  const std::string dir =
      g_dir.empty() ? platform::programFileDir(platform::ProgramFile::Settings) : g_dir;
  const std::string name = b.isString() && !b.str().empty()
                               ? b.toStdString()
                               : platform::extractFileName(platform::executablePath());
  return dir + name + ".ini";
}

Value READINI(const Value& section, const Value& key, const Value& deflt, const Value& base) {
  const Value& s = section.deref();
  const Value& k = key.deref();
  const Value& d = deflt.deref();
  if (!s.isString() || !k.isString())
    return raiseArgError("READINI", kReadIniArg, {section, key, deflt, base});
  // The default goes to the profile read as text only when it is text; otherwise a missing
  // key reads as empty, which answers the default below.
  const std::string text = platform::readProfileString(settingsFileName(base), s.str(), k.str(),
                                                       d.isString() ? d.str() : "");
  if (allBlank(text)) return d;
  switch (d.kind()) {
    case Kind::Integer:
    case Kind::Double:
      return VAL(Value(text));
    case Kind::Date:
      return CTOD(Value(text));
    case Kind::Logical:
      return Value(text == ".T.");
    default:
      return Value(text);
  }
}

void WRITEINI(const Value& section, const Value& key, const Value& value, const Value& base) {
  const Value& s = section.deref();
  const Value& k = key.deref();
  const Value& v = value.deref();
  std::string text;
  if (v.isNumber()) {
    text = ALLTRIM(STR(v)).toStdString();
  } else if (v.isDate()) {
    text = DTOC(v).toStdString();
  } else if (v.isLogical()) {
    text = v.asBool() ? ".T." : ".F.";
  } else if (v.isString()) {
    text = v.toStdString();
  } else {
    raiseArgError("WRITEINI", kWriteIniArg, {section, key, value, base});
    return;
  }
  if (!s.isString() || !k.isString()) {
    raiseArgError("WRITEINI", kWriteIniArg, {section, key, value, base});
    return;
  }
  ++g_generation;
  platform::writeProfileString(settingsFileName(base), s.str(), k.str(), text);
}

std::uint64_t settingsGeneration() {
  return g_generation;
}

void registerSettingsFileFunctions() {
  registerFunction("READINI",
                   [](Args a) { return READINI(arg(a, 0), arg(a, 1), arg(a, 2), arg(a, 3)); });
  registerFunction("WRITEINI", [](Args a) {
    WRITEINI(arg(a, 0), arg(a, 1), arg(a, 2), arg(a, 3));
    return Value();
  });
}

}  // namespace kv::app
