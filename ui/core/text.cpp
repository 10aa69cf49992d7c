#include "ui/core/text.h"

#include "platform/codepage.h"

namespace kv::ui {

QString toQString(std::string_view cp1250) {
  QString out;
  out.reserve(static_cast<qsizetype>(cp1250.size()));
  for (unsigned char b : cp1250) {
    // Every code point of the code page lies in the Basic Multilingual Plane.
    out.append(QChar(static_cast<char16_t>(platform::cp1250ToCodePoint(b))));
  }
  return out;
}

QString valueText(const Value& v) {
  const Value& d = v.deref();
  return d.isString() ? toQString(d.str()) : QString();
}

std::string fromQString(const QString& text) {
  std::string out;
  out.reserve(static_cast<std::size_t>(text.size()));
  for (char32_t cp : text.toUcs4())
    out.push_back(static_cast<char>(platform::codePointToCp1250(cp)));
  return out;
}

bool toCp1250(char32_t cp, unsigned char& byte) {
  if (cp == 0) return false;
  byte = platform::codePointToCp1250(cp, 0);
  return byte != 0;
}

QString displayText(std::string_view cp1250) {
  QString t = toQString(cp1250);
  t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  t.replace(QChar('\r'), QChar('\n'));
  return t;
}

}  // namespace kv::ui
