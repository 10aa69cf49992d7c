// The settings-file target: the input is the whole file. Every lookup must run through, and
// the rules every station relies on must hold for any contents:
//   - a key just set reads back as set, in any case of its section and key names;
//   - removing a key that is not there changes nothing;
//   - setting a key leaves every byte before the key's section as it was.
// A broken rule aborts, which the fuzzer reports like a crash.
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz/fuzz_targets.h"
#include "platform/profile.h"

namespace kvfuzz {

namespace {

void require(bool rule) {
  if (!rule) std::abort();
}

}  // namespace

int fuzzProfile(const std::uint8_t* data, std::size_t size) {
  using kv::platform::findProfileValue;
  using kv::platform::withProfileValue;
  const std::string_view contents(reinterpret_cast<const char*>(data), size);

  for (const char* section : {"Stampa", "Pregled", "", "["})
    for (const char* key : {"Jezik", "Boja", "", "="}) findProfileValue(contents, section, key);

  const std::string set = withProfileValue(contents, "Stampa", "Jezik", "Hrvatski \xE8");
  const auto back = findProfileValue(set, "STAMPA", "jezik");
  require(back.has_value() && *back == "Hrvatski \xE8");

  const std::string cleaned = withProfileValue(contents, "Pregled", "Boja", "a\r\n[Stampa]");
  const auto value = findProfileValue(cleaned, "pregled", "BOJA");
  require(value.has_value() && *value == "a  [Stampa]");

  if (!findProfileValue(contents, "Stampa", "Nema"))
    require(withProfileValue(contents, "Stampa", "Nema", std::nullopt) == contents);

  // The file up to the first line that mentions the section's name (in any case) is never
  // touched.
  std::string folded(contents);
  for (char& c : folded)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  const std::size_t first = folded.find("stampa");
  const std::size_t lineStart =
      first == std::string_view::npos ? contents.size() : contents.rfind('\n', first);
  const std::size_t kept = lineStart == std::string_view::npos ? 0 : lineStart;
  require(std::string_view(set).substr(0, kept) == contents.substr(0, kept));
  return 0;
}

}  // namespace kvfuzz
