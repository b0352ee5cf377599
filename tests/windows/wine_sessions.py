# Whole sessions of tavoro.exe under Wine, in the Wine prefix that WINEPREFIX names.
# Usage: wine_sessions.py TAVORO_EXE PROBE_EXE WRITE_TEST_EXE (console_probe.cpp and
# console_write_test.cpp, built for Windows), on an X display (DISPLAY) for Wine's own console
# window.
import os, pathlib, pty, re, shlex, shutil, subprocess, sys, tempfile, termios, time, unicodedata

EXE, PROBE, WRITE_TEST = map(os.path.abspath, sys.argv[1:4])
assert os.environ.get('WINEPREFIX'), 'a Wine prefix of its own is needed'
WINE = shutil.which('wine64') or '/usr/lib/wine/wine64'
# ANSI code pages 936 and 1252: the text and the title must survive a non-Chinese one.
LOCALES = ['zh_CN.UTF-8', 'en_US.UTF-8']
# Every Wine program below, in a tmux pane or not, inherits these: no Mono, no Gecko.
os.environ.update(WINEDEBUG='-all', WINEDLLOVERRIDES='mscoree,mshtml=')
# The looks as Wine draws them in a terminal: (text, background) colours.
START, ACCEPTED, REJECTED = ('30', '107'), ('92', '107'), ('91', '40')
# The session of a transcript: the weekday of 29 February 2024, day 30 rejected on the way.
GOLDEN = pathlib.Path(__file__).resolve().parents[1] / 'golden' / 'weekday_2024_02_29_rejected_30'
TYPED = GOLDEN.with_suffix('.in').read_bytes().decode().replace('\n', '\r')
# Redirected, its text reads as the transcript in code page 936, every line ended by CR LF.
TEXT = GOLDEN.with_suffix('.out').read_bytes().decode().replace('\n', '\r\n').encode('gbk')


def windows_path(path): return 'Z:' + os.path.abspath(path).replace('/', '\\')
def read(path): return pathlib.Path(path).read_bytes()


def wait_until(condition, what, seconds=30):
    end = time.monotonic() + seconds
    while not condition():
        assert time.monotonic() < end, f'gave up waiting for {what}'
        time.sleep(0.1)


class Pane:
    # tavoro.exe in a tmux pane, which Wine takes for the console's window, started in folder:
    # with its output into a file where that is given, else as the child of the probe, which
    # reports on the console to self.report (with the probe's further arguments, if given); its
    # standard input piped from typed if given.

    def __init__(self, locale, folder, typed=None, output=None, probe=()):
        self.folder = tempfile.mkdtemp(prefix='pane.', dir=folder)  # goes with the folder
        self.report = os.path.join(self.folder, 'report')
        command = shlex.join([WINE, EXE] if output else [WINE, PROBE, '--around', windows_path(
            self.report), EXE, *probe])
        if typed:
            command = f'printf %s {shlex.quote(typed)} | {command}'
        if output:
            command += ' > ' + shlex.quote(output)
        # The shell notes the exit status: tmux at times never learns it.
        self.status = os.path.join(self.folder, 'status')
        command += f'; echo $? > {self.status}.new && mv {self.status}.new {self.status}'
        # The screen stays after the end; the tmux server runs under C.UTF-8, the program not.
        self.tmux('-f', os.devnull, 'set', '-g', 'remain-on-exit', 'on', ';', 'new-session',
                  '-d', '-s', 't', '-x', '120', '-y', '40', '-c', folder, '-e', f'LC_ALL={locale}',
                  command)

    def tmux(self, *args):
        socket = os.path.join(self.folder, 'socket')  # a server of its own
        return subprocess.run(['tmux', '-S', socket, *args], check=True, text=True,
                              capture_output=True, env=dict(os.environ, LC_ALL='C.UTF-8')).stdout

    def screen(self): return self.tmux('capture-pane', '-p', '-t', 't')
    def keys(self, typed): self.tmux('send-keys', '-t', 't', '-l', typed)

    def at_menu(self, shown):
        wait_until(lambda: '代码：=====》' in shown() and self.reading(), 'the menu')

    def reading(self):  # Wine's console takes keys raw once the program first reads them
        path = self.tmux('display', '-p', '-t', 't', '#{pane_tty}').strip()
        with open(os.open(path, os.O_RDONLY | os.O_NOCTTY)) as tty:
            return not termios.tcgetattr(tty)[3] & termios.ICANON

    def looks(self):
        # The (text, background) colours of every cell of the console's window, its 55 columns
        # of each row: what lies right of them may be stale.
        lines = self.tmux('capture-pane', '-p', '-e', '-N', '-t', 't').split('\n')[:40]
        return {look for row in screen('\r\n'.join(lines).encode(), 200, 40, width)
                for _, look in row[:55] if look}

    def ended(self):  # how the program ended: '0' for exit status 0
        wait_until(lambda: os.path.exists(self.status), 'the end of the program')
        return read(self.status).decode().strip()

    def probed(self):  # what the probe found once tavoro had ended
        self.ended()
        return read(self.report).decode('utf-16-le')

    def __enter__(self): return self

    def __exit__(self, *error):
        self.tmux('kill-server')


