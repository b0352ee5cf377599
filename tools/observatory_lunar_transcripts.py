#!/usr/bin/env python3
"""Writes the transcripts of tavoro --lunar sessions, tests/golden/lunar_*.in
and .out, with every lunar word taken from the Hong Kong Observatory's dates
(tests/lunar/observatory_facts.txt) and never from tavoro: the screens are
laid out here by their own rules, and the menu is copied from a transcript
made without --lunar. Before writing, it lays out that transcript's session
itself and checks that it comes out byte for byte the same.

    python3 tools/observatory_lunar_transcripts.py
"""
import calendar
import datetime
import pathlib

ROOT = pathlib.Path(__file__).resolve().parent.parent
GOLDEN = ROOT / 'tests' / 'golden'
FACTS = ROOT / 'tests' / 'lunar' / 'observatory_facts.txt'

STEMS, BRANCHES, ANIMALS = '甲乙丙丁戊己庚辛壬癸', '子丑寅卯辰巳午未申酉戌亥', '鼠牛虎兔龙蛇马羊猴鸡狗猪'
MONTHS = '正二三四五六七八九十冬腊'
DIGITS = '一二三四五六七八九十'
WEEKDAYS = '日一二三四五六'
FESTIVALS = {(1, 1): '春节', (1, 15): '元宵', (5, 5): '端午', (7, 7): '七夕', (8, 15): '中秋',
             (9, 9): '重阳'}
RULE = ' ' + '—' * 21
PROMPT = '请输入你想要实现功能的代码：=====》'
PAUSE = '请按任意键继续. . . \n'
ASKED = '\n按要求输入辅助信息，来帮助你完成查询\n\n'
YEAR_Q, WEEKDAY_Q = '请输入你要查询的年份：===》\n', '该年元旦是星期几(0~6)：===》\n'
MONTH_Q, DAY_Q = '请输入你要查询的月份（1~12）：===》\n', '请输入几号（1~28|29|30|31）：===》\n'


def read_facts():
    """{date: (lunar year, month, leap, day, month length)}, {date: term}."""
    starts, terms = [], {}
    for line in FACTS.read_text(encoding='utf-8').splitlines():
        if line.startswith('#'):
            continue
        date, kind, value = line.split()
        date = datetime.date.fromisoformat(date)
        if kind == 'term':
            terms[date] = value
        else:
            number, leap = int(value), kind == 'leap'
            year = date.year if (number, leap) == (1, False) else (starts[-1][1] if starts else 1900)
            starts.append((date, year, number, leap))
    lunar = {}
    for (start, year, number, leap), (end, *_) in zip(starts, starts[1:]):
        for offset in range((end - start).days):
            lunar[start + datetime.timedelta(offset)] = (year, number, leap, offset + 1,
                                                         (end - start).days)
    return lunar, terms


LUNAR, TERMS = read_facts()


def columns(text):
    return sum(1 if ord(c) < 0x80 else 2 for c in text)


def cell(text):
    text = str(text)
    return ' ' * max(0, 6 - columns(text)) + text


