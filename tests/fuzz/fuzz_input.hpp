#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

// The fuzzer's bytes, taken from the front one at a time (0 once they are
// used up) to choose what a target builds, the rest kept as they are.
struct FuzzInput {
  std::string_view bytes;
  unsigned next() {
    if (bytes.empty()) {
      return 0;
    }
    const auto byte = static_cast<unsigned char>(bytes.front());
    bytes.remove_prefix(1);
    return byte;
  }
};

// Ends the run where a property does not hold, naming it: the fuzzer then
// keeps the input that broke it.
inline void require(bool holds, const char* property) {
  if (!holds) {
    std::fprintf(stderr, "does not hold: %s\n", property);
    std::abort();
  }
}

// libFuzzer's entry point, which each target defines.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

inline std::string_view as_text(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}
