# Whole-program checks: unreadable input, unwritable output, non-blocking input and output,
# command-line arguments.
# hostile.py MODE PROGRAM, MODE one of unreadable, unwritable, nonblocking, arguments
import fcntl, os, re, resource, signal, subprocess, sys, tempfile, time


def unreadable(program):
    # Input that cannot be read (a directory) ends tavoro at the first question as a write error
    # does: the question written, one line naming the reason, status 1. Only its end is status 0.
    directory = os.open("/", os.O_RDONLY)
    done = subprocess.run([program], stdin=directory, capture_output=True, timeout=20,
                          env=dict(os.environ, LC_ALL="C.UTF-8"))
    assert (done.returncode, done.stderr) == (1, b"tavoro: Is a directory\n"), done
    assert done.stdout.decode().endswith("=====》"), done


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
    # --version and --help write only text and end with 0, --lunar beside them or not; any other
    # argument is named on standard error, with status 2 and nothing else done: no output, no
    # answer read.
    version = re.search(r"project\(tavoro VERSION ([0-9.]+)", open(os.path.join(
        os.path.dirname(__file__), "..", "..", "CMakeLists.txt")).read()).group(1)
    for args, status, out, named in [(["--version"], 0, f"tavoro {version}\n", None),
                                     (["--help"], 0, "用法：tavoro [--lunar] [--help | --version]\n", None),
                                     (["--lunar", "--version"], 0, f"tavoro {version}\n", None),
                                     (["--lunar", "-x"], 2, "", "-x"),
                                     (["--help", "-x"], 2, "", "-x"), (["--versio"], 2, "", "--versio"),
                                     (["年"], 2, "", "年"), (["\x1b[2J"], 2, "", "\x1b[2J")]:
        with tempfile.TemporaryFile() as answers:
            answers.write(b"0\n")
            answers.seek(0)
            done = subprocess.run([program, *args], stdin=answers, capture_output=True,
                                  env=dict(os.environ, LC_ALL="C.UTF-8"), timeout=20)
            assert answers.tell() == 0, f"{args}: an answer read"
        said = done.stderr.decode()
        assert done.returncode == status and done.stdout.decode().startswith(out), (args, done)
        shown = named and named.replace("\x1b", "\\x1b")  # a control byte escaped, never acted on
        assert said == "" if not named else said.count("\n") == 1 and f"“{shown}”" in said and "--help" in said, said
    # Under a GBK locale the help is GBK.
    utf8, gbk = (subprocess.run([program, "--help"], capture_output=True, env=dict(os.environ, LC_ALL=locale)).stdout
                 for locale in ("C.UTF-8", "zh_CN.GBK"))
    assert gbk.decode("gbk") == utf8.decode(), "the help not in GBK"


def nonblocking(program):
    # Input and output left non-blocking by whoever started tavoro, the answers coming in two parts
    # and the output read only once the pipe is full: tavoro waits for both, as through ordinary
    # pipes, and every answer is answered, every byte arrives.
    first, rest = b"4 2024 3 1\n", b"1 2019 2\n" * 40 + b"0\n"
    expected = subprocess.run([program], input=first + rest, capture_output=True, check=True).stdout
    (in_read, in_write), (out_read, out_write) = os.pipe(), os.pipe()
    for end in (in_read, out_write):
        fcntl.fcntl(end, fcntl.F_SETFL, fcntl.fcntl(end, fcntl.F_GETFL) | os.O_NONBLOCK)
    with subprocess.Popen([program], stdin=in_read, stdout=out_write) as tavoro:
        os.close(in_read), os.close(out_write)
        with os.fdopen(in_write, "wb") as answers, os.fdopen(out_read, "rb") as output:
            for part in (first, rest):  # reads meet EAGAIN before the rest comes
                answers.write(part)
                answers.flush()
                time.sleep(0.5)  # and writes once the pipe is full
            answers.close()
            received = output.read()
    assert len(expected) > 65536 and received == expected and tavoro.returncode == 0


if __name__ == "__main__":
    globals()[sys.argv[1]](*sys.argv[2:])
