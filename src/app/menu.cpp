#include "app/menu.hpp"

#include <array>
#include <iostream>
#include <optional>
#include <string_view>

#include "console/console.hpp"
#include "dialogue/answers.hpp"
#include "dialogue/questions.hpp"

namespace {

// Every line but the prompt is followed by an end-of-line. The two borders
// do not line up: the lower one starts one column further left.
constexpr std::array<std::string_view, 18> menu_lines{
    "",
    "",
    "              欢迎进入Tavoro查询系统",
    "",
    "                       菜   单  ",
    "",
    " ~-~-~-~-~-~-~-~-~-~-~-~-~-~-~-~-~-~-~-~-~-~-~-~-~ ",
    "||             1.显示某一年的日历                 ||",
    "",
    "               2.显示某年中某一月的日历             ",
    "",
    "               3.显示某年某月中某一天是星期几       ",
    "",
    "               4.显示某天是本年度的第几天           ",
    "",
    "||             0.退出程序                         ||",
    "~-~-~-~-~-~-~-~-~-~-~-~-~-~-~-~-~-~-~-~-~-~-~-~-~ ",
    "",
};

constexpr std::string_view menu_prompt = "请输入你想要实现功能的代码：=====》";

}  // namespace

void run_main_menu(bool lunar) {
  for (;;) {
    for (const std::string_view line : menu_lines) {
      std::cout << line << std::endl;
    }
    std::cout << menu_prompt;
    const std::optional<QueryCode> code = read_answer();
    run_console_command(ConsoleCommand::look_accepted);
    if (code == 0) {
      run_console_command(ConsoleCommand::look_rejected);
      std::cout << "感谢你的使用！即将为你退出程序！" << std::endl;
      run_console_command(ConsoleCommand::pause);
      end_program();
    }
    if (code && *code >= 1 && *code <= 4) {
      ask_year(*code, lunar);
    } else {
      // A code the menu does not offer, or no number at all.
      std::cout << std::endl << "你输入的代码有误，请重新输入！" << std::endl;
      run_console_command(ConsoleCommand::look_rejected);
    }
    run_console_command(ConsoleCommand::pause);
    run_console_command(ConsoleCommand::clear);
  }
}
