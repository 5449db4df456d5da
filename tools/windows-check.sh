#!/usr/bin/env bash
# The rules on Windows: src/rules and tests/rules cross compiled with Debian's
# mingw-w64 (posix threads, static, the msvcrt C runtime) against GoogleTest
# built from Debian's sources for the same target, then the test program run
# under wine in a throw-away prefix, with no display; then the rules' results
# over a fixed sample of inputs (tools/windows/rules_sample.cpp), built for
# Windows and for Linux, compared. Installs what it needs from Debian when it
# is missing (with sudo when not root). Fails when a test fails under wine or
# a result differs; prints how many tests ran and passed.
#   tools/windows-check.sh                     build-windows next to build
#   WINDOWS_BUILD=/tmp/win tools/windows-check.sh
#   tools/windows-check.sh --gtest_filter='Amount*'   arguments go to the test program
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${WINDOWS_BUILD:-$top/build-windows}
jobs=$(nproc 2>/dev/null || echo 2)

packages=(cmake ninja-build g++-mingw-w64-x86-64-posix googletest wine wine64)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" = 0 ] || sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
cmake -S "$top/tools/windows" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$top/tools/windows/mingw-w64-x86_64.cmake" "${launcher[@]}" >/dev/null
cmake --build "$build" -j "$jobs" --target test_rules rules_sample
# The same sample built with the Linux compiler, to compare with.
cmake -S "$top/tools/windows" -B "$build/native" -G Ninja -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" >/dev/null
cmake --build "$build/native" -j "$jobs" --target rules_sample

# A prefix of its own, removed afterwards; no window, no debug channels, and
# no offer to install wine's .NET or HTML engines (which would need a network).
prefix=$(mktemp -d "${TMPDIR:-/tmp}/velmora-wine.XXXXXX")
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml=" WINEARCH=win64
unset DISPLAY WAYLAND_DISPLAY
# shellcheck disable=SC2317 # run by the trap
cleanup() {
  wineserver -k 2>/dev/null || true
  rm -rf "$prefix"
}
trap cleanup EXIT
# The prefix is made first, so that its notes stay out of the test's output.
wine wineboot --init >/dev/null 2>&1
log=$build/test_rules.log
status=0
wine "$build/tests/test_rules.exe" --gtest_brief=1 "$@" >"$log" 2>&1 || status=$?
# The program writes its lines in text mode: "\r\n".
tr -d '\r' <"$log" | grep -v '^\[==========\] \|^\[  PASSED  \] \|^Running main() from ' || true
ran=$(tr -d '\r' <"$log" | sed -n 's/^\[==========\] \([0-9]*\) tests\{0,1\} from .* ran\..*/\1/p')
passed=$(tr -d '\r' <"$log" | sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\{0,1\}\..*/\1/p')
echo "windows: ${ran:-no} rule tests ran under wine, ${passed:-0} passed"
[ "$status" = 0 ] && [ -n "$ran" ] && [ "$ran" -gt 0 ] && [ "${passed:-0}" = "$ran" ] || status=1

# Each group's digest; for a group that differs, its first differing results.
sample() {
  local where=$1
  shift
  if [ "$where" = windows ]; then wine "$build/rules_sample.exe" "$@"; else "$build/native/rules_sample" "$@"; fi | tr -d '\r'
}
sample windows >"$build/sample-windows.txt"
sample linux >"$build/sample-linux.txt"
if cmp -s "$build/sample-windows.txt" "$build/sample-linux.txt" && [ -s "$build/sample-linux.txt" ]; then
  echo "windows: the rules' results on the sample are the same as on Linux ($(awk '{printf "%s%s %s", (NR > 1 ? ", " : ""), $2, $1}' "$build/sample-linux.txt"))"
else
  status=1
  echo "windows: THE RULES' RESULTS DIFFER FROM LINUX'S (Linux <, Windows >)"
  diff "$build/sample-linux.txt" "$build/sample-windows.txt" || true
  while read -r line; do
    grep -qxF "$line" "$build/sample-windows.txt" && continue
    group=${line%% *}
    echo "== first differences in $group"
    diff <(sample linux "$group") <(sample windows "$group") | head -20 || true
  done <"$build/sample-linux.txt"
fi
exit $status
