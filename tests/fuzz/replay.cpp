// Feeds each file named on the command line to the target, as libFuzzer
// would, where libFuzzer is not there: the kept inputs under ctest.
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
  for (int index = 1; index < argc; ++index) {
    std::ifstream file(argv[index], std::ios::binary);
    if (!file) {
      return 1;
    }
    const std::string bytes{std::istreambuf_iterator<char>(file), {}};
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  }
}
