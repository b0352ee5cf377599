#!/usr/bin/env bash
# What a fresh machine lacks for building and testing tavoro.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
apt-get update
apt-get install -y --no-install-recommends \
  cmake g++ make libedit-dev libgtest-dev locales libc-l10n tmux python3 python3-pexpect \
  clang clang-format clang-tidy cppcheck libclang-rt-14-dev \
  g++-mingw-w64-x86-64-posix wine64 file dpkg-dev gcovr
# Wine's own console window is proven on a virtual display.
apt-get install -y --no-install-recommends xvfb
# The key tables of the terminals the README lists, against which the pause's
# splitting of keys is proven (infocmp reads them).
apt-get install -y --no-install-recommends ncurses-term kitty-terminfo foot-terminfo
# The second build, by clang against libc++.
apt-get install -y --no-install-recommends libc++-dev libc++abi-dev
# The Debian package is checked by lintian, the manual page by man-db and groff.
apt-get install -y --no-install-recommends lintian man-db groff-base
# The GBK console is proven under a GBK locale.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.gbk$'; then
  localedef -i zh_CN -f GBK zh_CN.GBK
fi
# The Windows console is proven under a Chinese and a Western locale, and
# the reason of a write error is named in Chinese under zh_CN.UTF-8.
for name in zh_CN en_US; do
  locale -a | grep -qix "$name\.utf-\?8" || localedef -i "$name" -f UTF-8 "$name.UTF-8"
done
