# Whole sessions of tavoro.exe under Wine, in the Wine prefix that WINEPREFIX names.
# Usage: wine_sessions.py TAVORO_EXE STAND_IN_EXE, the stand-in for the command interpreter.
import os, pathlib, shlex, shutil, subprocess, sys, tempfile, termios, time

EXE, ARGUMENT = sys.argv[1:3]
assert os.environ.get('WINEPREFIX'), 'a Wine prefix of its own is needed'
WINE = shutil.which('wine64') or '/usr/lib/wine/wine64'
# ANSI code pages 936 and 1252: the text and the title must survive a non-Chinese one.
LOCALES = ['zh_CN.UTF-8', 'en_US.UTF-8']
SPARE = {'WINEDEBUG': '-all', 'WINEDLLOVERRIDES': 'mscoree,mshtml='}  # no Mono, no Gecko


def wine_env(locale, **extra): return dict(os.environ, LC_ALL=locale, **SPARE, **extra)
def windows_path(path): return 'Z:' + os.path.abspath(path).replace('/', '\\')


def read(path): return pathlib.Path(path).read_bytes()


def wait_until(condition, what, seconds=30):
    end = time.monotonic() + seconds
    while not condition():
        assert time.monotonic() < end, f'gave up waiting for {what}'
        time.sleep(0.1)


class Pane:
    # tavoro.exe in a tmux pane, which Wine takes for the console's window; its standard
    # input piped from typed, or its output into a file, where those are given.

    def __init__(self, locale, typed=None, output=None, **extra):
        self.folder = tempfile.mkdtemp(prefix='tavoro-wine-tmux.')
        settings = {'LC_ALL': locale, 'WINEPREFIX': os.environ['WINEPREFIX'], **SPARE, **extra}
        command = shlex.join(['env', *(f'{k}={v}' for k, v in settings.items()), WINE, EXE])
        if typed:
            command = f'printf %s {shlex.quote(typed)} | {command}'
        if output:
            command += ' > ' + shlex.quote(output)
        # The shell notes the exit status: tmux at times never learns it.
        self.status = os.path.join(self.folder, 'status')
        command += f'; echo $? > {self.status}.new && mv {self.status}.new {self.status}'
        with open(os.path.join(self.folder, 'conf'), 'w') as conf:
            conf.write('set -g remain-on-exit on\n')  # the screen stays after the end
        self.tmux('-f', conf.name, 'new-session', '-d', '-s', 't', '-x', '80', '-y', '40', command)

    def tmux(self, *args):
        socket = os.path.join(self.folder, 'socket')  # a server of its own
        return subprocess.run(['tmux', '-S', socket, *args], check=True, text=True,
                              capture_output=True, env=dict(os.environ, LC_ALL='C.UTF-8')).stdout

    def history(self): return self.tmux('capture-pane', '-p', '-S', '-', '-t', 't')

    def reading(self):  # Wine's console takes keys raw once tavoro.exe first reads them
        tty = os.open(self.tmux('display', '-p', '-t', 't', '#{pane_tty}').strip(),
                      os.O_RDONLY | os.O_NOCTTY)
        try:
            return not termios.tcgetattr(tty)[3] & termios.ICANON
        finally:
            os.close(tty)

    def ended(self):  # how tavoro.exe ended: '0' for exit status 0
        wait_until(lambda: os.path.exists(self.status), 'the end of tavoro.exe')
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
EXPECTED_COMMANDS = (['title C++Tavoro程序', 'mode con cols=55', 'color f0']
                     + ['color fa', 'color fa']  # code 3 read, weekday of 1 January accepted
                     + ['cls', 'color c', 'color fa']  # day 30 rejected, the answer written
                     + ['pause', 'cls', 'color fa', 'color c', 'pause'])  # menu, code 0, goodbye


def same_text(output):  # code page 936, every line ended by CR LF, as the transcript reads
    return (b'\n' not in output.replace(b'\r\n', b'') and
            output.replace(b'\r\n', b'\n').decode('gbk', 'replace') == TRANSCRIPT)


def commands():
    # The command lines handed to the interpreter, pinned: all of them with a console for input
    # and output, and the Chinese text on it under either code page; no cls with the output in a
    # file, where it would write a form feed; no pause with the input from a pipe, whose answers it
    # would take; neither through pipes. Redirected, the text is the transcript's.
    log, transcript = (tempfile.NamedTemporaryFile(suffix=s, delete=False).name
                       for s in ('.log', '.out'))
    log_env = {'COMMAND_LOG': windows_path(log)}

    def logged():
        lines = read(log).decode('utf-8').splitlines()
        open(log, 'w').close()
        return lines

    def without(*left_out): return [c for c in EXPECTED_COMMANDS if c not in left_out]
    # Wine takes COMSPEC from the registry, so the stand-in is named there.
    user_env = r'HKCU\Environment'
    subprocess.run([WINE, 'reg', 'add', user_env, '/v', 'ComSpec', '/d', windows_path(ARGUMENT),
                    '/f'], check=True, capture_output=True, env=wine_env('C.UTF-8'))
    try:
        for locale in LOCALES:
            for typed, output, wanted in ((None, None, without()), (None, transcript, without('cls')),
                                          (TYPED, None, without('pause'))):
                with Pane(locale, typed, output, **log_env) as pane:
                    if not typed:  # keys typed once the menu stands and the console reads them
                        shown = lambda: read(output).decode('gbk') if output else pane.history()
                        wait_until(lambda: '代码：=====》' in shown() and pane.reading(), 'the menu')
                        pane.tmux('send-keys', '-t', 't', '-l', TYPED)
                    case = f'{locale}, input {"piped" if typed else "console"}, output {output}'
                    assert pane.ended() == '0', f'{case}: status {pane.ended()}'
                    if not output:
                        assert '2024年2月29日是星期四' in pane.history(), f'{case}: {pane.history()}'
                assert (got := logged()) == wanted, f'{case}: {got}'
            run = subprocess.run([WINE, EXE], input=TYPED.replace('\r', '\n').encode(),
                                 capture_output=True, env=wine_env(locale, **log_env), timeout=60)
            assert run.returncode == 0 and logged() == without('cls', 'pause'), (locale, 'pipes')
            # The stand-in writes to a file what the interpreter's cls and pause would.
            assert b'\f' not in read(transcript), (locale, 'a form feed in the file')
            assert same_text(read(transcript)) and same_text(run.stdout), (locale, run.stdout)
    finally:
        subprocess.run([WINE, 'reg', 'delete', user_env, '/v', 'ComSpec', '/f'],
                       capture_output=True, env=wine_env('C.UTF-8'))
        os.unlink(log)
        os.unlink(transcript)


commands()
print('wine sessions: ok')
