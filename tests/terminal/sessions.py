# Whole tavoro sessions on a pseudo-terminal (and one in tmux), one behaviour of the terminal
# console a case. Usage: LC_ALL=C.UTF-8 sessions.py CASE PROGRAM
import io, os, re, signal, subprocess, sys, tempfile, termios, time, unicodedata
import pexpect

CASE, PROG = sys.argv[1:3]
ROWS, COLS = 30, 70  # the terminal's own size, to be given back at the end
LOCALES = {'utf-8': 'C.UTF-8', 'gbk': 'zh_CN.GBK'}

# What the terminal answers at start-up: where the cursor went past the em dash (one or two
# columns), and its text and background colours, worded as xterm and as mlterm (ESC \) do.
NARROW, WIDE = '\x1b[1;2R', '\x1b[1;3R'
TEXT, BACKGROUND = '\x1b]10;rgb:dddd/dddd/dddd\x07', '\x1b]11;rgb:1c1c/1c1c/1c1c\x1b\\'
COLOURED = TEXT + BACKGROUND + WIDE

def look(bg, fg): return f'\x1b]11;{bg}\x07\x1b]10;{fg}\x07'
def given_back(colours=''): return colours + f'\x1b[23;0t\x1b[8;{ROWS};{COLS}t'

# A session is read as a list of these names: its console commands, questions and screens.
TOKENS = {'title': '\x1b[22;0t\x1b]0;C++Tavoro程序\x07', 'width': f'\x1b[8;{ROWS};55t',
          'f0': look('#f2f2f2', '#0c0c0c'), 'fa': look('#f2f2f2', '#16c60c'),
          'c': look('#0c0c0c', '#e74856'), 'cls': '\x1b[H\x1b[2J\x1b[3J',
          'restore': given_back('\x1b]10;#dddddd\x07\x1b]11;#1c1c1c\x07'),
          'restore-defaults': given_back('\x1b]110\x07\x1b]111\x07'),
          'restore-uncoloured': given_back(), 'measure': '\r—', 'ask-position': '\x1b[6n',
          'erase': '\r\x1b[K', 'prompt': 'tavoro-test$ ', 'pause': '请按任意键继续. . . ',
          'menu': '欢迎进入Tavoro', '?code': '代码：=====》', '?year': '年份：===》',
          '?wd': '(0~6)：===》', '?month': '（1~12）：===》', '?day': '31）：===》',
          '!code': '代码有误', '!wd': '只有0~6呦~', '!month': '月份输错了呦~',
          '!day': '天呦~，请重新输入！！！', 'year-cal': '年年历表如下：',
          'month-cal': '月 日 历 为：', 'report': '日是', 'bye': '感谢你的使用'}
NAMES = {enc: {text.encode(enc): name for name, text in TOKENS.items()} for enc in LOCALES}
PATTERNS = {enc: re.compile(b'|'.join(map(re.escape, NAMES[enc]))) for enc in LOCALES}

# (what is typed at the menu, what is shown up to the pause that follows)
QUERIES = [('9\r', 'fa !code c'), ('x\r', 'fa !code c'),
           ('1 -2147483648 7\rabc\r6\r', 'fa ?year ?wd cls !wd c ?wd cls !wd c ?wd fa year-cal'),
           ('2 2024 1 0\r2\r', 'fa ?year ?wd fa ?month cls !month c ?month month-cal'),
           ('2 5 3 12\r', 'fa ?year ?wd fa ?month month-cal fa'),
           ('2 2023 0 13\r4\r', 'fa ?year ?wd fa ?month cls !month c ?month month-cal'),
           ('2 2023 0 0\r2\r', 'fa ?year ?wd fa ?month cls !month c ?month month-cal'),
           ('2 2023 0 -1\r1\r', 'fa ?year ?wd fa ?month cls !month c ?month month-cal fa'),
           ('3 2147483647 0 m\r12 32\r31\r',
            'fa ?year ?wd fa ?month cls !month c ?month ?day cls !day c ?day report fa'),
           ('4 2024 2 30\r29\r', 'fa ?year ?month ?day cls !day c ?day report fa')]
