#pragma once
// File names as the shop's other stations see them. A data directory copied from another
// system may hold NALOZI.DBF where the program asks for Nalozi.dbf, so every open, create,
// existence test and delete of platform/file goes through lookupName():
//
// - A name found exactly is used as it is.
// - Otherwise the last component is compared without regard to ASCII case (A-Z = a-z; bytes
//   above 0x7F compare exactly) with the files of its directory. One such file is used
//   under its own name. Two or more (and no exact one) are ambiguous: the operation fails
//   with kAmbiguousName, and reportedName() gives the text that names them all. Nothing
//   guesses between them.
// - The directories of a path are taken as written: they come from the shop's own settings
//   (the default directory, the search path) or from the program, not from copied data.
//
// Names derived from another one (memo file, index, upgrade backup) follow its case: see
// derivedName().
#include <string>
#include <string_view>
#include <vector>

namespace kv::platform {

// The operating-system code of an operation refused because its name matches two or more
// files that differ only in case: 80, "the file exists" (a file of that name exists, more
// than one in fact), which no caller takes for a missing file or a file held by another
// station.
constexpr int kAmbiguousName = 80;

enum class NameMatch {
  Exact,      // an entry of exactly this name exists
  Folded,     // no exact one; exactly one file differs from it only in case
  Missing,    // neither
  Ambiguous,  // no exact one; two or more files differ from it only in case
};

struct NameLookup {
  NameMatch match = NameMatch::Missing;
  // The path to use: the given one, or for Folded the directory as written joined with the
  // file's own name.
  std::string path;
  // For Ambiguous: the matching files (directory as written joined with each name), sorted.
  std::vector<std::string> variants;
};

// Looks `path` up as described above. Only regular files (and links to them) count as
// matches without regard to case; an exact entry of any kind wins, so opening a directory
// still fails as before.
NameLookup lookupName(const std::string& path);

// The name to use for `path`: the file's own name when exactly one file differs from it only
// in case, else `path` as given (found exactly, missing, or ambiguous).
std::string existingName(const std::string& path);

// Records an ambiguous lookup as the failure of the current operation: sets code
// kAmbiguousName and remembers the names for reportedName().
void noteAmbiguous(const NameLookup& lookup);

// The file name an error about `path` should show: when the last failed file operation of
// this thread was refused because `path` is ambiguous, "path (A and B differ only in case)"
// (every variant named); otherwise `path` itself.
std::string reportedName(const std::string& path);

// True when the two names are equal without regard to ASCII case.
bool equalsFolded(std::string_view a, std::string_view b);

// Builds the name of a file that belongs to `from`: from's directory and base name (its last
// component without the extension), then `suffix`, then `ext` (with its dot, or empty for
// none). Suffix and extension are written
// - in capitals when from's extension is in capitals (NALOZI.DBF, Nalozi.DBF -> .DBT; for a
//   name without an extension: when its base is),
// - in small letters when from has no capital letter at all (nalozi.dbf -> nalozi_k24.dbf),
// - as the program spells them otherwise (Nalozi.dbf -> Nalozi.dbt, ProizTel.dbf ->
//   ProizTel.K01; also NALOZI.dbf -> NALOZI.dbt).
// Only ASCII letters count and change; from's own base is never changed.
std::string derivedName(const std::string& from, std::string_view suffix, std::string_view ext);

// `name` with `ext` (such as ".ntx") added when its last component has no extension, in the
// case derivedName() chooses; a name with an extension is answered unchanged.
std::string withDefaultExtension(const std::string& name, std::string_view ext);

}  // namespace kv::platform
