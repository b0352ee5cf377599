#!/usr/bin/env bash
# Installs tavoro into a scratch prefix and builds its Debian package, and
# checks that each holds exactly the program, its doc files and its manual
# page, that the program found there answers a query and says goodbye, that
# the manual page renders without a warning, and that lintian finds no error
# and no warning in the package.
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${BUILD_DIR:-build}  # the README's build folder unless told otherwise
package_dir="$build_dir/packages"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

cmake -S . -B "$build_dir"
cmake --build "$build_dir" -j2 --target tavoro tavoro_docs

# A file list, one path a line, relative to the given root.
list_files() { (cd "$1" && find . \( -type f -o -type l \) | sed 's|^\./||' | sort); }

# Runs the given tavoro with one weekday query and code 0, and checks the
# answer, the goodbye line and the exit status.
check_runs() {
  local program=$1 output status=0
  output=$(printf '3\n2024\n1\n2\n29\n0\n' | LC_ALL=C.UTF-8 timeout 20 "$program") || status=$?
  if [ "$status" -ne 0 ]; then
    echo "$program ended with status $status" >&2
    return 1
  fi
  for line in "2024年2月29日是星期四" "感谢你的使用！即将为你退出程序！"; do
    if [[ "$output" != *"$line"* ]]; then
      echo "$program did not write: $line" >&2
      printf '%s\n' "$output" >&2
      return 1
    fi
  done
  echo "$program: runs"
}

# What an installation holds, under its prefix.
installed="bin/tavoro
share/doc/tavoro/LICENSE
share/doc/tavoro/README.md
share/doc/tavoro/changelog.gz
share/doc/tavoro/copyright
share/doc/tavoro/doc/screenshots/february-2024.png
share/doc/tavoro/doc/screenshots/lunar-february-2024.png
share/doc/tavoro/doc/screenshots/menu.png
share/doc/tavoro/doc/screenshots/rejected-month.png
share/doc/tavoro/doc/screenshots/windows-console.png
share/man/man1/tavoro.1.gz"

# A tree that must hold these files under the given directory and nothing
# else, whose program runs and whose manual page renders.
holds_the_installation() {
  local held expected
  held=$(list_files "$1")
  expected=$(echo "$installed" | sed "s|^|${2:+$2/}|")
  if [ "$held" != "$expected" ]; then
    echo "$1 does not hold exactly the installation:" >&2
    diff <(echo "$expected") <(echo "$held") >&2 || true
    exit 1
  fi
  check_runs "$1/${2:+$2/}bin/tavoro"
  renders_without_warning "$1/${2:+$2/}share/man/man1/tavoro.1.gz"
}

# man-db's own check of a page: groff's warnings (unknown macros, bad escapes,
# lines it cannot fit) go to standard error.
renders_without_warning() {
  local page=$1 warnings rendered
  warnings=$(mktemp)
  rendered=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>"$warnings")
  if [ -s "$warnings" ]; then
    echo "$page: man warns:" >&2
    cat "$warnings" >&2
    exit 1
  fi
  if [[ "$rendered" != *"tavoro - interactive menu-driven calendar"* ]]; then
    echo "$page: renders without its NAME line:" >&2
    printf '%s\n' "$rendered" | head -n 20 >&2
    exit 1
  fi
  echo "$page: renders"
}

renders_without_warning doc/tavoro.1

# cmake --install
prefix="$scratch/prefix"
cmake --install "$build_dir" --prefix "$prefix"
holds_the_installation "$prefix"

# The copyright file states LICENSE's own terms.
license_terms=$(sed '1,/^Copyright /d' LICENSE | sed '/./,$!d')
stated_terms=$(sed '1,/^License: /d; s/^ //; s/^\.$//' "$prefix/share/doc/tavoro/copyright")
if [ "$stated_terms" != "$license_terms" ]; then
  echo "the copyright file does not state the terms of LICENSE:" >&2
  diff <(echo "$license_terms") <(echo "$stated_terms") >&2 || true
  exit 1
fi

# cpack -G DEB
rm -rf "$package_dir"
cpack --config "$build_dir/CPackConfig.cmake" -G DEB -B "$package_dir"
shopt -s nullglob
debs=("$package_dir"/*.deb)
shopt -u nullglob
if [ "${#debs[@]}" -ne 1 ]; then
  echo "cpack made ${#debs[@]} Debian packages, not one" >&2
  exit 1
fi
deb=${debs[0]}
dpkg-deb --info "$deb"

field() { dpkg-deb --field "$deb" "$1"; }
expect_field() {
  if [ "$(field "$1")" != "$2" ]; then
    echo "$deb: $1 is '$(field "$1")', not '$2'" >&2
    exit 1
  fi
}
expect_field Package tavoro
expect_field Architecture "$(dpkg --print-architecture)"
if [ "$(field Description | head -n 1)" != "Interactive console calendar (Simplified Chinese)" ]; then
  echo "$deb: wrong description" >&2
  exit 1
fi
# The binary needs the C and C++ runtimes; a package that does not say so
# installs on machines where it cannot run.
for library in libc6 libstdc++6; do
  if ! field Depends | tr ',|' '\n\n' | sed 's/^ *//; s/[ (].*//' | grep -qxF "$library"; then
    echo "$deb: Depends does not name $library: $(field Depends)" >&2
    exit 1
  fi
done

# The changelog's latest entry is the version being packaged.
changelog_version=$(zcat "$prefix/share/doc/tavoro/changelog.gz" | dpkg-parsechangelog -l - -S Version)
expect_field Version "$changelog_version"

unpacked="$scratch/unpacked"
dpkg-deb --extract "$deb" "$unpacked"
holds_the_installation "$unpacked" usr

# Any lintian error or warning fails; by default only errors would.
if ! lintian --fail-on error,warning "$deb"; then
  echo "$deb: lintian finds errors or warnings" >&2
  exit 1
fi

echo "package: ok ($deb)"
