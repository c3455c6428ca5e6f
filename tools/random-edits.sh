#!/bin/sh
# Replays random edit scripts against the text store (every operation, undo
# and redo compared with a plain model, line ends and saved bytes included)
# under AddressSanitizer and UndefinedBehaviorSanitizer, for long runs the
# test suite has no time for.
#
#   tools/random-edits.sh [--seeds FIRST-LAST]     (default 1-100000)
#
# Builds the text tests alone into build-asan/.
set -eu
cd "$(dirname "$0")/.."

seeds=1-100000
while [ $# -gt 0 ]; do
    case "$1" in
    --seeds) seeds=$2; shift 2 ;;
    --seeds=*) seeds=${1#--seeds=}; shift ;;
    *) echo "usage: $0 [--seeds FIRST-LAST]" >&2; exit 2 ;;
    esac
done

tools/setup.sh
sanitize="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS="$sanitize" -DCMAKE_EXE_LINKER_FLAGS="$sanitize"
cmake --build build-asan --parallel "$(nproc)" --target test_text
EDIT_SEEDS=$seeds QT_QPA_PLATFORM=offscreen build-asan/bin/test_text --gtest_filter='RandomEdits.*'
