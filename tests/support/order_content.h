#pragma once
// The contents of a work order in the crash and soak tests, which follow from its record
// number and version alone, so that a test can tell from a station's journal what each record
// must hold: the customer, the memo text (1 to 1500 bytes, often over several memo blocks)
// and the estimated price. The order number is chosen by the station that appends the order.
#include <cstdint>
#include <string>

#include "runtime/value/value.h"

namespace kvtest {

struct OrderContent {
  std::string customer;
  std::string memo;
  double price = 0;
};

inline OrderContent orderContent(std::uint32_t rec, int ver) {
  OrderContent c;
  c.customer = "K" + std::to_string(rec) + "v" + std::to_string(ver);
  const std::size_t len = 1 + (rec * 31u + static_cast<unsigned>(ver) * 97u) % 1500u;
  c.memo = std::string(len, static_cast<char>('a' + (rec + static_cast<unsigned>(ver)) % 26)) +
           "/" + std::to_string(rec) + "/" + std::to_string(ver);
  c.price = rec + ver / 100.0;
  return c;
}

// The order number a station gives its save `i` when its numbers start at `base`: five
// characters in base 36, so that 60 million numbers fit the field.
inline std::string orderNumber(std::uint32_t base, std::uint32_t i) {
  static const char digits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  std::uint32_t n = base + i;
  std::string out(5, '0');
  for (int p = 4; p >= 0; --p, n /= 36) out[static_cast<std::size_t>(p)] = digits[n % 36];
  return out;
}

// The work-order table of the tests: the fields the stations write, with the application's
// names and widths.
inline kv::Value orderStructure() {
  kv::Value s = kv::Value::newArray();
  auto field = [&](const char* name, const char* type, int len, int dec) {
    kv::Value r = kv::Value::newArray();
    r.arr()->items = {kv::Value(name), kv::Value(type), kv::Value::integer(len),
                      kv::Value::integer(dec)};
    s.arr()->items.push_back(r);
  };
  field("BrNal", "C", 5, 0);
  field("DatNal", "D", 8, 0);
  field("Korisnik", "C", 50, 0);
  field("Opis_Kvara", "M", 10, 0);
  field("Okv_cena", "N", 10, 2);
  field("Kon_cena", "N", 10, 2);
  return s;
}

}  // namespace kvtest
