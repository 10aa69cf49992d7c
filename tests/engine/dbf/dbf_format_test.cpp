// The DBF layout read and written in one place: what the driver may open, and what the
// companion's check reports, from the same bytes.
#include "engine/dbf/dbf_format.h"

#include <cstdint>
#include <string>
#include <vector>

#include "platform/byteorder.h"
#include "support/engine_fixture.h"

using namespace kv;
using namespace kv::engine;
using kvtest::EngineTest;

namespace {

using DbfFormat = EngineTest;

// A table of the fields NAME C(300) and DAY D (header length 32 + 64 + 2, record length
// 1 + 300 + 8) without records.
std::string twoFieldTable() {
  std::vector<Field> fields(2);
  fields[0].name = "NAME";
  fields[0].type = 'C';
  fields[0].width = 300;
  fields[1].name = "DAY";
  fields[1].type = 'D';
  DbfHeader h;
  h.recordLength = static_cast<std::uint16_t>(layOutNewFields(fields));
  h.headerLength = static_cast<std::uint16_t>(newHeaderLength(fields.size()));
  std::uint8_t head[kDbfHeaderSize];
  encodeDbfHeader(h, head);
  const std::vector<std::uint8_t> d = encodeNewDescriptors(fields);
  return std::string(reinterpret_cast<const char*>(head), sizeof head) +
         std::string(reinterpret_cast<const char*>(d.data()), d.size());
}

void put16(std::string& s, std::size_t at, std::uint32_t v) {
  platform::writeLe16(s.data() + at, v);
}

}  // namespace

TEST(DbfFormatBytes, HeaderRoundTripsAndNewTablesAreLaidOutAsStored) {
  DbfHeader h;
  h.version = kDbfWithMemo;
  h.year = 125;
  h.month = 2;
  h.day = 28;
  h.recordCount = 70000;
  h.headerLength = 130;
  h.recordLength = 309;
  h.kept = 0x1234;
  std::uint8_t b[kDbfHeaderSize];
  encodeDbfHeader(h, b);
  EXPECT_EQ(b[0], 0x83);
  EXPECT_EQ(platform::readLe32(b + 4), 70000u);
  EXPECT_EQ(b[28], 0x34);
  EXPECT_EQ(b[29], 0x12);
  const DbfHeader back = decodeDbfHeader(b);
  EXPECT_EQ(back.recordCount, h.recordCount);
  EXPECT_EQ(back.headerLength, h.headerLength);
  EXPECT_EQ(back.recordLength, h.recordLength);
  EXPECT_EQ(back.kept, h.kept);
  EXPECT_EQ(back.day, 28);

  const std::string t = twoFieldTable();
  ASSERT_EQ(t.size(), 32u + 64u + 3u);
  EXPECT_EQ(platform::readLe16(t.data() + 8), 98);
  EXPECT_EQ(platform::readLe16(t.data() + 10), 309);
  EXPECT_EQ(t.substr(32, 5), std::string("NAME\0", 5));
  EXPECT_EQ(t[32 + 11], 'C');
  EXPECT_EQ(static_cast<unsigned char>(t[32 + 16]), 300 % 256);  // width low, then high byte
  EXPECT_EQ(static_cast<unsigned char>(t[32 + 17]), 300 / 256);
  EXPECT_EQ(static_cast<unsigned char>(t[64 + 16]), 8);
  EXPECT_EQ(t.substr(96), std::string("\x0D\x00\x1A", 3));
}

TEST_F(DbfFormat, TheDriverAndTheCheckReadTheSameLayout) {
  struct Case {
    const char* what;
    void (*damage)(std::string&);
    bool opens;
    const char* firstProblem;  // "" when none
  };
  const Case cases[] = {
      {"sound", [](std::string&) {}, true, ""},
      {"unknown version", [](std::string& t) { t[0] = 0x30; }, false,
       "version byte 0x30 is neither 0x03 nor 0x83"},
      {"header beyond the file", [](std::string& t) { put16(t, 8, 4000); }, false,
       "header length 4000 does not fit a file of 99 bytes"},
      {"unknown type", [](std::string& t) { t[64 + 11] = 'X'; }, false,
       "field 2 (DAY): unknown field type 0x58"},
      {"date of width 6", [](std::string& t) { t[64 + 16] = 6; }, true,
       "field 2 (DAY): D field of width 6, not 8"},
      {"record too short", [](std::string& t) { put16(t, 10, 300); }, false,
       "record length 300 in the header, the fields need 309"},
      {"record too long", [](std::string& t) { put16(t, 10, 400); }, true,
       "record length 400 in the header, the fields need 309"},
      {"no fields", [](std::string& t) { t[32] = 0x0D; }, false, "no field descriptors"},
      // Whole descriptors only: the driver lays out the first field and leaves the rest.
      {"descriptor past the header",
       [](std::string& t) {
         put16(t, 8, 32 + 32 + 20);
         put16(t, 10, 301);
       },
       true, "field 2: descriptor runs past the header length 84"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string t = twoFieldTable();
    c.damage(t);
    writeBytes("t.dbf", t);
    platform::File f;
    ASSERT_TRUE(f.open(path("t.dbf"), platform::Access::Read, platform::Share::Shared,
                       platform::Disposition::OpenExisting));
    const DbfLayout l = readDbfLayout(f);
    EXPECT_EQ(l.opens, c.opens);
    if (*c.firstProblem) {
      ASSERT_FALSE(l.problems.empty());
      EXPECT_EQ(l.problems.front(), c.firstProblem);
    } else {
      EXPECT_TRUE(l.problems.empty());
    }
    if (c.opens) {
      ASSERT_FALSE(l.fields.empty());
      EXPECT_EQ(l.fields[0].width, 300);
      EXPECT_EQ(l.fields[0].offset, 1u);
      if (l.fields.size() > 1) {
        EXPECT_EQ(l.fields[1].width, 8);  // the record's width
      }
    }
  }
}
