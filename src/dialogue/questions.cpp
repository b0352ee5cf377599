#include "dialogue/questions.hpp"

#include <iostream>
#include <string>
#include <string_view>

#include "dialogue/answers.hpp"
#include "render/reports.hpp"
#include "render/screens.hpp"
#include "shell/console.hpp"

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

void ask_year(QueryCode code) {
  std::cout << std::endl << "按要求输入辅助信息，来帮助你完成查询" << std::endl << std::endl;
  std::optional<std::int32_t> year = ask("请输入你要查询的年份：===》");
  while (!year) {
    reject("！！！年份输错了呦~，请重新输入！！！");
    year = ask("请输入你要查询的年份：===》");
  }
  if (code == day_of_year_query) {
    ask_month(*year, code, 0);
  } else {
    ask_new_year_weekday(*year, code, is_leap_year(*year));
  }
}

void ask_new_year_weekday(std::int32_t year, QueryCode code, LeapFlag leap) {
  std::optional<std::int32_t> weekday = ask("该年元旦是星期几(0~6)：===》");
  while (!weekday || *weekday < 0 || *weekday > 6) {
    reject("！！！一个星期的范围只有0~6呦~，请重新输入！！！");
    weekday = ask("该年元旦是星期几(0~6)：===》");
  }
  run_console_command(ConsoleCommand::look_accepted);
  if (code == year_calendar_query) {
    print_year_calendar(year, leap, *weekday);
  } else {
    ask_month(year, code, *weekday);
  }
}

void ask_month(std::int32_t year, QueryCode code, NewYearWeekday new_year) {
  std::int64_t rejected = 0;
  for (;;) {
    const std::optional<std::int32_t> month = ask("请输入你要查询的月份（1~12）：===》");
    if (month && *month >= 1 && *month <= 12) {
      ask_day(year, is_leap_year(year), *month, code, new_year);
      break;
    }
    reject("！！！月份输错了呦~，请重新输入！！！");
    ++rejected;
  }
  end_lines(rejected);
}

void ask_day(std::int32_t year, LeapFlag leap, std::int32_t month, QueryCode code,
             NewYearWeekday new_year) {
  const std::int32_t last_day = month_length(leap, month);
  std::int64_t rejected = 0;
  if (code == month_calendar_query) {
    print_month_calendar(year, month, leap, new_year);
    // The accepted look follows a month calendar only for a 31-day month;
    // any other keeps the colours it was shown in.
    if (last_day == 31) {
      run_console_command(ConsoleCommand::look_accepted);
    }
  } else {
    std::optional<std::int32_t> day = ask("请输入几号（1~28|29|30|31）：===》");
    while (!day || *day < 1 || *day > last_day) {
      reject(day_complaint(year, month, last_day));
      ++rejected;
      day = ask("请输入几号（1~28|29|30|31）：===》");
    }
    if (code == weekday_query) {
      print_weekday_of_date(year, month, *day, leap, new_year);
    } else {
      print_day_of_year(year, month, *day, leap);
    }
    run_console_command(ConsoleCommand::look_accepted);
  }
  end_lines(1 + rejected);
}
