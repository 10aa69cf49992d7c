// The TRANSFORM / VAL / CTOD target. Byte 0 of the input chooses:
//   bits 0-1  the kind TRANSFORM formats: 0 the number VAL reads from the text, 1 the text,
//             2 the date CTOD reads from it, 3 a logical
//   bit 2     century on;  bit 3  epoch 1950 (else 1900);  bit 4  fixed decimals (3)
//   bits 5-6  the date format: "DD/MM/YYYY", "MM/DD/YY", "YYYY.MM.DD", "DD-MM-YY"
//   bit 7     the picture is also the date format
// The rest is the picture, a NUL byte and the text (no NUL: all picture, empty text).
#include <cstring>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "fuzz/fuzz_targets.h"
#include "runtime/format/dates.h"
#include "runtime/format/numfmt.h"
#include "runtime/format/transform.h"
#include "runtime/lang/settings.h"

namespace kvfuzz {

int fuzzFormat(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  startRun();
  const unsigned mode = data[0];
  std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::size_t nul = rest.find('\0');
  const std::string picture(rest.substr(0, nul));
  const std::string text(nul == std::string_view::npos ? std::string_view() : rest.substr(nul + 1));

  static const char* const kFormats[] = {"DD/MM/YYYY", "MM/DD/YY", "YYYY.MM.DD", "DD-MM-YY"};
  guarded([&] {
    kv::__SETCENTURY(kv::Value((mode & 4) != 0));
    kv::setSetting(kv::kSetEpoch, kv::Value::integer((mode & 8) != 0 ? 1950 : 1900));
    if ((mode & 16) != 0) {
      kv::setSetting(kv::kSetFixed, kv::Value(true));
      kv::setSetting(kv::kSetDecimals, kv::Value::integer(3));
    }
    kv::setSetting(kv::kSetDateFormat,
                   kv::Value((mode & 128) != 0 ? picture : std::string(kFormats[(mode >> 5) & 3])));

    const kv::Value number = kv::VAL(kv::Value(text));
    const kv::Value date = kv::CTOD(kv::Value(text));
    (void)kv::STR(number);
    (void)kv::DTOC(date);
    (void)kv::dateToText(date.julian(), picture);
    int decimals = 0;
    (void)kv::parseNumber(text, decimals);

    kv::Value value;
    switch (mode & 3) {
      case 0:
        value = number;
        break;
      case 1:
        value = kv::Value(text);
        break;
      case 2:
        value = date;
        break;
      default:
        value = kv::Value(!text.empty() && (text[0] == 'T' || text[0] == 't'));
        break;
    }
    (void)kv::TRANSFORM(value, kv::Value(picture));
  });
  return 0;
}

}  // namespace kvfuzz
