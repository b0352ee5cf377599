#!/usr/bin/env python3
"""Throughput and peak memory of tavoro under long runs of answers.

Each session feeds one kind of answer many times over through standard
input, writes the output to /dev/null and records the wall time and the
peak resident set of that one process. Memory must not grow with
the number of answers: the peak at the large count may exceed the peak at
the small count by at most 1 MiB, and must stay below 8 MiB.

Usage: bench/answers.py [PROGRAM] [SMALL LARGE]   (default build/tavoro,
20000 200000). Exits 1 when the memory bound is broken.
"""
import array
import fcntl
import os
import re
import subprocess
import sys
import termios
import time

SLACK_KIB = 1024
CEILING_KIB = 8 * 1024
TIME_LIMIT_S = 60

# kind -> (answers per repetition, session of n repetitions). No session
# ends with code 0: the program is left waiting for input, measured, and
# ended by the end of its input.
SESSIONS = {
    "menu code": (1, lambda n: b"9\n" * n),
    "weekday": (1, lambda n: b"3\n2024\n" + b"9\n" * n + b"1\n2\n29\n"),
    "month": (1, lambda n: b"4\n2024\n" + b"13\n" * n + b"3\n1\n"),
    "day": (1, lambda n: b"4\n2024\n2\n" + b"30\n" * n + b"29\n"),
    "unreadable": (1, lambda n: b"4\n" + b"x\n" * n + b"2024\n3\n1\n"),
    "year calendar": (3, lambda n: b"1\n2019\n2\n" * n),
}


def measure(program, data):
    """Runs one session; returns (seconds, peak resident KiB).

    The peak is the program's own high-water mark (VmHWM), read while it
    waits for more input after the last answer. The rusage of a child is of
    no use here: Linux carries the resident size of the forking Python
    process over the exec into the child's maximum.
    """
    with open(os.devnull, "wb") as sink:
        start = time.perf_counter()
        child = subprocess.Popen([program], stdin=subprocess.PIPE, stdout=sink)
        child.stdin.write(data)
        child.stdin.flush()
        while unread(child.stdin) or state(child.pid) != "S":
            if time.perf_counter() - start > TIME_LIMIT_S:
                child.kill()
                raise RuntimeError(f"{program} still busy after {TIME_LIMIT_S} s")
            time.sleep(0.001)
        with open(f"/proc/{child.pid}/status") as status:
            peak_kib = int(re.search(r"VmHWM:\s*(\d+)", status.read()).group(1))
        child.stdin.close()  # the end of input ends the program
        child.wait()
        seconds = time.perf_counter() - start
    if child.returncode != 0:
        raise RuntimeError(f"{program} ended with status {child.returncode}")
    return seconds, peak_kib


def unread(pipe):
    """Bytes written to the pipe that the program has not taken yet."""
    count = array.array("i", [0])
    fcntl.ioctl(pipe.fileno(), termios.FIONREAD, count)
    return count[0]


def state(pid):
    """S while the program sleeps, which with nothing unread means it waits
    for the next answer (its only blocking point when writing to /dev/null)."""
    with open(f"/proc/{pid}/stat") as stat:
        return stat.read().rsplit(")", 1)[1].split()[0]


def compare(program, kind, small, large):
    """Peak KiB at both counts, and answers per second at the large one."""
    per_repetition, session = SESSIONS[kind]
    _, small_kib = measure(program, session(small))
    seconds, large_kib = measure(program, session(large))
    return small_kib, large_kib, per_repetition * large / seconds


def main(argv):
    program = argv[1] if len(argv) > 1 else "build/tavoro"
    small, large = (int(argv[2]), int(argv[3])) if len(argv) > 3 else (20000, 200000)
    broken = False
    print(f"{'answers':<14}{'count':>8}{'peak KiB':>10}{'count':>9}{'peak KiB':>10}{'answers/s':>11}")
    for kind in SESSIONS:
        # A whole year calendar costs about as much as a hundred rejections.
        scale = 100 if kind == "year calendar" else 1
        few, many = small // scale, large // scale
        small_kib, large_kib, rate = compare(program, kind, few, many)
        ok = large_kib <= small_kib + SLACK_KIB and large_kib < CEILING_KIB
        broken |= not ok
        print(f"{kind:<14}{few:>8}{small_kib:>10}{many:>9}{large_kib:>10}{rate:>11.0f}"
              f"{'' if ok else '  memory grows'}")
    return 1 if broken else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
