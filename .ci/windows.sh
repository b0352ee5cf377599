#!/usr/bin/env bash
# Cross-builds tavoro.exe for the Windows console with mingw-w64 and checks
# that what comes out is a stand-alone 64-bit console program whose texts
# are UTF-8, the encoding the Windows console code converts from; then runs
# clang-tidy on the Windows console code, packs the release archive and
# runs whole sessions under Wine (the wine64 package), in terminals and in
# Wine's own console window on a virtual display (Xvfb).
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=build-windows
objdump=x86_64-w64-mingw32-objdump

# The compiler reads the sources as UTF-8 and keeps their literals so; a
# source saved in another encoding would put wrong bytes on the console.
bad_encoding=0
while IFS= read -r -d '' source; do
  if ! iconv -f UTF-8 -t UTF-8 "$source" >/dev/null 2>&1; then
    echo "not UTF-8: $source" >&2
    bad_encoding=1
  fi
done < <(find src -type f \( -name '*.cpp' -o -name '*.hpp' \) -print0)
if [ "$bad_encoding" -ne 0 ]; then
  exit 1
fi

# Configured with its tests, which never run here: the target has no
# GoogleTest, and building tavoro must not need one.
cmake -S . -B "$build_dir" \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_COMPILE_WARNING_AS_ERROR=ON \
  -DBUILD_TESTING=ON
cmake --build "$build_dir" -j2 --target tavoro

exe="$build_dir/tavoro.exe"
description=$(file -b "$exe")
echo "$exe: $description"
# Versions of file word this differently; each part is looked for alone.
for part in 'PE32+ executable' 'console' 'x86-64'; do
  if [[ "$description" != *"$part"* ]]; then
    echo "tavoro.exe is not a 64-bit Windows console executable (no '$part')" >&2
    exit 1
  fi
done

# Only DLLs that every Windows has: no libstdc++, libgcc or winpthread.
imports=$("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p')
echo "imports: $(echo "$imports" | tr '\n' ' ')"
if echo "$imports" | grep -qiE 'libstdc\+\+|libgcc|libwinpthread'; then
  echo "tavoro.exe needs mingw-w64 runtime DLLs; it must be linked statically" >&2
  exit 1
fi

# The goodbye line must be in the executable as UTF-8 bytes.
if ! LC_ALL=C grep -qF "感谢你的使用！即将为你退出程序！" "$exe"; then
  echo "tavoro.exe does not hold its texts as UTF-8" >&2
  exit 1
fi

# The Windows console code, which the native lint never compiles, through
# clang-tidy as the cross-compiler sees it: its C++ library and the Windows
# headers, clang's own built-in headers otherwise.
tidy_args=(--quiet --extra-arg=-nostdinc++)
while read -r include_dir; do
  tidy_args+=(--extra-arg-before=-isystem"$(realpath "$include_dir")")
done < <(x86_64-w64-mingw32-g++-posix -std=c++20 -E -x c++ -v /dev/null -o /dev/null 2>&1 |
  sed -n '/^#include <...> search starts here:/,/^End of search list./p' | sed '1d;$d' |
  grep -E '/c\+\+(/|$)|/x86_64-w64-mingw32/include$')
clang-tidy -p "$build_dir" "${tidy_args[@]}" src/console/windows/*.cpp
clang-tidy "${tidy_args[@]}" tests/windows/console_probe.cpp -- -std=c++20 -municode \
  --target=x86_64-w64-mingw32
clang-tidy "${tidy_args[@]}" tests/windows/console_write_test.cpp -- -std=c++20 -municode \
  --target=x86_64-w64-mingw32 -Isrc

# The probe of the sessions, which also stands in for every planted program,
# and the output path with a console that writes nothing, against the library.
probe="$build_dir/console_probe.exe"
write_test="$build_dir/console_write_test.exe"
x86_64-w64-mingw32-g++-posix -std=c++20 -O2 -static -municode -Wall -Wextra -Wpedantic -Werror \
  tests/windows/console_probe.cpp -o "$probe"
x86_64-w64-mingw32-g++-posix -std=c++20 -O2 -static -municode -Wall -Wextra -Wpedantic -Werror \
  -Isrc tests/windows/console_write_test.cpp "$build_dir/libtavoro_core.a" -o "$write_test"

# The release archive: tavoro.exe, the README and the licence.
version=$(sed -n 's/^project(tavoro VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
rm -f "$build_dir"/tavoro-*.zip  # none left from an earlier run
(cd "$build_dir" && cpack -G ZIP)
archive="$build_dir/tavoro-$version-win64.zip"
listing=$(python3 -c 'import sys, zipfile
print(*zipfile.ZipFile(sys.argv[1]).namelist(), sep="\n")' "$archive")
echo "$archive: $(echo "$listing" | tr '\n' ' ')"
for member in bin/tavoro.exe README.md LICENSE; do
  if ! grep -qxF "tavoro-$version-win64/$member" <<<"$listing"; then
    echo "$archive lacks $member" >&2
    exit 1
  fi
done

# Sessions under Wine, in a prefix of its own, under a Chinese and a Western
# code page: the console on the screen and given back, the text of a
# transcript where redirected, and no program started. Without both locales
# Wine would show the menu in neither.
missing=""
for wanted in zh_CN en_US; do
  if ! locale -a | grep -qixE "$wanted\.utf-?8"; then
    missing+=" $wanted.UTF-8"
  fi
done
if [ -n "$missing" ]; then
  echo "the Wine sessions need the locales$missing (bash .ci/setup.sh makes them)" >&2
  exit 1
fi
# Wine's own console window, with a scrollback as the console host's has,
# needs a display: a virtual one.
if ! command -v xvfb-run >/dev/null; then
  echo "the Wine sessions need Xvfb (the xvfb package; bash .ci/setup.sh installs it)" >&2
  exit 1
fi
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
WINEPREFIX=$(mktemp -d /tmp/tavoro-wine.XXXXXX)
export WINEPREFIX
# The wine server keeps its socket in a folder named for the prefix's device
# and inode, under /tmp; it goes with the prefix.
server_name="server-$(stat -c %D "$WINEPREFIX")-$(printf %x "$(stat -c %i "$WINEPREFIX")")"
remove_wine() {
  "$wineserver" -k 2>/dev/null && "$wineserver" -w 2>/dev/null || true
  for server_dir in /tmp/wine-*/"$server_name" "/tmp/.wine-$(id -u)/$server_name"; do
    if [ -d "$server_dir" ]; then
      rm -rf "$server_dir"
      rmdir "$(dirname "$server_dir")" 2>/dev/null || true
    fi
  done
  rm -rf "$WINEPREFIX"
}
trap remove_wine EXIT
xvfb-run -a python3 tests/windows/wine_sessions.py "$exe" "$probe" "$write_test"

echo "windows: ok"