START = 'title width f0 menu ?code'
NEXT_MENU = ('k', 'cls menu ?code')
BYE = [('0\r', 'fa c bye pause'), ('k', 'restore')]
SESSION = [step for typed, shown in QUERIES for step in ((typed, shown + ' pause'), NEXT_MENU)]
SESSION += BYE
REJECTED = ('9\r', 'fa !code c pause')
ANSWERED = ('4 2024 2 29\r', 'fa ?year ?month ?day report fa pause')
# The same where the terminal is never recoloured.
UNCOLOURED = {'first': 'title width menu ?code', 'answered': ('4 2024 2 29\r',
              '?year ?month ?day report pause'), 'bye': [('0\r', 'bye pause'),
                                                         ('k', 'restore-uncoloured')]}


def environment(enc='utf-8', **env):
    return {**{k: v for k, v in os.environ.items() if k not in ('NO_COLOR', 'TMUX')},
            'LC_ALL': LOCALES[enc], 'TERM': 'xterm', 'PS1': TOKENS['prompt'], **env}


def modes_of(command):  # the modes of a fresh pseudo-terminal, as the program finds them
    p = pexpect.spawn(command)
    modes = termios.tcgetattr(p.child_fd)
    p.close(force=True)
    return modes


def run(steps, enc='utf-8', answers=COLOURED, first=START, shell=False, ignored=None, **env):
    # Runs tavoro on a pseudo-terminal: each step sends its keys (a number: that signal; None:
    # nothing for a second, in which nothing may be written) and waits for the names it shows.
    # answers: what the terminal sends once asked where the cursor is (None: nothing; a tuple: its
    # parts 10 ms apart); a UTF-8 terminal's wait for them must end within a second. shell: from
    # an interactive bash. ignored: a signal its parent ignores. Returns the output, whether the
    # line modes were given back, and the status or -signal.
    env = environment(enc, **env)
    command = ['bash', '--norc', '--noprofile', '-i'] if shell else [PROG]
    p = pexpect.spawn(command[0], command[1:], env=env, dimensions=(ROWS, COLS),
                      preexec_fn=ignored and (lambda: signal.signal(ignored, signal.SIG_IGN)))
    p.logfile_read, p.timeout, modes = io.BytesIO(), 5, modes_of('cat')
    if shell:
        p.expect_exact(TOKENS['prompt'].encode())
        p.send(PROG + '\r')
    if env['TERM'] != 'dumb':
        p.expect_exact(TOKENS['ask-position'].encode())
        for part in answers if isinstance(answers, tuple) else (answers or '',):
            time.sleep(0.01)
            os.write(p.child_fd, part.encode())
        if enc == 'utf-8':  # the em dash measured, answered or not, is erased at once
            p.expect_exact(TOKENS['erase'].encode(), timeout=1)
    for send, want in [('', first)] + steps:
        p.kill(send) if isinstance(send, int) else p.send(send or '')
        got = [NAMES[enc][p.match.group()] for _ in want.split() if p.expect(PATTERNS[enc]) == 0]
        assert got == want.split(), f'after {send!r}: {got}'
        if send is None:
            silent = p.expect([PATTERNS[enc], pexpect.TIMEOUT], timeout=1) == 1 and not p.before
            assert silent, 'written while waiting at a pause'
    if shell:
        p.send('exit\r')
    p.expect(pexpect.EOF)
    kept = termios.tcgetattr(p.child_fd) == modes
    p.close()
    return p.logfile_read.getvalue(), kept, (p.exitstatus if p.signalstatus is None
                                             else -p.signalstatus)


def sessions():  # the console commands of a whole session, pinned; GBK the same bytes re-encoded
    logs = {enc: run(SESSION, enc) for enc in LOCALES}
    assert all(kept and status == 0 for _, kept, status in logs.values()), logs
    # Only a UTF-8 terminal is asked how wide it draws an em dash.
    utf8 = logs['utf-8'][0].replace(TOKENS['measure'].encode(), b'', 1)
    utf8 = utf8.replace(TOKENS['erase'].encode(), b'', 1)
    assert logs['gbk'][0] == utf8.decode().encode('gbk'), 'zh_CN.GBK locale missing?'


