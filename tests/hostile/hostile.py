# Whole-program checks: random hostile bytes, memory over long runs of rejected
# answers, writes per session, unwritable output.
# hostile.py fuzz PROGRAM COUNT SEED | memory PROGRAM | writes PROGRAM | unwritable PROGRAM
#   | nonblocking PROGRAM
import fcntl, os, random, re, subprocess, sys, tempfile, time

MENU = "\n\n              欢迎进入Tavoro查询系统\n"
PAUSE = r"请按任意键继续\. \. \. "
WORDS = [b"0", b"1", b"2", b"3", b"4", b"2019", b"2024", b"1900", b"-5", b"2147483647",
         b"-2147483648", b"2147483648", b"-", b"+", b"+-1", b"x", b"\0", b"\x80\xff", b"\xe5\xb9\xb4"]
GAPS = [b" ", b"\t", b"\n", b"\r\n", b"\r", b"\v"]


def hostile_input(rng):
    words = [rng.choice(WORDS) if rng.random() < 0.6 else str(rng.randint(-3, 33)).encode()
             for _ in range(rng.randint(0, 40))]
    if rng.random() < 0.1:  # a very long line of digits or of other bytes
        words.insert(rng.randrange(len(words) + 1), rng.choice([b"7", b"\xa3", b"q"]) * 200000)
    data = b"".join(word + rng.choice(GAPS) for word in words)
    return data[: rng.randint(0, len(data))] if rng.random() < 0.5 else data


def fuzz(program, count, seed):
    rng = random.Random(int(seed))
    directory = os.open("/", os.O_RDONLY)  # run -1: an input every read of which fails
    for run in range(-1, int(count)):
        data = hostile_input(rng) if run >= 0 else None
        try:
            done = subprocess.run([program], input=data, stdin=directory if data is None else None,
                                  capture_output=True, timeout=30)
        except subprocess.TimeoutExpired:
            done = subprocess.CompletedProcess(program, "'still running after 30 s'", b"", b"")
        out = done.stdout.decode("utf-8", "replace")
        faults = [f"status {done.returncode}"] * (done.returncode != 0) + [done.stderr.decode()] * bool(done.stderr)
        faults += ["no menu first"] * (not out.startswith(MENU))
        faults += ["ends elsewhere than at a question or the farewell"] * (
            not re.search(r"(》|感谢你的使用！即将为你退出程序！\n" + PAUSE + r")\n\Z", out))
        if faults:
            with open(f"hostile-{seed}-{run}.in", "wb") as kept:
                kept.write(data or b"")
            sys.exit(f"run {run} of seed {seed}, input kept in hostile-{seed}-{run}.in: {faults}")


def memory(program):
    sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "bench"))
    from answers import SESSIONS, compare
    for kind in SESSIONS:  # 20,000 and 200,000 answers; 200 and 2,000 year calendars
        few, many, _ = compare(program, kind, *((200, 2000) if kind == "year calendar" else (20000, 200000)))
        assert many <= few + 1024 and many < 8192, f"{kind}: {few} KiB after few answers, {many} KiB after many"


def writes(program):
    if subprocess.run("strace -o /dev/null true", shell=True, capture_output=True).returncode != 0:
        print("skipped: strace cannot trace in this sandbox")
        sys.exit(77)
    with tempfile.NamedTemporaryFile("r") as trace:
        out = subprocess.run(["strace", "-f", "-e", "trace=write,writev,pwrite64", "-o", trace.name, program],
                             input=b"1 2019 2\n0\n", capture_output=True, check=True,
                             env=dict(os.environ, ASAN_OPTIONS="detect_leaks=0")).stdout.decode()
        written = [int(n) for n in re.findall(r"(?:write|writev|pwrite64)\(1,.*= (\d+)$", trace.read(), re.M)]
    assert sum(written) == len(out.encode()), "output left the program outside the traced calls"
    allowed = out.count("\n") + out.count("》") + out.count("继续. . . ")
    assert len(written) <= allowed, f"{len(written)} writes for {allowed} lines and prompts"


def unwritable(program):
    # Output that cannot be written (a full disk, a closed descriptor) loses the text, never the
    # dialogue: every question is still read, and the end of input ends the program with status 0.
    session = b"1 2019 2\n2 2024 1 13\n2\n3 2024 1 2 30\n29\n4 2024 3 1\n9\n" * 50
    with open("/dev/full", "wb") as full:
        for name, out, closing in [("/dev/full", full, None), ("closed", None, lambda: os.close(1))]:
            try:
                done = subprocess.run([program], input=session, stdout=out, stderr=subprocess.PIPE,
                                      preexec_fn=closing, timeout=20)
            except subprocess.TimeoutExpired:
                sys.exit(f"output {name}: still running after 20 s")
            assert done.returncode == 0 and not done.stderr, f"output {name}: {done}"


def nonblocking(program):
    # Output left non-blocking by whoever started tavoro, read only once the pipe is full: every
    # byte still arrives, as it does through an ordinary pipe.
    session = b"1 2019 2\n" * 40 + b"0\n"
    expected = subprocess.run([program], input=session, capture_output=True, check=True).stdout
    read_end, write_end = os.pipe()
    fcntl.fcntl(write_end, fcntl.F_SETFL, fcntl.fcntl(write_end, fcntl.F_GETFL) | os.O_NONBLOCK)
    with subprocess.Popen([program], stdin=subprocess.PIPE, stdout=write_end) as tavoro:
        os.close(write_end)
        tavoro.stdin.write(session)
        tavoro.stdin.close()
        time.sleep(0.5)  # the pipe fills, and writes meet EAGAIN
        with os.fdopen(read_end, "rb") as output:
            received = output.read()
    assert len(expected) > 65536 and received == expected and tavoro.returncode == 0


if __name__ == "__main__":
    globals()[sys.argv[1]](*sys.argv[2:])
