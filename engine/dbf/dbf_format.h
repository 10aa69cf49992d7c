#pragma once
// Byte layout of a DBF table file, read, written and checked in one place: the driver's open
// and create and the companion's table check all go through here. Multi-byte integers are
// little-endian.
//
// Table header, 32 bytes at offset 0:
// | Offset | Size | Meaning                                                              |
// |--------|------|----------------------------------------------------------------------|
// | 0      | 1    | version: 0x03 plain table, 0x83 table with a memo file                |
// | 1      | 3    | date of the last update: years since 1900, month, day                 |
// | 4      | 4    | record count                                                         |
// | 8      | 2    | header length: 32 + 32 x fields + 2 (files of others: + 1 also read)  |
// | 10     | 2    | record length: 1 + the sum of the field widths                        |
// | 12     | 16   | zero                                                                 |
// | 28     | 2    | kept as found in the file (zero in new files)                         |
// | 30     | 2    | zero                                                                 |
// Field descriptors, 32 bytes each from offset 32, ended by 0x0D (then 0x00, and 0x1A while
// the table has no records):
// | Offset | Size | Meaning                                                              |
// |--------|------|----------------------------------------------------------------------|
// | 0      | 11   | name, upper case, NUL-terminated (bytes after the NUL are ignored)    |
// | 11     | 1    | type: C character, N number, D date, L logical, M memo                |
// | 12     | 4    | zero (any value is accepted when reading)                             |
// | 16     | 1    | width (C: low byte)                                                   |
// | 17     | 1    | decimals (C: high byte of the width)                                  |
// | 18     | 14   | zero                                                                 |
// Record n (from 1) lies at header length + (n - 1) x record length: byte 0 is "*" for a
// deleted record, " " otherwise; the fields follow in descriptor order. A date holds
// YYYYMMDD (blanks: empty), a logical T/F (T, t, Y, y read as true), a memo the block number
// of its text. One 0x1A byte follows the last record and the file ends there.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/area/workarea.h"
#include "platform/file.h"

namespace kv::engine {

constexpr std::size_t kDbfHeaderSize = 32;
constexpr std::size_t kDbfDescriptorSize = 32;
constexpr std::uint8_t kDbfPlain = 0x03;
constexpr std::uint8_t kDbfWithMemo = 0x83;
constexpr std::uint8_t kDbfDescriptorEnd = 0x0D;
constexpr std::uint8_t kDbfEndOfFile = 0x1A;

// The 32-byte table header.
struct DbfHeader {
  std::uint8_t version = kDbfPlain;
  // The date of the last update: years since 1900, month, day.
  std::uint8_t year = 0, month = 0, day = 0;
  std::uint32_t recordCount = 0;
  std::uint16_t headerLength = 0;
  std::uint16_t recordLength = 0;
  std::uint16_t kept = 0;  // bytes 28 and 29, written back as they were found

  bool hasMemo() const { return version == kDbfWithMemo; }
};

// A byte as the findings show it: "0x0D".
std::string hexByteText(unsigned v);

// True for the versions a table may have (0x03, 0x83).
bool knownDbfVersion(std::uint8_t version);

// The header's 32 bytes; the zero bytes are written as zero.
void encodeDbfHeader(const DbfHeader& h, std::uint8_t* bytes);
// The header from its 32 bytes. Does not check them.
DbfHeader decodeDbfHeader(const std::uint8_t* bytes);
// Rewrites only the record count of the header's 32 bytes (a copy keeps every other byte).
void setDbfRecordCount(std::uint8_t* bytes, std::uint32_t count);

// The width a field of a type takes in the record: 8 for a date, 1 for a logical, 10 for a
// memo, else `width`.
int recordWidth(char type, int width);

// Lays out the records of a new table: fixes the widths of date, logical and memo fields,
// gives each field its offset (the first at 1, after the deletion flag) and answers the
// record length.
std::uint32_t layOutNewFields(std::vector<Field>& fields);
// Header length of a new table with `fieldCount` fields: 32 + 32 x fields + 2.
std::uint32_t newHeaderLength(std::size_t fieldCount);
// The bytes after the 32-byte header of a new table: one descriptor per field (a type the
// format does not know is written as "U" with the width and decimals given), the
// terminator 0x0D, a zero byte and the end mark 0x1A of a table without records.
std::vector<std::uint8_t> encodeNewDescriptors(const std::vector<Field>& fields);

// A table file's header and descriptors as read and checked by readDbfLayout.
struct DbfLayout {
  // The header was read (the file holds at least 32 bytes).
  bool headerRead = false;
  DbfHeader header;
  // The header length fits the file and its bytes were read, so the descriptors were
  // looked at.
  bool descriptorsExamined = false;
  // Every descriptor was read up to the terminator or the header's end, so the checks of
  // their sum (record length, memo fields) were made.
  bool descriptorsRead = false;
  // The fields as the driver lays out its records: names upper-cased and cut to 10
  // characters, date, logical and memo widths fixed, offsets from 1.
  std::vector<Field> fields;
  // The driver can open the table: a known version, a header length that fits the file, a
  // record length of 1 or more that holds every field, at least one field and only known
  // types. (Whether the memo file is there is the opener's business.)
  bool opens = false;
  // Damage and harmless findings, in the order met, each a sentence without the file name.
  std::vector<std::string> problems;
  std::vector<std::string> notes;
};

// Reads the header and the descriptors of the table in `file` and checks them against each
// other and against the file's size. Only reads; raises no errors.
DbfLayout readDbfLayout(platform::File& file);

}  // namespace kv::engine
