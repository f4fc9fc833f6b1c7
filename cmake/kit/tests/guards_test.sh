#!/usr/bin/env bash
# The kit refuses what cannot work instead of letting it pass: a native
# configure stops naming the tool chain file, a cross configure without a
# way to run Windows programs stops, and a simulator test whose "simulator"
# never ran fails even when the exit status is the one expected.
# Usage: guards_test.sh KIT
set -uo pipefail
kit=$(cd "$1" && pwd)
package=$kit/lib/cmake/TavrelKit
source "$(dirname "$0")/../../../scripts/tests/checks.sh"

mkdir "$work/src"
cat >"$work/src/probe.c" <<'C'
#include <tavrel/hostlink.h>
void main(Handle recordHandle) {
  InitHostLink(recordHandle);
  SetHostResult(0);
}
C
printf '%s\n' 'LANGUAGE 0x09, 0x03' \
  '1100 "STR#" BEGIN "\0" END' '1100 "XOPF" BEGIN 0 END' \
  '1100 "XOPI" BEGIN 4, 0, 0, 0, 500 END' >"$work/src/probe.rc"
cat >"$work/src/CMakeLists.txt" <<'CMAKE'
cmake_minimum_required(VERSION 3.20)
project(Probe C CXX)
find_package(TavrelKit 1.0 REQUIRED)
tavrel_add_extension(Probe probe.c probe.rc)
enable_testing()
# Exit 2 is what a shell gives a file it cannot run.
tavrel_add_simulator_test(nothing_ran XOP Probe EXIT 2)
CMAKE

out=$(cmake -S "$work/src" -B "$work/native" -DTavrelKit_DIR="$package" 2>&1)
grep -q "TOOLCHAIN_FILE=$package/mingw-i686.cmake" <<<"$out" ||
  fail "a native configure does not name the tool chain file: $out"

grep -v EMULATOR "$package/mingw-i686.cmake" >"$work/no-emulator.cmake"
out=$(cmake -S "$work/src" -B "$work/no-emulator" -DTavrelKit_DIR="$package" \
  -DCMAKE_TOOLCHAIN_FILE="$work/no-emulator.cmake" 2>&1)
grep -q "no way to run Windows" <<<"$out" ||
  fail "a configure without an emulator goes on: $out"

# The tool chain file sets the emulator itself: a copy names the shell.
sed 's|^\( *\)set(CMAKE_CROSSCOMPILING_EMULATOR .*|\1set(CMAKE_CROSSCOMPILING_EMULATOR /bin/sh)|' \
  "$package/mingw-i686.cmake" >"$work/shell.cmake"
cmake -S "$work/src" -B "$work/shell" -DTavrelKit_DIR="$package" \
  -DCMAKE_TOOLCHAIN_FILE="$work/shell.cmake" >/dev/null 2>&1 &&
  cmake --build "$work/shell" >/dev/null 2>&1 ||
  fail "the probe does not build"
out=$(ctest --test-dir "$work/shell" --output-on-failure 2>&1)
grep -q "the simulator did not start" <<<"$out" ||
  fail "a test passed though the simulator never ran: $out"

report "kit guards"
