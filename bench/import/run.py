#!/usr/bin/python3
"""The import benchmarks side by side with openpyxl reading the same workbook
in the same run. Figures for docs/performance-import.md.

    run.py BUILD-DIR [--rounds N] [--pg URL] [--million] [--screen] [--work DIR]

BUILD-DIR holds a Release build of bench_import and bench_import_generate.
The cases run the command line's import (each sheet read row by row as it is
saved; "load" is 0 and "first save" is the whole import); --screen adds the
screen's way (load into grid rows, then save) on SQLite.
Each case runs N times (default 5) in fresh processes, alternating with
openpyxl, under /usr/bin/time -v for the peak memory; medians are printed.
--pg URL (a PostgreSQL database URL) adds the PostgreSQL cases, each in a
schema of its own; --million adds the 1,000,000-row sheet generated on the
spot (reader streaming them, and the whole imports).
"""
import argparse
import os
import re
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))


CPU = {}


def timed(cmd):
    """Runs cmd under /usr/bin/time -v: (stdout, wall seconds, peak MB); the
    CPU seconds (user + system) of the process are kept in CPU["last"]."""
    start = time.perf_counter()
    p = subprocess.run(["/usr/bin/time", "-v"] + cmd, capture_output=True, text=True)
    wall = time.perf_counter() - start
    if p.returncode != 0:
        sys.exit("failed: %s\n%s%s" % (" ".join(cmd), p.stdout, p.stderr))
    peak = int(re.search(r"Maximum resident set size \(kbytes\): (\d+)", p.stderr).group(1)) / 1024
    CPU["last"] = sum(float(x) for x in re.findall(r"(?:User|System) time \(seconds\): ([\d.]+)", p.stderr))
    return p.stdout, wall, peak


def ms(pattern, text):
    m = re.search(pattern, text)
    return int(m.group(1)) / 1000 if m else float("nan")


def load_avg():
    return " ".join(open("/proc/loadavg").read().split()[:3])


def psql(url, sql):
    base = url.split("?")[0]
    subprocess.run(["psql", "-q", base, "-v", "ON_ERROR_STOP=1", "-c", sql], check=True, capture_output=True,
                   env=dict(os.environ, PGOPTIONS="--client-min-messages=warning"))


