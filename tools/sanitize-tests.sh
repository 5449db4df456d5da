#!/usr/bin/env bash
# The tests of the rules, the workbook readers (files) and the jobs (services)
# built with AddressSanitizer and UndefinedBehaviorSanitizer (VELMORA_SANITIZE)
# in their own build folder, run on SQLite. Any sanitizer report fails the run.
# The .xls reader's helper (velmora-cli) is built with the sanitizers too.
#   tools/sanitize-tests.sh                 build-sanitize next to build
#   SANITIZE_BUILD=/tmp/san tools/sanitize-tests.sh
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${SANITIZE_BUILD:-$top/build-sanitize}
jobs=$(nproc 2>/dev/null || echo 2)

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
# -O0: the build takes 4 minutes instead of 7 on 2 cores (-O1 saved the
# tests 2 of their 10 seconds); -g1 gives the reports their lines.
cmake -S "$top" -B "$build" -G Ninja -DVELMORA_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS="-O0 -g1" -DCMAKE_C_FLAGS="-O0 -g1" "${launcher[@]}" >/dev/null
cmake --build "$build" -j "$jobs" --target test_rules test_files test_services velmora-cli

export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8
# halt/abort on the first report; leaks are reported at exit and fail as well.
export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:strict_string_checks=1:check_initialization_order=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS=suppressions=$top/tools/lsan.supp:print_suppressions=0
unset VELMORA_TEST_DB
ctest --test-dir "$build" -j "$jobs" -R '^test_(rules|files|services)' --output-on-failure
