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
  # Each target fuzzes for a set time, so they run side by side, one a processor.
  export QUILTOR_FUZZ_SECONDS=${QUILTOR_FUZZ_SECONDS:-10}
  mkdir -p build/fuzz/findings
  fuzz_one() {
    local target=$1 name work
    name=$(basename "$target"); name=${name#fuzz_}
    work=$(mktemp -d)
    if [ -d "fuzz/corpus/$name" ]; then cp -r "fuzz/corpus/$name/." "$work/"; fi
    # Flags of the target's own, one line in fuzz/<name>.options.
    local flags=()
    if [ -f "fuzz/$name.options" ]; then read -r -a flags < "fuzz/$name.options"; fi
    # An input that runs ten seconds is a hang: libFuzzer's own limit is twenty minutes.
    if "$target" -max_total_time="$QUILTOR_FUZZ_SECONDS" -timeout=10 -rss_limit_mb=2048 -print_final_stats=0 "${flags[@]}" \
        -artifact_prefix="build/fuzz/findings/$name-" "$work" > "build/fuzz/$name.log" 2>&1; then
      echo "fuzzed $name for ${QUILTOR_FUZZ_SECONDS}s"
      rm -rf "$work"
    else
      echo "fuzz_$name failed (build/fuzz/$name.log; its input in build/fuzz/findings/):"
      tail -n 40 "build/fuzz/$name.log"
      rm -rf "$work"
      return 1
    fi
  }
  export -f fuzz_one
  find build/fuzz/fuzz -maxdepth 1 -name 'fuzz_*' -type f -executable -print0 | sort -z |
    xargs -0 -r -n 1 -P "$(nproc)" bash -c 'fuzz_one "$1"' fuzz_one
fi
phase "done"
echo "all tests passed"
