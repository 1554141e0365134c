#!/usr/bin/env bash
# Installs what is needed, builds ORYX and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset default
cmake --build --preset default -j2
exec build/default/src/shell/oryx
