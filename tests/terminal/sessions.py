# Whole tavoro sessions on a pseudo-terminal and in a 55-column tmux window.
# Usage: LC_ALL=C.UTF-8 sessions.py CASE PROGRAM, CASE one of sessions, pause, endings, width.
import io, os, re, signal, subprocess, sys, termios, time
import pexpect

CASE, PROG = sys.argv[1:3]
ROWS, COLS = 30, 70  # the terminal's own size, to be given back at the end
LOCALES = {'utf-8': 'C.UTF-8', 'gbk': 'zh_CN.GBK'}
def look(bg, fg): return f'\x1b]11;{bg}\x07\x1b]10;{fg}\x07'
# A session reduced to its console commands, questions, complaints and answers.
TOKENS = {'title': '\x1b[22;0t\x1b]0;C++Tavoro程序\x07', 'width': f'\x1b[8;{ROWS};55t',
          'f0': look('#f2f2f2', '#0c0c0c'), 'fa': look('#f2f2f2', '#16c60c'),
          'c': look('#0c0c0c', '#e74856'), 'cls': '\x1b[H\x1b[2J\x1b[3J',
          'restore': f'\x1b]110\x07\x1b]111\x07\x1b[23;0t\x1b[8;{ROWS};{COLS}t',
          'pause': '请按任意键继续. . . ', 'menu': '欢迎进入Tavoro', '?code': '代码：=====》',
          '?year': '年份：===》', '?wd': '(0~6)：===》', '?month': '（1~12）：===》',
          '?day': '31）：===》', '!code': '代码有误', '!wd': '只有0~6呦~', '!month': '月份输错了呦~',
          '!day': '天呦~，请重新输入！！！', 'year-cal': '年年历表如下：', 'month-cal': '月 日 历 为：',
          'report': '日是', 'bye': '感谢你的使用'}
NAMES = {enc: {text.encode(enc): name for name, text in TOKENS.items()} for enc in LOCALES}
PATTERNS = {enc: re.compile(b'|'.join(map(re.escape, NAMES[enc]))) for enc in LOCALES}
# (what is typed at the menu, what is shown up to the pause that follows)
QUERIES = [('9\r', 'fa !code c'), ('x' * 60 + '\r', 'fa !code c'),
           ('1 -2147483648 7\rabc\r6\r', 'fa ?year ?wd cls !wd c ?wd cls !wd c ?wd fa year-cal'),
           ('2 2024 1 0\r2\r', 'fa ?year ?wd fa ?month cls !month c ?month month-cal'),
           ('2 5 3 12\r', 'fa ?year ?wd fa ?month month-cal fa'),
           ('3 2147483647 0 m\r12 32\r31\r',
            'fa ?year ?wd fa ?month cls !month c ?month ?day cls !day c ?day report fa'),
           ('4 2024 2 30\r29\r', 'fa ?year ?month ?day cls !day c ?day report fa')]
SESSION = [('', 'title width f0 menu ?code')] + [
    step for q, shown in QUERIES for step in ((q, shown + ' pause'), ('k', 'cls menu ?code'))
] + [('0\r', 'fa c bye pause'), ('k', 'restore')]

def run(steps, enc='utf-8'):  # output, terminal modes given back, exit status or -signal
    p = pexpect.spawn(PROG, env=dict(os.environ, LC_ALL=LOCALES[enc]), dimensions=(ROWS, COLS))
    p.logfile_read, p.timeout, modes = io.BytesIO(), 5, termios.tcgetattr(p.child_fd)
    for send, want in SESSION[:1] + steps:  # a signal number sends it; None waits a second
        p.kill(send) if isinstance(send, int) else p.send(send or '')
        got = [NAMES[enc][p.match.group()] for _ in want.split() if p.expect(PATTERNS[enc]) == 0]
        assert got == want.split(), f'after {send!r}: {got}'
        assert send is not None or p.expect([PATTERNS[enc], pexpect.TIMEOUT], timeout=1) == 1 and (
            not p.before), 'written while waiting at a pause'
    p.expect(pexpect.EOF)
    kept = termios.tcgetattr(p.child_fd) == modes
    p.close()
    status = p.exitstatus if p.signalstatus is None else -p.signalstatus
    return p.logfile_read.getvalue(), kept, status