def width(text):  # the columns a terminal draws text in
    return sum(2 if unicodedata.east_asian_width(c) in 'WF' else 1 for c in text)


def screen(stream, columns, rows, cells=len):
    # What a terminal shows of a stream of virtual terminal sequences (the ones Wine's console
    # writes but for moving the cursor forward, which it does only before a CR): rows of
    # (character, (text colour, background)) cells, a character taking cells(it) of them (Wine's
    # console gives every character one), a cleared or erased cell the colours in force, a cell
    # never drawn no colours at all.
    look, row, column, shown = (None, None), 0, 0, [[(' ', None)] * columns for _ in range(rows)]
    for text, args, final in re.findall(
            r'([^\x1b\r\n]+|\r|\n)|\x1b(?:\[([?0-9;]*)([@-~])|\][^\x07]*\x07)', stream.decode()):
        if text == '\r':
            column = 0
        elif text == '\n':  # at the last row, the screen scrolls
            shown, row = (shown[1:] + [[(' ', look)] * columns], row) if row == rows - 1 else (
                shown, row + 1)
        elif text:
            for c in text:
                shown[row][column:column + cells(c)] = [(c, look)] * cells(c)
                column += cells(c)
        elif final == 'm':  # 3x and 9x the text, 4x and 10x the background, 0 neither
            for n in (int(n or 0) for n in args.split(';')):
                look = ((str(n), look[1]), (look[0], str(n)))[n % 60 >= 40] if n else (None, None)
        elif final == 'H':  # row and column counted from 1, each 1 if not given
            row, column = [int(n) - 1 for n in (args + ';1;1').split(';') if n][:2]
        elif final in 'JK':  # the rest of the row (K), or the whole screen (2J)
            for erased in (range(rows) if final == 'J' else [row]):
                shown[erased][column * (final == 'K'):] = [(' ', look)] * columns
    return [row[:columns] for row in shown]


def rules_span(lines):  # every rule line 42 em dashes, wider than the weekday grid
    grid = width(next(line for line in lines if '六' in line))
    return all(rule.count('—') == 42 and width(rule) > grid for rule in lines if '—' in rule)


# The probe's report: the buffer shown seen 55 columns wide in a window of 55 with its rows, or
# never (a console that a terminal draws keeps its size); the probe's notes at each stage of the
# keys; the long line gone with the clearing, or whole; in another attribute than the one text
# was written in, the cells of the line in the probe's own colour where nothing was cleared, else
# none; the title, the text attribute and the size given back, the input modes the user's
# (nothing more: the state is added where it is not as expected).
REPORT = 'status {}\n{}\n{}long line {}\nodd cells {}\n'
NEVER = 'never 55 columns'


def on_screen(locale, folder):
    # With a console in a terminal, with a scrollback: the title, each look on every cell of the
    # window, the clearing, the rule lines as wide as the grid, and a pause that waits for one key
    # (a capital, which Wine types with Shift) and keeps the code typed after it; no size forced,
    # since the window may be the terminal's; then all given back at code 0.
    with Pane(locale, folder) as pane:
        pane.at_menu(pane.screen)
        assert pane.tmux('display', '-p', '-t', 't', '#{pane_title}').strip() == 'C++Tavoro程序'
        assert pane.looks() == {START}, (locale, pane.looks())
        pane.keys('2 2024 1 13\r')
        wait_until(lambda: pane.looks() == {REJECTED}, 'the rejected look')
        # Wine leaves the complaint's full-width signs blank here.
        assert '菜' not in (shown := pane.screen()) and shown.split('\n')[1].startswith('请输入'), shown
        pane.keys('2\r')
        wait_until(lambda: '请按任意键继续' in pane.screen(), 'the pause')
        time.sleep(1)
        assert '菜' not in (shown := pane.screen()) and pane.reading() and rules_span(
            shown.split('\n')), ('the pause did not wait, or the rule lines are short', shown)
        pane.keys('X0\r')
        wait_until(lambda: '感谢你的使用' in pane.screen(), 'code 0 kept from the pause')
        pane.keys('q')
        assert pane.probed() == REPORT.format(0, NEVER, '', 'gone', ''), pane.probed()


