#!/usr/bin/env bash
# Imports each workbook twice (inserts, then updates) with two builds of
# velmora-cli and compares the table dumps: a change to the reader or the save
# must store the same rows, byte for byte.
#   compare_dumps.sh OLD-CLI NEW-CLI [DB-URL-PREFIX] WORKBOOK...
# Workbooks whose name starts with "history" are imported as history. SQLite
# by default; with a PostgreSQL URL (ending in "?schema=") each run gets its
# own schema and is dumped with pg_dump, lines sorted (an update moves a row
# within PostgreSQL's table, so the order of rows is no part of the result).
# In the audit log's rows the server's time and the chain values (which hash
# that time) are masked; everything else of them, the details included, is
# compared.
set -euo pipefail
old=$1 new=$2
shift 2
pg=""
if [[ ${1:-} == postgresql://* ]]; then pg=$1; shift; fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
n=0
dump() { # cli book tag
  local cli=$1 book=$2 tag=$3 url kind=import-employees
  [[ $(basename "$book") == history* ]] && kind=import-history
  n=$((n + 1))
  if [ -n "$pg" ]; then
    local schema="cmp_${tag}_$n"
    PGOPTIONS=--client-min-messages=warning psql -q "${pg%%\?*}" -v ON_ERROR_STOP=1 -c "DROP SCHEMA IF EXISTS $schema CASCADE; CREATE SCHEMA $schema" >/dev/null
    url="$pg$schema"
  else
    url="sqlite:$work/$tag-$n.db"
  fi
  "$cli" --db "$url" init >/dev/null
  "$cli" --db "$url" "$kind" "$book" >"$work/$tag-$n.out1"
  "$cli" --db "$url" "$kind" "$book" >"$work/$tag-$n.out2"
  if [ -n "$pg" ]; then
    pg_dump --data-only --no-owner -n "$schema" "${pg%%\?*}" | grep -v '^--' | sed "s/$schema\.//g" |
      grep -v -e 'SET ' -e 'set_config' -e 'restrict ' | LC_ALL=C sort >"$work/$tag.dump"
    PGOPTIONS=--client-min-messages=warning psql -q "${pg%%\?*}" -v ON_ERROR_STOP=1 -c "DROP SCHEMA $schema CASCADE" >/dev/null
  else
    sqlite3 "$work/$tag-$n.db" .dump >"$work/$tag.dump"
  fi
}
mask_audit() { # the time and hash chain of the audit rows
  sed -E '/velmora-cli|EP_Audit_Head|^[0-9]+	[0-9a-f]{64}$/ { s/[0-9]{4}-[0-9]{2}-[0-9]{2}[ T][0-9:.+]+/TIME/g; s/[0-9a-f]{64}/HASH/g }' "$1" >"$1.masked"
  if [ -n "$pg" ]; then LC_ALL=C sort "$1.masked" >"$1"; else mv "$1.masked" "$1"; fi
}
for book in "$@"; do
  dump "$old" "$book" old
  dump "$new" "$book" new
  mask_audit "$work/old.dump"
  mask_audit "$work/new.dump"
  if cmp -s "$work/old.dump" "$work/new.dump"; then
    echo "same   $(basename "$book") ($(wc -l <"$work/new.dump") dump lines)"
  else
    echo "DIFFER $(basename "$book")"
    diff "$work/old.dump" "$work/new.dump" | head -20
    status=1
  fi
done
exit $status
