#pragma once
// Windows-1250 <-> UTF-8. Runtime strings are Windows-1250 bytes; conversion happens only at
// the boundary with the window system and the terminal. Every one of the 256 bytes has a
// code point (the five bytes the code page leaves undefined map to the C1 control character
// of the same value), so any byte string survives a round trip.
#include <string>
#include <string_view>

namespace kv::platform {

// Unicode code point of a Windows-1250 byte.
char32_t cp1250ToCodePoint(unsigned char b);
// Windows-1250 byte of a code point; `fallback` when the code page has none.
unsigned char codePointToCp1250(char32_t cp, unsigned char fallback = '?');

std::string cp1250ToUtf8(std::string_view bytes);
// Invalid UTF-8 sequences and characters outside the code page become '?'.
std::string utf8ToCp1250(std::string_view utf8);

}  // namespace kv::platform
