#!/usr/bin/env bash
# Installs what is needed, builds everything and runs every test: the normal
# build (GUI tests headless), the sanitizer build of the plain C++ tests, and a
# clang build of the plain C++ libraries and their tests.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen
export QTEST_FUNCTION_TIMEOUT=60000

cmake --preset default
cmake --build --preset default -j2
ctest --preset default

cmake --preset asan
cmake --build --preset asan -j2
ctest --preset asan

cmake --preset clang
cmake --build --preset clang -j2
ctest --preset clang
