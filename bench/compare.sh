#!/usr/bin/env bash
# Times whole ledgerly-cli processes side by side with the tools a user would
# otherwise reach for, on the same files, alternating, and prints a Markdown
# table of medians, spread (min-max), processor time, ratios and peak memory.
#
#   bench/compare.sh [BUILD_DIR]        (default: build-release)
#
# Environment: COMPARE_RUNS (default 7), COMPARE_RECORDS (32767 or 65535),
# COMPARE_DIR (scratch folder, default /tmp/ledgerly-compare). Run it once
# with each size to see what twice the records cost.
#
# Needs the Debian packages sqlite3, libpalm-pdb-perl and time; run as root it
# installs the missing ones, otherwise it prints
#   apt-get install sqlite3 libpalm-pdb-perl time
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build-release}
RUNS=${COMPARE_RUNS:-7}
RECORDS=${COMPARE_RECORDS:-32767}
WORK=${COMPARE_DIR:-/tmp/ledgerly-compare}

missing=""
for p in sqlite3 libpalm-pdb-perl time; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
        missing="$missing $p"
done
if [ -n "$missing" ]; then
    if [ "$(id -u)" -eq 0 ]; then
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing
    else
        echo "Missing packages:$missing; run: sudo apt-get install$missing" >&2
        exit 1
    fi
fi

if [ ! -x "$BUILD/bin/ledgerly-cli" ] || [ ! -x "$BUILD/bin/ledgerly-benchgen" ]; then
    cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$BUILD" -j "$(nproc)" --target ledgerly-cli ledgerly-benchgen >/dev/null
fi
CLI=$(realpath "$BUILD/bin/ledgerly-cli")
mkdir -p "$WORK"
cd "$WORK"
if [ ! -f "home/Bench User/Plain$RECORDS.pdb" ] || [ ! -f "text$RECORDS.csv" ]; then
    "$OLDPWD/$BUILD/bin/ledgerly-benchgen" "$WORK" >/dev/null
    sleep 3 # the schema counts as settled after a few seconds
fi
# The peers compare on the plain table (no picture field: Export CSV writes a
# bitmap file per record and picture field) and on a second data set of 20
# text and number fields that the program's own import made; the database
# with every field kind is timed on its own.
SECTION=Plain$RECORDS
PDB="home/Bench User/$SECTION.pdb"
TEXT=Text$RECORDS
TEXT_PDB="home/Bench User/$TEXT.pdb"
FULL=Bench$RECORDS
FULL_PDB="home/Bench User/$FULL.pdb"
L=("$CLI" --program-folder program --hotsync-home home)
if [ ! -f "$TEXT_PDB" ]; then
    "${L[@]}" create "$TEXT" >/dev/null
    "${L[@]}" import "$TEXT" "$WORK/text$RECORDS.csv" >/dev/null
fi

# The same data as plain CSV (Ledgerly's own export), and as sqlite3 tables.
"${L[@]}" export "$SECTION" "$WORK/data.csv" >/dev/null
"${L[@]}" export "$TEXT" "$WORK/text.csv" >/dev/null
rm -f data.db text.db
sqlite3 data.db ".import --csv data.csv t"
sqlite3 text.db ".import --csv text.csv t"
cp "$PDB" original.pdb
cp "$TEXT_PDB" original-text.pdb
cp "$FULL_PDB" original-full.pdb
cat >read-pdb.pl <<'PERL'
use strict;
use Palm::PDB;
use Palm::Raw;
my $pdb = Palm::PDB->new;
$pdb->Load($ARGV[0]);
my $bytes = 0;
$bytes += length($_->{data}) for @{$pdb->{records}};
print scalar(@{$pdb->{records}}), " records, $bytes bytes\n";
PERL

# One measurement: "wall_ms cpu_ms peak_kb" appended to the named file.
measure() {
    local name=$1
    shift
    local start end
    start=$(date +%s%N)
    /usr/bin/time -v -o time.txt "$@" >/dev/null 2>err.txt || {
        echo "failed: $*" >&2
        cat err.txt >&2
        exit 1
    }
    end=$(date +%s%N)
    awk -v wall=$(((end - start) / 1000000)) '
        /User time/ {u = $NF} /System time/ {s = $NF}
        /Maximum resident set size/ {m = $NF}
        END {printf "%d %d %d\n", wall, (u + s) * 1000, m}' time.txt >>"$name.txt"
}

rm -f m_*.txt
for ((i = 1; i <= RUNS; ++i)); do
    measure m_baseline "$CLI" --help
    measure m_export "${L[@]}" export "$SECTION" "$WORK/out.csv"
    measure m_sqlite_export sh -c 'sqlite3 -csv -header data.db "select * from t" >out-sqlite.csv'
    measure m_import "${L[@]}" import "$SECTION" "$WORK/data.csv"
    cp original.pdb "$PDB"
    rm -f import.db
    measure m_sqlite_import sqlite3 import.db ".import --csv data.csv t"
    measure m_dump "$CLI" dump "$PDB"
    measure m_perl_read perl read-pdb.pl "$PDB"
    measure m_resave "${L[@]}" resave "$SECTION"
    measure m_text_export "${L[@]}" export "$TEXT" "$WORK/out-text.csv"
    measure m_sqlite_text_export sh -c 'sqlite3 -csv -header text.db "select * from t" >out-sqlite.csv'
    measure m_text_import "${L[@]}" import "$TEXT" "$WORK/text.csv"
    cp original-text.pdb "$TEXT_PDB"
    rm -f import.db
    measure m_sqlite_text_import sqlite3 import.db ".import --csv text.csv t"
    measure m_text_dump "$CLI" dump "$TEXT_PDB"
    measure m_perl_text_read perl read-pdb.pl "$TEXT_PDB"
    measure m_text_resave "${L[@]}" resave "$TEXT"
    measure m_list "${L[@]}" list
    measure m_full_dump "$CLI" dump "$FULL_PDB"
    # A save stores the blank bitmap in every empty picture cell, so each
    # run starts again from the generated file.
    measure m_full_resave "${L[@]}" resave "$FULL"
    cp original-full.pdb "$FULL_PDB"