def day_name(day):
    if day <= 10:
        return '初' + DIGITS[day - 1]
    if day in (20, 30):
        return {20: '二十', 30: '三十'}[day]
    return '十廿'[day // 10 - 1] + DIGITS[day % 10 - 1]


def month_name(number, leap):
    return ('闰' if leap else '') + MONTHS[number - 1] + '月'


def year_name(year, animal=True):
    name = STEMS[(year - 4) % 10] + BRANCHES[(year - 4) % 12] + '年'
    return name + ('（' + ANIMALS[(year - 4) % 12] + '）' if animal else '')


def festival(date):
    _, number, leap, day, length = LUNAR[date]
    if leap:
        return None
    return FESTIVALS.get((number, day)) or ('除夕' if number == 12 and day == length else None)


def label(date):
    _, number, leap, day, _ = LUNAR[date]
    if festival(date) or TERMS.get(date):
        return festival(date) or TERMS[date]
    if day == 1:
        return '闰' + MONTHS[number - 1] if leap else month_name(number, leap)
    return day_name(day)


def span(year, month):
    first = LUNAR[datetime.date(year, month, 1)]
    last = LUNAR[datetime.date(year, month, calendar.monthrange(year, month)[1])]
    line = '农历' + year_name(first[0]) + month_name(*first[1:3]) + day_name(first[3]) + '至'
    if last[0] != first[0]:
        line += year_name(last[0])
    return line + month_name(*last[1:3]) + day_name(last[3]) + '\n'


def in_range(year):
    return 1901 <= year <= 2100


def notes(year, new_year):
    if not in_range(year):
        return '农历日期只提供1901年至2100年\n'
    actual = (datetime.date(year, 1, 1).weekday() + 1) % 7
    return '' if actual == new_year else f'该年元旦实为星期{WEEKDAYS[actual]}\n'


def month_block(year, month, first, lunar):
    """The block from the rule line on; returns it and the next column."""
    lunar = lunar and in_range(year)
    days = calendar.monthrange(year, month)[1] if year > 0 else [31, 29 if year % 4 == 0 and (
        year % 100 != 0 or year % 400 == 0) else 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31][month - 1]
    out = cell(RULE) + '\n' + ''.join(cell(w) for w in WEEKDAYS) + '\n'
    column, row = first, []
    numbers, labels = cell('') * first, cell('') * first
    for day in range(1, days + 1):
        numbers += cell(day)
        if lunar:
            labels += cell(label(datetime.date(year, month, day)))
        column = (column + 1) % 7
        if column == 0:
            out += numbers + '\n' + (labels + '\n' if lunar else '')
            numbers = labels = ''
    out += numbers + '\n' + (labels + '\n' if lunar and numbers else '')
    out += cell(RULE) + '\n' + (span(year, month) if lunar else '')
    return out, column


def new_year_of_month(year, month, new_year):
    before = sum(calendar.monthrange(year, m)[1] for m in range(1, month))
    return (new_year + before) % 7


def month_query(year, new_year, month, lunar):
    block, _ = month_block(year, month, new_year_of_month(year, month, new_year), lunar)
    heading = f'   {cell(year)} 年 {month} 月 日 历 为：\n'
    return (ASKED + YEAR_Q + WEEKDAY_Q + MONTH_Q + '\n' + heading + block +
            (notes(year, new_year) if lunar else '') + '\n')


def year_query(year, new_year, lunar):
    out = ASKED + YEAR_Q + WEEKDAY_Q + cell('') * 2 + f'{year}年年历表如下：\n'
    column = new_year
    for month in range(1, 13):
        block, column = month_block(year, month, column, lunar)
        out += '\n' + cell(year) + f'年{month}月份为：\n' + block
    return out + (notes(year, new_year) if lunar else '')


def lunar_line(year, month, day):
    if not in_range(year):
        return '\n农历日期只提供1901年至2100年'
    date = datetime.date(year, month, day)
    lunar_year, number, leap, lunar_day, _ = LUNAR[date]
    words = [w for w in (festival(date), TERMS.get(date)) if w]
    return '\n农历' + year_name(lunar_year, False) + month_name(number, leap) + \
        day_name(lunar_day) + ''.join(' ' + w for w in words)


def weekday_query(year, new_year, month, day):
    weekday = (new_year_of_month(year, month, new_year) + day - 1) % 7
    out = f'{year}年{month}月{day}日是星期{WEEKDAYS[weekday]}' + lunar_line(year, month, day)
    note = notes(year, new_year) if in_range(year) else ''
    return ASKED + YEAR_Q + WEEKDAY_Q + MONTH_Q + DAY_Q + out + ('\n' + note[:-1] if note else '') + '\n'


def ordinal_query(year, month, day):
    ordinal = (datetime.date(year, month, day) - datetime.date(year, 1, 1)).days + 1
    out = f'{year}年{month}月{day}日是{year}年的第{ordinal}天' + lunar_line(year, month, day)
    return ASKED + YEAR_Q + MONTH_Q + DAY_Q + out + '\n'


def session(menu, queries):
    """A whole piped session: each query answered, then code 0."""
    out = ''
    for query in queries:
        out += menu + query + PAUSE
    return out + menu + '感谢你的使用！即将为你退出程序！\n' + PAUSE


def main():
    made_without = (GOLDEN / 'month_calendar_2019_03.out').read_text(encoding='utf-8')
    menu = made_without[:made_without.index(PROMPT) + len(PROMPT)]
    without = session(menu, [month_query(2019, 2, 3, lunar=False)])
    assert without == made_without, 'the layout here is not the one of the transcripts'
    sessions = {
        'lunar_month_2024_02': ('2 2024 1 2\n0\n', [month_query(2024, 1, 2, True)]),
        'lunar_months_2023_03_04_leap': ('2 2023 0 3\n2 2023 0 4\n0\n',
                                         [month_query(2023, 0, 3, True),
                                          month_query(2023, 0, 4, True)]),
        'lunar_month_2033_12_leap_eleventh': ('2 2033 6 12\n0\n', [month_query(2033, 6, 12, True)]),
        'lunar_year_2024': ('1 2024 1\n0\n', [year_query(2024, 1, True)]),
        'lunar_reports_2024': ('3 2024 1 2 29\n4 2024 2 10\n0\n',
                               [weekday_query(2024, 1, 2, 29), ordinal_query(2024, 2, 10)]),
        'lunar_wrong_new_year_weekday': ('2 2024 3 2\n3 2024 3 2 10\n1 2031 0\n0\n',
                                         [month_query(2024, 3, 2, True),
                                          weekday_query(2024, 3, 2, 10),
                                          year_query(2031, 0, True)]),
        'lunar_years_out_of_range': ('2 1900 1 1\n4 2101 1 1\n0\n',
                                     [month_query(1900, 1, 1, True), ordinal_query(2101, 1, 1)]),
    }
    for name, (answers, queries) in sessions.items():
        (GOLDEN / f'{name}.in').write_text(answers, encoding='utf-8')
        (GOLDEN / f'{name}.out').write_text(session(menu, queries), encoding='utf-8')


if __name__ == '__main__':
    main()
