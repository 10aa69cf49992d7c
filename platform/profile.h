#pragma once
// Private profile (settings) files: sections in square brackets and "key=value" lines, read
// and written the way the shop's other stations read and write them.
//
// - Section and key names are compared without regard to ASCII case; surrounding blanks and
//   tabs of names and values do not count. The first matching section and, in it, the first
//   matching key win. A value enclosed in a pair of double or single quotes is answered
//   without them. A line starting with ";" is a comment; lines before the first section and
//   lines that are neither a section nor a key belong to nobody and are kept as they are.
// - Any bytes are accepted: lines of any length, bytes above 0x7F (Windows-1250 text is kept
//   as it is), LF or CR LF line ends, no final line end, no section at all.
// - A change rewrites the file whole through a temporary file and a rename (see
//   replaceFileContents), so a crash leaves the old or the new file. Only the line of the
//   changed key is rewritten (new lines are added with CR LF); every other byte is kept.
// - Nothing is cached: every call reads the file anew. A missing or unreadable file reads as
//   one without the key. The functions raise no errors: a write that cannot reach the disk
//   answers false (with the operating-system code in lastOsError()), which callers following
//   the profile rules ignore.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kv::platform {

// The longest value a read answers: the read's buffer holds 1024 bytes with the terminator.
constexpr std::size_t kProfileValueMax = 1023;

// The value of `key` in `section` of the file `path`, cut to kProfileValueMax bytes; when the
// file, section or key is missing, `deflt` without its trailing blanks (also cut).
std::string readProfileString(const std::string& path, std::string_view section,
                              std::string_view key, std::string_view deflt);

// Sets `key` of `section` to `value`, creating the file, the section (at the end of the file)
// or the key (after the section's last line) as needed. A CR or LF in the value would end the
// line and start another one; each is written as a blank instead. Answers false when the
// file cannot be written.
bool writeProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value);

// Removes the line of `key` from `section`. A missing file, section or key changes nothing
// (and creates no file). Answers false only when a change could not be written.
bool deleteProfileKey(const std::string& path, std::string_view section, std::string_view key);

// The same rules on the contents of a file held in memory.
// The value of the key, or nullopt when the section or key is missing (not cut).
std::optional<std::string> findProfileValue(std::string_view contents, std::string_view section,
                                            std::string_view key);
// The contents with the key set to `value`, or with its line removed when `value` is nullopt
// (then unchanged contents when the key is missing).
std::string withProfileValue(std::string_view contents, std::string_view section,
                             std::string_view key, std::optional<std::string_view> value);

}  // namespace kv::platform
