# Whole sessions of tavoro.exe under Wine, in the Wine prefix that WINEPREFIX
# names. Usage: wine_sessions.py CASE TAVORO_EXE ARGUMENT, where CASE is
#   commands STAND_IN_EXE  the command lines that reach the interpreter, in order
#   screen   -             what a console in a terminal shows, and its title
#   piped    GOLDEN_DIR    transcripts through a pipe whose answers arrive late
import difflib, os, re, shlex, shutil, subprocess, sys, tempfile, termios, time

CASE, EXE, ARGUMENT = sys.argv[1:4]
assert os.environ.get('WINEPREFIX'), 'a Wine prefix of its own is needed'
WINE = shutil.which('wine64') or '/usr/lib/wine/wine64'
# ANSI code pages 936 and 1252: the title must survive a non-Chinese one.
LOCALES = ['zh_CN.UTF-8', 'en_US.UTF-8']
SPARE = {'WINEDEBUG': '-all', 'WINEDLLOVERRIDES': 'mscoree,mshtml='}  # no Mono, no Gecko

def wine_env(locale, **extra): return dict(os.environ, LC_ALL=locale, **SPARE, **extra)
def windows_path(path): return 'Z:' + os.path.abspath(path).replace('/', '\\')

def wait_until(condition, what, seconds=30):
    end = time.monotonic() + seconds
    while not (found := condition()):
        assert time.monotonic() < end, f'gave up waiting for {what}'
        time.sleep(0.1)
    return found

class Pane:
    """tavoro.exe in a tmux pane, which Wine takes for the console's window."""
    def __init__(self, locale, output=None, **extra):  # output: a file for standard output
        self.locale, self.folder = locale, tempfile.mkdtemp(prefix='tavoro-wine-tmux.')
        with open(os.path.join(self.folder, 'conf'), 'w') as conf:
            conf.write('set -g remain-on-exit on\n')  # the screen stays after the end
        settings = {'LC_ALL': locale, 'WINEPREFIX': os.environ['WINEPREFIX'], **SPARE, **extra}
        command = shlex.join(['env', *(f'{k}={v}' for k, v in settings.items()), WINE, EXE])
        if output:
            command += ' > ' + shlex.quote(output)
        # The shell notes the exit status: tmux at times never learns it.
        self.status = os.path.join(self.folder, 'status')
        command += f'; echo $? > {self.status}.new && mv {self.status}.new {self.status}'
        self.tmux('-f', conf.name, 'new-session', '-d', '-s', 't', '-x', '80', '-y', '40', command)

    def tmux(self, *args):
        socket = os.path.join(self.folder, 'socket')  # a server of its own
        return subprocess.run(['tmux', '-S', socket, *args], check=True, text=True,
                              capture_output=True, env=dict(os.environ, LC_ALL='C.UTF-8')).stdout

    def type(self, keys): self.tmux('send-keys', '-t', 't', '-l', keys)
    def screen(self): return self.tmux('capture-pane', '-p', '-t', 't')
    def history(self): return self.tmux('capture-pane', '-p', '-S', '-', '-t', 't')
    def show(self, key): return self.tmux('display', '-p', '-t', 't', f'#{{{key}}}').strip()

    def reading(self):  # Wine's console takes keys raw once tavoro.exe first reads them
        tty = os.open(self.show('pane_tty'), os.O_RDONLY | os.O_NOCTTY)
        try:
            return not termios.tcgetattr(tty)[3] & termios.ICANON
        finally:
            os.close(tty)

    def wait_for(self, *texts, gone=None):  # texts on the screen, the text gone from it
        def shown():
            screen = self.screen()
            return all(t in screen for t in texts) and (gone is None or gone not in screen)
        try:
            wait_until(shown, texts)
        except AssertionError:
            raise AssertionError(f'not shown: {texts}\n{self.screen()}') from None

    def colours_at(self, text):
        """(text colour, background) as SGR numbers where text starts on the screen."""
        screen = self.tmux('capture-pane', '-p', '-e', '-t', 't')
        if text not in screen:
            return None
        colours = [39, 49]
        for match in re.finditer(r'\x1b\[([\d;]*)m', screen[:screen.index(text)]):
            for n in map(int, filter(None, match.group(1).split(';'))):
                if n == 0:
                    colours = [39, 49]
                elif 30 <= n <= 39 or 90 <= n <= 97:
                    colours[0] = n
                elif 40 <= n <= 49 or 100 <= n <= 107:
                    colours[1] = n
        return tuple(colours)

    def wait_look(self, text, look):  # a colour command may follow the text
        try:
            wait_until(lambda: self.colours_at(text) == look, look, seconds=10)
        except AssertionError:
            raise AssertionError(f'{text} in {self.colours_at(text)}, not {look}') from None

    def ended(self):
        """How tavoro.exe ended: '0' for exit status 0."""
        wait_until(lambda: os.path.exists(self.status), 'the end of tavoro.exe')
        with open(self.status) as f:
            return f.read().strip()

    def __enter__(self): return self

    def __exit__(self, kind, error, trace):
        self.tmux('kill-server')
        shutil.rmtree(self.folder)
        if isinstance(error, AssertionError):
            raise AssertionError(f'{self.locale}: {error}') from None

