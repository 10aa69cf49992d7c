#pragma once
// Keys of an NTX index: the bytes a value becomes, and the order of keys.
//
// Key bytes by value type:
//   character / memo  the text cut or padded with blanks to the key size
//   number            the number as right-justified text of the key size with the key
//                     decimals, then made sortable: leading blanks become "0"; for a
//                     negative number the "-" becomes "," and every digit d after it the
//                     character 92 - d, so negatives sort first, larger magnitudes first
//   date              "YYYYMMDD" (eight blanks for the empty date)
//   logical           "T" or "F"
//
// Keys compare byte by byte over the shorter length, bytes mapped through the national
// collation weights (accented Latin-1 letters sort with their base letter, N-tilde after N);
// a key that is a prefix of another compares equal to it. A descending order inverts it.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kv::ntx {

// The collation weight of every byte code.
const std::array<std::uint8_t, 256>& collationWeights();

// Compares two keys over the shorter of the two lengths: negative, 0 or positive.
int compareKeys(const std::uint8_t* a, std::size_t alen, const std::uint8_t* b, std::size_t blen);
inline int compareKeys(std::string_view a, std::string_view b) {
  return compareKeys(reinterpret_cast<const std::uint8_t*>(a.data()), a.size(),
                     reinterpret_cast<const std::uint8_t*>(b.data()), b.size());
}

// Makes the formatted text of a number sortable (see above); the text keeps its length.
void numericTransform(std::string& text);

}  // namespace kv::ntx
