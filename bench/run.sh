#!/bin/sh
# Runs the benchmarks in fresh processes and prints the median of each
# figure. Build first (tools/setup.sh). Usage: bench/run.sh [runs]
set -eu
cd "$(dirname "$0")/.."
runs=${1:-5}
bin=${BENCH_BIN:-build/bin}
tmp=${TMPDIR:-/tmp}

median() {
    sort -g | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# Runs "$@" $runs times and prints the median of every "name value" line.
repeat() {
    out=$(mktemp)
    i=0
    while [ "$i" -lt "$runs" ]; do
        "$@" >> "$out"
        i=$((i + 1))
    done
    for name in $(awk '{ print $1 }' "$out" | sort -u); do
        printf '  %-28s %s\n' "$name" "$(awk -v n="$name" '$1 == n { print $2 }' "$out" | median)"
    done
    rm -f "$out"
}

echo "machine: $(nproc) cores, $(awk '/MemTotal/ { printf "%.0f GiB", $2 / 1048576 }' /proc/meminfo), $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')"

if [ -x "$bin/bench_load" ]; then
    "$bin/bench_load" "$tmp/tarnel-bench-50mb.java" --generate
    echo "load (50 MB Java file, median of $runs fresh processes):"
    repeat "$bin/bench_load" "$tmp/tarnel-bench-50mb.java"
fi

if [ -x "$bin/bench_open" ]; then
    "$bin/bench_open" "$tmp" --generate
    echo "open (49 MB Java, 51 MB HTML, 20 MB JSP, 5 MB batch files opened to the painted last screen and to the painted top, beside the read + line-split limit measured in the same process; ms and ratios, median of $runs fresh processes):"
    repeat "$bin/bench_open" "$tmp"
    echo "open, peak resident memory while opening to the last screen, bytes per byte of file (median of $runs fresh processes each):"
    for kind in java html jsp batch; do
        repeat "$bin/bench_open" "$tmp" --peak "$kind"
    done
fi

if [ -x "$bin/bench_utf8" ]; then
    "$bin/bench_utf8" "$tmp" --generate
    echo "UTF-8 (50 MB Java file loaded from disk and highlighted whole, as ASCII and with 5% non-ASCII letters read as UTF-8; CPU seconds and their ratio, median of $runs fresh processes):"
    repeat "$bin/bench_utf8" "$tmp"
fi

if [ -x "$bin/bench_stream" ]; then
    echo "component stream (20,000 styles as a colour-style file, median of $runs fresh processes):"
    repeat "$bin/bench_stream"
fi

if [ -x "$bin/bench_highlight" ]; then
    echo "highlight (the 49 MB Java, 51 MB HTML, 20 MB JSP and 5 MB batch files of the open benchmark through a fresh text store, every line's state established and every line shown; 50 MB Java, 50 MB HTML with JSP, 50 MB of nested script/style/JSP switches, through a text store: MB/s of process CPU time, and heap bytes per byte once every line was shown; median of $runs fresh processes):"
    repeat "$bin/bench_highlight"
fi

if [ -x "$bin/bench_schemes" ]; then
    echo "schemes (50 MB of installed XML, CSS, JavaScript, JSON, properties, SQL and shell files through a text store: MB/s, median of $runs fresh processes):"
    repeat "$bin/bench_schemes"
fi

if [ -x "$bin/bench_paint" ]; then
    echo "paint (1200 x 900 screens of a 1,000,000-line highlighted Java file: the last screen first right after loading, then top, middle and end; ms, median of $runs fresh processes):"
    repeat "$bin/bench_paint"
fi

if [ -x "$bin/bench_longline" ]; then
    echo "long line (one 100 MB line of Java in a 1200 x 900 editor: first paint, repaints, caret jump to the middle, caret move, keystroke, Backspace and Delete there; ms, median of $runs fresh processes):"
    repeat "$bin/bench_longline"
fi

if [ -x "$bin/bench_gigabyte" ] && [ -z "${BENCH_SKIP_GIGABYTE:-}" ]; then
    "$bin/bench_gigabyte" "$tmp/tarnel-bench-1gb.java" --generate
    echo "gigabyte (1 GB, 20,000,000-line Java file opened with the progress bar: MB/s, peak resident bytes per byte, Ctrl+End to the painted end in ms; one run):"
    runs_saved=$runs
    runs=1
    repeat "$bin/bench_gigabyte" "$tmp/tarnel-bench-1gb.java"
    runs=$runs_saved
fi

if [ -x "$bin/bench_replace" ]; then
    echo "replace all (1,000,000 lines, 100,000 matches, one undo step; ms, median of $runs fresh processes):"
    repeat "$bin/bench_replace"
fi

if [ -x "$bin/bench_keystroke" ]; then
    echo "keystroke (1,000 keys typed into the middle and the end of a highlighted 1,000,000-line and 1,000-line Java file and into the middle of a 1,000-line UTF-8 file full of multi-byte characters, each with its repaint; ms, median of $runs fresh processes):"
    repeat "$bin/bench_keystroke"
fi

if [ -x "$bin/bench_fold" ]; then
    echo "folding and matching (1,000,000-line highlighted Java file, 1200 x 900 with the fold column: every line's state established, Fold All and Unfold All until repainted, a brace's partner 10,000 lines away looked up and shown at the caret; ms, median of $runs fresh processes):"
    repeat "$bin/bench_fold"
fi

if [ -x "$bin/bench_search" ]; then
    echo "search (find from the top of a 1,000,000-line 50 MB file whose only match is on the last line, MB/s; F3 pressed 1,000 times in a highlighted 1,000,000-line file with a match every 100 lines, ms per press; median of $runs fresh processes):"
    repeat "$bin/bench_search"
fi

if [ -x "$bin/bench_wrap" ]; then
    echo "word wrap (1,000,000-line 50 MB Java file, lines up to 200 characters, 1200 x 900; ms to the painted frame, wall clock and thread CPU, median of $runs fresh processes):"
    repeat "$bin/bench_wrap"
fi

if [ -x "$bin/bench_tabwrap" ]; then
    echo "tab wrap (one 256 MiB line of tabs, word wrap on, 1200 x 900: wrap on with its paint, repaints at the start and in the middle; ms, median of $runs fresh processes):"
    repeat "$bin/bench_tabwrap"
fi

if [ -x "$bin/bench_options" ]; then
    echo "editor options (Ok of the options dialog with 20 open 10,000-line Java documents, until repainted; ms, median of $runs fresh processes):"
    repeat "$bin/bench_options"
fi

if [ -x "$bin/bench_print" ]; then
    echo "RTF export (1,000,000-line Java file, highlighting as it goes, then with the attributes ready; MB/s of text; median of $runs fresh processes):"
    repeat "$bin/bench_print" export
    echo "print to PDF (1,000- and 10,000-line highlighted Java files with header, line numbers and colours; pages/s and the peak memory the print added; median of $runs fresh processes):"
    repeat "$bin/bench_print" print 1000
    repeat "$bin/bench_print" print 10000
fi

if [ -x "$bin/bench_journal" ]; then
    echo "journal (modified 50 MB Java document: one journal write, interface-thread part and total; 1,000 keys typed without the journal, with it, and with a write every 250 ms; ms, median of $runs fresh processes):"
    repeat "$bin/bench_journal"
fi

if [ -x "$bin/bench_quickopen" ]; then
    "$bin/bench_quickopen" "$tmp" --generate
    echo "quick open (a project of 50,000 files: the walk until the index is in, then 5 texts typed key by key into the box until its list shows the matches, and the ranking alone; ms, median of $runs fresh processes):"
    repeat "$bin/bench_quickopen" "$tmp"
fi

if [ -x "$bin/bench_findinfiles" ]; then
    src=/usr/lib/jvm/openjdk-17/lib/src.zip
    tree="$tmp/tarnel-bench-jdk-src"
    if [ -f "$src" ] && command -v rg > /dev/null; then
        if [ ! -f "$tree/.unpacked" ]; then
            rm -rf "$tree"
            mkdir -p "$tree"
            unzip -q "$src" -d "$tree"
            touch "$tree/.unpacked"
        fi
        echo "find in files (the JDK 17 sources, $(find "$tree" -type f | wc -l) files, $(du -sm "$tree" | cut -f1) MB, warm: the engine, grep -rn and rg -n; ms, lines found, engine/rg and grep/engine; median of $runs fresh processes):"
        repeat "$bin/bench_findinfiles" "$tree"
    else
        echo "find in files: skipped (needs $src from openjdk-17-source and rg from ripgrep; run tools/setup.sh)"
    fi
fi

if [ -x "$bin/tarnel" ] && [ -x /usr/bin/time ]; then
    # The program itself, as a user starts it, with settings of its own: to
    # its first painted main window (the process ends right after that
    # paint), to its shown main window and out again, and with the 49 MB
    # Java file of the open benchmark (its peak resident memory per byte of
    # file). The first start writes the settings the others read.
    home=$(mktemp -d)
    start_quit() {
        t0=$(date +%s%N)
        env XDG_CONFIG_HOME="$home" XDG_DATA_HOME="$home" QT_QPA_PLATFORM=offscreen TARNEL_QUIT_AFTER_START=1 \
            /usr/bin/time -f '%M' -o "$home/rss" "$bin/tarnel" --new-window "$@" > /dev/null 2>&1
        t1=$(date +%s%N)
    }
    start_quit
    startup() {
        t0=$(date +%s%N)
        env XDG_CONFIG_HOME="$home" XDG_DATA_HOME="$home" QT_QPA_PLATFORM=offscreen TARNEL_EXIT_AT_FIRST_PAINT=1 \
            "$bin/tarnel" --new-window > /dev/null 2>&1
        t1=$(date +%s%N)
        echo "start_to_first_paint_ms $(( (t1 - t0) / 1000000 ))"
        start_quit
        echo "start_quit_ms $(( (t1 - t0) / 1000000 ))"
        if [ -f "$tmp/tarnel-open-49mb.java" ]; then
            start_quit "$tmp/tarnel-open-49mb.java"
            echo "start_with_java_file_ms $(( (t1 - t0) / 1000000 ))"
            awk -v kb="$(cat "$home/rss")" -v size="$(wc -c < "$tmp/tarnel-open-49mb.java")" \
                'BEGIN { printf "start_with_java_file_peak_mib %.1f\nstart_with_java_file_peak_bytes_per_byte %.2f\n", kb / 1024, kb * 1024 / size }'
        fi
    }
    echo "program (start to the first painted main window, the target at most 100 ms; start to the shown window and quit; the same with the 49 MB Java file: offscreen, ms and peak resident memory; median of $runs fresh processes):"
    repeat startup
    rm -rf "$home"
fi
