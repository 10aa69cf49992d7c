#pragma once
// Table helpers of the engine's fuzz targets: opening a table in a fresh area through the
// database functions, walking its records through every field, and writing a value of the
// right kind into every field.
#include <cstdint>
#include <string>

#include "engine/area/workarea.h"

namespace kvfuzz {

// Opens `file` of the scratch directory with `driver` in a new area; the work area, or null
// when the open failed.
kv::engine::WorkArea* openTable(const std::string& file, const char* driver, bool shared,
                                bool readOnly);
// Reads up to `limit` records by number and then in the area's order: the deletion flag,
// every field's value and every memo's length.
void walkRecords(kv::engine::WorkArea& wa, std::uint32_t limit);
// Writes a value of each field's kind into the current record (a memo text of `memoLength`
// bytes) and commits.
void writeEveryField(kv::engine::WorkArea& wa, std::size_t memoLength);

}  // namespace kvfuzz
