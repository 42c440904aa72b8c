#!/usr/bin/env bash
# Installs what is missing, builds under ASan+UBSan and runs every test; then the
# thread tests under TSan and, when clang-14 is present, a short run of every
# fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."

started=$SECONDS
phase() { echo "== $1 ($((SECONDS - started)) s)"; }

tools/install-deps.sh

phase "ASan + UBSan build"
cmake --preset asan
cmake --build --preset asan
phase "ASan + UBSan tests"
ctest --preset asan

phase "TSan thread tests"
cmake --preset tsan
cmake --build --preset tsan --target thread_tests
ctest --preset tsan

if command -v clang++-14 >/dev/null 2>&1; then
  phase "fuzz build"
  cmake --preset fuzz
  cmake --build --preset fuzz --target fuzz_targets
  phase "fuzz runs"
  seconds=${QUILTOR_FUZZ_SECONDS:-10}
  for target in build/fuzz/fuzz/fuzz_*; do
    [ -x "$target" ] || continue
    name=$(basename "$target"); name=${name#fuzz_}
    work=$(mktemp -d)
    if [ -d "fuzz/corpus/$name" ]; then cp -r "fuzz/corpus/$name/." "$work/"; fi
    echo "fuzzing $name for ${seconds}s"
    "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -print_final_stats=0 "$work" \
      > "build/fuzz/$name.log" 2>&1 || { tail -n 40 "build/fuzz/$name.log"; exit 1; }
    rm -rf "$work"
  done
fi
phase "done"
echo "all tests passed"
