#!/usr/bin/env bash
# calccheck.sh - does the journal open in LibreOffice Calc as a table?
#
# Usage: tools/calccheck.sh
#
# Installs LibreOffice Calc without its user interface, builds tst_drill and
# lets its journal test (the real main window, answers typed with Qt Test)
# leave a copy of the journal it wrote. Calc reads that copy as a Czech
# system's spreadsheet would (";" between fields, UTF-8) and saves it again
# with commas; the first row must be the header, every row eight cells.
set -euo pipefail
ZIRMON_ROOT=$(cd "$(dirname "$0")/.." && pwd)
source "$ZIRMON_ROOT/tools/deps.sh"
zirmon_install_deps test
zirmon_install_packages libreoffice-calc-nogui python3
BUILD=${ZIRMON_BUILD:-$ZIRMON_ROOT/build}
zirmon_build "$BUILD" Release -- tst_drill >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
ZIRMON_JOURNAL_COPY="$work/denik.csv" QT_QPA_PLATFORM=offscreen \
    "$BUILD/tests/tst_drill" journalOfAnswers >"$work/test.log" 2>&1 ||
    { cat "$work/test.log"; exit 1; }
HOME="$work" soffice --headless --infilter="CSV:59,34,76,1" \
    --convert-to "csv:Text - txt - csv (StarCalc):44,34,76,1" --outdir "$work/out" \
    "$work/denik.csv" >"$work/soffice.log" 2>&1 || { cat "$work/soffice.log"; exit 1; }
python3 - "$work/out/denik.csv" <<'PY'
import csv, sys
rows = list(csv.reader(open(sys.argv[1], encoding="utf-8", newline="")))
header = ["Datum", "Čas", "Operace", "A", "B", "Odpověď", "Správně", "Doba (ms)"]
if rows[0] != header:
    sys.exit(f"calccheck: the first row is {rows[0]}, not the header")
if len(rows) < 3 or any(len(r) != 8 for r in rows):
    sys.exit(f"calccheck: not a table of eight columns: {rows}")
for r in rows[1:]:
    if r[2] != "násobení" or r[6] not in ("ano", "ne") or not r[7].isdigit():
        sys.exit(f"calccheck: a row read wrongly: {r}")
print(f"calccheck: Calc read the journal as a table of {len(rows)} rows, header first")
for r in rows:
    print("  " + " | ".join(r))
PY
