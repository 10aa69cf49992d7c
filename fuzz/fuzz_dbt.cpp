// The DBT target: the first 10 bytes of the input are a record's memo field (the block
// pointer as the record holds it), the rest is the memo file. The text is read through a
// sound one-record table and through the memo file itself; inputs with bit 0 of their size
// set then rewrite the text (in place or at the end of the file).
#include <algorithm>
#include <string>
#include <string_view>

#include "engine/area/areas.h"
#include "engine/dbf/dbf_format.h"
#include "engine/dbf/dbf_memo.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/fuzz_tables.h"
#include "fuzz/fuzz_targets.h"

namespace kvfuzz {

namespace {

constexpr std::size_t kFieldWidth = 10;

// A table with one memo field NOTES and one record, memo pointer blank: header, one
// descriptor, terminator, the record and the end mark.
std::string memoTable() {
  std::vector<kv::engine::Field> fields(1);
  fields[0].name = "NOTES";
  fields[0].type = 'M';
  fields[0].width = 10;
  kv::engine::DbfHeader h;
  h.version = kv::engine::kDbfWithMemo;
  h.year = 126;
  h.month = 12;
  h.day = 9;
  h.recordCount = 1;
  h.recordLength = static_cast<std::uint16_t>(kv::engine::layOutNewFields(fields));
  h.headerLength = static_cast<std::uint16_t>(kv::engine::newHeaderLength(fields.size()));
  std::string out(kv::engine::kDbfHeaderSize, '\0');
  kv::engine::encodeDbfHeader(h, reinterpret_cast<std::uint8_t*>(out.data()));
  std::vector<std::uint8_t> desc = kv::engine::encodeNewDescriptors(fields);
  out.append(desc.begin(), desc.end());
  // A new table's descriptors end with the end mark of an empty table; this one has a record.
  out.resize(h.headerLength);
  out += ' ';
  out += std::string(kFieldWidth, ' ');
  out += static_cast<char>(kv::engine::kDbfEndOfFile);
  return out;
}

}  // namespace

int fuzzDbt(const std::uint8_t* data, std::size_t size) {
  startRun();
  static const std::string table = memoTable();
  const std::size_t fieldBytes = std::min(size, kFieldWidth);
  std::string field(reinterpret_cast<const char*>(data), fieldBytes);
  field.resize(kFieldWidth, ' ');
  std::string t = table;
  const std::size_t recordAt = t.size() - 1 - kFieldWidth;
  t.replace(recordAt, kFieldWidth, field);
  writeBytes(scratchPath("MEMO.DBF"), t.data(), t.size());
  const std::string memoPath = scratchPath("MEMO.DBT");
  writeBytes(memoPath, data + fieldBytes, size - fieldBytes);

  // The memo file on its own, at the block the field names.
  {
    kv::engine::MemoFile memo;
    std::uint32_t block = 0;
    if (kv::engine::memoBlockFromField(field, block) &&
        memo.file().open(memoPath, kv::platform::Access::Read, kv::platform::Share::Shared,
                         kv::platform::Disposition::OpenExisting)) {
      std::uint32_t length = 0;
      std::string text;
      if (memo.textLength(block, length)) {
        (void)memo.read(block, std::min<std::uint32_t>(length, 1u << 20), text);
      }
      (void)memo.readText(block, text);
    }
  }
  const bool write = (size & 1) != 0;
  guarded([&] {
    if (kv::engine::WorkArea* wa = openTable("MEMO.DBF", "DBF", (size & 2) != 0, !write)) {
      walkRecords(*wa, 2);
      if (write && wa->goTo(1) == kv::engine::kSuccess) {
        bool locked = false;
        (void)wa->lock(kv::engine::LockRequest{1, 1}, locked);
        // Bit 2 of the size picks a text that fits its block or one that must move.
        writeEveryField(*wa, (size & 4) != 0 ? 100 : 1500);
        walkRecords(*wa, 2);
      }
    }
  });
  guarded([] { kv::engine::closeAllAreas(); });
  return 0;
}

}  // namespace kvfuzz
