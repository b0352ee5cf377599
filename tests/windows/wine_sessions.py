# Whole sessions of tavoro.exe under Wine, in the Wine prefix that WINEPREFIX names.
# Usage: wine_sessions.py TAVORO_EXE PROBE_EXE (console_probe.cpp, built for Windows).
import os, pathlib, re, shlex, shutil, subprocess, sys, tempfile, termios, time, unicodedata

EXE, PROBE = map(os.path.abspath, sys.argv[1:3])
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
    # reports on the console to self.report; its standard input piped from typed if given.

    def __init__(self, locale, folder, typed=None, output=None):
        self.folder = tempfile.mkdtemp(prefix='pane.', dir=folder)  # goes with the folder
        self.report = os.path.join(self.folder, 'report')
        command = shlex.join([WINE, EXE] if output else
                             [WINE, PROBE, '--around', windows_path(self.report), EXE])
        if typed:
            command = f'printf %s {shlex.quote(typed)} | {command}'
        if output:
            command += ' > ' + shlex.quote(output)
        # The shell notes the exit status: tmux at times never learns it.
        self.status = os.path.join(self.folder, 'status')
        command += f'; echo $? > {self.status}.new && mv {self.status}.new {self.status}'
        # The screen stays after the end; the tmux server runs under C.UTF-8, the program not.
        self.tmux('-f', os.devnull, 'set', '-g', 'remain-on-exit', 'on', ';', 'new-session',
                  '-d', '-s', 't', '-x', '80', '-y', '40', '-c', folder, '-e', f'LC_ALL={locale}',
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
        # of each row: Wine draws no further, and what lies right of them is stale.
        state, seen = {'3': None, '4': None}, set()
        for line in self.tmux('capture-pane', '-p', '-e', '-N', '-t', 't').split('\n')[:40]:
            column = 0
            for part in re.split(r'(\x1b\[[0-9;]*m)', line):
                if part.startswith('\x1b['):
                    for code in part[2:-1].split(';'):
                        if code in ('', '0'):
                            state = {'3': None, '4': None}
                        else:  # 3x and 9x the text, 4x and 10x the background
                            state['3' if code[0] in '39' and len(code) == 2 else '4'] = code
                    continue
                if part and column < 55:  # a part begun in the window has a cell in it
                    seen.add((state['3'], state['4']))
                column += sum(2 if unicodedata.east_asian_width(c) in 'WF' else 1 for c in part)
        return seen

    def ended(self):  # how the program ended: '0' for exit status 0
        wait_until(lambda: os.path.exists(self.status), 'the end of the program')
        return read(self.status).decode().strip()

    def probed(self):  # what the probe found once tavoro had ended
        self.ended()
        return read(self.report).decode()

    def __enter__(self): return self

    def __exit__(self, *error):
        self.tmux('kill-server')


def on_screen(locale, folder):
    # With a console: the title, each look on every cell of the window, the probe's line shown
    # before included, the clearing, and a pause that waits for one key (a capital, which Wine
    # types with Shift) and keeps the code typed after it; then all given back at code 0.
    with Pane(locale, folder) as pane:
        pane.at_menu(pane.screen)
        assert pane.tmux('display', '-p', '-t', 't', '#{pane_title}').strip() == 'C++Tavoro程序'
        assert '探针：before' in pane.screen() and pane.looks() == {START}, (locale, pane.looks())
        pane.keys('3 2024 1 2 30\r')
        wait_until(lambda: pane.looks() == {REJECTED}, 'the rejected look')
        cleared = pane.screen()
        assert cleared.startswith('2024年2月只有29天') and '菜' not in cleared, cleared
        pane.keys('29\r')
        wait_until(lambda: '请按任意键继续' in pane.screen() and pane.looks() == {ACCEPTED},
                   'the pause')
        time.sleep(1)
        assert '菜' not in pane.screen() and pane.reading(), 'the pause did not wait'
        pane.keys('X0\r')
        wait_until(lambda: '感谢你的使用' in pane.screen(), 'code 0 kept from the pause')
        pane.keys('q')
        # The probe saw 55 columns, the rows kept, while tavoro ran, and found all given back.
        assert pane.probed() == 'status 0\nnarrowed\n', pane.probed()


def given_back(folder):
    # At the end of input (a scripted session with a console, timed) and at Ctrl-C the probe
    # finds the console as it was.
    start = time.monotonic()
    with Pane(LOCALES[0], folder, TYPED) as pane:
        assert 'changed' not in pane.probed(), ('end of input', pane.probed())
    print(f'a scripted session with a console took {time.monotonic() - start:.2f} s')
    with Pane(LOCALES[0], folder) as pane:
        pane.at_menu(pane.screen)
        pane.tmux('send-keys', '-t', 't', 'C-c')
        assert 'changed' not in pane.probed(), ('Ctrl-C', pane.probed())


def redirected(locale, folder):
    # The transcript's text in a file, with the keys from the console (the pause waits, its
    # request and the end of its line in the file), and through pipes, timed.
    transcript = os.path.join(folder, 'transcript.out')
    with Pane(locale, folder, output=transcript) as pane:
        pane.at_menu(lambda: read(transcript).decode('gbk') if os.path.exists(transcript) else '')
        pane.keys(TYPED.replace('29\r', '29\r ') + ' ')  # a key for each of the two pauses
        assert pane.ended() == '0' and read(transcript) == TEXT, (locale, read(transcript))
    start = time.monotonic()
    env = dict(os.environ, LC_ALL=locale)
    run = subprocess.run([WINE, EXE], input=TYPED.replace('\r', '\n').encode(), cwd=folder,
                         capture_output=True, env=env, timeout=60)
    print(f'{locale}: a scripted session through pipes took {time.monotonic() - start:.2f} s')
    assert run.returncode == 0 and run.stdout == TEXT, (locale, run.stdout)
    # A full disk ends it with status 1 and one line saying why.
    with open('/dev/full', 'wb') as full:
        run = subprocess.run([WINE, EXE], input=b'0\n', stdout=full, stderr=subprocess.PIPE,
                             cwd=folder, env=env, timeout=60)
    assert run.returncode == 1 and re.fullmatch(rb'tavoro: [^\r\n]+\r\n', run.stderr), run


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
    assert not os.path.exists(starts), read(starts).decode('utf-8', 'replace')
print('wine sessions: ok')
