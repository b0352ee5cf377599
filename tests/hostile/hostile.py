# Whole-program checks: unreadable input, memory over long runs of rejected answers, unwritable
# and non-blocking output, command-line arguments.
# hostile.py MODE PROGRAM, MODE one of unreadable, memory, unwritable, nonblocking, arguments
import fcntl, os, re, resource, signal, subprocess, sys, tempfile, time


def unreadable(program):
    # Input every read of which fails (a directory) ends the dialogue at the first question, with
    # status 0, as the end of the input does; asking again would repeat itself for ever.
    directory = os.open("/", os.O_RDONLY)
    done = subprocess.run([program], stdin=directory, capture_output=True, timeout=20)
    assert done.returncode == 0 and done.stdout.decode().endswith("=====》\n") and not done.stderr, done


def memory(program):
    sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "bench"))
    from answers import SESSIONS, compare
    for kind in SESSIONS:  # 20,000 and 200,000 answers; 200 and 2,000 year calendars
        few, many, _ = compare(program, kind, *((200, 2000) if kind == "year calendar" else (20000, 200000)))
        assert many <= few + 1024 and many < 8192, f"{kind}: {few} KiB after few answers, {many} KiB after many"


def unwritable(program):
    # Output that cannot be written, at the first line or once a file has reached its limit, ends
    # tavoro at once with status 1 and one line naming the reason in the user's language.
    def limited():  # 1000 bytes; the signal would end tavoro without a word
        signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
        resource.setrlimit(resource.RLIMIT_FSIZE, (1000, 1000))
    for out, locale, preparing, reason in [("/dev/full", "C.UTF-8", None, "No space left on device"),
                                           ("/dev/full", "zh_CN.UTF-8", None, "设备上没有空间"),
                                           ("/dev/null", "C.UTF-8", lambda: os.close(1), "Bad file descriptor"),
                                           (None, "C.UTF-8", limited, "File too large")]:
        with open(out, "wb") if out else tempfile.TemporaryFile() as file:
            done = subprocess.run([program], input=b"1 2019 2\n" * 100, stdout=file, stderr=subprocess.PIPE,
                                  preexec_fn=preparing, timeout=20, env=dict(os.environ, LC_ALL=locale))
            assert (done.returncode, done.stderr) == (1, f"tavoro: {reason}\n".encode()), (out, locale, done)
            assert out or os.fstat(file.fileno()).st_size == 1000, "the file not filled to its limit"


def arguments(program):
    # --version and --help write only text and end with 0; any other argument is named on standard
    # error, with status 2 and nothing else done: no output, no answer read.
    version = re.search(r"project\(tavoro VERSION ([0-9.]+)", open(os.path.join(
        os.path.dirname(__file__), "..", "..", "CMakeLists.txt")).read()).group(1)
    for args, status, out, named in [(["--version"], 0, f"tavoro {version}\n", None),
                                     (["--help"], 0, "用法：tavoro [--help | --version]\n", None),
                                     (["--help", "-x"], 2, "", "-x"), (["--versio"], 2, "", "--versio"),
                                     (["年"], 2, "", "年")]:
        with tempfile.TemporaryFile() as answers:
            answers.write(b"0\n")
            answers.seek(0)
            done = subprocess.run([program, *args], stdin=answers, capture_output=True,
                                  env=dict(os.environ, LC_ALL="C.UTF-8"), timeout=20)
            assert answers.tell() == 0, f"{args}: an answer read"
        said = done.stderr.decode()
        assert done.returncode == status and done.stdout.decode().startswith(out), (args, done)
        assert said == "" if not named else said.count("\n") == 1 and f"“{named}”" in said and "--help" in said, said
    # Under a GBK locale the help is GBK.
    utf8, gbk = (subprocess.run([program, "--help"], capture_output=True, env=dict(os.environ, LC_ALL=locale)).stdout
                 for locale in ("C.UTF-8", "zh_CN.GBK"))
    assert gbk.decode("gbk") == utf8.decode(), "the help not in GBK"


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