def sessions():  # the same session in both encodings, in a pipe and on a pseudo-terminal
    typed = ''.join(send for send, _ in SESSION if send.endswith('\r')).replace('\r', '\n')
    piped, ptys = {}, {}
    for enc, locale in LOCALES.items():
        piped[enc] = subprocess.run([PROG], input=typed.encode(), capture_output=True, check=True,
                                    env=dict(os.environ, LC_ALL=locale)).stdout
        ptys[enc], kept, status = run(SESSION[1:], enc)
        assert kept and status == 0, enc
    for out in piped, ptys:
        assert out['gbk'] == out['utf-8'].decode().encode('gbk'), 'zh_CN.GBK locale missing?'
    assert b'\x1b' not in piped['utf-8']
    # Every calendar field is 6 GBK bytes: 4 spaces before a weekday name.
    head = ''.join('    ' + name for name in '日一二三四五六').encode('gbk')
    rule = re.escape((' ' + '—' * 21).encode('gbk'))
    grids = re.findall(re.escape(head) + b'\n(.*?)\n' + rule, piped['gbk'], re.S)
    assert len(grids) == 14 and all(re.fullmatch(rb'( {6}| {4}[1-3]\d| {5}\d)*', row)
                                    for grid in grids for row in grid.split(b'\n'))

# The pause waits without writing, takes one key, whole and unechoed, and leaves
# what is typed after it for the questions; the erase key then works again.
REJECTED = ('9\r', 'fa !code c pause')
PAUSES = [REJECTED, (None, ''), ('q', 'cls menu ?code'), REJECTED,
          ('好4 2024 2 29\r', 'cls menu ?code fa ?year ?month ?day report fa pause'),
          ('\x1b', 'cls menu ?code'), REJECTED, ('\x1b[A', 'cls menu ?code'),
          ('5\x7f0\r', 'fa c bye pause'), ('k', 'restore')]

def pause():
    log, kept, status = run(PAUSES)
    assert (TOKENS['pause'] + '\r\n' + TOKENS['cls']).encode() in log and kept and status == 0

ENDINGS = [([('0\r', 'fa c bye pause'), ('k', 'restore')], 0),
           ([('4 2024 2\r', 'fa ?year ?month ?day'), ('\x04', 'restore')], 0)] + [
           (at + [(how, 'restore')], -number) for at in ([], [REJECTED])
           for how, number in (('\x03', signal.SIGINT), (signal.SIGTERM, signal.SIGTERM))]

def endings():  # by code 0, Ctrl-D, Ctrl-C and SIGTERM, at a question and at a pause
    for steps, status in ENDINGS:
        log, kept, ended = run(steps)
        assert log.endswith(TOKENS['restore'].encode()) and kept and ended == status, steps

def width():  # the same queries in tmux: no line but the 60 typed x's wraps in 55 columns
    socket = f'/tmp/tavoro-tmux-{os.getpid()}'  # a server of its own, for parallel runs
    def tmux(*args):
        return subprocess.run(['tmux', '-S', socket, '-f', '/dev/null', *args], check=True,
                              capture_output=True, text=True).stdout
    def show(keys, end):  # the pane once its text ends in end, and its line count when joined
        tmux('send-keys', '-t', 't', '-l', keys)
        for _ in range(100):
            time.sleep(0.05)
            screen = tmux('capture-pane', '-p', '-S', '-', '-t', 't')
            if screen.rstrip().endswith(end) if end else pane()[1] == '1':
                return screen, tmux('capture-pane', '-p', '-J', '-S', '-', '-t', 't').count('\n')
        raise AssertionError(f'after {keys!r}: {screen}')
    def pane(): return tmux('display', '-p', '-t', 't', '#{cursor_x}|#{pane_dead}|#{pane_title}|'
                            '#{pane_fg}|#{pane_bg}').strip().split('|')
    tmux('new-session', '-d', '-s', 't', '-x', '55', '-y', '200',
         f"printf '\\033]2;before\\007'; exec {PROG}", ';', 'set', '-w', 'remain-on-exit', 'on')
    try:
        show('', '》')
        assert pane() == ['35', '0', 'C++Tavoro程序', '#0c0c0c', '#f2f2f2'], pane()  # black on white
        for typed in [typed for typed, _ in QUERIES] + ['0\r']:
            screen, joined = show(typed, '. .')
            assert (joined < screen.count('\n')) == typed.startswith('x' * 60), screen
            assert typed == '0\r' or show('k', '》') and pane()[0] == '35', 'prompt not 35 wide'
        show('k', None)
        assert pane()[1:] == ['1', 'before', 'default', 'default'], 'not given back'
    finally:
        tmux('kill-server')
        os.remove(socket)  # left behind by the server

globals()[CASE]()