def given_back(folder):
    # Ended at the first menu by code 0 and by Ctrl-C, the probe finds the console given back,
    # the long line whole and the probe's own colour where it was; Ctrl-C ends tavoro as Windows
    # ends a program for it, with STATUS_CONTROL_C_EXIT.
    for keys, status in ('0\r', 0), ('C-c', 0xC000013A):
        with Pane(LOCALES[0], folder) as pane:
            pane.at_menu(pane.screen)
            pane.tmux('send-keys', '-t', 't', keys, 'q')  # a key for the pause
            assert pane.probed() == REPORT.format(status, NEVER, '', 'whole', '探针：before'), \
                pane.probed()


def redirected(locale, folder):
    # The transcript's text in a file, with the keys from the console: the pause waits for a key
    # (its request and the end of its line in the file); and through pipes, timed.
    transcript = os.path.join(folder, 'transcript.out')
    with Pane(locale, folder, output=transcript) as pane:
        pane.at_menu(lambda: read(transcript).decode('gbk') if os.path.exists(transcript) else '')
        pane.keys(TYPED[:TYPED.rindex('0\r')])
        time.sleep(2)
        assert read(transcript).endswith('请按任意键继续. . . '.encode('gbk')), read(transcript)
        pane.keys(' 0\r ')
        assert pane.ended() == '0' and read(transcript) == TEXT, (locale, read(transcript))
    # Typed in full-width forms in code page 936, the answers are read as their ASCII forms.
    env = dict(os.environ, LC_ALL=locale)
    for typed in TYPED.replace('\r', '\n').encode(), '３　２０２４　１　２\n３０\n２９\n０\n'.encode('gbk'):
        start = time.monotonic()
        run = subprocess.run([WINE, EXE], input=typed, cwd=folder, capture_output=True, env=env,
                             timeout=60)
        print(f'{locale}: a scripted session through pipes took {time.monotonic() - start:.2f} s')
        assert run.returncode == 0 and run.stdout == TEXT, (locale, typed, run.stdout)
    # tavoro --lunar through pipes: February 2024 with its lunar rows and span, in code page 936.
    lunar = GOLDEN.with_name('lunar_month_2024_02')
    run = subprocess.run([WINE, EXE, '--lunar'], input=read(lunar.with_suffix('.in')), cwd=folder,
                         capture_output=True, env=env, timeout=60)
    expected = read(lunar.with_suffix('.out')).decode().replace('\n', '\r\n').encode('gbk')
    assert run.returncode == 0 and run.stdout == expected, (locale, run.stdout)
    # A full disk ends it with status 1 and one line saying why.
    with open('/dev/full', 'wb') as full:
        run = subprocess.run([WINE, EXE], input=b'0\n', stdout=full, stderr=subprocess.PIPE,
                             cwd=folder, env=env, timeout=60)
    assert run.returncode == 1 and re.search(rb'(^|\n)tavoro: [^\r\n]+\r\n\Z', run.stderr), run


def full_width(folder):
    # Full-width digits and ideographic spaces written into the console's input as UTF-16 key
    # events, as an input method delivers them, under code pages 936 and 437: answered as their
    # ASCII forms, and echoed as typed (Wine redraws a line of full-width characters blank once
    # the look changes, so the probe reads the echo from the buffer).
    for code_page in '936', '437':
        with Pane(LOCALES[0], folder, probe=[code_page, '２　２０２４　１　２\r']) as pane:
            wait_until(lambda: '2024 年 2 月 日 历 为' in pane.screen(), 'the answers')
            pane.tmux('send-keys', '-t', 't', 'C-c')  # no clearing: the probe finds the echo
            report = REPORT.format(0xC000013A, NEVER, '', 'whole', '探针：before') + 'echoed\n'
            assert pane.probed() == report, (code_page, pane.probed())


