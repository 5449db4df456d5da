#!/usr/bin/env bash
# Builds everything and runs every test: all tests on SQLite, then the
# database tests again on a throw-away PostgreSQL cluster.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${VELMORA_BUILD_DIR:-$top/build}
jobs=$(nproc 2>/dev/null || echo 2)

"$top/tools/check-layers.sh"
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_WERROR=ON \
  -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
cmake --build "$build" -j "$jobs"

export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8
cluster=$(mktemp -d /tmp/velmora-pg.XXXXXX)
trap '"$top/tests/pg-cluster.sh" stop "$cluster"' EXIT
url=$("$top/tests/pg-cluster.sh" start "$cluster")

echo "== all tests on SQLite"
status=0
ctest --test-dir "$build" -j "$jobs" --output-on-failure || status=1
echo "== database tests on PostgreSQL ($url)"
VELMORA_TEST_DB="$url" ctest --test-dir "$build" -j "$jobs" -L database --output-on-failure || status=1
exit $status
