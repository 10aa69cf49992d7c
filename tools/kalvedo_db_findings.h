#pragma once
// What the check command found in one run: damage (problems) and harmless oddities (notes),
// each a line of text that starts with the file it concerns.
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace kv::tools {

// "1 record", "2 records": a count with its noun.
inline std::string counted(std::uint64_t n, const std::string& noun) {
  return std::to_string(n) + " " + noun + (n == 1 ? "" : "s");
}

struct Findings {
  std::vector<std::string> problems;
  std::vector<std::string> notes;

  void problem(const std::string& file, const std::string& text) {
    problems.push_back(file + ": " + text);
  }
  void note(const std::string& file, const std::string& text) {
    notes.push_back(file + ": note: " + text);
  }
  bool clean() const { return problems.empty(); }
  // Writes every problem, then every note, one a line.
  void write(std::ostream& out) const {
    for (const auto& p : problems) out << p << '\n';
    for (const auto& n : notes) out << n << '\n';
  }
};

}  // namespace kv::tools
