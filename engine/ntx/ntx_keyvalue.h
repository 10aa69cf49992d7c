#pragma once
// Runtime values as NTX key bytes, and the key size and decimals an order gets from the
// value of its key expression when it is created.
//
//   value type          key bytes                                       key size at create
//   character / memo    the text cut or padded with blanks              its length (<= 256)
//   number              right-justified text with the key decimals,     display width
//                       then made sortable (ntx_key.h)                   (<= 256), decimals
//                                                                        (<= 254)
//   date                YYYYMMDD, eight blanks for the empty date       8
//   logical             "T" or "F"                                      1
// Any other type is internal error 1242.
#include <string>

#include "runtime/value/value.h"

namespace kv::ntx {

// Size and decimals of a key.
struct KeyLayout {
  int size = 0;
  int decimals = 0;
};

// The key bytes of `v` for a key of `keySize` bytes with `decimals` decimals (exactly
// `keySize` bytes). Internal error 1242 for a value of another type.
std::string keyFromValue(const Value& v, int keySize, int decimals);

// The bytes a seek compares: as keyFromValue, except that a character value keeps only its
// own length (at most the key size), so a shorter text finds the keys it begins.
std::string seekKeyFromValue(const Value& v, int keySize, int decimals);

// The key layout an order takes from the first value of its key expression. A layout of
// size 0 (an empty text) raises the data-width error (34/1026, subsystem "DBFNTX", with
// `fileName`) and answers false. Internal error 1242 for a value of another type.
bool keyLayoutFromValue(const Value& v, KeyLayout& out, const std::string& fileName);

}  // namespace kv::ntx