# Keys at a pause: a letter, a Han character, Alt and a letter of two bytes (Alt-é), Up, F1
# (SS3), F5 and Ctrl-Up (CSI with parameters), each followed at once by the answers of a query;
# F5 with its bytes 50 ms apart; a lone Escape.
PAUSES = [REJECTED, (None, '')] + [
    (key + ANSWERED[0], 'cls menu ?code ' + ANSWERED[1])
    for key in ('q', '好', '\x1bé', '\x1b[A', '\x1bOP', '\x1b[15~', '\x1b[1;5A')] + [
    ('\x1b', ''), ('[15~' + ANSWERED[0], 'cls menu ?code ' + ANSWERED[1]),
    ('\x1b', 'cls menu ?code'), ('5\x7f0\r', 'fa c bye pause'), ('k', 'restore')]


def pause():  # waits silently for one key, whole and unechoed; what follows it is answers
    log, kept, status = run(PAUSES)
    assert (TOKENS['pause'] + '\r\n' + TOKENS['cls']).encode() in log and kept and status == 0


def endings():  # by code 0, Ctrl-D, Ctrl-C, Ctrl-\ and SIGTERM, at a question and at a pause
    endings = [(BYE, 0), ([('4 2024 2\r', 'fa ?year ?month ?day'), ('\x04', 'restore')], 0)]
    for at in [], [REJECTED]:
        for how, number in ('\x03', signal.SIGINT), ('\x1c', signal.SIGQUIT), (
                signal.SIGTERM, signal.SIGTERM):
            endings.append((at + [(how, 'restore')], -number))
    for steps, status in endings:
        log, kept, ended = run(steps)
        assert log.endswith(TOKENS['restore'].encode()) and kept and ended == status, steps
    # A signal that whoever started tavoro ignores (nohup, trap "" INT) stays ignored.
    log, kept, ended = run([('\x03', '')] + BYE, ignored=signal.SIGINT)
    assert kept and ended == 0


def width():  # in a real terminal, tmux 55 columns wide: measured, recoloured and given back
    socket = f'/tmp/tavoro-tmux-{os.getpid()}'  # a server of its own, for parallel runs

    def tmux(*args):
        return subprocess.run(['tmux', '-S', socket, '-f', '/dev/null', *args], check=True,
                              capture_output=True, text=True).stdout

    def pane():  # whether tavoro has ended, the title, the text and background colours
        return tmux('display', '-p', '-t', 't',
                    '#{pane_dead}|#{pane_title}|#{pane_fg}|#{pane_bg}').strip().split('|')

    def shown(keys, end):  # the whole pane once it ends in end (None: once tavoro has ended)
        tmux('send-keys', '-t', 't', '-l', keys)
        for _ in range(100):
            time.sleep(0.05)
            screen = tmux('capture-pane', '-p', '-S', '-', '-t', 't')
            if screen.rstrip().endswith(end) if end else pane()[0] == '1':
                return screen
        raise AssertionError(f'after {keys!r}: {screen}')

    def columns(line): return sum(1 + (unicodedata.east_asian_width(c) in 'WF') for c in line)
    tmux('new-session', '-d', '-s', 't', '-x', '55', '-y', '200',
         f"printf '\\033]2;before\\007'; exec {PROG}", ';', 'set', '-w', 'remain-on-exit', 'on')
    try:
        assert '—' not in shown('', '》'), 'the em dash measured at start-up left on the screen'
        assert pane() == ['0', 'C++Tavoro程序', '#0c0c0c', '#f2f2f2'], pane()  # black on white
        # tmux draws an em dash one column wide: 42 of them, one column past the grid.
        rules = {columns(line) for line in shown('1 2019 2\r', '. .').split('\n') if '—' in line}
        assert rules == {43}, rules
        for key, end in ('k', '》'), ('0\r', '. .'), ('k', None):
            shown(key, end)
        assert pane() == ['1', 'before', 'default', 'default'], pane()  # given back
    finally:
        tmux('kill-server')
        os.remove(socket)  # left behind by the server


