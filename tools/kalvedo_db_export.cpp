#include "tools/kalvedo_db_export.h"

#include <signal.h>

#include <cstdio>
#include <iostream>

#include "engine/area/areas.h"
#include "engine/area/dberror.h"
#include "engine/area/dbfunc.h"
#include "platform/codepage.h"
#include "platform/file.h"
#include "runtime/error/error.h"
#include "runtime/format/dates.h"
#include "runtime/lang/settings.h"
#include "tools/kalvedo_db_errortrap.h"
#include "tools/kalvedo_db_findings.h"

namespace kv::tools {

namespace {

std::string rtrim(std::string_view s) {
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return std::string(s);
}

bool blank(std::string_view s) {
  return s.find_first_not_of(' ') == std::string_view::npos;
}

// One CSV field: quoted when it holds a comma, a quote or a line break, or when `always`.
std::string csvField(const std::string& utf8, bool always = false) {
  if (!always && utf8.find_first_of(",\"\r\n") == std::string::npos) return utf8;
  std::string out = "\"";
  for (char c : utf8) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + '"';
}

std::string number(std::string_view raw, const Value& v, int dec) {
  if (blank(raw)) return "";
  char b[64];
  // Adding 0.0 turns a negative zero into zero, which a spreadsheet would show as "-0".
  std::snprintf(b, sizeof b, "%.*f", dec, v.asDouble() + 0.0);
  return b;
}

std::string isoDate(std::string_view raw) {
  const std::int32_t julian = storedToDate(raw);
  if (julian == 0) return "";
  const CalendarDate c = calendarDate(julian);
  char b[16];
  std::snprintf(b, sizeof b, "%04d-%02d-%02d", c.year, c.month, c.day);
  return b;
}

bool writeFile(const std::string& path, const std::string& bytes) {
  ErrorRecord e;
  platform::File f;
  if (!f.open(path, platform::Access::Write, platform::Share::Exclusive,
              platform::Disposition::CreateAlways)) {
    e = engine::fileError(EG_CREATE, kKvdbCreate, path, platform::lastOsError());
  } else if (f.writeAt(0, bytes.data(), bytes.size()) != static_cast<std::int64_t>(bytes.size()) ||
             !f.flush()) {
    e = engine::fileError(EG_WRITE, kKvdbWrite, path, platform::lastOsError());
  } else {
    return true;
  }
  engine::engineRaise(e.in("KVDB").op("EXPORT"));
  return false;
}

}  // namespace

int writeCsv(engine::WorkArea& wa, bool withDeleted, std::string& out, std::size_t& records) {
  records = 0;
  out = "\xEF\xBB\xBF";
  bool clash = false;
  for (int i = 1; i <= wa.fieldCount(); ++i) {
    out += (i > 1 ? "," : "") + csvField(platform::cp1250ToUtf8(wa.field(i).name));
    clash = clash || wa.field(i).name == "DELETED";
  }
  if (withDeleted)
    out += std::string(wa.fieldCount() > 0 ? "," : "") + (clash ? "_DELETED" : "DELETED");
  out += "\r\n";
  Value saved = setting(kSetDeleted);
  setSetting(kSetDeleted, Value(!withDeleted));
  int status = wa.goTop();
  while (status == engine::kSuccess && !wa.eof()) {
    bool del = false;
    const char* rec = nullptr;
    if ((status = wa.deleted(del)) != engine::kSuccess ||
        (status = wa.getRec(rec)) != engine::kSuccess)
      break;
    std::string row;
    for (int i = 1; i <= wa.fieldCount() && status == engine::kSuccess; ++i) {
      const engine::Field& f = wa.field(i);
      std::string_view raw(rec + f.offset, static_cast<std::size_t>(f.width));
      std::string cell;
      bool quote = false;
      switch (f.type) {
        case 'N': {
          Value v;
          status = wa.getValue(i, v);
          cell = number(raw, v, f.dec);
          break;
        }
        case 'D':
          cell = isoDate(raw);
          break;
        case 'L': {
          const char c = raw.empty() ? ' ' : raw[0];
          cell = (c == 'T' || c == 't' || c == 'Y' || c == 'y') ? "true" : "false";
          break;
        }
        case 'M': {
          Value v;
          status = wa.getValue(i, v);
          cell = std::string(v.str());
          quote = true;
          break;
        }
        default:
          cell = rtrim(raw);
          break;
      }
      row += (i > 1 ? "," : "") + csvField(platform::cp1250ToUtf8(cell), quote);
    }
    if (status != engine::kSuccess) break;
    if (withDeleted) row += std::string(wa.fieldCount() > 0 ? "," : "") + (del ? "true" : "false");
    out += row + "\r\n";
    ++records;
    status = wa.skip(1);
  }
  setSetting(kSetDeleted, saved);
  return status;
}

int dbExportCommand(const std::vector<std::string>& args) {
  std::string table, output;
  bool withDeleted = false, wrong = false;
  for (std::size_t i = 0; i < args.size() && !wrong; ++i) {
    if (args[i] == "--deleted")
      withDeleted = true;
    else if (args[i] == "--output" && i + 1 < args.size() && output.empty())
      output = args[++i];
    else if (table.empty() && args[i].rfind("--", 0) != 0)
      table = args[i];
    else
      wrong = true;
  }
  if (wrong || table.empty()) {
    std::cerr << "kalvedo-db: usage: kalvedo-db export TABLE [--output FILE] [--deleted]\n";
    return 2;
  }
  // A file-size limit ends a write with an error instead of the process.
  ::signal(SIGXFSZ, SIG_IGN);
  if (!openTableForCommand("export", table, "DBF")) return 1;
  engine::WorkArea* wa = engine::currentArea();
  if (!wa) return 1;
  std::string csv;
  std::size_t records = 0;
  const int status = writeCsv(*wa, withDeleted, csv, records);
  engine::DBCLOSEAREA();
  if (status != engine::kSuccess) return 1;
  if (output.empty()) {
    std::cout.write(csv.data(), static_cast<std::streamsize>(csv.size()));
    std::cout.flush();
    return std::cout ? 0 : 1;
  }
  try {
    ErrorTrap trap;
    if (!writeFile(output, csv)) return 1;
  } catch (const BreakException& b) {
    const std::string why = ErrorTrap::reason(b.value);
    std::cerr << "kalvedo-db: export failed: " << output << " cannot be written"
              << (why.empty() ? "" : ": " + why) << " (" << ErrorTrap::describe(b.value) << ")\n";
    platform::deleteFile(output);
    return 1;
  }
  std::cout << output << ": " << counted(records, "record") << "\n";
  return 0;
}

}  // namespace kv::tools
