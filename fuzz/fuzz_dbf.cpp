// The DBF target: the input is a table file. Its header and descriptors are read and checked
// as the companion's check does; the table is opened by the driver (with a small sound memo
// file beside it, for tables that say they have one), every record is read through every
// field, and inputs with bit 1 of their size set are also opened for writing and get a new
// record with a value in every field.
#include <cstring>
#include <string>

#include "engine/area/areas.h"
#include "engine/dbf/dbf_format.h"
#include "engine/dbf/dbf_memo.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/fuzz_tables.h"
#include "fuzz/fuzz_targets.h"
#include "platform/file.h"

namespace kvfuzz {

namespace {

// A memo file with texts at blocks 1 (short) and 2 (over two blocks), next free block 4.
std::string soundMemoFile() {
  std::string m(4 * kv::engine::kMemoBlock, '\0');
  m[0] = 4;
  const std::string shortText = "Pantalla rota\x1A";
  m.replace(kv::engine::kMemoBlock, shortText.size(), shortText);
  std::string longText(700, 'z');
  longText += '\x1A';
  m.replace(2 * kv::engine::kMemoBlock, longText.size(), longText);
  return m;
}

}  // namespace

int fuzzDbf(const std::uint8_t* data, std::size_t size) {
  startRun();
  const std::string table = scratchPath("FUZZ.DBF");
  writeBytes(table, data, size);
  static const std::string memo = soundMemoFile();
  writeBytes(scratchPath("FUZZ.DBT"), memo.data(), memo.size());
  {
    kv::platform::File f;
    if (f.open(table, kv::platform::Access::Read, kv::platform::Share::Shared,
               kv::platform::Disposition::OpenExisting)) {
      (void)kv::engine::readDbfLayout(f);
    }
  }
  const bool shared = (size & 1) != 0;
  const bool write = (size & 2) != 0;
  guarded([&] {
    if (kv::engine::WorkArea* wa = openTable("FUZZ.DBF", "DBF", shared, !write)) {
      walkRecords(*wa, 64);
      if (write) {
        if (wa->append(true) == kv::engine::kSuccess) writeEveryField(*wa, 600);
        walkRecords(*wa, 4);
      }
    }
  });
  guarded([] { kv::engine::closeAllAreas(); });
  return 0;
}

}  // namespace kvfuzz
