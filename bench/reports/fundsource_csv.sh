#!/usr/bin/env bash
# `report fund-source` as CSV over 100,000 lines against the sqlite3 shell
# running the report's query to CSV on the same database, in the same run.
#   fundsource_csv.sh BUILD-DIR [ROUNDS]
# BUILD-DIR holds bench/reports/bench_fundsource (fills the database: 50,000
# saved calculations of two periods each) and src/cli/velmora-cli. Prints
# per round wall and CPU seconds (user + system) and peak memory of each, then
# the medians and the ratio.
# The shell's query is the report's SELECT with the same join, filter and
# order, except that the first names are ordered by byte (the shell does not
# have the program's Thai collation).
set -euo pipefail
build=$1
rounds=${2:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
db=$work/fs.sqlite
"$build/bench/reports/bench_fundsource" --calculations 50000 --db "sqlite:$db" >/dev/null
key="SUBSTR(c.Date_Entry, 7, 4) || SUBSTR(c.Date_Entry, 4, 2) || SUBSTR(c.Date_Entry, 1, 2)"
query="SELECT c.SapID, c.Emp_Surname, c.Emp_F_Name, c.Emp_L_Name, c.Net_Money_Recieve, c.Fact_Month_Weigth,
 c.Kv_Month_Weight, c.Date_Entry, c.Depart_Name, c.Event_Out, c.No_Year, c.No_Month, c.No_Day,
 c.Last_Salary, c.N_T, dt.Work_Type_Code, dt.Date_B_cal, dt.Date_E_Cal, t.Work_Type
 FROM (EP_mRec_Money_Detail dt LEFT JOIN EP_TR_Work_Type t ON dt.Work_Type_Code = t.Work_Type_Code)
 INNER JOIN EP_mRec_Money_Chodchoy c ON dt.SapID = c.SapID
 WHERE ($key >= '25690101') AND ($key <= '25691231')
 ORDER BY CASE WHEN c.Emp_F_Name IS NULL THEN 0 ELSE 1 END, c.Emp_F_Name, c.SapID,
 SUBSTR(dt.Date_B_cal, 7, 4), SUBSTR(dt.Date_B_cal, 4, 2), SUBSTR(dt.Date_B_cal, 1, 2)"
measure() { # label command...
  /usr/bin/time -f "%e %U %S %M" -o "$work/time" "${@:2}" >"$work/$1.csv"
  read -r wall user sys peak <"$work/time"
  echo "$1 $wall $(echo "$user + $sys" | bc) $((peak / 1024)) $(wc -l <"$work/$1.csv")"
}
for ((r = 1; r <= rounds; r++)); do
  measure ours "$build/src/cli/velmora-cli" --db "sqlite:$db" report fund-source --from 01/01/2569 --to 31/12/2569
  measure sqlite3 sqlite3 -csv -header "$db" "$query"
done | tee "$work/all"
echo "uptime: $(uptime)"
median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2}'; }
for col in 2 3; do
  o=$(awk -v c=$col '$1 == "ours" {print $c}' "$work/all" | median)
  s=$(awk -v c=$col '$1 == "sqlite3" {print $c}' "$work/all" | median)
  name=$([ $col = 2 ] && echo wall || echo cpu)
  echo "median $name: ours $o s, sqlite3 $s s, ratio $(echo "scale=2; $o / $s" | bc)"
done
