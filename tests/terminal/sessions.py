# Whole tavoro sessions on a pseudo-terminal, one behaviour of the terminal
# console a case. Usage: LC_ALL=C.UTF-8 sessions.py CASE PROGRAM
import io, os, re, signal, subprocess, sys, tempfile, termios, time
import pexpect
from functools import partial

CASE, PROG = sys.argv[1:3]
ROWS, COLS = 30, 70  # the terminal's own size, to be given back at the end
LOCALES = {'utf-8': 'C.UTF-8', 'gbk': 'zh_CN.GBK'}



def terminal(asked, dash=1, first=1, unparsed=0):
    # A terminal's answers to the start-up questions asked: each position request answered with
    # the column it counts from first (an em dash drawn dash columns wide).
    column, out = first, ''
    for one in re.findall(r'\r|—|\x1b\[6n', asked):
        out += f'\x1b[1;{column}R' if one == '\x1b[6n' else ''
        column = first if one == '\r' else column + {'—': dash, '\x1b[6n': 0}.get(one, unparsed)
    return (out,)


# The looks as text attributes, the console's F0, FA and C; own: the terminal's own. A look change
# paints the window again: cleared whole where tavoro's text starts at its top (then the text since
# the clearing again), else from where tavoro's text began (\x1b[J).
SGR = {'f0': '\x1b[0;30;107m', 'fa': '\x1b[0;92;107m', 'c': '\x1b[0;91;40m', 'own': '\x1b[0m'}
CLEAR = '\x1b[H\x1b[2J\x1b[3J'
LOOKS = {name: (f'\x1b[H{sgr}\x1b[2J\x1b[3J', f'{sgr}\x1b[J') for name, sgr in SGR.items()}

# A session is read as a list of these names: its console commands, questions and screens.
TOKENS = {'title': '\x1b[22;0t\x1b]0;C++Tavoro程序\x07', 'width': f'\x1b[8;{ROWS};55t', **LOOKS,
          'cls': (CLEAR, *(sgr + CLEAR for sgr in SGR.values())), 'restore': '\x1b[23;0t',
          'size-back': f'\x1b[8;{ROWS};{COLS}t', 'measure': '\r\x1b[6n—\x1b[6n',
          'ask-position': '\x1b[6n', 'erase': '\r\x1b[K', 'prompt': 'tavoro-test$ ',
          'pause': ('请按任意键继续. . . ', '请按任意键继续. . . \x1b[K\x1b[0m'), 'menu': '欢迎进入Tavoro', '?code': '代码：=====》',
          '?year': '年份：===》', '?wd': '(0~6)：===》', '?month': '（1~12）：===》', '?day': '31）：===》',
          '!code': '代码有误', '!wd': '只有0~6呦~', '!month': '月份输错了呦~',
          '!day': '天呦~，请重新输入！！！', 'year-cal': '年年历表如下：',
          'month-cal': '月 日 历 为：', 'report': '日是', 'bye': '感谢你的使用'}
NAMES = {enc: {text.encode(enc): name for name, texts in TOKENS.items()
               for text in ((texts,) if isinstance(texts, str) else texts)} for enc in LOCALES}
PATTERNS = {enc: re.compile(b'|'.join(map(re.escape, sorted(NAMES[enc], key=len, reverse=True))))
            for enc in LOCALES}
SHOWN = ('title', 'width', 'cls', 'restore', 'size-back', 'measure', 'ask-position', 'erase', 'prompt',
         *LOOKS)


def painted(want, window, looks=True):
    # The names a step shows, each look change (and the give-back, in the terminal's own colours)
    # followed by the window's text painted again: what was shown since the last clearing.
    names, redrawn = [], False
    for name in want.split():
        if name == 'restore-uncoloured':  # given back before any look
            names.append('restore')
            continue
        if name in ('f0', 'fa', 'c') and not looks:
            continue
        if name in ('f0', 'fa', 'c') or (name == 'restore' and looks):
            names += ['own'] * (name == 'restore') + [name] * (name != 'restore') + window
        names += [name] * (name not in ('f0', 'fa', 'c'))
        # erase: the line editor draws its line again, a question already in the window
        window[:] = [] if name in ('cls', 'title', 'restore') else window + [name] * (
            name not in SHOWN and not redrawn)
        redrawn = name == 'erase'
    return names

