#!/bin/sh
# Builds the libFuzzer targets with clang (installing clang from Debian when
# missing) and runs each for the given number of seconds, printing its runs
# and findings. A crash, leak, hang or broken check leaves its reproducer
# under fuzz/crashes/, prints its bytes, and fails the script.
#
#   tools/fuzz.sh [seconds]        (default 60 per target)
#
# Runs start from FUZZ_SEED (default 1), so that a red run from a fresh
# checkout comes from the change, not from chance; FUZZ_SEED=0 lets libFuzzer
# pick a new seed each run, for longer hunts.
#
# The corpus each target grows is kept in build-fuzz/corpus/ between runs;
# it starts from the shipped schemes, the colour-style seed and the sample
# sources in the repository.
set -eu
cd "$(dirname "$0")/.."
seconds=${1:-60}
fuzz_seed=${FUZZ_SEED:-1}

packages="clang libclang-rt-14-dev cmake ninja-build qt6-base-dev libgl-dev"
missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq $missing
fi

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTARNEL_FUZZ=ON -DTARNEL_BUILD_TESTS=OFF -DTARNEL_BUILD_BENCH=OFF > /dev/null
cmake --build build-fuzz --parallel "$(nproc)" --target fuzz_all

# Seeds: a byte that picks the target's mode, then a file of the repository.
corpus=build-fuzz/corpus
seed() { # target name mode-byte file...
    target=$1 name=$2 mode=$3
    shift 3
    mkdir -p "$corpus/$target"
    { printf "$mode"; cat "$@"; } > "$corpus/$target/seed-$name"
}
samples=tests/syntax/data
for f in src/syntax/schemes/*.txt; do
    seed fuzz_stream "$(basename "$f")" '\000' "$f"
    seed fuzz_parser "scheme-$(basename "$f")" '\003' "$f"
done
seed fuzz_stream default.RGB '\001' fuzz/seeds/default.RGB
seed fuzz_parser page.jsp '\000' "$samples/page.jsp"
seed fuzz_parser index.html '\000' "$samples/index.html"
seed fuzz_parser Inventory.java '\001' "$samples/Inventory.java"
seed fuzz_parser build.bat '\002' "$samples/build.bat"
for f in "$samples"/page.jsp "$samples"/Inventory.java "$samples"/build.bat; do
    seed fuzz_loadsave "$(basename "$f")" '' "$f"
    seed fuzz_edit "$(basename "$f")" '\001\000' "$f"
    seed fuzz_search "$(basename "$f")" '\000\001\001\000\000\000\000\000' "$f"
done
printf 'a\r\nb\nc\rd\te \f\000' > "$corpus/fuzz_loadsave/seed-mixed"
seed fuzz_utf8 utf8.txt '' fuzz/seeds/utf8.txt
seed fuzz_utf8 Inventory.java '' "$samples/Inventory.java"

mkdir -p fuzz/crashes
failed=""
for target in fuzz_stream fuzz_parser fuzz_loadsave fuzz_edit fuzz_search fuzz_utf8; do
    dict=""
    case $target in fuzz_stream|fuzz_parser) dict="-dict=fuzz/stream.dict" ;; esac
    log=build-fuzz/$target.log
    echo "== $target, $seconds s"
    if build-fuzz/bin/$target $dict -seed="$fuzz_seed" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 \
        -print_final_stats=1 -artifact_prefix="fuzz/crashes/$target-" "$corpus/$target" > "$log" 2>&1; then
        grep -E "^stat::number_of_executed_units|^stat::new_units_added" "$log" | sed 's/^stat::/  /'
    else
        failed="$failed $target"
        grep -m 1 "^INFO: Seed:" "$log" || true
        tail -n 40 "$log"
        for crash in fuzz/crashes/$target-*; do
            [ -f "$crash" ] || continue
            echo "reproducer $crash:"
            od -A x -t x1z "$crash" | head -n 40
        done
    fi
done
if [ -n "$failed" ]; then
    echo "fuzzing found faults in:$failed (reproducers under fuzz/crashes/)"
    exit 1
fi
echo "fuzzing found nothing"
