#!/usr/bin/env bash
# Installs what is missing, builds the player and the demo game, and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh
cmake --preset default
cmake --build --preset default
exec build/default/game/quiltor "$@"
