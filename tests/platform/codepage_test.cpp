#include "platform/codepage.h"

#include <gtest/gtest.h>

using namespace kv::platform;

TEST(Codepage, EveryByteRoundTrips) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  std::string utf8 = cp1250ToUtf8(all);
  EXPECT_EQ(utf8ToCp1250(utf8), all);
}

TEST(Codepage, NationalLetters) {
  struct Case {
    unsigned char byte;
    const char* utf8;
  } cases[] = {{0xE8, "č"}, {0xC8, "Č"},        {0xE6, "ć"},       {0xC6, "Ć"}, {0x9A, "š"},
               {0x8A, "Š"}, {0x9E, "ž"},        {0x8E, "Ž"},       {0xF0, "đ"}, {0xD0, "Đ"},
               {0x80, "€"}, {0x81, "\xC2\x81"}, {0x98, "\xC2\x98"}};
  for (const auto& c : cases) {
    std::string b(1, static_cast<char>(c.byte));
    EXPECT_EQ(cp1250ToUtf8(b), c.utf8) << int(c.byte);
    EXPECT_EQ(utf8ToCp1250(c.utf8), b) << int(c.byte);
  }
}

TEST(Codepage, InvalidUtf8BecomesQuestionMark) {
  EXPECT_EQ(utf8ToCp1250("a\xFF"
                         "b"),
            "a?b");
  EXPECT_EQ(utf8ToCp1250("x\xC4"), "x?");
  EXPECT_EQ(utf8ToCp1250("中"), "?");
}