# The session: a code the menu does not offer, the weekday of 29 February 2024, code 0.
TYPED = ['9', '3 2024 1 2 29', '0']
EXPECTED_COMMANDS = (['title C++Tavoro程序', 'mode con cols=55', 'color f0']
                     + ['color fa', 'color c', 'pause', 'cls']  # code 9 rejected
                     # code read, weekday of 1 January accepted, answer written
                     + ['color fa', 'color fa', 'color fa', 'pause', 'cls']
                     + ['color fa', 'color c', 'pause'])  # goodbye

def commands():
    """The command lines handed to the interpreter: all of them with a console
    for input and output; no cls with the output in a file, where it would
    write a form feed; neither cls nor pause from a pipe, whose answers pause
    would take."""
    log, transcript = (tempfile.NamedTemporaryFile(suffix=s, delete=False).name
                       for s in ('.log', '.out'))
    log_env = {'COMMAND_LOG': windows_path(log)}
    def read(path):
        with open(path, 'rb') as f:
            return f.read()
    def logged():
        lines = read(log).decode('utf-8').splitlines()
        open(log, 'w').close()
        return lines
    # Wine takes COMSPEC from the registry, so the stand-in is named there.
    user_env = r'HKCU\Environment'
    subprocess.run([WINE, 'reg', 'add', user_env, '/v', 'ComSpec', '/d', windows_path(ARGUMENT),
                    '/f'], check=True, capture_output=True, env=wine_env('C.UTF-8'))
    try:
        for locale in LOCALES:
            # Typed at the console, the output going to it and then to a file.
            for output, left_out in ((None, []), (transcript, ['cls'])):
                with Pane(locale, output, **log_env) as pane:
                    shown = lambda: read(output).decode('gbk', 'replace') if output else pane.screen()
                    wait_until(lambda: '代码：=====》' in shown() and pane.reading(), 'the menu')
                    pane.type(''.join(line + '\r' for line in TYPED))
                    assert (end := pane.ended()) == '0', end
                got = logged()
                wanted = [c for c in EXPECTED_COMMANDS if c not in left_out]
                assert got == wanted, (locale, output or 'console', got)
            run = subprocess.run([WINE, EXE], input=''.join(l + '\n' for l in TYPED).encode(),
                                 capture_output=True, env=wine_env(locale, **log_env), timeout=60)
            assert run.returncode == 0, (locale, run.returncode)
            got = logged()
            wanted = [c for c in EXPECTED_COMMANDS if c not in ('cls', 'pause')]
            assert got == wanted, (locale, 'pipe', got)
            # The stand-in writes to a file what the interpreter's cls and pause would.
            assert b'\f' not in read(transcript), (locale, 'a form feed in the file')
            assert read(transcript) == run.stdout, (locale, 'the file differs from the pipe')
    finally:
        subprocess.run([WINE, 'reg', 'delete', user_env, '/v', 'ComSpec', '/f'],
                       capture_output=True, env=wine_env('C.UTF-8'))
        os.unlink(log)
        os.unlink(transcript)

