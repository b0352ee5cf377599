#include "app/command_line.hpp"

#include <algorithm>
#include <iostream>

#include "console/console.hpp"

namespace {

constexpr std::string_view help_text =
    "用法：tavoro [--lunar] [--help | --version]\n"
    "\n"
    "tavoro 是在文本控制台中运行的交互式万年历查询系统：按菜单选择功能代码，\n"
    "回答几个问题，即可查看某一年的日历、某年某月的日历、某一天是星期几，\n"
    "或某一天是本年度的第几天。\n"
    "\n"
    "每个回答是一个整数，从标准输入读取，可以在一行中预先输入多个；全角的数字\n"
    "和正负号（如输入法全角模式下的 ２０２４、－５）同样按数字读取。标准输入\n"
    "不是终端时，暂停不等待按键；标准输出不是终端时，只写文字，不写控制序列。\n"
    "\n"
    "  --lunar    在日历的每一天下显示农历日期、节气和节日，并在查询结果后\n"
    "             给出农历日期（公历1901年至2100年）；所答元旦星期有误时，\n"
    "             指出该年元旦实为星期几\n"
    "  --help     显示本帮助后退出\n"
    "  --version  显示版本后退出\n"
    "\n"
    "读取的环境变量：LC_ALL、LC_CTYPE、LC_MESSAGES、LANG（输出的编码，\n"
    "错误信息的语言），TERM、STY（所在的终端），\n"
    "SSH_CONNECTION、SSH_TTY（远程连接时等待终端回答更久），NO_COLOR。\n"
    "\n"
    "详细说明见手册页 tavoro(1)（man tavoro）或 README.md。\n";

constexpr std::string_view help_option = "--help";
constexpr std::string_view version_option = "--version";
constexpr std::string_view lunar_option = "--lunar";

}  // namespace

CommandLine read_command_line(std::span<const char* const> arguments) {
  const auto known = [](std::string_view argument) {
    return argument == help_option || argument == version_option || argument == lunar_option;
  };
  if (const auto refused = std::find_if_not(arguments.begin(), arguments.end(), known);
      refused != arguments.end()) {
    return {CommandLineRequest::refused, *refused};
  }
  const bool lunar = std::find(arguments.begin(), arguments.end(), lunar_option) != arguments.end();
  const auto request =
      std::find_if(arguments.begin(), arguments.end(),
                   [](std::string_view argument) { return argument != lunar_option; });
  if (request == arguments.end()) {
    return {CommandLineRequest::dialogue, {}, lunar};
  }
  return {
      *request == help_option ? CommandLineRequest::help : CommandLineRequest::version, {}, lunar};
}

int answer_command_line(const CommandLine& line) {
  switch (line.request) {
    case CommandLineRequest::help:
      std::cout << help_text << std::flush;
      return 0;
    case CommandLineRequest::version:
      std::cout << "tavoro " << TAVORO_VERSION << std::endl;
      return 0;
    case CommandLineRequest::refused:
    case CommandLineRequest::dialogue:
      break;
  }
  report_error("无法识别的参数“", line.refused_argument, "”；用法见 tavoro --help");
  return 2;
}
