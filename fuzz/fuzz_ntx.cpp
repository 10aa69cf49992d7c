// The NTX target: the input is an index file. It is opened as a key tree in memory, walked
// from both ends, searched for keys taken from its own pages and for keys around them,
// changed by an insert and a removal, and checked as the companion checks it. Files whose
// update counter (byte 2) is odd are also written beside a sound table and opened as its
// order (shared when bit 1 of the counter is set), then walked and searched through the
// driver; the key text comes from the file and is compiled.
#include <algorithm>
#include <string>
#include <vector>

#include "engine/area/areas.h"
#include "engine/area/dbfunc.h"
#include "engine/ntx/ntx_check.h"
#include "engine/ntx/ntx_io.h"
#include "engine/ntx/ntx_tree.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/fuzz_tables.h"
#include "fuzz/fuzz_targets.h"

namespace kvfuzz {

namespace {

constexpr int kWalkSteps = 600;

void walkTree(const std::uint8_t* data, std::size_t size) {
  kv::ntx::MemoryNtxIo io;
  io.data.assign(data, data + size);
  kv::ntx::NtxTree tree;
  if (!tree.open(io, false)) return;
  std::vector<std::string> seen;
  for (std::uint32_t r = tree.first(); r != 0 && seen.size() < kWalkSteps; r = tree.next()) {
    if (seen.size() < 8) seen.push_back(tree.currentKey());
  }
  int steps = 0;
  for (std::uint32_t r = tree.last(); r != 0 && steps < kWalkSteps; r = tree.prev()) ++steps;
  const int keySize = tree.keySize();
  seen.push_back(std::string());
  seen.push_back(std::string(static_cast<std::size_t>(keySize), '\xFF'));
  seen.push_back(std::string(static_cast<std::size_t>(keySize), ' '));
  for (const std::string& key : seen) {
    (void)tree.seek(key, false);
    (void)tree.seek(key, true);
    if (tree.positioned()) {
      (void)tree.next();
      (void)tree.prev();
    }
  }
  std::string key = seen.front();
  key.resize(static_cast<std::size_t>(keySize), 'k');
  if (tree.insert(key, 7)) (void)tree.remove(key, 7);
  (void)tree.flush();
}

void checkFile(const std::uint8_t* data, std::size_t size) {
  kv::ntx::MemoryNtxIo io;
  io.data.assign(data, data + size);
  (void)kv::ntx::checkNtx(io);
}

// A table ORDERS with a character, a number and a date field and 40 records, made once by
// the engine and kept as bytes.
const std::string& orderTable() {
  static const std::string bytes = [] {
    std::string out;
    guarded([&] {
      kv::Value s = kv::Value::newArray();
      auto field = [&](const char* name, const char* type, int len, int dec) {
        kv::Value r = kv::Value::newArray();
        r.arr()->items = {kv::Value(name), kv::Value(type), kv::Value::integer(len),
                          kv::Value::integer(dec)};
        s.arr()->items.push_back(r);
      };
      field("CLIENT", "C", 12, 0);
      field("AMOUNT", "N", 8, 2);
      field("TAKEN", "D", 8, 0);
      kv::engine::DBCREATE(kv::Value("ORDERS.DBF"), s, kv::Value("DBF"));
      if (kv::engine::WorkArea* wa = openTable("ORDERS.DBF", "DBF", false, false)) {
        for (int i = 0; i < 40; ++i) {
          if (wa->append(false) != kv::engine::kSuccess) break;
          (void)wa->putValue(1, kv::Value("Client " + std::to_string(i % 17)));
          (void)wa->putValue(2, kv::Value::number(i * 3.25, 0, 2));
          (void)wa->putValue(3, kv::Value::date(2461000 + i));
        }
        (void)wa->flush();
      }
      kv::engine::closeAllAreas();
      out = readBytes(scratchPath("ORDERS.DBF"));
    });
    return out;
  }();
  return bytes;
}

void walkOrder(const std::uint8_t* data, std::size_t size) {
  const std::string& table = orderTable();
  writeBytes(scratchPath("ORDERS.DBF"), table.data(), table.size());
  writeBytes(scratchPath("FUZZ.NTX"), data, size);
  guarded([&] {
    kv::engine::WorkArea* wa = openTable("ORDERS.DBF", "DBFNTX", (data[2] & 2) != 0, true);
    if (wa == nullptr) return;
    if (wa->orderListAdd("FUZZ.NTX", std::string()) != kv::engine::kSuccess) return;
    walkRecords(*wa, 50);
    (void)wa->seek(kv::Value("Client 1"), true, false);
    (void)wa->seek(kv::Value("Client 1"), false, true);
    (void)wa->seek(kv::Value::number(13.0, 0, 0), true, false);
  });
  guarded([] { kv::engine::closeAllAreas(); });
}

}  // namespace

int fuzzNtx(const std::uint8_t* data, std::size_t size) {
  startRun();
  guarded([&] { walkTree(data, size); });
  guarded([&] { checkFile(data, size); });
  if (size > 2 && (data[2] & 1) != 0) walkOrder(data, size);
  return 0;
}

}  // namespace kvfuzz
