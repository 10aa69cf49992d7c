#include "engine/area/tabledump.h"

#include <string>

#include "runtime/format/dates.h"
#include "runtime/lang/settings.h"

namespace kv::engine {

namespace {

std::string rtrim(std::string_view s) {
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return std::string(s);
}

std::string trim(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  return rtrim(s);
}

std::string escapeMemo(std::string_view s) {
  std::string out;
  for (char c : s) {
    if (c == '\r')
      out += "\\r";
    else if (c == '\n')
      out += "\\n";
    else if (c == '\\')
      out += "\\\\";
    else
      out += c;
  }
  return out;
}

}  // namespace

void writeStructure(WorkArea& wa, std::ostream& out) {
  for (int i = 1; i <= wa.fieldCount(); ++i) {
    const Field& f = wa.field(i);
    out << f.name << ' ' << f.type << ' ' << f.width << ' ' << f.dec << '\n';
  }
}

Status writeRecords(WorkArea& wa, std::ostream& out, bool withDeleted) {
  Value saved = setting(kSetDeleted);
  setSetting(kSetDeleted, Value(!withDeleted));
  Status status = wa.goTop();
  while (status == kSuccess && !wa.eof()) {
    std::uint32_t n = 0;
    bool del = false;
    const char* rec = nullptr;
    if ((status = wa.recNo(n)) != kSuccess || (status = wa.deleted(del)) != kSuccess ||
        (status = wa.getRec(rec)) != kSuccess)
      break;
    std::string line = std::to_string(n) + (del ? "*" : " ");
    for (int i = 1; i <= wa.fieldCount(); ++i) {
      const Field& f = wa.field(i);
      if (i > 1) line += '|';
      std::string_view raw(rec + f.offset, static_cast<std::size_t>(f.width));
      switch (f.type) {
        case 'C':
          line += rtrim(raw);
          break;
        case 'N':
          line += trim(raw);
          break;
        case 'D':
          line += trim(dateToStored(storedToDate(raw)));
          break;
        case 'L': {
          char c = raw.empty() ? ' ' : raw[0];
          line += (c == 'T' || c == 't' || c == 'Y' || c == 'y') ? 'T' : 'F';
          break;
        }
        case 'M': {
          Value v;
          if ((status = wa.getValue(i, v)) != kSuccess) break;
          line += escapeMemo(v.str());
          break;
        }
        default:
          line += trim(raw);
          break;
      }
      if (status != kSuccess) break;
    }
    if (status != kSuccess) break;
    out << line << '\n';
    status = wa.skip(1);
  }
  setSetting(kSetDeleted, saved);
  return status;
}

}  // namespace kv::engine
