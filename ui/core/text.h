#pragma once
// Windows-1250 <-> Qt text. The runtime's strings are Windows-1250 byte strings; Qt works in
// Unicode. Every conversion between the two in the window library goes through here.
#include <QString>
#include <string>
#include <string_view>

#include "runtime/value/value.h"

namespace kv::ui {

// Windows-1250 bytes as Qt text. Every byte has a character, so nothing is lost.
QString toQString(std::string_view cp1250);
// A character value as Qt text; any other value gives the empty text.
QString valueText(const Value& v);
// Qt text as Windows-1250 bytes; a character outside the code page becomes '?'.
std::string fromQString(const QString& text);
// The Windows-1250 byte of one character; false for a character the code page cannot hold
// (typed or pasted text refuses such a character rather than storing a stand-in).
bool toCp1250(char32_t cp, unsigned char& byte);
// Text for display: CR LF and a lone CR become line feeds.
QString displayText(std::string_view cp1250);

}  // namespace kv::ui
