# Whole sessions of tavoro.exe under Wine, in the Wine prefix that WINEPREFIX names.
# Usage: wine_sessions.py TAVORO_EXE PROBE_EXE (console_probe.cpp, built for Windows).
import os, pathlib, re, shlex, shutil, subprocess, sys, tempfile, termios, time, unicodedata

EXE, PROBE = map(os.path.abspath, sys.argv[1:3])
assert os.environ.get('WINEPREFIX'), 'a Wine prefix of its own is needed'
WINE = shutil.which('wine64') or '/usr/lib/wine/wine64'
# ANSI code pages 936 and 1252: the text and the title must survive a non-Chinese one.
LOCALES = ['zh_CN.UTF-8', 'en_US.UTF-8']
SPARE = {'WINEDEBUG': '-all', 'WINEDLLOVERRIDES': 'mscoree,mshtml='}  # no Mono, no Gecko
# The looks as Wine draws them in a terminal: (text, background) colours.
START, ACCEPTED, REJECTED = ('30', '107'), ('92', '107'), ('91', '40')


def wine_env(locale, **extra): return dict(os.environ, LC_ALL=locale, **SPARE, **extra)
def windows_path(path): return 'Z:' + os.path.abspath(path).replace('/', '\\')


def read(path): return pathlib.Path(path).read_bytes()


def wait_until(condition, what, seconds=30):
    end = time.monotonic() + seconds
    while not condition():
        assert time.monotonic() < end, f'gave up waiting for {what}'
        time.sleep(0.1)


class Pane:
    # A Windows program in a tmux pane, which Wine takes for the console's window; started in
    # folder, its standard input piped from typed, or its output into a file, where those are given.

    def __init__(self, locale, program, folder, typed=None, output=None):
        self.folder = tempfile.mkdtemp(prefix='tavoro-wine-tmux.')
        settings = {'LC_ALL': locale, 'WINEPREFIX': os.environ['WINEPREFIX'], **SPARE,
                    'STARTS_LOG': windows_path(os.path.join(folder, 'starts.log'))}
        command = shlex.join(['env', *(f'{k}={v}' for k, v in settings.items()), WINE, *program])
        if typed:
            command = f'printf %s {shlex.quote(typed)} | {command}'
        if output:
            command += ' > ' + shlex.quote(output)
        # The shell notes the exit status: tmux at times never learns it.
        self.status = os.path.join(self.folder, 'status')
        command += f'; echo $? > {self.status}.new && mv {self.status}.new {self.status}'
        with open(os.path.join(self.folder, 'conf'), 'w') as conf:
            conf.write('set -g remain-on-exit on\n')  # the screen stays after the end
        self.tmux('-f', conf.name, 'new-session', '-d', '-s', 't', '-x', '80', '-y', '40',
                  '-c', folder, command)

    def tmux(self, *args):
        socket = os.path.join(self.folder, 'socket')  # a server of its own
        return subprocess.run(['tmux', '-S', socket, *args], check=True, text=True,
                              capture_output=True, env=dict(os.environ, LC_ALL='C.UTF-8')).stdout

    def screen(self): return self.tmux('capture-pane', '-p', '-t', 't')
    def keys(self, typed): self.tmux('send-keys', '-t', 't', '-l', typed)

    def at_menu(self, shown):
        wait_until(lambda: '代码：=====》' in shown() and self.reading(), 'the menu')

    def reading(self):  # Wine's console takes keys raw once the program first reads them
        tty = os.open(self.tmux('display', '-p', '-t', 't', '#{pane_tty}').strip(),
                      os.O_RDONLY | os.O_NOCTTY)
        try:
            return not termios.tcgetattr(tty)[3] & termios.ICANON
        finally:
            os.close(tty)

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
                for character in part:
                    if column < 55:
                        seen.add((state['3'], state['4']))
                    column += 2 if unicodedata.east_asian_width(character) in 'WF' else 1
        return seen

    def ended(self):  # how the program ended: '0' for exit status 0
        wait_until(lambda: os.path.exists(self.status), 'the end of the program')
        return read(self.status).decode().strip()

    def __enter__(self): return self

    def __exit__(self, *error):
        self.tmux('kill-server')
        shutil.rmtree(self.folder)


# The session of a transcript: the weekday of 29 February 2024, day 30 rejected on the way.
GOLDEN = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'golden',
                      'weekday_2024_02_29_rejected_30')
