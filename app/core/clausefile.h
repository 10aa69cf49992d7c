#pragma once
// The clause (terms and conditions) printed on every work order, kept in the plain text file
// klauzula.txt of the current directory, beside the data tables. The file holds Windows-1250
// bytes, one line of the clause per line, every line (the last one too) ended by CR LF; no
// header, no limit. A missing file is an empty clause. The file is rewritten whole through a
// temporary file renamed over it, so a station that stops midway leaves the old clause or the
// new one, never half of one; a save that fails says so and keeps the old file.
#include <string>
#include <string_view>
#include <vector>

namespace kv::app {

// The clause file's bare name.
inline constexpr const char* kClauseFile = "klauzula.txt";

// The lines of a memo's text (lines separated by CR LF): a CR LF that ends the text starts no
// further line, so an empty text has no line and "a" CR LF "b" CR LF has two.
std::vector<std::string> memoLines(std::string_view text);

// The file's bytes of a memo's text: every line followed by CR LF, the event poll run after
// each line. A file read back and saved again keeps its bytes when it ends with CR LF.
std::string clauseFileText(std::string_view memoText);

// The clause as the file holds it (MEMOREAD: empty when missing or unreadable).
std::string readClause();

// The system's reason for a Windows operating-system code, in the program's words
// ("pristup je odbijen" for 5, ...; "greska sistema N" for a code without its own text).
std::string osReasonText(int osCode);

// The error box's text of a clause that could not be saved: "Tekst klauzule nije snimljen u
// datoteku " + the file's full name + ": " + the reason + " (kod " + code + ").".
std::string clauseSaveFailedText(const std::string& path, int osCode);

// Saves a memo's text as the clause file (clauseFileText, through a temporary file renamed
// over the old one). A failure shows clauseSaveFailedText in an error box (Ok, centred over the
// calling form) and answers false, leaving the old file as it was; true once written.
bool saveClause(std::string_view memoText);

}  // namespace kv::app