def pause_presses(folder):
    # A key press taken whole at the pause after a code the menu does not offer, written into the
    # console's input: a character in two halves, an input method's commit of two characters,
    # and a character typed as Alt and keypad digits, which is no press until Alt is released.
    # The code 0 typed after it reaches the menu: nothing of the press is left for it.
    for press, at in ('😀', ''), ('〔你好〕', ''), ('⌥65|↑A', 'stage: 请按任意键继续. . .\n'):
        with Pane(LOCALES[0], folder, probe=['936', f'5\r{press}0\rq']) as pane:
            assert (got := pane.probed()) == REPORT.format(0, NEVER, at, 'gone', ''), (press, got)


def in_a_window(folder):
    # In Wine's own console window, which has a scrollback as the console host's window has:
    # the buffer shown 55 columns wide in a window of 55, so that an answer of 60 characters
    # wraps at the 55th column (the cursor's row holds its tail) instead of panning; at
    # the end, by code 0 after a clearing or by Ctrl-C at a pause, the user's buffer, its long
    # line, colours, title and size as they were.
    for keys, status, stage in (('1' * 60 + '|\rq0\rq', 0, '1+'),
                                ('5\r|\x03', 0xC000013A, re.escape('请按任意键继续. . .'))):
        report = os.path.join(folder, 'window-report')
        subprocess.run([WINE, 'wineconsole', PROBE, '--around', windows_path(report), EXE, '936',
                        keys], cwd=folder, timeout=120, capture_output=True)
        expected = REPORT.format(status, '55 columns', f'stage: {stage}\n', 'whole', '探针：before')
        assert re.fullmatch(expected, got := read(report).decode('utf-16-le')), got


def writes_nothing():
    # A console that reports a write done with nothing written: status 1 and the reason.
    tty, _ = pty.openpty()  # Wine makes the console of a terminal
    run = subprocess.run([WINE, WRITE_TEST], stdin=tty, stdout=tty, stderr=subprocess.PIPE,
                         timeout=60)
    assert run.returncode == 1 and re.search(rb'(^|\n)tavoro: [^\r\n]+\r\n\Z', run.stderr), run


def pseudoconsole(folder):
    # Windows Terminal in miniature: a pseudoconsole of 80 by 25, its stream read through the
    # screen model after each step. The clearing, the terminal's scrollback with it, and the
    # rejected look on every cell of all 80 columns, the rule lines as wide as the grid, and no
    # size asked of the terminal or changed.
    steps = ['2 2024 1 13\r', '2\r', ' ', '0\r', ' ']
    run = subprocess.run([WINE, PROBE, '--host', EXE, *steps], capture_output=True, cwd=folder,
                         timeout=120)
    marks = [int(line) for line in run.stderr.split() if line.isdigit()]
    assert run.returncode == 0 and len(marks) == len(steps) and b'\x1b[8;' not in run.stdout, run
    # Each clearing, after the complaint and after the pause, clears the terminal's scrollback.
    assert run.stdout.count(b'\x1b[H\x1b[2J\x1b[3J') == 2, run.stdout[-2000:]
    rejected, month = (screen(run.stdout[:mark], 80, 25) for mark in marks[1:3])
    lines = [''.join(c for c, _ in row).rstrip() for row in rejected + month]
    assert {look for row in rejected for _, look in row} == {REJECTED}, rejected
    assert (lines[0].startswith('！！！月份输错了呦') and '菜' not in ''.join(lines[:25]) and
            rules_span(lines[25:])), lines


# Every session runs in a folder of planted programs, each recording its start (the probe where
# STARTS_LOG says), with COMSPEC (which Wine takes from the registry) naming one too: none may
# start. The prefix, and the registry with it, goes at the end.
with tempfile.TemporaryDirectory(prefix='tavoro-wine-planted.') as folder:
    starts = os.path.join(folder, 'starts.log')
    os.environ['STARTS_LOG'] = windows_path(starts)
    for name in ('mode.com', 'cmd.exe', 'comspec.exe'):
        shutil.copy(PROBE, os.path.join(folder, name))
    for name in ('mode.bat', 'cmd.bat'):
        pathlib.Path(folder, name).write_text(f'@echo %0>>"{windows_path(starts)}"\r\n')
    subprocess.run([WINE, 'reg', 'add', r'HKCU\Environment', '/v', 'ComSpec', '/d',
                    windows_path(os.path.join(folder, 'comspec.exe')), '/f'],
                   check=True, capture_output=True)
    for locale in LOCALES:
        on_screen(locale, folder)
        redirected(locale, folder)
    given_back(folder)
    full_width(folder)
    pause_presses(folder)
    pseudoconsole(folder)
    writes_nothing()
    in_a_window(folder)
    assert not os.path.exists(starts), read(starts).decode('utf-8', 'replace')
print('wine sessions: ok')
