// The fuzz targets replay every stored find of tests/data/fuzz/TARGET/ (inputs that once
// crashed, hung or upset a sanitizer), and a few inputs at the edges of each format, so a
// fault once fixed stays fixed. A fault shows as a crash of this test, or as a sanitizer
// report in the sanitizer build.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "fuzz/fuzz_targets.h"
#include "support/files.h"

namespace fs = std::filesystem;

namespace {

struct Target {
  const char* name;
  int (*entry)(const std::uint8_t*, std::size_t);
};

const Target kTargets[] = {{"dbf", kvfuzz::fuzzDbf},       {"dbt", kvfuzz::fuzzDbt},
                           {"ntx", kvfuzz::fuzzNtx},       {"macro", kvfuzz::fuzzMacro},
                           {"format", kvfuzz::fuzzFormat}, {"profile", kvfuzz::fuzzProfile}};

void run(const Target& t, const std::string& bytes) {
  t.entry(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

class FuzzReplay : public testing::TestWithParam<Target> {};

TEST_P(FuzzReplay, StoredFindsRunThrough) {
  const Target& t = GetParam();
  const fs::path dir = fs::path(KV_TEST_DATA_DIR) / "fuzz" / t.name;
  int replayed = 0;
  if (fs::is_directory(dir)) {
    for (const auto& entry : fs::directory_iterator(dir)) {
      if (!entry.is_regular_file()) continue;
      SCOPED_TRACE(entry.path().string());
      run(t, kvtest::readFile(entry.path()));
      ++replayed;
    }
  }
  RecordProperty("replayed", replayed);
}

// Inputs every parser meets first: nothing, one byte, a run of zeros, a run of 0xFF, and a
// header-sized block of each.
TEST_P(FuzzReplay, EdgeInputsRunThrough) {
  const Target& t = GetParam();
  const std::vector<std::string> inputs = {std::string(),
                                           std::string(1, '\0'),
                                           std::string(1, '\x03'),
                                           std::string(32, '\0'),
                                           std::string(32, '\xFF'),
                                           std::string(1024, '\0'),
                                           std::string(1025, '\xFF'),
                                           std::string(600, '('),
                                           std::string("\x83\0\0", 3)};
  for (const std::string& in : inputs) run(t, in);
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzReplay, testing::ValuesIn(kTargets),
                         [](const testing::TestParamInfo<Target>& i) {
                           return std::string(i.param.name);
                         });

}  // namespace
