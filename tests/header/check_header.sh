#!/usr/bin/env bash
# Compiles a file that uses everything in the host header, as C89, C99, C11,
# C++98, C++11 and C++17 with pedantic warnings as errors, and checks in each
# mode that a false layout check stops the compiler.
# Usage: check_header.sh C_COMPILER CXX_COMPILER HEADER_DIR
set -euo pipefail
cc=$1 cxx=$2 include=$3
source=$(dirname "$0")/header_use.c
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$source" "$work/header_use.cpp"

failures=0
check() { # check COMPILER STANDARD FILE
  local flags=(-std="$2" -pedantic-errors -Wall -Wextra -Werror -I"$include" -fsyntax-only "$3")
  if ! "$1" "${flags[@]}" 2>"$work/errors"; then
    echo "FAIL $2: the header does not compile"; cat "$work/errors"; failures=$((failures + 1))
  elif "$1" "${flags[@]}" -DEXPECT_FAILED_ASSERT 2>"$work/errors"; then
    echo "FAIL $2: a false layout check compiled"; failures=$((failures + 1))
  elif ! grep -q 'qp_static_assert\|static assertion\|static_assert' "$work/errors"; then
    echo "FAIL $2: a false layout check failed for another reason"; cat "$work/errors"; failures=$((failures + 1))
  else
    echo "ok   $2"
  fi
}
for standard in c89 c99 c11; do check "$cc" "$standard" "$source"; done
for standard in c++98 c++11 c++17; do check "$cxx" "$standard" "$work/header_use.cpp"; done
exit $((failures > 0))
