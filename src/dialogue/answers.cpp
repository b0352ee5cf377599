#include "dialogue/answers.hpp"

#include <iostream>
#include <limits>

#include "console/console.hpp"

Answer read_answer(std::istream& input) {
  std::int32_t answer = 0;
  if (input >> answer) {
    return {answer};
  }
  if (input.eof() || input.bad()) {
    // The input has ended or fails to be read at all (a closed descriptor,
    // a directory).
    return {std::nullopt, true};
  }
  input.clear();
  input.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
  return {};
}

std::optional<std::int32_t> read_answer() {
  std::cout.flush();
  const Answer answer = read_answer(std::cin);
  if (answer.input_ended) {
    std::cout << std::endl;
    end_program();
  }
  return answer.value;
}
