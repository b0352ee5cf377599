#include "render/lunar_labels.hpp"

#include <array>
#include <cstddef>
#include <string_view>

#include "calendar/lunar.hpp"

namespace {

constexpr std::array<std::string_view, 10> stems{"甲", "乙", "丙", "丁", "戊",
                                                 "己", "庚", "辛", "壬", "癸"};
constexpr std::array<std::string_view, 12> branches{"子", "丑", "寅", "卯", "辰", "巳",
                                                    "午", "未", "申", "酉", "戌", "亥"};
constexpr std::array<std::string_view, 12> animals{"鼠", "牛", "虎", "兔", "龙", "蛇",
                                                   "马", "羊", "猴", "鸡", "狗", "猪"};
// The one-character names of the months; a month's name adds 月.
constexpr std::array<std::string_view, 12> months{"正", "二", "三", "四", "五", "六",
                                                  "七", "八", "九", "十", "冬", "腊"};
constexpr std::array<std::string_view, 10> digits{"一", "二", "三", "四", "五",
                                                  "六", "七", "八", "九", "十"};
constexpr std::array<std::string_view, 24> solar_terms{
    "小寒", "大寒", "立春", "雨水", "惊蛰", "春分", "清明", "谷雨", "立夏", "小满", "芒种", "夏至",
    "小暑", "大暑", "立秋", "处暑", "白露", "秋分", "寒露", "霜降", "立冬", "小雪", "大雪", "冬至"};

template <std::size_t size>
std::string_view at(const std::array<std::string_view, size>& names, std::int32_t index) {
  return names.at(static_cast<std::size_t>(index));
}

std::string month_name(const LunarDate& date) {
  return std::string(date.leap ? "闰" : "") + std::string(at(months, date.month - 1)) + "月";
}

std::string day_name(std::int32_t day) {
  if (day <= 10) {
    return "初" + std::string(at(digits, day - 1));
  }
  if (day == 20 || day == 30) {
    return day == 20 ? "二十" : "三十";
  }
  static constexpr std::array<std::string_view, 3> tens{"十", "廿", "三"};
  return std::string(at(tens, day / 10 - 1)) + std::string(at(digits, day % 10 - 1));
}

// 甲辰年, the 干支 of a lunar year, whose 正月初一 falls in year.
std::string year_name(std::int32_t year) {
  // 4 AD was a 甲子 year; every year of the range lies after it.
  return std::string(at(stems, (year - 4) % 10)) + std::string(at(branches, (year - 4) % 12)) +
         "年";
}

std::string year_name_with_animal(std::int32_t year) {
  return year_name(year) + "（" + std::string(at(animals, (year - 4) % 12)) + "）";
}

// The festival of a lunar date, or an empty text.
std::string_view festival(const LunarDate& date) {
  if (date.leap) {
    return {};
  }
  struct Festival {
    std::int32_t month;
    std::int32_t day;
    std::string_view name;
  };
  static constexpr std::array<Festival, 6> fixed{{{1, 1, "春节"},
                                                  {1, 15, "元宵"},
                                                  {5, 5, "端午"},
                                                  {7, 7, "七夕"},
                                                  {8, 15, "中秋"},
                                                  {9, 9, "重阳"}}};
  for (const Festival& each : fixed) {
    if (each.month == date.month && each.day == date.day) {
      return each.name;
    }
  }
  // The last day of the year; no year of the range has a leap 12th month.
  if (date.month == 12 && date.day == date.month_length) {
    return "除夕";
  }
  return {};
}

std::string_view term_name(std::int32_t year, std::int32_t month, std::int32_t day) {
  const std::int32_t term = solar_term(year, month, day);
  return term < 0 ? std::string_view() : at(solar_terms, term);
}

}  // namespace

std::string lunar_day_label(std::int32_t year, std::int32_t month, std::int32_t day) {
  const LunarDate date = lunar_date(year, month, day);
  if (const std::string_view name = festival(date); !name.empty()) {
    return std::string(name);
  }
  if (const std::string_view name = term_name(year, month, day); !name.empty()) {
    return std::string(name);
  }
  if (date.day == 1) {
    // 闰 and the month's one-character name: 闰十一月 would not fit.
    return date.leap ? "闰" + std::string(at(months, date.month - 1)) : month_name(date);
  }
  return day_name(date.day);
}

std::string lunar_span_line(std::int32_t year, std::int32_t month, LeapFlag leap) {
  const LunarDate first = lunar_date(year, month, 1);
  const LunarDate last = lunar_date(year, month, month_length(leap, month));
  std::string line =
      "农历" + year_name_with_animal(first.year) + month_name(first) + day_name(first.day) + "至";
  if (last.year != first.year) {
    line += year_name_with_animal(last.year);
  }
  return line + month_name(last) + day_name(last.day);
}

std::string lunar_date_line(std::int32_t year, std::int32_t month, std::int32_t day) {
  const LunarDate date = lunar_date(year, month, day);
  std::string line = "农历" + year_name(date.year) + month_name(date) + day_name(date.day);
  for (const std::string_view name : {festival(date), term_name(year, month, day)}) {
    if (!name.empty()) {
      line += " ";
      line += name;
    }
  }
  return line;
}

std::string new_year_correction_line(std::int32_t year, NewYearWeekday new_year) {
  const WeekdayIndex actual = gregorian_new_year_weekday(year);
  if (actual == new_year) {
    return {};
  }
  return "该年元旦实为星期" + std::string(weekday_name(actual));
}

std::string lunar_range_line() {
  return "农历日期只提供" + std::to_string(first_lunar_year) + "年至" +
         std::to_string(last_lunar_year) + "年";
}
