#!/usr/bin/env bash
# Installs what is missing, builds under ASan+UBSan and runs every test; then the
# thread tests under TSan, the suites that judge cost in the default build and,
# when clang-14 is present, a short run of every fuzz target. A phase that fails
# does not stop the next: at the end the failures are listed, and the exit code
# is the sum of 1 (ASan + UBSan build or tests), 2 (TSan), 4 (fuzz) and 8
# (cost) for those that failed.
set -uo pipefail
cd "$(dirname "$0")/.."

started=$SECONDS
failed=0
failures=()
phase() { echo "== $1 ($((SECONDS - started)) s)"; }
# A failed phase: its part of the exit code, and lines on what to look at or
# run again.
failing() { # code line...
    failed=$((failed | $1))
    shift
    failures+=("$@")
}
# The tests a preset's last run failed, and how to run them again.
failed_tests() { # preset [its build folder]
    local log=build/${2:-$1}/Testing/Temporary/LastTestsFailed.log
    [ -s "$log" ] && sed 's/^[0-9]*:/    /' "$log"
    echo "    again, one alone: ctest --preset $1 -R '^<name>\$'; all these: ctest --preset $1 --rerun-failed"
}

tools/install-deps.sh || { echo "tools/install-deps.sh failed: nothing was built"; exit 16; }

phase "ASan + UBSan build"
if cmake --preset asan && cmake --build --preset asan; then
  phase "ASan + UBSan tests"
  ctest --preset asan || failing 1 "  ASan + UBSan tests:" "$(failed_tests asan)"
else
  failing 1 "  ASan + UBSan build (its tests were skipped)"
fi

phase "TSan thread tests"
if cmake --preset tsan && cmake --build --preset tsan --target thread_tests; then
  ctest --preset tsan || failing 2 "  TSan thread tests:" "$(failed_tests tsan)"
else
  failing 2 "  TSan build (its tests were skipped)"
fi

# Cost is judged only where the code is built as players run it.
phase "cost tests, default build"
if cmake --preset default && cmake --build --preset default --target cost_tests; then
  ctest --preset cost || failing 8 "  cost tests (default build):" "$(failed_tests cost default)"
else
  failing 8 "  default build of the cost tests (they were skipped)"
fi

if command -v clang++-14 >/dev/null 2>&1; then
  phase "fuzz build"
  if cmake --preset fuzz && cmake --build --preset fuzz --target fuzz_targets; then
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
      xargs -0 -r -n 1 -P "$(nproc)" bash -c 'fuzz_one "$1"' fuzz_one ||
      failing 4 "  fuzz runs: the inputs in build/fuzz/findings/, each run again by build/fuzz/fuzz/fuzz_<target> <file>"
  else
    failing 4 "  fuzz build (its runs were skipped)"
  fi
fi
phase "done"
if [ "$failed" -eq 0 ]; then
  echo "all tests passed"
  exit 0
fi
echo "failed (exit code $failed):"
printf '%s\n' "${failures[@]}"
exit "$failed"