# (what is typed at the menu, what is shown up to the pause that follows); the month calendars
# are of every length, each after a month refused and asked again
AGAIN = 'fa ?year ?wd fa ?month cls !month c ?month'
QUERIES = [('9\r', 'fa !code c'), ('x\r', 'fa !code c'),
           ('1 -2147483648 7\rabc\r6\r', 'fa ?year ?wd cls !wd c ?wd cls !wd c ?wd fa year-cal'),
           ('2 5 3 12\r', 'fa ?year ?wd fa ?month month-cal fa'),
           ('2 2024 1 0\r2\r', f'{AGAIN} month-cal'), ('2 2023 0 13\r4\r', f'{AGAIN} month-cal'),
           ('2 2023 0 0\r2\r', f'{AGAIN} month-cal'), ('2 2023 0 -1\r1\r', f'{AGAIN} month-cal fa'),
           ('3 2147483647 0 m\r12 32\r31\r', f'{AGAIN} ?day cls !day c ?day report fa'),
           ('4 2024 2 30\r29\r', 'fa ?year ?month ?day cls !day c ?day report fa')]
START = 'title width f0 menu ?code'
NEXT_MENU = ('k', 'cls menu ?code')
BYE = [('0\r', 'fa c bye pause'), ('k', 'restore')]
SESSION = [step for keys, shown in QUERIES for step in ((keys, f'{shown} pause'), NEXT_MENU)] + BYE
REJECTED = ('9\r', 'fa !code c pause')
ANSWERED = ('4 2024 2 29\r', 'fa ?year ?month ?day report fa pause')


FOUND = termios.tcgetattr(os.openpty()[1])  # the line modes of a fresh pseudo-terminal


def expect(p, pattern, enc, what, timeout=-1):  # the match; else what came (the output's end)
    try:
        return p.expect(pattern, timeout)
    except (pexpect.TIMEOUT, pexpect.EOF) as ended:
        came = p.logfile_read.getvalue()[-300:].decode(enc, 'replace')
        raise AssertionError(f'waited for {what}; came {came!r}, then {type(ended).__name__}')


def run(steps, enc='utf-8', answers=terminal, delay=0, within=0.04, first=START, looks=True,
        shell=False, sh='', out=None, status=0, interrupt=False, job=(), found=FOUND, **env):
    # Runs tavoro on a pseudo-terminal: each step sends its keys (a number: that signal; a
    # function: done to the terminal; None: nothing for a second, in which nothing may be written)
    # and waits for the names it shows (looks: recoloured). answers: the parts, 10 ms apart (a
    # number: that many seconds apart), that the terminal sends delay seconds after the questions,
    # to what it was asked (interrupt: Ctrl-C typed first); a UTF-8 terminal's wait for them must
    # end within that many seconds of the questions. shell: from an interactive bash (job: keys
    # typed to it after tavoro's name, each with the text awaited after it); else started
    # by sh after the commands sh, its output to the file out (then each key 0.3 s apart). It ends
    # with status (-signal), the line modes found (as sh left them). Returns what came to the terminal.
    read = ('NO_COLOR', 'TMUX', 'STY', 'SSH_CONNECTION', 'SSH_TTY', 'VIM_TERMINAL')  # per case
    env = {**{k: v for k, v in os.environ.items() if k not in read},
           'LC_ALL': LOCALES[enc], 'TERM': 'xterm', 'PS1': TOKENS['prompt'], **env}
    env = {k: v for k, v in env.items() if v is not None}
    command = (['bash', '--norc', '--noprofile', '-i'] if shell else
               ['sh', '-c', f'{sh}exec "$0"' + (f' > {out}' if out else ''), PROG])
    p = pexpect.spawn(command[0], command[1:], env=env, dimensions=(ROWS, COLS))
    p.logfile_read, p.timeout = io.BytesIO(), 5
    if shell:  # typed ahead of bash's prompt
        p.send(PROG + ('' if job else '\r'))
        for keys, shown in job:  # shown awaited; else half a second to act on what was typed
            p.send(keys)
            expect(p, re.escape(shown.encode(enc)), enc, shown) if shown else time.sleep(0.5)
    erase = re.escape(TOKENS['erase'].encode())
    if shell and enc != 'utf-8':  # asked nothing: bash's prompt, then tavoro's screen
        expect(p, re.escape(TOKENS['prompt'].encode(enc)), enc, 'the prompt')
    if env.get('TERM', 'dumb') != 'dumb' and not out and enc == 'utf-8':
        expect(p, re.escape(TOKENS['ask-position'].encode()), enc, 'the questions')
        asked, questions = time.monotonic(), (p.before + p.after + p.buffer).decode(enc, 'replace')
        if interrupt:
            p.send('\x03')
        # Erased before answers that come after delay: gone on within it.
        erased = delay and p.expect([erase, pexpect.TIMEOUT], timeout=delay) == 0
        for index, part in enumerate(answers(questions)):
            if isinstance(part, float):
                time.sleep(part)
                continue
            time.sleep(0.01 if index else 0)
            os.write(p.child_fd, part.encode())
        if not erased:  # the em dash measured, answered or not, is erased
            expect(p, erase, enc, 'the em dash erased', timeout=2)
            assert (took := time.monotonic() - asked) < within, f'went on {took:.3f} s after asking'
    window = []
    for send, want in [('', first)] + steps:
        want = ' '.join(painted(want, window, looks))
        p.kill(send) if isinstance(send, int) else send(p) if callable(send) else p.send(send or '')
        time.sleep(0.3 if out else 0)
        got = [NAMES[enc][p.match.group()] for _ in want.split()
               if expect(p, PATTERNS[enc], enc, f'{want} after {send!r}') == 0]
        assert got == want.split(), f'after {send!r} waited for {want}; came {" ".join(got)}'
        if send is None:  # not a byte for a second
            assert p.expect([b'.', pexpect.TIMEOUT], timeout=1) == 1, 'written at a pause'
    expect(p, pexpect.EOF, enc, 'the end')
    kept = found is None or termios.tcgetattr(p.child_fd) == found
    p.close()
    got = p.exitstatus if p.signalstatus is None else -p.signalstatus
    assert kept and got == status, f'ended with {got}, line modes {"as found" if kept else "not"}'
    return p.logfile_read.getvalue()


