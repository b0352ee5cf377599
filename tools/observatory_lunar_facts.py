#!/usr/bin/env python3
"""Writes tests/lunar/observatory_facts.txt: the first day of every lunar
month and the day of every solar term from 1901 to 2100, as the Hong Kong
Observatory's Gregorian-Lunar Calendar Conversion Tables give them, for
tests/lunar_test.cpp to hold tavoro's own table against.

It reads the observatory's daily rows for the whole range in the form kept
by github.com/HangboQuan/CommonUtils (src/main/resources/utils/
lunar_solar_map.txt, commit 391f0905ef9c9da19174b1c8557f0f9b60a27435), the
observatory's Chinese tables T1901c.txt ... T2100c.txt one day a line:

    1901年01月20日<TAB>十二月<TAB>星期日
    1901年01月21日<TAB>初二<TAB>星期一<TAB>大寒

a month's name on its first day (闰 before a leap month's), else the day.

    python3 tools/observatory_lunar_facts.py lunar_solar_map.txt > tests/lunar/observatory_facts.txt
"""
import datetime
import re
import sys

ROW = re.compile(r'^(\d{4})年(\d{1,2})月(\d{1,2})日\t(\S+)\t星期[日一二三四五六](?:\t(\S+))?$')
MONTHS = ('正', '二', '三', '四', '五', '六', '七', '八', '九', '十', '十一', '十二')
DAYS = ['初' + d for d in '一二三四五六七八九十'] + ['十' + d for d in '一二三四五六七八九'] + \
    ['二十'] + ['廿' + d for d in '一二三四五六七八九'] + ['三十']
TERMS = ('小寒', '大寒', '立春', '雨水', '惊蛰', '春分', '清明', '谷雨', '立夏', '小满', '芒种',
         '夏至', '小暑', '大暑', '立秋', '处暑', '白露', '秋分', '寒露', '霜降', '立冬', '小雪',
         '大雪', '冬至')


def main(path):
    facts = []
    expected = datetime.date(1901, 1, 1)
    day_of_month = None
    with open(path, encoding='utf-8') as rows:
        for line in rows:
            match = ROW.match(line.rstrip('\r\n'))
            if not match:
                raise SystemExit(f'not a daily row: {line!r}')
            date = datetime.date(*map(int, match.group(1, 2, 3)))
            if date != expected:
                raise SystemExit(f'{date} follows {expected - datetime.timedelta(1)}')
            lunar, term = match.group(4, 5)
            month = re.fullmatch(r'(闰?)(.+)月', lunar)
            if month and month.group(2) in MONTHS:
                if day_of_month is not None and day_of_month not in (29, 30):
                    raise SystemExit(f'{date}: a month of {day_of_month} days ends')
                number = MONTHS.index(month.group(2)) + 1
                facts.append(f'{date} {"leap" if month.group(1) else "month"} {number}')
                day_of_month = 1
            elif lunar in DAYS and day_of_month is not None and DAYS.index(lunar) == day_of_month:
                day_of_month += 1
            elif day_of_month is None and lunar in DAYS:
                # The range opens in a month begun in 1900: the day gives its
                # first day, and the next month's name its number.
                day_of_month = DAYS.index(lunar) + 1
                first = date - datetime.timedelta(day_of_month - 1)
                facts.append((first, None))
            else:
                raise SystemExit(f'{date}: {lunar} out of order')
            if term is not None:
                if term not in TERMS:
                    raise SystemExit(f'{date}: unknown term {term}')
                facts.append(f'{date} term {term}')
            expected = date + datetime.timedelta(1)
    if expected != datetime.date(2101, 1, 1):
        raise SystemExit(f'the rows end at {expected}')
    first, _ = facts[0]
    _, kind, number = next(f.split() for f in facts[1:] if ' term ' not in f)
    if kind != 'month':
        raise SystemExit('the second month of the range is a leap month')
    number = int(number)
    facts[0] = f'{first} month {(number + 10) % 12 + 1}'
    print('# The first day of each lunar month ("month N", or "leap N" for the leap')
    print('# month after month N) and the day of each solar term, 1901 to 2100, from')
    print("# the Hong Kong Observatory's Gregorian-Lunar Calendar Conversion Tables;")
    print('# made by tools/observatory_lunar_facts.py (see README.md).')
    for fact in facts:
        print(fact)


if __name__ == '__main__':
    main(sys.argv[1])
