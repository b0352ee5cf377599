#pragma once

#include <cstdio>
#include <cstdlib>
#include <string_view>

// The fuzzer's bytes, taken from the front one at a time (0 once they are
// used up) to choose what a target builds, the rest kept as they are.
struct FuzzInput {
  std::string_view bytes;
  unsigned next() {
    const unsigned byte = bytes.empty() ? 0 : static_cast<unsigned char>(bytes.front());
    bytes.remove_prefix(bytes.empty() ? 0 : 1);
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
