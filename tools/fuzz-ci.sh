#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang (AddressSanitizer + UBSan) in
# their own build folder and runs each for FUZZ_SECONDS (default 60) from a
# corpus seeded by fuzz/make-seeds.sh, one target per core at a time
# (FUZZ_JOBS). Fails when a target finds a crash, a leak, a time-out or a
# sanitizer report; the input is left in
# $FUZZ_BUILD/artifacts/TARGET/ (copy it to fuzz/regressions/ and mend the reader).
#   FUZZ_SECONDS=900 tools/fuzz-ci.sh            every target, 15 minutes each
#   tools/fuzz-ci.sh fuzz_text fuzz_xls_own       only these
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${FUZZ_BUILD:-$top/build-fuzz}
seconds=${FUZZ_SECONDS:-60}
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_text fuzz_xls_own fuzz_xlsx fuzz_xls)

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
cmake -S "$top" -B "$build" -G Ninja -DVELMORA_FUZZ=ON -DVELMORA_BUILD_TESTS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ "${launcher[@]}" >/dev/null
cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)"
"$top/fuzz/make-seeds.sh" "$build"

export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=0:detect_leaks=1:allocator_may_return_null=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8
# Runs one target; its verdict goes to $build/$t.verdict.
run_target() {
  local t=$1
  local corpus=$build/corpus/$t artifacts=$build/artifacts/$t log=$build/$t.log
  mkdir -p "$corpus" "$artifacts"
  # -timeout: one input may take this long (the .xls target starts a process,
  # which took up to 26 s on a loaded 2-core machine);
  # -rss_limit_mb: the readers' own limits keep far below it.
  if "$build/fuzz/$t" -max_total_time="$seconds" -timeout=120 -rss_limit_mb=2048 -max_len=262144 \
       -print_final_stats=1 -artifact_prefix="$artifacts/" "$corpus" "$build/seeds/$t" >"$log" 2>&1; then
    local runs
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo "?")
    echo "$t: clean, $runs executions, corpus $(find "$corpus" -type f | wc -l) inputs" >"$build/$t.verdict"
  else
    { echo "$t: FAILED (see $log and $artifacts)"
      grep -E 'ERROR|SUMMARY|runtime error|deadly signal|Test unit written' "$log" | head -20 || true
    } >"$build/$t.verdict"
    return 1
  fi
}

# One target per core at a time: each fuzzer runs on one core.
parallel=${FUZZ_JOBS:-$(nproc 2>/dev/null || echo 2)}
status=0
pids=()
for t in "${targets[@]}"; do
  echo "== $t for ${seconds}s"
  run_target "$t" &
  pids+=($!)
  if [ ${#pids[@]} -ge "$parallel" ]; then
    wait "${pids[0]}" || status=1
    pids=("${pids[@]:1}")
  fi
done
for p in "${pids[@]}"; do wait "$p" || status=1; done
for t in "${targets[@]}"; do cat "$build/$t.verdict"; done
exit $status
