#!/usr/bin/env bash
# Seeds the fuzz corpora from the test fixtures and the kept regression
# inputs: BUILD/seeds/TARGET/ for each target (BUILD defaults to build-fuzz).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build-fuzz}
fixtures=$top/tests/files/fixtures
seeds=$build/seeds
rm -rf "$seeds"
mkdir -p "$seeds"/{fuzz_xlsx,fuzz_xls,fuzz_xls_own,fuzz_text}

cp "$fixtures"/*.xlsx "$seeds/fuzz_xlsx/"
# The same workbooks as lists of parts (see fuzz/fuzz_xlsx.cpp).
python3 - "$fixtures" "$seeds/fuzz_xlsx" <<'PY'
import pathlib, sys, zipfile
src, out = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
for book in sorted(src.glob("*.xlsx")):
    try:
        with zipfile.ZipFile(book) as z:
            if sum(i.file_size for i in z.infolist()) > 1 << 20:
                continue  # the oversized fixture stays a package only
            parts = b"".join(b"==>" + i.filename.encode() + b"\n" + z.read(i) for i in z.infolist())
    except (zipfile.BadZipFile, OSError, EOFError):
        continue
    (out / (book.stem + ".parts")).write_bytes(parts)
PY
cp "$fixtures"/*.xls "$seeds/fuzz_xls/"
cp "$fixtures"/*.xls "$seeds/fuzz_xls_own/"
# The helper's frames for each .xls fixture, for the frame parser.
helper=$build/fuzz/velmora-xls-helper
if [ -x "$helper" ]; then
  for f in "$fixtures"/*.xls; do
    "$helper" xls-cells 1000 256 100000 "$f" >"$seeds/fuzz_xls_own/$(basename "$f" .xls).frames" || true
  done
fi
# Typed texts: the first byte chooses the parser (see fuzz/fuzz_text.cpp).
n=0
seed() { printf "$1" >"$seeds/fuzz_text/seed$n"; n=$((n + 1)); }
for amount in '1,234.50' '-0.005' '19679.625' '' '1e5' '99999999999999999999' ' 12 ' '1.2.3'; do seed "\x00$amount"; done
for date in '01/10/2550' '29/02/2563' '31/02/2566' '1/1/2500' '00/00/0000' '31/12/9999' '01-10-2007'; do seed "\x01$date"; done
for month in '09/2012' '13/2012' '9/2012' '12/1899'; do seed "\x02$month"; done
for salary in '20,000.00' '-1' '1.005' 'สองหมื่น'; do seed "\x03$salary"; done
for year in '2566' ' 2566 ' '25666' 'x'; do seed "\x04$year"; done
seed '\x0501/10/2550\n30/09/2560'; seed '\x0501/10/2007\n30/09/2008'; seed '\x0531/12/2560\n01/01/2560'
for ids in '10000001,10000002' ' , 10000001,,' ''; do seed "\x06$ids"; done
seed '\x071,234.56\nabc'
# Every input once found to crash a reader is a seed as well.
for t in fuzz_xlsx fuzz_xls fuzz_xls_own fuzz_text; do
  [ -d "$top/fuzz/regressions/$t" ] && cp "$top/fuzz/regressions/$t"/* "$seeds/$t/" 2>/dev/null || true
done
echo "seeds: $(find "$seeds" -type f | wc -l) inputs in $seeds"
