#!/usr/bin/env bash
# The long campaign of the save kill test: the player killed at random moments
# while saving, QUILTOR_SAVE_KILLS times (200 unless set). The test command
# runs a short one.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset asan
cmake --build --preset asan --target tests_save_kill
QUILTOR_SAVE_KILLS=${QUILTOR_SAVE_KILLS:-200} build/asan/tests/tests_save_kill