def case(name, kind, book, url_for, rounds, bench):
    rows = []
    for r in range(rounds):
        out, _, _ = timed([sys.executable, os.path.join(HERE, "openpyxl_read.py"), book])
        openpyxl_s = ms(r"time=(\d+) ms", out)
        openpyxl_cpu = CPU["last"]
        url = url_for(r)
        out, wall, peak = timed([bench, kind, book, url, "--twice"])
        load = ms(r"load=(\d+) ms", out)
        save1 = ms(r"save1=(\d+) ms", out)
        save2 = ms(r"save2=(\d+) ms", out)
        cpu = ms(r"load=\d+ ms \(cpu (\d+) ms\)", out) + ms(r"save1=\d+ ms \(cpu (\d+) ms\)", out)
        cpu2 = ms(r"save2=\d+ ms \(cpu (\d+) ms\)", out)
        rows.append((openpyxl_s, load, save1, load + save1, save2, peak, wall, openpyxl_cpu, cpu, cpu2))
        counts = re.search(r"save2=.*?\((.*)\)", out)
    med = [statistics.median(c) for c in zip(*rows)]
    print("| %s | %.2f s | %.2f s | %.2f s | **%.2f s** | %.1f× | %.2f s | %.0f MB "
          "| %.2f s | %.2f s | %.1f× | %.2f s |" % (
              name, med[0], med[1], med[2], med[3], med[0] / med[3], med[4], med[5],
              med[7], med[8], med[7] / med[8], med[9]))
    print("<!-- %s rounds=%d all load+save: %s; second import: %s -->" % (
        name, rounds, ", ".join("%.2f" % r[3] for r in rows), counts.group(1) if counts else ""))
    sys.stdout.flush()


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("build")
    ap.add_argument("--rounds", type=int, default=5)
    ap.add_argument("--pg")
    ap.add_argument("--million", action="store_true")
    ap.add_argument("--screen", action="store_true", help="also the screen's load and save (grid) on SQLite")
    ap.add_argument("--work")
    args = ap.parse_args()
    bench = os.path.join(args.build, "bench/import/bench_import")
    generate = os.path.join(args.build, "bench/import/bench_import_generate")
    work = args.work or tempfile.mkdtemp(prefix="velmora-bench-")
    os.makedirs(work, exist_ok=True)
    books = {n: os.path.join(work, n) for n in ("employees.xlsx", "history.xlsx", "employees_inline.xlsx")}
    if not all(os.path.exists(p) for p in books.values()):
        subprocess.run([generate, work], check=True)
        subprocess.run([sys.executable, os.path.join(HERE, "generate_inline.py"), books["employees_inline.xlsx"]],
                       check=True)
    print("load average before: %s; %d rounds per case; medians" % (load_avg(), args.rounds))
    print()
    print("| case | openpyxl read-only | load | first save | load + first save | openpyxl ÷ ours "
          "| re-import (unchanged) | peak | openpyxl CPU | our CPU (load + save) | CPU ratio | re-import CPU |")
    print("|---|---|---|---|---|---|---|---|---|---|---|---|")

    def sqlite_url(tag):
        def url(r):
            path = os.path.join(work, "%s-%d.db" % (tag, r))
            for suffix in ("", "-wal", "-shm"):
                if os.path.exists(path + suffix):
                    os.remove(path + suffix)
            return "sqlite:" + path
        return url

    case("50,000 employees (libxlsxwriter, shared strings), SQLite", "import-employees", books["employees.xlsx"],
         sqlite_url("e"), args.rounds, bench)
    case("50,000 employees + 50,000 reasons (python xlsxwriter, inline strings), SQLite", "import-employees",
         books["employees_inline.xlsx"], sqlite_url("i"), args.rounds, bench)
    case("100,000 history periods, SQLite", "import-history", books["history.xlsx"], sqlite_url("h"), args.rounds,
         bench)
    if args.screen:
        case("50,000 employees (libxlsxwriter), SQLite, the screen's load and save", "employees",
             books["employees.xlsx"], sqlite_url("g"), args.rounds, bench)
    if args.pg:
        def pg_url(tag):
            def url(r):
                schema = "bench_%s_%d" % (tag, r)
                psql(args.pg, "DROP SCHEMA IF EXISTS %s CASCADE; CREATE SCHEMA %s" % (schema, schema))
                return "%s?schema=%s" % (args.pg.split("?")[0], schema)
            return url
        case("50,000 employees (libxlsxwriter), PostgreSQL", "import-employees", books["employees.xlsx"],
             pg_url("e"), args.rounds, bench)
        case("100,000 history periods, PostgreSQL", "import-history", books["history.xlsx"], pg_url("h"),
             args.rounds, bench)
    print("load average after: %s" % load_avg())

    if args.million:
        print()
        print("| sheet | rows streamed | read time | peak |")
        print("|---|---|---|---|")
        for n in (100000, 1000000):
            folder = os.path.join(work, "rows-%d" % n)
            os.makedirs(folder, exist_ok=True)
            book = os.path.join(folder, "employees.xlsx")
            if not os.path.exists(book):
                subprocess.run([generate, folder, str(n), "1"], check=True)
            out, wall, peak = timed([bench, "read", book])
            print("| %d employees (%.0f MB file) | %s | %.2f s (CPU %.2f s) | %.0f MB |" % (
                n, os.path.getsize(book) / 1e6, re.search(r"rows=(\d+)", out).group(1),
                ms(r"time=(\d+) ms", out), CPU["last"], peak))
            sys.stdout.flush()
        big = os.path.join(work, "rows-1000000", "employees.xlsx")
        print()
        print("| whole import (command line, streamed) | wall | CPU | peak | counts |")
        print("|---|---|---|---|---|")
        for n in (100000, 1000000):
            book = os.path.join(work, "rows-%d" % n, "employees.xlsx")
            out, wall, peak = timed([bench, "import-employees", book, sqlite_url("m%d" % n)(0)])
            print("| %d employees into SQLite | %.2f s | %.2f s | %.0f MB | %s |" % (
                n, wall, CPU["last"], peak, re.search(r"save1=.*?\) \((.*)\)", out).group(1)))
            sys.stdout.flush()


if __name__ == "__main__":
    main()
