#pragma once
// The fuzz targets: each takes one input of any bytes and runs it through one parser of
// untrusted data. A target never fails on its own: a crash, a sanitizer report or a hang is
// the finding. The same functions run under libFuzzer (fuzz/fuzz_main.cpp, `make fuzz`) and
// in the ordinary test suite, which replays the stored finds of tests/data/fuzz/.
#include <cstddef>
#include <cstdint>

namespace kvfuzz {

// A DBF table file: header, field descriptors and every record read through every field
// type, in exclusive and shared opens; some inputs also append a record and write a value
// into every field.
int fuzzDbf(const std::uint8_t* data, std::size_t size);
// A memo file with the ten bytes of a record's memo field (the block pointer): the first 10
// bytes are the field, the rest the DBT file; the text is read through the table and the
// memo file, and rewritten.
int fuzzDbt(const std::uint8_t* data, std::size_t size);
// An NTX index file: opened as a key tree, walked both ways, searched and checked; inputs
// of odd size are also opened as an order of a table and walked through the driver.
int fuzzNtx(const std::uint8_t* data, std::size_t size);
// An expression text, compiled and (when it compiles) evaluated, with every runtime
// function but those of files and the console.
int fuzzMacro(const std::uint8_t* data, std::size_t size);
// TRANSFORM, VAL and CTOD: byte 0 picks the value kind and the settings, the rest is a
// picture and a text separated by a NUL byte.
int fuzzFormat(const std::uint8_t* data, std::size_t size);
// A settings file: looked up, a key set and read back, an absent key removed; the rules the
// stations rely on are checked (a broken one aborts).
int fuzzProfile(const std::uint8_t* data, std::size_t size);

}  // namespace kvfuzz
