#!/usr/bin/env python3
"""Makes src/calendar/lunar_table.cpp, tavoro's Chinese lunar calendar for
1901 to 2100, from an astronomical computation of its new moons and solar
terms (PyEphem, Debian's python3-ephem), by the rules the Chinese calendar
is made with:

- the day is the civil day of China Standard Time, UTC+8;
- a month begins on the day of a new moon;
- the month that holds the winter solstice (冬至) is the 11th;
- where 13 months lie between the 11th months of two years, the first of
  them (counted from the month after the earlier 11th) that holds no
  principal term (中气: 雨水, 春分 ... 大寒, 冬至) is the leap month, named
  after the month before it.

Where the Hong Kong Observatory's conversion tables, the standard the whole
range is held to, date an event otherwise than this computation does (an
event within about a minute of midnight, where the computation's error and
the uncertainty of ΔT decide the day), the observatory's day is taken: see
OBSERVATORY_DAYS below.

    python3 tools/lunar_calendar_table.py > src/calendar/lunar_table.cpp
"""
import datetime
import math
import sys

import ephem

FIRST_YEAR = 1901  # the Gregorian years the table covers
LAST_YEAR = 2100
CST = ephem.hour * 8

# Events the observatory dates to another civil day than this computation
# does, keyed by the event and its day as computed here (the computed
# moment, CST, in the comment), with the observatory's day. Those of the
# years before 1929 lie up to 12 minutes from midnight: the observatory's
# tables for those years follow the calendars of the time. The rest lie
# within seconds of it, where ΔT and the computation's own error decide.
OBSERVATORY_DAYS = {
    ('小雪', datetime.date(1912, 11, 22)): datetime.date(1912, 11, 23),  # 23:48:08
    ('秋分', datetime.date(1913, 9, 23)): datetime.date(1913, 9, 24),  # 23:52:51
    ('大雪', datetime.date(1917, 12, 8)): datetime.date(1917, 12, 7),  # 00:00:56
    ('白露', datetime.date(1927, 9, 9)): datetime.date(1927, 9, 8),  # 00:05:35
    ('夏至', datetime.date(1928, 6, 22)): datetime.date(1928, 6, 21),  # 00:06:36
    ('冬至', datetime.date(1951, 12, 22)): datetime.date(1951, 12, 23),  # 23:59:57
    ('大寒', datetime.date(1979, 1, 20)): datetime.date(1979, 1, 21),  # 23:59:50
}
NEW_MOON_DAYS = {
    datetime.date(1914, 11, 18): datetime.date(1914, 11, 17),  # 00:01:42
    datetime.date(1916, 2, 4): datetime.date(1916, 2, 3),  # 00:05:15, 春节
    datetime.date(1920, 11, 11): datetime.date(1920, 11, 10),  # 00:04:48
}

TERM_NAMES = ('小寒', '大寒', '立春', '雨水', '惊蛰', '春分', '清明', '谷雨', '立夏', '小满',
              '芒种', '夏至', '小暑', '大暑', '立秋', '处暑', '白露', '秋分', '寒露', '霜降',
              '立冬', '小雪', '大雪', '冬至')


def cst_day(moment):
    """The civil day in China of an ephem date (UT)."""
    return ephem.Date(moment + CST).datetime().date()


def sun_longitude(moment):
    """The Sun's apparent geocentric ecliptic longitude, of date, radians."""
    sun = ephem.Sun(moment)
    # pylint: disable=protected-access
    return ephem._libastro.eq_ecl(moment, sun.g_ra, sun.g_dec)[0]


def term_moment(year, index):
    """The moment of solar term index (0 小寒 ... 23 冬至) of a Gregorian year."""
    longitude = math.radians((285 + 15 * index) % 360)
    guess = ephem.Date(datetime.datetime(year, 1, 6)) + index * 365.2422 / 24

    def offset(moment):
        return (sun_longitude(moment) - longitude + math.pi) % (2 * math.pi) - math.pi

    return ephem.Date(ephem.newton(offset, guess, guess + 0.01))


def solar_terms():
    """{(year, index): civil day} for every term of the range and around it."""
    terms = {}
    for year in range(FIRST_YEAR - 2, LAST_YEAR + 2):
        for index in range(24):
            day = cst_day(term_moment(year, index))
            terms[(year, index)] = OBSERVATORY_DAYS.get((TERM_NAMES[index], day), day)
    return terms


def new_moon_days(start, end):
    """The civil days of the new moons from start to end."""
    days = []
    moment = ephem.next_new_moon(ephem.Date(start))
    while moment.datetime().date() <= end:
        day = cst_day(moment)
        days.append(NEW_MOON_DAYS.get(day, day))
        moment = ephem.next_new_moon(ephem.Date(moment + 1))
    return days


