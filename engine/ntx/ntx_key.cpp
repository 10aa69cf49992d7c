#include "engine/ntx/ntx_key.h"

#include <algorithm>

namespace kv::ntx {

namespace {

std::array<std::uint8_t, 256> makeWeights() {
  std::array<std::uint8_t, 256> w{};
  for (int c = 0; c < 256; ++c) {
    int v = c;
    // Room for N-tilde after "N" and n-tilde after "n".
    if (c >= 0x4F && c <= 0x6E) v = c + 1;
    if (c >= 0x6F && c <= 0xBF) v = c + 2;
    w[c] = static_cast<std::uint8_t>(v);
  }
  auto range = [&w](int from, int to, int weight) {
    for (int c = from; c <= to; ++c) w[c] = static_cast<std::uint8_t>(weight);
  };
  // Accented letters take the weight of their base letter.
  range(0xC0, 0xC5, 0x41);
  range(0xC8, 0xCB, 0x45);
  range(0xCC, 0xCF, 0x49);
  range(0xD2, 0xD6, 0x50);
  range(0xD9, 0xDC, 0x56);
  range(0xDD, 0xDD, 0x5A);
  range(0xE0, 0xE5, 0x62);
  range(0xE8, 0xEB, 0x66);
  range(0xEC, 0xEF, 0x6A);
  range(0xF2, 0xF6, 0x71);
  range(0xF9, 0xFC, 0x77);
  range(0xFD, 0xFD, 0x7B);
  range(0xFF, 0xFF, 0x7B);
  w[0xD1] = 0x4F;
  w[0xF1] = 0x70;
  for (int c : {0xC6, 0xC7, 0xD0}) w[c] = static_cast<std::uint8_t>(c + 2);
  for (int c : {0xD7, 0xD8, 0xDE, 0xDF, 0xE6, 0xE7, 0xF0}) w[c] = static_cast<std::uint8_t>(c + 1);
  for (int c : {0xF7, 0xF8, 0xFE}) w[c] = static_cast<std::uint8_t>(c);
  return w;
}

}  // namespace

const std::array<std::uint8_t, 256>& collationWeights() {
  static const std::array<std::uint8_t, 256> table = makeWeights();
  return table;
}

int compareKeys(const std::uint8_t* a, std::size_t alen, const std::uint8_t* b, std::size_t blen) {
  const auto& w = collationWeights();
  std::size_t n = std::min(alen, blen);
  for (std::size_t i = 0; i < n; ++i) {
    if (a[i] == b[i]) continue;
    int d = int(w[a[i]]) - int(w[b[i]]);
    if (d != 0) return d;
  }
  return 0;
}

void numericTransform(std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') text[i++] = '0';
  if (i < text.size() && text[i] == '-') {
    text[i++] = ',';
    for (; i < text.size(); ++i)
      if (text[i] >= '0' && text[i] <= '9') text[i] = static_cast<char>(92 - text[i]);
  }
}

}  // namespace kv::ntx
