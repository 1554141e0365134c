#!/usr/bin/env bash
# Installs what is needed, checks the house rules (clang-format, no merge
# conflict left in a tracked file), builds everything and runs every test: the
# normal build with strict warnings as errors (GUI tests headless), then a clang
# build of the plain C++ libraries and their tests under the address and
# undefined-behaviour sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen
export QTEST_FUNCTION_TIMEOUT=60000

git ls-files -z -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'bench/*.h' 'fuzz/*.cpp' 'fuzz/*.h' |
  xargs -0 clang-format-14 --dry-run -Werror
# A conflict marker is a line that begins with seven <, = or > and then a
# space or nothing (a heading underlined with exactly seven "=" counts too:
# underline it longer).
if git grep -nIE '^(<<<<<<<|=======|>>>>>>>)( |$)'; then
  echo "merge-conflict markers left in the files above" >&2
  exit 1
fi

cmake --preset default
cmake --build --preset default -j2
ctest --preset default

cmake --preset clang
cmake --build --preset clang -j2
ctest --preset clang
