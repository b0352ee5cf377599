#include <gtest/gtest.h>

#include <iostream>
#include <sstream>

#include "dialogue/answers.hpp"

namespace {

// Feeds input to the answer reader through std::cin.
class Answers : public ::testing::Test {
 protected:
  void feed(const std::string& text) {
    input_.str(text);
    std::cin.rdbuf(&input_);
    std::cin.clear();
  }
  void TearDown() override { std::cin.rdbuf(original_); }

 private:
  std::stringbuf input_;
  std::streambuf* original_ = std::cin.rdbuf();
};

}  // namespace

TEST_F(Answers, TypedAheadAnswersAndUnreadableLines) {
  feed(" 1 2024\r\n-7 abc 5\n99999999999\n-\n+3\n-2147483648\n");
  EXPECT_EQ(read_answer(), 1);
  EXPECT_EQ(read_answer(), 2024);
  EXPECT_EQ(read_answer(), -7);
  EXPECT_EQ(read_answer(), std::nullopt);  // the rest of the line goes with it, 5 included
  EXPECT_EQ(read_answer(), std::nullopt);  // beyond 32 bits
  EXPECT_EQ(read_answer(), std::nullopt);  // a lone sign
  EXPECT_EQ(read_answer(), 3);
  EXPECT_EQ(read_answer(), -2147483648);
}

TEST_F(Answers, TheEndOfInputEndsTheProgramCalmly) {
  for (const char* ending : {"", "  \n", "-", "123456789012", "x"}) {
    feed(ending);
    EXPECT_EXIT(
        {
          while (true) {
            read_answer();
          }
        },
        ::testing::ExitedWithCode(0), "")
        << "input: '" << ending << "'";
  }
}