done
cp original.pdb "$PDB"
cp original-text.pdb "$TEXT_PDB"

# median, min and max of column $2 of a file
stats() { cut -d' ' -f"$2" "$1.txt" | sort -n | awk '{v[NR] = $1} END {
    printf "%d %d %d\n", v[int((NR + 1) / 2)], v[1], v[NR]}'; }
cell() { read -r med lo hi <<<"$(stats "$1" 1)"; cpu=$(stats "$1" 2 | cut -d' ' -f1)
    printf "%s ms (%s–%s), cpu %s ms" "$med" "$lo" "$hi" "$cpu"; }
med() { stats "$1" "${2:-1}" | cut -d' ' -f1; }
ratio() { awk -v a="$(med "$1")" -v b="$(med "$2")" 'BEGIN {printf "%.2f×", a / b}'; }
base=$(med m_baseline 3)
rss() { awk -v m="$(med "$1" 3)" -v b="$base" 'BEGIN {printf "%.0f MB (+%.1f)", m / 1024, (m - b) / 1024}'; }
# Peak memory above the baseline as a multiple of the database file's size.
per_file() { awk -v m="$(med "$1" 3)" -v b="$base" -v f="$(wc -c <"$2")" 'BEGIN {printf "%.2f×", (m - b) * 1024 / f}'; }
peer_rss() { awk -v m="$(med "$1" 3)" 'BEGIN {printf "%.0f MB", m / 1024}'; }

echo "$(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores, $(uname -m), load $(cut -d' ' -f1-3 /proc/loadavg);" \
    "$RECORDS records; $RUNS runs each, alternating"
echo
echo "Plain: 19 fields of every kind but pictures, .pdb $(wc -c <original.pdb) bytes, CSV $(wc -c <data.csv) bytes." \
    "Text: 20 text and number fields made by the import, .pdb $(wc -c <original-text.pdb) bytes, CSV $(wc -c <text.csv) bytes."
echo
echo "| work | Ledgerly, median (min–max) | peer, same data | ratio | Ledgerly peak RSS (above baseline) | above baseline / .pdb size | peer peak RSS |"
echo "|---|---|---|---|---|---|---|"
row() { # label ours peer peer-label file
    echo "| $1 | $(cell "$2") | $4: $(cell "$3") | $(ratio "$2" "$3") | $(rss "$2") | $(per_file "$2" "$5") | $(peer_rss "$3") |"
}
row "export, plain" m_export m_sqlite_export "sqlite3 -csv select" original.pdb
row "import, plain" m_import m_sqlite_import "sqlite3 .import --csv" original.pdb
row "dump, plain" m_dump m_perl_read "perl Palm::PDB read" original.pdb
row "export, text" m_text_export m_sqlite_text_export "sqlite3 -csv select" original-text.pdb
row "import, text" m_text_import m_sqlite_text_import "sqlite3 .import --csv" original-text.pdb
row "dump, text" m_text_dump m_perl_text_read "perl Palm::PDB read" original-text.pdb
echo "| resave, plain | $(cell m_resave) | — | — | $(rss m_resave) | $(per_file m_resave original.pdb) | — |"
echo "| resave, text | $(cell m_text_resave) | — | — | $(rss m_text_resave) | $(per_file m_text_resave original-text.pdb) | — |"
echo "| dump, every field kind | $(cell m_full_dump) | — | — | $(rss m_full_dump) | $(per_file m_full_dump original-full.pdb) | — |"
echo "| resave, every field kind | $(cell m_full_resave) | — | — | $(rss m_full_resave) | $(per_file m_full_resave original-full.pdb) | — |"
echo "| list (800 sections) | $(cell m_list) | — | — | $(rss m_list) | — | — |"
echo "| --help (baseline) | $(cell m_baseline) | — | — | $((base / 1024)) MB | — | — |"

# Each size keeps its medians, so a run of the other size can be set beside
# them: twice the records may cost at most twice the time and memory.
mkdir -p "medians"
for f in m_*.txt; do
    echo "$(med "${f%.txt}" 1) $(med "${f%.txt}" 3)" >"medians/${f%.txt}.$RECORDS"
done
if [ -d medians ] && ls medians/*.32767 >/dev/null 2>&1 && ls medians/*.65535 >/dev/null 2>&1; then
    echo
    echo "| work | 65,535 against 32,767 records: time | peak RSS above baseline |"
    echo "|---|---|---|"
    b32=$(cut -d' ' -f2 medians/m_baseline.32767)
    b65=$(cut -d' ' -f2 medians/m_baseline.65535)
    for name in export import dump resave text_export text_import text_dump text_resave full_dump full_resave; do
        [ -f "medians/m_$name.32767" ] && [ -f "medians/m_$name.65535" ] || continue
        read -r t32 m32 <"medians/m_$name.32767"
        read -r t65 m65 <"medians/m_$name.65535"
        awk -v n="$name" -v t1="$t32" -v t2="$t65" -v m1="$m32" -v m2="$m65" -v b1="$b32" -v b2="$b65" \
            'BEGIN {printf "| %s | %.2f× | %.2f× |\n", n, t2 / t1, (m2 - b2) / (m1 - b1)}'
    done
fi