def unpainted(log):  # the text and echo, without the looks' attributes and erasures
    return re.sub(rb'\x1b\[[0-9;]*m|\x1b\[K', b'', log)


def sessions():  # the console commands of a whole session, pinned; GBK the same bytes re-encoded
    logs = {enc: run(SESSION, enc, partial(terminal, dash=2)) for enc in LOCALES}
    # Only a UTF-8 terminal is asked how wide it draws an em dash.
    utf8 = logs['utf-8'].replace(TOKENS['measure'].encode(), b'', 1)
    utf8 = utf8.replace(TOKENS['erase'].encode(), b'', 1)
    assert logs['gbk'] == utf8.decode().encode('gbk'), 'zh_CN.GBK locale missing?'


# Keys at a pause (the terminals' own keys: see keys): a letter and Up, each followed at once by the
# answers of a query; Alt-] alone (ESC ], as a colour report begins, but none is awaited any more);
# F5 with its bytes 50 ms apart; a lone Escape.
PAUSES = [REJECTED, (None, '')] + [
    (key + ANSWERED[0], 'cls menu ?code ' + ANSWERED[1]) for key in ('q', '\x1b[A')] + [
    ('\x1b]', 'cls menu ?code'), ANSWERED,
    ('\x1b', ''), ('[15~' + ANSWERED[0], 'cls menu ?code ' + ANSWERED[1]),
    ('\x1b', 'cls menu ?code'), ('5\x7f0\r', 'fa c bye pause'), ('k', 'restore')]


def pause():  # waits silently for one key, whole and unechoed; what follows it is answers
    assert re.search(re.escape(TOKENS['pause'][0].encode()) + rb'[^\r]*\r\n[^\r\n]*' + re.escape(CLEAR.encode()),
                     run(PAUSES))


# The terminals of the README's table by their terminfo entries (qterminal, zutty, cool-retro-term,
# vim's and neovim's terminals and ssh say xterm-256color or xterm), and the Linux console.
TERMINFO = ('xterm xterm-256color rxvt-unicode st mlterm vte konsole xterm-kitty alacritty foot '
            'terminology screen tmux dvtm eterm-color mosh linux').split()


