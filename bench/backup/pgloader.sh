#!/usr/bin/env bash
# The move of an office's SQLite database into PostgreSQL: `velmora-cli copy
# --to` beside pgloader (Debian package pgloader, installed when missing: a
# tool of this benchmark only), on the same file, in turns, each into a new
# database of a throw-away cluster; then the medians and their ratio, and
# what the program says of pgloader's copy as it stands.
#   bench/backup/pgloader.sh [BUILD] [RUNS] [FILE]
# FILE: an SQLite database (default: bench_backup generate's office size).
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$top/build}
runs=${2:-3}
cli=$build/src/cli/velmora-cli
command -v pgloader >/dev/null || {
  sudo=""; [ "$(id -u)" = 0 ] || sudo=sudo
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends pgloader >/dev/null
}
work=$(mktemp -d /tmp/velmora-pgloader.XXXXXX)
chmod 755 "$work"
trap '"$top/tests/pg-cluster.sh" stop "$work/pg"; rm -rf "$work"' EXIT
url=$("$top/tests/pg-cluster.sh" start "$work/pg")
server=${url%/*}
file=${3:-$work/office.sqlite}
[ -f "$file" ] || "$build/bench/backup/bench_backup" generate "$file"
export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8
# The copy is an administrator's: the file gets one (once), who runs every command.
pw=bench123
printf '%s\n' "$pw" | "$cli" --db "sqlite:$file" init --user bench --password-stdin >/dev/null 2>&1 || true
as_bench() { printf '%s\n' "$pw" | "$cli" --login bench "$@"; }

seconds() { # command... : wall-clock seconds on stdout, the command's output in $work/last.log
  local start end
  start=$(date +%s.%N)
  "$@" >"$work/last.log" 2>&1 || { cat "$work/last.log" >&2; return 1; }
  end=$(date +%s.%N)
  echo "$end - $start" | bc
}
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

: >"$work/velmora.times"
: >"$work/pgloader.times"
for i in $(seq 1 "$runs"); do
  psql -q "$url" -c "CREATE DATABASE v_$i" -c "CREATE DATABASE p_$i" >/dev/null
  v=$(seconds as_bench --db "sqlite:$file" copy --to "$server/v_$i")
  p=$(seconds pgloader --quiet "sqlite://$file" "$server/p_$i")
  echo "run $i: velmora-cli copy $v s, pgloader $p s"
  echo "$v" >>"$work/velmora.times"
  echo "$p" >>"$work/pgloader.times"
done
mv=$(median <"$work/velmora.times")
mp=$(median <"$work/pgloader.times")
echo "medians of $runs: velmora-cli copy $mv s (with its checks), pgloader $mp s; ratio copy/pgloader $(echo "scale=2; $mv / $mp" | bc)"

echo "== pgloader's copy, used by the program as it stands"
target="$server/p_1"
# Employee 10020000 has no saved calculation; its contract ends in 09/2024.
for args in "audit verify" "audit list --from 01/01/2020" "calc 10020000 --month 09/2024 --json" \
            "calc 10020000 --month 09/2024 --save" "audit verify" "report received --year 2024"; do
  # shellcheck disable=SC2086
  if as_bench --db "$target" $args >"$work/use.log" 2>&1; then
    echo "velmora-cli $args: ok: $(head -c 200 "$work/use.log" | head -n 1)"
  else
    echo "velmora-cli $args: refused: $(head -c 300 "$work/use.log" | head -n 1)"
  fi
done
echo "-- column types pgloader chose (velmora's copy in brackets), where they differ"
psql -At "$target" -c "SELECT table_name, column_name, data_type, coalesce(character_maximum_length::text, '') FROM information_schema.columns WHERE table_schema = 'public' ORDER BY 1, 2" >"$work/p.types"
psql -At "$server/v_1" -c "SELECT table_name, column_name, data_type, coalesce(character_maximum_length::text, '') FROM information_schema.columns WHERE table_schema = 'public' ORDER BY 1, 2" >"$work/v.types"
join -t '|' -j1 <(awk -F'|' '{ print tolower($1 "." $2) "|" $3 " " $4 }' "$work/p.types" | sort) \
  <(awk -F'|' '{ print tolower($1 "." $2) "|" $3 " " $4 }' "$work/v.types" | sort) \
  | awk -F'|' '$2 != $3 { print "  " $1 ": " $2 " (" $3 ")" }'
echo "-- tables and indexes"
psql -At "$target" -c "SELECT 'tables ' || count(*) FROM information_schema.tables WHERE table_schema = 'public'"
psql -At "$target" -c "SELECT 'primary keys ' || count(*) FROM information_schema.table_constraints WHERE table_schema = 'public' AND constraint_type = 'PRIMARY KEY'"
psql -At "$target" -c "SELECT 'indexes ' || count(*) FROM pg_indexes WHERE schemaname = 'public'"
psql -At "$server/v_1" -c "SELECT 'velmora copy: indexes ' || count(*) FROM pg_indexes WHERE schemaname = 'public'"
