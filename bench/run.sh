#!/usr/bin/env bash
# Runs every benchmark once at its default size on a fresh SQLite database
# (`make bench`). Each prints its own figures.
set -euo pipefail
build=${1:-build}
work=$(mktemp -d /tmp/velmora-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen
echo "== calculation"; "$build/bench/calc/bench_calc" --db "sqlite:$work/calc.sqlite"
echo "== import"; "$build/bench/import/bench_import_generate" "$work"
"$build/bench/import/bench_import" employees "$work/employees.xlsx" "sqlite:$work/import.sqlite"
"$build/bench/import/bench_import" history "$work/history.xlsx" "sqlite:$work/import.sqlite"
echo "== reports"; "$build/bench/reports/bench_reports"
echo "== fund source"; "$build/bench/reports/bench_fundsource"
echo "== audit"; "$build/bench/audit/bench_audit" verify 1000000 "sqlite:$work/audit.sqlite"
"$build/bench/audit/bench_audit" save 1000 "sqlite:$work/audit-save.sqlite"
"$build/bench/audit/bench_audit" import "$work/employees.xlsx" "sqlite:$work/audit-import.sqlite"
echo "== check"; "$build/bench/check/bench_check"
echo "== backup"; "$build/bench/backup/bench_backup" generate "$work/office.sqlite"
"$build/bench/backup/bench_backup" backup "$work/office.sqlite" 3
"$build/bench/backup/bench_backup" check "$work/office.sqlite" 3
