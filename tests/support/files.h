#pragma once
// Test support: private data directories and the bytes of files.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

namespace kvtest {

// A fresh empty directory in the system's temporary directory: "kv_" + `what`, the process
// and a sequence number, so that tests of parallel runs never share one. The caller removes
// it (std::filesystem::remove_all) when the test ends.
inline std::filesystem::path freshTempDir(const std::string& what) {
  static int seq = 0;
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() /
      ("kv_" + what + "_" + std::to_string(::getpid()) + "_" + std::to_string(++seq));
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir;
}

// The whole file ("" when it cannot be read).
inline std::string readFile(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Makes the file hold exactly `bytes`.
inline void writeFile(const std::filesystem::path& p, std::string_view bytes) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace kvtest
