#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "calendar/lunar.hpp"

namespace chr = std::chrono;

namespace {

const std::vector<std::string> term_names{
    "小寒", "大寒", "立春", "雨水", "惊蛰", "春分", "清明", "谷雨", "立夏", "小满", "芒种", "夏至",
    "小暑", "大暑", "立秋", "处暑", "白露", "秋分", "寒露", "霜降", "立冬", "小雪", "大雪", "冬至"};

chr::sys_days parse_date(const std::string& text) {
  std::istringstream in(text);
  int year = 0;
  unsigned month = 0;
  unsigned day = 0;
  char dash = 0;
  in >> year >> dash >> month >> dash >> day;
  return chr::year{year} / chr::month{month} / chr::day{day};
}

}  // namespace

// Every day of 1901 to 2100 against the Hong Kong Observatory's tables
// (tests/lunar/observatory_facts.txt, the first day of each lunar month and
// the day of each solar term): its lunar year, month, leap flag and day, the
// length of its month, and its solar term or none.
TEST(LunarCalendar, AgreesWithTheObservatoryOnEveryDay) {
  std::ifstream facts(TAVORO_LUNAR_FACTS);
  ASSERT_TRUE(facts) << TAVORO_LUNAR_FACTS;
  std::vector<std::pair<chr::sys_days, LunarDate>> month_starts;  // day 1 of each month
  std::map<chr::sys_days, int> terms;
  for (std::string date, kind, value; facts >> date;) {
    if (date.starts_with('#')) {
      std::getline(facts, date);
      continue;
    }
    facts >> kind >> value;
    if (kind == "term") {
      const auto found = std::find(term_names.begin(), term_names.end(), value);
      ASSERT_NE(found, term_names.end()) << value;
      terms[parse_date(date)] = static_cast<int>(found - term_names.begin());
    } else {
      // The lunar year turns at each 正月初一; the range opens in 1900's.
      const int number = std::stoi(value);
      const bool leap = kind == "leap";
      int year = month_starts.empty() ? 1900 : month_starts.back().second.year;
      if (number == 1 && !leap) {
        year = static_cast<int>(chr::year_month_day{parse_date(date)}.year());
      }
      month_starts.push_back({parse_date(date), {year, number, leap, 1, 0}});
    }
  }
  // 1900's 11th and 12th, 199 years of 12, 2100's 12, and 73 leap months.
  ASSERT_EQ(month_starts.size(), 2475U);
  ASSERT_EQ(terms.size(), 4800U);
  std::size_t month = 0;
  for (chr::sys_days day = chr::year{1901} / 1 / 1; day <= chr::year{2100} / 12 / 31;
       day += chr::days{1}) {
    while (month + 1 < month_starts.size() && month_starts[month + 1].first <= day) {
      ++month;
    }
    const chr::year_month_day date{day};
    const int y = static_cast<int>(date.year());
    const int m = static_cast<int>(unsigned{date.month()});
    const int d = static_cast<int>(unsigned{date.day()});
    const std::string at = std::to_string(y) + "-" + std::to_string(m) + "-" + std::to_string(d);
    const LunarDate expected = month_starts[month].second;
    const LunarDate actual = lunar_date(y, m, d);
    ASSERT_EQ(actual.year, expected.year) << at;
    ASSERT_EQ(actual.month, expected.month) << at;
    ASSERT_EQ(actual.leap, expected.leap) << at;
    ASSERT_EQ(actual.day, (day - month_starts[month].first).count() + 1) << at;
    if (month + 1 < month_starts.size()) {  // the range ends on the first day of a month
      ASSERT_EQ(actual.month_length,
                (month_starts[month + 1].first - month_starts[month].first).count())
          << at;
    }
    const auto term = terms.find(day);
    ASSERT_EQ(solar_term(y, m, d), term == terms.end() ? -1 : term->second) << at;
  }
}

// The true weekday of 1 January, against the standard library's calendar,
// on both sides of 1900, where the count starts.
TEST(LunarCalendar, NewYearWeekdayIsTheGregorianOne) {
  for (int y = -1000; y <= 3000; ++y) {
    const chr::weekday weekday{chr::sys_days{chr::year{y} / 1 / 1}};
    ASSERT_EQ(gregorian_new_year_weekday(y), static_cast<int>(weekday.c_encoding())) << y;
  }
}
