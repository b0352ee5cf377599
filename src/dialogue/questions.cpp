#include "dialogue/questions.hpp"

#include <iostream>
#include <string>
#include <string_view>

#include "console/console.hpp"
#include "dialogue/answers.hpp"
#include "render/reports.hpp"
#include "render/screens.hpp"

namespace {

constexpr QueryCode year_calendar_query = 1;
constexpr QueryCode month_calendar_query = 2;
constexpr QueryCode weekday_query = 3;
constexpr QueryCode day_of_year_query = 4;

// Writes a question and reads its answer. The user's own line end closes
// the answer line; the end-of-line written after it leaves an empty line.
std::optional<std::int32_t> ask(std::string_view question) {
  std::cout << question;
  const std::optional<std::int32_t> answer = read_answer();
  std::cout << std::endl;
  return answer;
}

// A rejected answer: a cleared window holding only the complaint, in the
// rejected look, with the same question asked again right under it.
void reject(std::string_view complaint) {
  run_console_command(ConsoleCommand::clear);
  std::cout << complaint << std::endl;
  run_console_command(ConsoleCommand::look_rejected);
}

// The accepted answer to a question, and how many answers were rejected
// before it.
struct Accepted {
  std::int32_t value;
  std::int64_t rejected;
};

// Asks question until an answer passes accepts; every other answer, and one
// that cannot be read, gets complaint and the question again.
template <typename Accepts>
Accepted ask_until_accepted(std::string_view question, std::string_view complaint,
                            Accepts accepts) {
  for (std::int64_t rejected = 0;; ++rejected) {
    const std::optional<std::int32_t> answer = ask(question);
    if (answer && accepts(*answer)) {
      return {*answer, rejected};
    }
    reject(complaint);
  }
}

// A finished query ends with one end-of-line for its answer and one more
// for every month or day answer rejected on the way.
void end_lines(std::int64_t count) {
  for (std::int64_t line = 0; line < count; ++line) {
    std::cout << std::endl;
  }
}

std::string day_complaint(std::int32_t year, std::int32_t month, std::int32_t last_day) {
  // Only the leap-year February complaint opens without the exclamation marks.
  const bool leap_february = month == 2 && last_day == 29;
  return std::string(leap_february ? "" : "！！！") + std::to_string(year) + "年" +
         std::to_string(month) + "月只有" + std::to_string(last_day) + "天呦~，请重新输入！！！";
}

}  // namespace

void ask_year(QueryCode code, bool lunar) {
  std::cout << std::endl << "按要求输入辅助信息，来帮助你完成查询" << std::endl << std::endl;
  // Any number is a year; only an answer that is not a number is rejected.
  const std::int32_t year =
      ask_until_accepted("请输入你要查询的年份：===》", "！！！年份输错了呦~，请重新输入！！！",
                         [](std::int32_t) { return true; })
          .value;
  if (code == day_of_year_query) {
    ask_month(year, code, 0, lunar);
  } else {
    ask_new_year_weekday(year, code, is_leap_year(year), lunar);
  }
}

void ask_new_year_weekday(std::int32_t year, QueryCode code, LeapFlag leap, bool lunar) {
  const NewYearWeekday new_year =
      ask_until_accepted("该年元旦是星期几(0~6)：===》",
                         "！！！一个星期的范围只有0~6呦~，请重新输入！！！",
                         [](std::int32_t weekday) { return weekday >= 0 && weekday <= 6; })
          .value;
  run_console_command(ConsoleCommand::look_accepted);
  if (code == year_calendar_query) {
    print_year_calendar(year, leap, new_year, lunar);
  } else {
    ask_month(year, code, new_year, lunar);
  }
}

void ask_month(std::int32_t year, QueryCode code, NewYearWeekday new_year, bool lunar) {
  const Accepted month = ask_until_accepted(
      "请输入你要查询的月份（1~12）：===》", "！！！月份输错了呦~，请重新输入！！！",
      [](std::int32_t answer) { return answer >= 1 && answer <= 12; });
  ask_day(year, is_leap_year(year), month.value, code, new_year, lunar);
  end_lines(month.rejected);
}

void ask_day(std::int32_t year, LeapFlag leap, std::int32_t month, QueryCode code,
             NewYearWeekday new_year, bool lunar) {
  const std::int32_t last_day = month_length(leap, month);
  std::int64_t rejected = 0;
  if (code == month_calendar_query) {
    print_month_calendar(year, month, leap, new_year, lunar);
    // The accepted look follows a month calendar only for a 31-day month;
    // any other keeps the colours it was shown in.
    if (last_day == 31) {
      run_console_command(ConsoleCommand::look_accepted);
    }
  } else {
    const Accepted day = ask_until_accepted(
        "请输入几号（1~28|29|30|31）：===》", day_complaint(year, month, last_day),
        [last_day](std::int32_t answer) { return answer >= 1 && answer <= last_day; });
    rejected = day.rejected;
    if (code == weekday_query) {
      print_weekday_of_date(year, month, day.value, leap, new_year, lunar);
    } else {
      print_day_of_year(year, month, day.value, leap, lunar);
    }
    run_console_command(ConsoleCommand::look_accepted);
  }
  end_lines(1 + rejected);
}
