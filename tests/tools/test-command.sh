#!/usr/bin/env bash
# The test command (tools/test.sh) run in a folder of its own, on stubs of
# cmake, ctest, the fuzz compiler, the fuzz targets and the install step that
# fail as each row says: every phase runs whatever failed before it (but the
# tests of a build that failed), the exit code is the sum of the failed
# phases' codes, and only a full pass says "all tests passed".
set -u
source=$(cd "$(dirname "$0")/../.." && pwd)
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
mkdir -p "$root/tools" "$root/stubs"
cp "$source/tools/test.sh" "$root/tools/"

# Each stub notes its step in $root/calls and fails when $failing names it.
stub() { # file body
    printf '#!/bin/sh\nfails() { case " $failing " in *" $1 "*) return 0 ;; esac; return 1; }\n%s\n' "$2" >"$1"
    chmod +x "$1"
}
stub "$root/tools/install-deps.sh" '! fails install'
stub "$root/stubs/clang++-14" 'exit 0'
stub "$root/fuzz_Stub" 'echo run:fuzz >>calls
! fails run:fuzz'
# cmake --preset P (configures) or cmake --build --preset P [--target T]; the
# fuzz build leaves a target.
stub "$root/stubs/cmake" '[ "$1" = --build ] || exit 0
echo "build:$3" >>calls
fails "build:$3" && exit 1
[ "$3" != fuzz ] || { mkdir -p build/fuzz/fuzz && cp fuzz_Stub build/fuzz/fuzz/; }'
# ctest --preset P: a failed run names its test where ctest would.
stub "$root/stubs/ctest" 'echo "test:$2" >>calls
fails "test:$2" || exit 0
folder=$2
[ "$2" = cost ] && folder=default
mkdir -p "build/$folder/Testing/Temporary"
echo "7:Stub.Fails$2" >"build/$folder/Testing/Temporary/LastTestsFailed.log"
exit 8'

status=0
all="build:asan test:asan build:tsan test:tsan build:default test:cost build:fuzz run:fuzz"
# code | what fails | the steps taken
while IFS='|' read -r code failing steps; do
    [ -n "$code" ] || continue
    code=${code// /}
    rm -rf "$root/build" "$root/calls"
    touch "$root/calls"
    said=$(cd "$root" && failing=$failing PATH="$root/stubs:$PATH" tools/test.sh 2>&1)
    got=$?
    taken=$(cd "$root" && echo $(cat calls))
    steps=$(echo ${steps/all/$all})
    [ "$got" = "$code" ] || { echo "failing [$failing]: exit code $got, not $code"; status=1; }
    [ "$taken" = "$steps" ] || { echo "failing [$failing]: took [$taken], not [$steps]"; status=1; }
    if [ "$code" = 0 ]; then
        grep -qx "all tests passed" <<<"$said" || { echo "a full pass did not say so:"; echo "$said"; status=1; }
    else
        ! grep -q "all tests passed" <<<"$said" || { echo "failing [$failing]: said all tests passed"; status=1; }
    fi
    for failed in $failing; do
        case $failed in test:*)
            grep -q "Stub.Fails${failed#test:}" <<<"$said" || { echo "failing [$failing]: ${failed#test:}'s failed test not named"; status=1; } ;;
        esac
    done
done <<'ROWS'
0  |                                     | all
3  | test:asan test:tsan                 | all
13 | build:asan test:cost run:fuzz       | build:asan build:tsan test:tsan build:default test:cost build:fuzz run:fuzz
14 | build:tsan build:default build:fuzz | build:asan test:asan build:tsan build:default build:fuzz
16 | install                             |
ROWS
exit $status