# The console's looks as SGR colours: (text, background).
START, ACCEPTED, REJECTED = (30, 107), (92, 107), (91, 40)
MENU = ('欢迎进入Tavoro查询系统', '代码：=====》')
# What each query shows, and the look it leaves (None: not looked at).
QUERIES = [('2 2024 1 2', ['2024 年 2 月 日 历 为：', '    25    26    27    28    29'], None),
           ('3 2024 1 2 29', ['2024年2月29日是星期四'], ACCEPTED),
           ('4 2024 3 1', ['2024年3月1日是2024年的第61天'], ACCEPTED),
           ('1 2019 2', ['2019年12月份为：'], None),
           ('9', ['你输入的代码有误，请重新输入！'], REJECTED)]

def screen():
    """Every screen reads as Chinese under either code page, with its look."""
    for locale in LOCALES:
        with Pane(locale) as pane:
            pane.wait_for(*MENU)
            assert pane.show('pane_title') == 'C++Tavoro程序', pane.show('pane_title')
            pane.wait_look(MENU[0], START)
            for typed, shown, look in QUERIES:
                pane.type(typed + '\r')
                pane.wait_for(*shown)
                if look:
                    pane.wait_look(shown[0], look)
                if typed.startswith('1 '):  # twelve months scroll past the window
                    history = pane.history()
                    assert '2019年年历表如下：' in history and all(
                        f'2019年{month}月份为：' in history for month in range(1, 13))
                pane.type('k')  # the interpreter's pause takes it
                pane.wait_for(*MENU, gone=shown[0])
            pane.type('0\r')
            pane.wait_for('感谢你的使用！即将为你退出程序！')
            pane.wait_look('感谢你的使用', REJECTED)
            pane.type('k')
            assert (end := pane.ended()) == '0', end

def piped():
    """Each golden session, every line held back until the one before it has
    been answered, comes out as in the transcript: nothing is lost to a pause."""
    for name in sorted(f[:-3] for f in os.listdir(ARGUMENT) if f.endswith('.in')):
        with open(os.path.join(ARGUMENT, name + '.in'), 'rb') as f:
            lines = f.read().splitlines(keepends=True)
        with open(os.path.join(ARGUMENT, name + '.out'), encoding='utf-8') as f:
            expected = f.read()
        with tempfile.TemporaryFile() as out:
            def questions():
                out.seek(0)
                return out.read().decode('gbk', 'replace').count('》')
            program = subprocess.Popen([WINE, EXE], stdin=subprocess.PIPE, stdout=out,
                                       stderr=subprocess.DEVNULL, env=wine_env('C.UTF-8'))
            asked = 0
            for line in lines:
                # A build whose pause reads the pipe stands still here; the line
                # then goes after a few seconds, to be swallowed.
                try:
                    wait_until(lambda: questions() > asked, 'a question', seconds=4)
                except AssertionError:
                    pass
                asked = questions()
                program.stdin.write(line)
                program.stdin.flush()
            program.stdin.close()
            assert program.wait(timeout=60) == 0, name
            out.seek(0)
            got = out.read().replace(b'\r\n', b'\n').decode('gbk', 'replace')
        if got != expected:
            diff = difflib.unified_diff(expected.splitlines(), got.splitlines(), lineterm='')
            raise AssertionError(f'{name}:\n' + '\n'.join(list(diff)[:40]))

{'commands': commands, 'screen': screen, 'piped': piped}[CASE]()
print(f'wine {CASE}: ok')
