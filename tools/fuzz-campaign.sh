#!/usr/bin/env bash
# A long fuzzing campaign, not part of tools/test.sh: builds the libFuzzer
# targets (clang-14) and fuzzes each for the given number of minutes, one after
# the other on one core, starting from its corpus in fuzz/corpus/<name>/.
#
#   tools/fuzz-campaign.sh [minutes per target, default 10] [target names...]
#
# What it finds is kept in build/fuzz/campaign/<name>/: corpus/ grows from run
# to run (new coverage), findings/ holds every crashing, leaking or slow input,
# the sanitizer report of each (report.<pid>) and the log of the run. Undefined
# behaviour ends an input as a crash does (the fuzz preset makes it fatal).
# Once a finding is fixed, add its input to fuzz/corpus/<name>/ so the replay
# test keeps it fixed.
set -uo pipefail
cd "$(dirname "$0")/.."

minutes=${1:-10}
shift || true
case $minutes in ''|*[!0-9]*) echo "minutes must be a number" >&2; exit 2 ;; esac

command -v clang++-14 >/dev/null || { echo "clang-14 is missing: run tools/install-deps.sh" >&2; exit 2; }
cmake --preset fuzz >/dev/null && cmake --build --preset fuzz -j 3 --target fuzz_targets || exit 2

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for program in build/fuzz/fuzz/fuzz_*; do
        [ -x "$program" ] && targets+=("$(basename "${program#build/fuzz/fuzz/fuzz_}")")
    done
fi

found=0
for name in "${targets[@]}"; do
    program=build/fuzz/fuzz/fuzz_$name
    [ -x "$program" ] || { echo "no target $name" >&2; exit 2; }
    campaign=build/fuzz/campaign/$name
    mkdir -p "$campaign/corpus" "$campaign/findings"
    [ -d "fuzz/corpus/$name" ] && cp -rn "fuzz/corpus/$name/." "$campaign/corpus/"
    log=$campaign/findings/run-$(date +%Y%m%d-%H%M%S).log
    echo "== $name for $minutes min"
    # Every finding is written and the run goes on, so one fault does not
    # hide the next. Fork mode deletes each child's log when the child ends:
    # the sanitizers write their reports beside the findings instead.
    report="log_path=$campaign/findings/report"
    # The flags the test command's short runs give this target.
    flags=()
    [ -f "fuzz/$name.options" ] && read -r -a flags < "fuzz/$name.options"
    ASAN_OPTIONS="$report${ASAN_OPTIONS:+:$ASAN_OPTIONS}" \
    UBSAN_OPTIONS="$report:print_stacktrace=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}" \
    "$program" -max_total_time=$((minutes * 60)) -rss_limit_mb=2048 -timeout=10 \
        -fork=1 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1 \
        "${flags[@]}" -artifact_prefix="$campaign/findings/" "$campaign/corpus" >"$log" 2>&1
    grep "exec/s" "$log" | tail -n 1
    count=$(find "$campaign/findings" -type f ! -name '*.log' ! -name 'report.*' | wc -l)
    echo "   corpus: $(ls "$campaign/corpus" | wc -l) inputs; findings so far: $count"
    found=$((found + count))
done
[ "$found" -eq 0 ] || { echo "findings kept in build/fuzz/campaign/*/findings"; exit 1; }