def lunar_years(terms, moons):
    """[(lunar year, 正月初一, [month lengths], leap month or 0)] for the
    lunar years from the one before FIRST_YEAR to LAST_YEAR."""
    principal = sorted(day for (year, index), day in terms.items() if index % 2 == 1)
    solstices = {year: terms[(year, 23)] for year in range(FIRST_YEAR - 2, LAST_YEAR + 2)}

    def month_of(day):
        """Index into moons of the month holding day."""
        return max(i for i, start in enumerate(moons) if start <= day)

    # For each winter solstice, the month holding it (the 11th), and the
    # months up to the next 11th, with the leap month among them if any.
    numbered = {}  # moons index -> (month number, leap)
    for year in range(FIRST_YEAR - 2, LAST_YEAR + 1):
        first = month_of(solstices[year])
        last = month_of(solstices[year + 1])
        leap_found = last - first != 13
        number = 11
        numbered[first] = (11, False)
        for i in range(first + 1, last):
            holds_principal = any(moons[i] <= day < moons[i + 1] for day in principal)
            if not leap_found and not holds_principal:
                leap_found = True
                numbered[i] = (number, True)
                continue
            number = number % 12 + 1
            numbered[i] = (number, False)
        assert leap_found and number == 10, year

    years = []
    starts = [i for i, (number, leap) in sorted(numbered.items()) if number == 1 and not leap]
    for i, j in zip(starts, starts[1:]):
        year = moons[i].year
        lengths = [(moons[k + 1] - moons[k]).days for k in range(i, j)]
        leap = next((numbered[k][0] for k in range(i, j) if numbered[k][1]), 0)
        years.append((year, moons[i], lengths, leap))
    return [y for y in years if FIRST_YEAR - 1 <= y[0] <= LAST_YEAR]


def main():
    terms = solar_terms()
    moons = new_moon_days(datetime.date(FIRST_YEAR - 3, 10, 1), datetime.date(LAST_YEAR + 2, 3, 1))
    years = lunar_years(terms, moons)
    assert years[0][0] == FIRST_YEAR - 1 and years[-1][0] == LAST_YEAR
    for year, start, lengths, leap in years:
        assert len(lengths) == (13 if leap else 12) and set(lengths) <= {29, 30}, year
        assert 0 <= (start - datetime.date(year, 1, 1)).days < 64, year

    # Each term's day of the month varies by at most 3 over the range, so
    # two bits a term hold it above the term's earliest day.
    days = [[terms[(year, i)].day for i in range(24)] for year in range(FIRST_YEAR, LAST_YEAR + 1)]
    for year in range(FIRST_YEAR, LAST_YEAR + 1):
        for i in range(24):
            assert terms[(year, i)].month == i // 2 + 1, (year, i)
    earliest = [min(row[i] for row in days) for i in range(24)]
    assert all(max(row[i] for row in days) - earliest[i] <= 3 for i in range(24))

    out = sys.stdout
    out.write('// Made by tools/lunar_calendar_table.py; do not edit. See README.md.\n')
    out.write('#include "calendar/lunar_table.hpp"\n\n')
    out.write('// Each lunar year from 1900 to 2100: bits 0-12 the lengths of its months in\n'
              '// order, a set bit for 30 days (a leap month in its place after the month\n'
              '// it repeats); bits 13-16 the month a leap month repeats, 0 for none; bits\n'
              '// 17-22 the days from 1 January of its Gregorian year to its 正月初一.\n')
    out.write(f'const std::array<std::uint32_t, {len(years)}> lunar_years{{{{\n')
    for year, start, lengths, leap in years:
        bits = sum(1 << k for k, length in enumerate(lengths) if length == 30)
        bits |= leap << 13
        bits |= (start - datetime.date(year, 1, 1)).days << 17
        out.write(f'    0x{bits:06x},  // {year}\n')
    out.write('}};\n\n')
    out.write('// The earliest day of the month of each solar term, 小寒 to 冬至, over the\n'
              '// range.\n')
    out.write('const std::array<std::uint8_t, 24> solar_term_earliest_days{{\n    ')
    out.write(', '.join(str(day) for day in earliest))
    out.write(',\n}};\n\n')
    out.write('// Each Gregorian year from 1901 to 2100: two bits a term, 小寒 in bits 0-1\n'
              '// to 冬至 in bits 46-47, its day of the month above the earliest.\n')
    out.write(f'const std::array<std::uint64_t, {len(days)}> solar_term_days{{{{\n')
    for year, row in zip(range(FIRST_YEAR, LAST_YEAR + 1), days):
        bits = sum((day - earliest[i]) << (2 * i) for i, day in enumerate(row))
        out.write(f'    0x{bits:012x},  // {year}\n')
    out.write('}};\n')


if __name__ == '__main__':
    main()