def em_dash():  # rule lines 43 columns wide whether the terminal draws an em dash in 1 or 2
    year = ('1 2019 2\r', 'fa ?year ?wd fa year-cal pause')
    ahead = ('4 2024 3 1\r', START + ' fa ?year ?month ?day report fa pause')
    for report, steps, dashes, first in [
            (NARROW, [year], 42, START), (WIDE, [year], 21, START),
            ('', [year], 21, START),  # no answer to the position request
            (ahead[0] + NARROW, [NEXT_MENU, year], 42, ahead[1])]:  # answers typed ahead of it
        log, kept, status = run(steps + [NEXT_MENU] + BYE, answers=TEXT + BACKGROUND + report,
                                first=first)
        drawn = {len(rule) // 3 for rule in re.findall(rb'\n ((?:\xe2\x80\x94)+)\r', log)}
        assert drawn == {dashes} and kept and status == 0, (report, drawn)


def colours():  # recoloured only where tavoro can set the terminal's own colours back
    plain = {'first': UNCOLOURED['first'], 'answers': WIDE}
    # Nothing reported: no colour is ever set, and none is given back.
    run(UNCOLOURED['bye'], **plain)
    # tmux reports nothing but honours the requests to go back to its default colours; a
    # terminal started from a tmux pane inherits TMUX but names itself in TERM.
    tmux = '/tmp/tmux-0/default,1,0'
    run([('0\r', 'fa c bye pause'), ('k', 'restore-defaults')], answers=WIDE, TMUX=tmux,
        TERM='screen-256color')
    run(UNCOLOURED['bye'], TMUX=tmux, **plain)
    # GNU screen: only the background reported, after screen's own position report. It is taken
    # then, never echoed nor typed, and one colour alone does not allow the looks.
    log, _, _ = run([UNCOLOURED['answered'], NEXT_MENU] + UNCOLOURED['bye'],
                    first=UNCOLOURED['first'], answers=(WIDE, BACKGROUND))
    assert b'rgb:' not in log, 'the late answer echoed'


def late_reports():  # answers of the terminal after the wait are never answers nor keys
    late, answered = TEXT + BACKGROUND + NARROW, UNCOLOURED['answered']
    silent = {'answers': None, 'first': UNCOLOURED['first']}
    # At a question: taken out of the line, the answers around them kept.
    run([(late + answered[0], answered[1]), NEXT_MENU] + UNCOLOURED['bye'], **silent)
    # At a pause: no key, so the pause waits on; but once it has come, its bytes are Shift-F3.
    run([('9\r', '!code pause'), (late, ''), (None, ''), (NARROW, 'cls menu ?code')] +
        UNCOLOURED['bye'], **silent)
    # Ctrl-D on a line that holds only a report still ends the input.
    run([(BACKGROUND + '\x04', 'restore-uncoloured')], **silent)


def stop():  # Ctrl-Z at a question and at a pause gives the terminal back; fg asks again
    run([('\x1a', 'restore prompt'), ('fg\r', 'title width f0 ?code'), REJECTED,
         ('\x1a', 'restore prompt'), ('fg\r', 'title width c pause'), (None, ''),
         NEXT_MENU, ('0\r', 'fa c bye pause'), ('k', 'restore prompt')], shell=True)


def conventions():  # TERM=dumb: no control sequences, yet the pause waits; NO_COLOR: no looks
    log, kept, status = run([('9\r', '!code pause'), (None, ''), ('k', 'menu ?code'),
                             ('0\r', 'bye pause'), ('k', '')], first='menu ?code', TERM='dumb')
    assert b'\x1b' not in log and kept and status == 0
    log, kept, status = run([('9\r', '!code pause'), NEXT_MENU] + UNCOLOURED['bye'],
                            first=UNCOLOURED['first'], NO_COLOR='1')
    assert b'\x1b]1' not in log and kept and status == 0
    run(BYE, NO_COLOR='')
    # Output to a file, input a terminal: no control sequence, yet every pause waits for its key;
    # Ctrl-Z (here, with no shell to stop for, it goes on at once) writes nothing into the file.
    with tempfile.NamedTemporaryFile() as out:
        p = pexpect.spawn('sh', ['-c', f'exec "$0" > {out.name}', PROG], env=environment())
        for key in '', '\x1a', '9\r', 'k', '0\r', 'k':
            assert p.isalive(), f'ended before {key!r}'
            p.send(key)
            time.sleep(0.3)
        p.expect(pexpect.EOF)
        p.close()
        text = out.read().decode()
        assert p.exitstatus == 0 and '\x1b' not in text and text.count(TOKENS['pause']) == 2
        assert text.count(TOKENS['?code']) == 2, text


globals()[CASE]()
