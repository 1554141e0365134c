#!/usr/bin/env bash
# Installs what is needed, builds everything and runs every test: the normal
# build (GUI tests headless), then a clang build of the plain C++ libraries and
# their tests under the address and undefined-behaviour sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen
export QTEST_FUNCTION_TIMEOUT=60000

cmake --preset default
cmake --build --preset default -j2
ctest --preset default

cmake --preset clang
cmake --build --preset clang -j2
ctest --preset clang
