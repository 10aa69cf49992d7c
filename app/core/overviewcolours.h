#pragma once
// The overview's row colours by an order's state, as the settings file holds them (section
// "Pregled": "Boja-na Cekanju", "Boja-u Obradi", "Boja-Zavrsen", white when missing or empty).
// Every painted cell asks for its row's colour, so the three keys are read from the file once
// and kept; what is kept is dropped, and the keys read again at the next question, as soon as
// this station writes the settings file (a colour chosen takes effect at the next paint) or
// the file's identity, size or modification time differs from what it was when it was read
// (another station, or a person with an editor, changed it).
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/file.h"

namespace kv::app {

class StatusColours {
 public:
  // The background of a row whose status text is `status`: "Zavrsen" the colour of finished
  // orders, "na Cekanju" that of waiting ones, any other text that of orders in progress.
  int colourOf(std::string_view status);

  // How many times the keys were read from the file (tests and benchmarks).
  int reads() const { return reads_; }

 private:
  void refresh();
  bool valid_ = false;
  std::uint64_t generation_ = 0;
  std::string file_;
  platform::FileStamp stamp_;
  int naCekanju_ = 0, uObradi_ = 0, zavrsen_ = 0;
  int reads_ = 0;
};

// The program's one cache, used by the overview's painting.
StatusColours& statusColours();

}  // namespace kv::app
