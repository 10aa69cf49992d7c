#pragma once
// Structural check of an NTX index file, for the tests and the maintenance tool: the header,
// every page reachable from the root (count, offset table, no page reached twice, no page
// but the root without keys), the order of all keys, and the free-page list (sound offsets,
// released pages only, no loop). The keys are listed in index order so the caller can
// compare them with the table. The check only reads; it raises no errors.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/ntx/ntx_format.h"
#include "engine/ntx/ntx_io.h"
#include "engine/ntx/ntx_tree.h"

namespace kv::ntx {

struct NtxCheckReport {
  bool headerSound = false;
  NtxHeader header;
  // Damage found; empty for a sound file.
  std::vector<std::string> problems;
  // Harmless findings (pages neither in the tree nor on the free list, a file size that is
  // not a whole number of pages).
  std::vector<std::string> notes;
  // Every key with its record number, in index order.
  std::vector<KeyEntry> entries;
  int treePages = 0;
  int freePages = 0;
  int depth = 0;

  bool clean() const { return headerSound && problems.empty(); }
};

NtxCheckReport checkNtx(NtxIo& io);

}  // namespace kv::ntx
