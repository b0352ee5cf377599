// Feeds each file named on the command line to the target, as libFuzzer
// would, where libFuzzer is not there: the kept inputs under ctest.
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "fuzz/fuzz_input.hpp"

int main(int argc, char** argv) {
  for (int index = 1; index < argc; ++index) {
    std::ifstream file(argv[index], std::ios::binary);
    if (!file) {
      std::cerr << "cannot read " << argv[index] << '\n';
      return 1;
    }
    const std::string bytes{std::istreambuf_iterator<char>(file), {}};
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  }
  std::cout << argc - 1 << " inputs, every property held\n";
}
