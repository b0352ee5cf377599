#!/usr/bin/env bash
# Installs tavoro into a scratch prefix and builds its Debian package, and
# checks that each holds the program alone, in bin/, and that the program
# found there answers a query and says goodbye.
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=build
package_dir="$build_dir/packages"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

cmake -S . -B "$build_dir"
cmake --build "$build_dir" -j2 --target tavoro

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

# A tree that must hold the program and nothing else, and the program runs.
holds_only_the_program() {
  local held
  held=$(list_files "$1")
  if [ "$held" != "$2" ]; then
    echo "$1 holds more or other than $2:" >&2
    echo "$held" >&2
    exit 1
  fi
  check_runs "$1/$2"
}

# cmake --install
prefix="$scratch/prefix"
cmake --install "$build_dir" --prefix "$prefix"
holds_only_the_program "$prefix" bin/tavoro

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

unpacked="$scratch/unpacked"
dpkg-deb --extract "$deb" "$unpacked"
holds_only_the_program "$unpacked" usr/bin/tavoro

echo "package: ok ($deb)"