def key_table():  # every key string of those entries (infocmp's escapes read), but the mouse's
    named = {'E': '\x1b', 'e': '\x1b', 'n': '\n', 'l': '\n', 'r': '\r', 't': '\t', 'b': '\b', 'f': '\f',
             's': ' ', '0': '\x80'}
    unescape = lambda m: (chr(int(m[0][1:], 8) or 128) if m[0][1:].isdigit() else
                          named.get(m[0][1], m[0][1]) if m[0][0] == '\\' else
                          '\x7f' if m[0] == '^?' else chr(ord(m[0][1]) & 0x1f))
    keys = set()
    for term in TERMINFO:
        entry = subprocess.run(['infocmp', '-1', '-x', term], capture_output=True, text=True)
        if entry.returncode:
            sys.exit(print(f'skipped: no terminfo entry {term} (ncurses-term, kitty-terminfo, '
                           'foot-terminfo)') or 77)
        for name, value in re.findall(r'^\s+(k\w+)=(.+),$', entry.stdout, re.M):
            keys.add(re.sub(r'\\[0-7]{3}|\\.|\^.', unescape, value) if name != 'kmous' else '')
    return sorted(keys - {''})


def keys():  # every key of the terminals' own tables, a Han character and Alt-é, taken whole
    # at a pause, alone; split in the encoding tavoro writes, UTF-8 under the C locale too
    signals = {chr(termios.tcgetattr(os.openpty()[1])[6][c][0])
               for c in (termios.VINTR, termios.VQUIT, termios.VSUSP)}  # the Linux console's ^Z
    pressed = [key for key in key_table() + ['好', '\x1bé'] if not signals & set(key)]
    run([REJECTED] + [(key + ANSWERED[0], 'cls menu ?code ' + ANSWERED[1]) for key in pressed]
        + [NEXT_MENU] + BYE, LC_ALL='C')


def endings():  # by code 0, Ctrl-D, Ctrl-C, Ctrl-\ and SIGTERM, at a question and at a pause
    endings = [(BYE, 0), ([('4 2024 2\r', 'fa ?year ?month ?day'), ('\x04', 'restore')], 0)] + [
        (at + [(how, 'restore')], -number) for at in ([], [REJECTED]) for how, number in
        (('\x03', signal.SIGINT), ('\x1c', signal.SIGQUIT), (signal.SIGTERM, signal.SIGTERM))]
    endings.append(([('4 2024\r', 'fa ?year ?month'), (signal.SIGHUP, 'restore')], -signal.SIGHUP))
    for steps, status in endings:
        assert run(steps, status=status).endswith(TOKENS['restore'].encode()), steps
    # The size found is given back where the window has the size asked for, and not where the user
    # resized it since.
    honoured = (lambda p: p.setwinsize(ROWS, 55), 'f0 erase ?code')
    run([honoured, BYE[0], ('k', 'restore size-back')])
    assert run([honoured, (lambda p: p.setwinsize(40, 90), honoured[1])] + BYE).endswith(
        TOKENS['restore'].encode()), 'a resized window given a size back'
    # A signal that whoever started tavoro ignores (nohup, trap "" INT) stays ignored.
    run([('\x03', '')] + BYE, sh='trap "" INT; ')
    # Ctrl-C while Ctrl-Z's give-back waits for a terminal that reads nothing (the output of four
    # year calendars unread, kept by NOFLSH): the give-back is done whole, then tavoro ends by it.
    after = lambda keys, seconds: (lambda p: (p.send(keys), time.sleep(seconds)), '')
    noflsh = FOUND[:3] + [FOUND[3] | termios.NOFLSH] + FOUND[4:]
    log = run([after('1 2019 2\rk' * 4, 1), after('\x1a', 0.5), ('\x03', '')], sh='stty noflsh; ',
              status=-signal.SIGINT, found=noflsh)
    assert log.endswith(TOKENS['restore'].encode()), 'given back in part'


