#!/usr/bin/env bash
# Installs what is missing, builds the player and the demo game, and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh
cmake --preset default
# Only what the game needs: the test suites and benchmarks are for tools/test.sh.
cmake --build --preset default --target quiltor demo
exec build/default/game/quiltor "$@"
