#!/bin/sh
# Rewrites the expected attributes and fold points of the golden samples in
# data/ from the current parser, for review with "git diff tests/syntax/data".
# Usage: tests/syntax/update-golden.sh [build dir]
set -eu
cd "$(dirname "$0")/../.."
build=${1:-build}
ninja -C "$build" test_syntax
TARNEL_UPDATE_GOLDEN=1 "$build/bin/test_syntax" --gtest_filter='Samples/Golden.AttributesMatchTheReviewedExpectation/*:Samples/Golden.FoldPointsMatchTheReviewedExpectation/*'
git --no-pager diff --stat -- tests/syntax/data