def em_dash():  # rule lines 43 columns wide whether the terminal draws an em dash in 1 or 2
    year = ('1 2019 2\r', 'fa ?year ?wd fa year-cal pause')
    for name, dashes, case in [
            ('narrow', 42, {}), ('wide', 21, {'answers': partial(terminal, dash=2)}),
            ('no position', 21, {'answers': lambda asked: (), 'within': 0.3}),
            # typed ahead, a Backspace among it, honoured as the terminal would have
            ('typed ahead', 42, {'answers': lambda asked: ('1 2018\x7f9 2\r',) + terminal(asked),
                                 'first': f'{START} {year[1]}'}),
            ('counted from 0 (dvtm)', 42, {'answers': partial(terminal, first=0)}),
            # across ssh, answered after 300 ms: waited for, and gone on with at once
            ('ssh', 42, {'delay': 0.3, 'within': 0.6, 'SSH_CONNECTION': '10.0.0.1 1 10.0.0.2 22'}),
            ('ssh with a terminal', 42, {'delay': 0.3, 'within': 0.6, 'SSH_TTY': '/dev/pts/1'})]:
        log = unpainted(run([NEXT_MENU] * ('first' in case) + [year, NEXT_MENU] + BYE, **case))
        drawn = {len(rule) // 3 for rule in re.findall(rb'\n ((?:\xe2\x80\x94)+)\r', log)}
        assert drawn == {dashes}, f'{name}: rule lines of {drawn} em dashes, not {dashes}'
        assert b'rgb:' not in log and b'^[' not in log, f'{name}: an answer echoed'


def colours():  # the looks never outlive tavoro, and a resized window is painted again
    # Killed outright at a question after a look change: the terminal's default colours were never
    # changed (no OSC 10 or 11) and each piece ended with its own attributes, so what the shell
    # writes next shows in them.
    def kill(p):
        found = subprocess.run(['ps', '--ppid', str(p.pid), '-o', 'pid='], capture_output=True, text=True)
        os.kill(int(found.stdout), signal.SIGKILL)
    log = run([('4 2024\r', 'fa ?year ?month'), (kill, 'prompt'), ('exit\r', '')], shell=True, found=None,
              status=128 + signal.SIGKILL)
    assert not re.search(rb'\x1b\]1?1[01]', log), 'the default colours changed'
    after = log[:log.rindex(TOKENS['prompt'].encode())]
    assert re.findall(rb'\x1b\[[0-9;]*m', after)[-1] == SGR['own'].encode(), 'left in a look'
    # Resized at a question and at a pause: the window's text painted again in the look in force.
    resized = lambda columns, line: (lambda p: p.setwinsize(ROWS, columns), 'fa' + line)
    run([('4 2024\r', 'fa ?year ?month'), resized(60, ' erase ?month'), ('2 29\r', '?day report fa pause'),
         resized(65, ''),
         NEXT_MENU] + BYE)
    # dvtm draws eight colours: the looks in their dark forms, never a bright text it would draw
    # in its own colour on black.
    typed = lambda keys: (lambda p: (p.send(keys), time.sleep(0.3)), '')
    eight = run([typed(keys) for keys in ('9\r', 'k', '0\r', 'k')], first='', TERM='dvtm')
    assert b'\x1b[0;31;40m' in eight and b'\x1b[0;91;40m' not in eight, 'bright colours for dvtm'
    # Inside GNU screen, which erases in its own background, a clearing paints every row with spaces.
    spaced = run([typed(keys) for keys in ('4 2024 13\r', '2 1\r', 'k', '0\r', 'k')], first='',
                 STY='1.pts-0.host')
    assert f'\x1b[{ROWS}H{" " * COLS}'.encode() in spaced, 'empty cells left unpainted in screen'


def late_reports():  # answers of the terminal after the wait are never answers nor keys
    late = '\x1b[1;1R\x1b[1;2R'
    silent = {'answers': lambda asked: (), 'within': 0.3}
    # At a question: taken out of the line, the answers around them kept.
    run([(late + ANSWERED[0], ANSWERED[1]), NEXT_MENU] + BYE, **silent)
    # At a pause: no key, so the pause waits on, even for one arriving in two parts 0.3 s apart;
    # but once they have come, Shift-F3 is a key.
    slowly = (lambda p: (p.send(late[:9]), time.sleep(0.3), p.send(late[9:])), '')
    run([REJECTED, slowly, (None, ''), ('\x1b[1;2R', 'cls menu ?code')] + BYE, **silent)
    # Ctrl-D on a line that holds only a report still ends the input.
    run([(late + '\x04', 'restore')], **silent)
    # A local terminal that answers after 300 ms: the menu within a quarter of a second.
    run(BYE, delay=0.3, within=0.3)
    # An answer cut by the wait: its start is no typing, and it is taken whole once the rest comes.
    def cut(asked):
        answered = terminal(asked)[0]
        at = answered.rindex('\x1b[') + 3
        return answered[:at], 0.35, answered[at:]
    run([(ANSWERED[0], ANSWERED[1]), NEXT_MENU] + BYE, answers=cut, within=0.4)
    # Ctrl-C while the answers are on their way: they are taken before tavoro ends, and none
    # reaches the shell's command line.
    log = run([('exit\r', '')], delay=0.15, within=0.3, first='restore prompt', looks=False, shell=True,
              interrupt=True, status=128 + signal.SIGINT)
    assert b'command not found' not in log, 'an answer left to the shell'


def stop():  # Ctrl-Z at a question and at a pause gives the terminal back; fg asks again
    for enc in LOCALES:
        # bg: nothing of tavoro's while it runs in the background; fg shows the question again.
        run([('\x1a', 'restore prompt'), ('bg\r', 'prompt'), (None, ''),
             ('fg\r', 'title width f0 ?code erase ?code'), REJECTED,
             ('\x1a', 'restore prompt'), ('fg\r', 'title width c pause'), (None, ''),
             NEXT_MENU, BYE[0], ('k', 'restore prompt'), ('exit\r', '')], enc, shell=True)
    # After fg the line modes come first, then tavoro's title, look and question.
    mark = b'\x1b_unedited\x1b\\'
    log = run([('\x1a', 'restore prompt'), ('fg\r', 'title width f0 ?code erase ?code'), BYE[0],
               ('k', 'restore prompt'), ('exit\r', '')], shell=True,
              LD_PRELOAD=os.environ.get('LINE_MODE_MARKS'),
              ASAN_OPTIONS=os.environ.get('ASAN_OPTIONS', '') + ':verify_asan_link_order=0')
    after_fg = log[log.rindex(b'fg\r\n'):]
    assert mark in after_fg and after_fg.index(mark) < after_fg.index(TOKENS['title'].encode()), \
        'shown again before the line modes'
    # Ctrl-Z while the output is held (Ctrl-S) before the menu's question: stopped at once, not at
    # the next key; fg shows the line as it stood and goes on.
    run([REJECTED, ('\x13k', ''), ('\x1a', 'restore prompt'), ('fg\r', 'title width c pause cls menu ?code'),
         BYE[0], ('k', 'restore prompt'), ('exit\r', '')], shell=True)
    # Ctrl-Z right behind the terminal's answers: they are taken all the same, and after fg tavoro
    # goes on in its looks.
    run([('fg\r', START), BYE[0], ('k', 'restore prompt'), ('exit\r', '')], shell=True,
        answers=lambda asked: (terminal(asked)[0] + '\x1a',), first='restore-uncoloured prompt')


def jobs():  # started in the background: nothing of tavoro's until fg; bg stops it, kill ends it
    started = [(' &\r', ''), ('\r', 'Stopped')]
    log = run([BYE[0], ('k', 'restore prompt'), ('exit\r', '')], shell=True, job=started + [('fg\r', 'fg')])
    assert b'rgb:' not in log and b'^[' not in log, 'an answer echoed'
    p = pexpect.spawn('bash', ['--norc', '--noprofile', '-i'], dimensions=(ROWS, COLS),
                      env={**os.environ, 'LC_ALL': 'C.UTF-8', 'TERM': 'xterm', 'PS1': TOKENS['prompt']})
    p.logfile_read, p.timeout = io.BytesIO(), 5
    for keys, shown in [(PROG + ' &\r', ''), ('\r', 'Stopped'), ('bg\r', ''), ('\r', 'Stopped'),
                        ('kill %1; sleep 0.5; jobs\r', 'Terminated')]:
        p.send(keys)
        expect(p, re.escape(shown.encode()), 'utf-8', shown) if shown else time.sleep(0.5)
    assert b'C++Tavoro' not in p.logfile_read.getvalue(), 'written while in the background'
    # A background job that ignores SIGTTIN and SIGTTOU and reads its terminal gets EIO: an error.
    p.send(f"(trap '' TTIN TTOU; exec {PROG}) & wait $!; echo status=$?\r")
    expect(p, re.escape(TOKENS['?code'].encode()), 'utf-8', 'the menu')
    p.send('\r')
    expect(p, re.escape(b'status=1\r'), 'utf-8', 'status 1')
    assert b'tavoro: ' in p.before, 'no reason given'


def conventions():  # TERM dumb or unset: no control sequences, yet the pause waits; NO_COLOR: no
    for term in ('dumb', None):  # looks, tmux's included
        assert b'\x1b' not in run([('9\r', '!code pause'), (None, ''), ('k', 'menu ?code'),
                                  ('0\r', 'bye pause'), ('k', '')], first='menu ?code', TERM=term)
    assert not re.search(rb'\x1b\[[0-9;]*m', run([REJECTED, NEXT_MENU] + BYE, looks=False, NO_COLOR='1'))
    run(BYE, NO_COLOR='')
    # A terminal type with no terminfo entry: the answer line is edited all the same, in the plain
    # way, and nothing of the editor's own words is shown.
    assert b'terminal type' not in run([ANSWERED, NEXT_MENU] + BYE, TERM='tavoro-unknown')
    # Output to a file, input a terminal: no control sequence, yet every pause waits for its key;
    # Ctrl-Z (here, with no shell to stop for, it goes on at once) writes nothing into the file.
    # Ctrl-C or kill at a pause, no shell left to mend the terminal (as dash does not), leave the
    # line modes as found.
    for keys, status in [(('\x1a', '9\r', 'k', '0\r', 'k'), 0), (('9\r', '\x03'), -signal.SIGINT),
                         (('9\r', signal.SIGTERM), -signal.SIGTERM)]:
        with tempfile.NamedTemporaryFile() as out:
            run([(key, '') for key in keys], first='', out=out.name, status=status)
            text, want = out.read().decode(), [1 + ('0\r' in keys)] * 2 + [0]  # and no escape
            assert [text.count(s) for s in (TOKENS['pause'][0], TOKENS['?code'], '\x1b')] == want, text


def editing():  # the answer line edited as every interactive prompt edits it, in UTF-8 and GBK
    left, home, end, delete, up = '\x1b[D', '\x1b[H', '\x1b[F', '\x1b[3~', '\x1b[A'
    for enc in LOCALES:
        typed = [  # Backspace over a full-width digit and a Han character, answers typed ahead
            ('4 ２０２５\x7f４好\x7f\r', 'fa ?year ?month'),
            ('9\x153\r', '?day'),  # Ctrl-U
            ('15\x01\x0b1 abc\x17\r', f'report fa pause'),  # Ctrl-A, Ctrl-K, Ctrl-W
            NEXT_MENU, (up * 3 + '\r', 'fa ?year ?month'),  # Up: the line typed ahead, whole
            ('12' + left + '\x7f' + end + '\r', '?day'),  # Left, Backspace, End: 2
            ('9' + home + '2' + '\x05' + left + delete + '9\r', 'report fa pause'),  # 29
            NEXT_MENU, BYE[0], ('k', 'restore')]
        log = unpainted(run([(keys.encode(enc), shown) for keys, shown in typed], enc))
        for shown in ('2024年3月1日是2024年的第61天', '2024年2月29日是2024年的第60天', '4 ２０２４'):
            assert shown.encode(enc) in log, f'{enc}: {shown!r} not shown'


def fullwidth():  # answers typed by an input method in full width: echoed as typed, read as numbers
    ahead = '４　２０２４ ２　２９\r'  # the ordinal day of 29 February 2024, typed ahead at the menu
    one_by_one = [('３\r', 'fa ?year'), ('２０２４\r', '?wd'), ('１\r', 'fa ?month'), ('２\r', '?day'),
                  ('２９\r', 'report fa pause')]
    for enc in LOCALES:
        typed = [(keys.encode(enc), shown) for keys, shown in [(ahead, ANSWERED[1]), NEXT_MENU] + one_by_one]
        log = unpainted(run(typed + [NEXT_MENU] + BYE, enc))
        for shown in (ahead[:-1], '２０２４\r\n', '2024年2月29日是2024年的第60天', '2024年2月29日是星期四'):
            assert shown.encode(enc) in log, f'{enc}: {shown!r} not shown'


globals()[CASE]()