TYPED = read(GOLDEN + '.in').decode().replace('\n', '\r')
TRANSCRIPT = read(GOLDEN + '.out').decode()


def same_text(output):  # code page 936, every line ended by CR LF, as the transcript reads
    return (b'\n' not in output.replace(b'\r\n', b'') and
            output.replace(b'\r\n', b'\n').decode('gbk', 'replace') == TRANSCRIPT)


def around(folder):  # tavoro.exe as the probe's child, the probe reporting to a file in folder
    return [PROBE, '--around', windows_path(os.path.join(folder, 'report')), EXE]


def report(folder): return read(os.path.join(folder, 'report')).decode()


def on_screen(locale, folder):
    # With a console: the title, each look on every cell of the window, the probe's line shown
    # before included, the clearing, and a pause that waits for one key (a capital, which Wine
    # types with Shift) and keeps the code typed after it; then all given back at code 0.
    with Pane(locale, around(folder), folder) as pane:
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
        assert pane.ended() == '0', pane.screen()
    # The probe saw 55 columns, the rows kept, while tavoro ran, and found all given back.
    assert report(folder) == 'status 0\nnarrowed\n', report(folder)


def given_back(folder):
    # At the end of input (a scripted session with a console, timed) and at Ctrl-C the probe
    # finds the console as it was.
    for typed in (TYPED, None):
        start = time.monotonic()
        with Pane(LOCALES[0], around(folder), folder, typed) as pane:
            if not typed:
                pane.at_menu(pane.screen)
                pane.tmux('send-keys', '-t', 't', 'C-c')
            pane.ended()
        if typed:
            print(f'a scripted session with a console took {time.monotonic() - start:.2f} s')
        assert 'changed' not in report(folder), (typed, report(folder))


def redirected(locale, folder):
    # The transcript's text in a file, with the keys from the console (the pause waits, its
    # request and the end of its line in the file), and through pipes, timed.
    transcript = os.path.join(folder, 'transcript.out')
    with Pane(locale, [EXE], folder, output=transcript) as pane:
        pane.at_menu(lambda: read(transcript).decode('gbk') if os.path.exists(transcript) else '')
        pane.keys(TYPED.replace('29\r', '29\r ') + ' ')  # a key for each of the two pauses
        assert pane.ended() == '0' and same_text(read(transcript)), (locale, read(transcript))
    start = time.monotonic()
    run = subprocess.run([WINE, EXE], input=TYPED.replace('\r', '\n').encode(), cwd=folder,
                         capture_output=True, env=wine_env(locale), timeout=60)
    print(f'{locale}: a scripted session through pipes took {time.monotonic() - start:.2f} s')
    assert run.returncode == 0 and same_text(run.stdout), (locale, run.stdout)
    # A full disk ends it with status 1 and one line saying why.
    with open('/dev/full', 'wb') as full:
        run = subprocess.run([WINE, EXE], input=b'0\n', stdout=full, stderr=subprocess.PIPE,
                             cwd=folder, env=wine_env(locale), timeout=60)
    assert run.returncode == 1 and re.fullmatch(rb'tavoro: [^\r\n]+\r\n', run.stderr), run


def sessions():
    # Every session runs in a folder of planted programs, each recording its start, with
    # COMSPEC (which Wine takes from the registry) naming one too: none may start.
    folder = tempfile.mkdtemp(prefix='tavoro-wine-planted.')
    for name in ('mode.com', 'cmd.exe', 'comspec.exe'):
        shutil.copy(PROBE, os.path.join(folder, name))
    for name in ('mode.bat', 'cmd.bat'):
        pathlib.Path(folder, name).write_text(f'@echo %0>>"{windows_path(folder)}\\starts.log"\r\n')
    user_env = r'HKCU\Environment'
    subprocess.run([WINE, 'reg', 'add', user_env, '/v', 'ComSpec', '/d',
                    windows_path(os.path.join(folder, 'comspec.exe')), '/f'],
                   check=True, capture_output=True, env=wine_env('C.UTF-8'))
    try:
        for locale in LOCALES:
            on_screen(locale, folder)
            redirected(locale, folder)
        given_back(folder)
        starts = os.path.join(folder, 'starts.log')
        assert not os.path.exists(starts), read(starts).decode('utf-8', 'replace')
    finally:
        subprocess.run([WINE, 'reg', 'delete', user_env, '/v', 'ComSpec', '/f'],
                       capture_output=True, env=wine_env('C.UTF-8'))
        shutil.rmtree(folder)


sessions()
print('wine sessions: ok')
