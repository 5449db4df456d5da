#!/usr/bin/env bash
# clang-tidy (Debian clang-tidy 14) over every source file of src/ with the
# checks of .clang-tidy, through the compile commands of the test build
# (build/compile_commands.json). The headers of src/ are checked where a
# source file includes them. Any finding fails the run. The moc and rcc files
# the build generates are not ours and are left out.
#   tools/lint.sh                              every source file of src/
#   tools/lint.sh src/files/XlsxReader.cpp     only these
#   VELMORA_BUILD_DIR=/tmp/b LINT_JOBS=1 tools/lint.sh
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${VELMORA_BUILD_DIR:-$top/build}
jobs=${LINT_JOBS:-$(nproc 2>/dev/null || echo 2)}
tidy=${CLANG_TIDY:-clang-tidy-14}

# The compile commands of the build folder: written out by the tests'
# configure; a folder configured otherwise is told to write them (its other
# settings kept), and a missing one is configured as the tests do.
if [ -f "$build/CMakeCache.txt" ]; then
  cmake -S "$top" -B "$build" -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
else
  cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_WERROR=ON \
    -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
fi

if [ $# -gt 0 ]; then
  files=()
  for f in "$@"; do files+=("$(realpath "$f")"); done
else
  # Every source file of src/ the build compiles (generated ones live in the build folder).
  mapfile -t files < <(/usr/bin/python3 - "$build/compile_commands.json" "$top/src/" <<'EOF'
import json, os, sys
entries = json.load(open(sys.argv[1]))
names = {os.path.normpath(os.path.join(e["directory"], e["file"])) for e in entries}
print("\n".join(sorted(n for n in names if n.startswith(sys.argv[2]))))
EOF
  )
fi

logs=$(mktemp -d /tmp/velmora-lint.XXXXXX)
trap 'rm -rf "$logs"' EXIT
# The compile commands without the build's precompiled headers: clang cannot
# read GCC's, and each file is to be checked with only what it includes itself.
mkdir "$logs/commands"
/usr/bin/python3 - "$build/compile_commands.json" "$logs/commands/compile_commands.json" <<'EOF'
import json, shlex, sys
entries = json.load(open(sys.argv[1]))
for e in entries:
    args = e.pop("arguments", None) or shlex.split(e.pop("command"))
    kept, i = [], 0
    while i < len(args):
        if args[i] == "-include" and i + 1 < len(args) and args[i + 1].endswith("cmake_pch.hxx"):
            i += 2
            continue
        if args[i] != "-Winvalid-pch":
            kept.append(args[i])
        i += 1
    e["arguments"] = kept
json.dump(entries, open(sys.argv[2], "w"))
EOF
# One clang-tidy per file, `jobs` at a time, each into its own log, so that
# the findings come out whole and in the files' order. The compile commands
# are GCC's: clang is told not to stop at a warning option only GCC knows, and
# not to turn its own warnings into errors (compiler warnings are the build's
# business; here only the checks of .clang-tidy count, however the build
# folder was configured).
printf '%s\n' "${files[@]}" | xargs -d '\n' -n 1 -P "$jobs" sh -c \
  'log="$2/$(printf %s "$3" | tr / %)"
   "$0" -p "$1" --quiet --extra-arg=-Wno-unknown-warning-option --extra-arg=-Wno-error "$3" >"$log.log" 2>&1 \
     || touch "$log.failed"' \
  "$tidy" "$logs/commands" "$logs" || true

failed=0
for log in "$logs"/*.log; do
  if [ -e "${log%.log}.failed" ]; then
    failed=$((failed + 1))
    cat "$log"
  fi
done
if [ "$failed" -gt 0 ]; then
  echo "lint: findings in $failed of ${#files[@]} files (see above)"
  exit 1
fi
echo "lint: ${#files[@]} files clean"
