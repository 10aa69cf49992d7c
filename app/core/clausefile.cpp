#include "app/core/clausefile.h"

#include <filesystem>
#include <system_error>

#include "app/core/messagedlg.h"
#include "platform/file.h"
#include "runtime/lang/eventpoll.h"
#include "runtime/lib/filefuncs.h"

namespace kv::app {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

// The full name of the clause file, for the box; the bare name when the directory is unknown.
std::string clausePath() {
  std::error_code ec;
  const std::filesystem::path dir = std::filesystem::current_path(ec);
  if (ec) return kClauseFile;
  return (dir / kClauseFile).string();
}

}  // namespace

std::vector<std::string> memoLines(std::string_view text) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    const std::size_t end = text.find(kLineEnd);
    if (end == std::string_view::npos) {
      lines.emplace_back(text);
      break;
    }
    lines.emplace_back(text.substr(0, end));
    text.remove_prefix(end + kLineEnd.size());
  }
  return lines;
}

std::string clauseFileText(std::string_view memoText) {
  std::string out;
  out.reserve(memoText.size() + kLineEnd.size());
  for (const std::string& line : memoLines(memoText)) {
    out += line;
    out += kLineEnd;
    eventPoll();
  }
  return out;
}

std::string readClause() {
  return std::string(MEMOREAD(Value(kClauseFile)).str());
}

std::string osReasonText(int osCode) {
  switch (osCode) {
    case 2:
      return "datoteka nije pronadjena";
    case 3:
      return "folder ne postoji";
    case 5:
      return "pristup je odbijen";
    case 32:
      return "datoteku koristi drugi program";
    case 33:
      return "deo datoteke je zakljucan";
    case 80:
      return "postoji vise datoteka istog imena koje se razlikuju samo po velikim i malim slovima";
    case 112:
      return "disk je pun";
    default:
      return "greska sistema " + std::to_string(osCode);
  }
}

std::string clauseSaveFailedText(const std::string& path, int osCode) {
  return "Tekst klauzule nije snimljen u datoteku " + path + ": " + osReasonText(osCode) +
         " (kod " + std::to_string(osCode) + ").";
}

bool saveClause(std::string_view memoText) {
  const std::string bytes = clauseFileText(memoText);
  if (platform::replaceFileContents(kClauseFile, bytes)) return true;
  const int code = platform::lastOsError();
  MessageDlg(Value(clauseSaveFailedText(clausePath(), code)), Value(2), Value(2), Value(5));
  return false;
}

}  // namespace kv::app
