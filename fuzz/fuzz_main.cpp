// The libFuzzer entry of one target: KV_FUZZ_ENTRY names the function of fuzz_targets.h that
// this executable drives (set by the fuzz build for each target).
#include "fuzz/fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return kvfuzz::KV_FUZZ_ENTRY(data, size);
}
