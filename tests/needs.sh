#!/bin/sh
# Runs a test that needs tools or a locale a machine may lack. When one is
# missing it names it and exits with 77, which the test's SKIP_RETURN_CODE
# makes CTest report as skipped rather than failed.
#
# Usage: needs.sh [--check] [NEED]... -- PROGRAM [ARGUMENT]...
# --check runs nothing: it only says what is missing, with status 77, or
# ends with 0. PROGRAM itself must be on the PATH or a path that can be run.
# A NEED is
#   NAME.CODESET  a locale, zh_CN.GBK say, that the C library can load;
#   import:NAME   a module that PROGRAM, a Python interpreter, can import;
#   NAME          a program on the PATH.
check_only=
if [ "${1:-}" = --check ]; then
  check_only=1
  shift
fi
needs=
while [ "$#" -gt 0 ] && [ "$1" != -- ]; do
  needs="$needs $1"
  shift
done
if [ "$#" -lt 2 ]; then
  echo "usage: needs.sh [--check] [NEED]... -- PROGRAM [ARGUMENT]..." >&2
  exit 2
fi
shift
program=$1

missing=
command -v "$program" >/dev/null 2>&1 || missing="$missing, $program"
for need in $needs; do
  case $need in
  import:*)
    module=${need#import:}
    if command -v "$program" >/dev/null 2>&1 && ! "$program" -c "import $module" >/dev/null 2>&1; then
      missing="$missing, the Python module $module for $program"
    fi
    ;;
  *.*)
    # A locale that cannot be loaded leaves the C library in ASCII.
    codeset=$(LC_ALL=$need locale charmap 2>/dev/null | tr '[:lower:]' '[:upper:]')
    wanted=$(echo "${need#*.}" | tr '[:lower:]' '[:upper:]')
    [ "$codeset" = "$wanted" ] || missing="$missing, the $need locale"
    ;;
  *)
    command -v "$need" >/dev/null 2>&1 || missing="$missing, $need"
    ;;
  esac
done
if [ -n "$missing" ]; then
  echo "skipped: this machine lacks ${missing#, }"
  exit 77
fi
[ -n "$check_only" ] || exec "$@"
