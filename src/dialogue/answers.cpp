#include "dialogue/answers.hpp"

#include <iostream>
#include <limits>

#include "console/console.hpp"

std::optional<std::int32_t> read_answer() {
  std::cout.flush();
  std::int32_t answer = 0;
  if (std::cin >> answer) {
    return answer;
  }
  if (std::cin.eof() || std::cin.bad()) {
    // Nothing more will come, the input having ended or failing to be read
    // at all (a closed descriptor, a directory): asking again would repeat
    // itself for ever.
    std::cout << std::endl;
    end_program();
  }
  std::cin.clear();
  std::cin.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
  return std::nullopt;
}
