#!/usr/bin/env bash
# Generates the ~1,000,000-line node in both formats and runs the benchmarks.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset default >/dev/null
cmake --build --preset default -j2 --target generate_node prov_bench reports_bench compare_bench network_bench search_bench \
  oryx-cli check_bench gui_bench doc_bench compare_gui_bench growth_bench print_bench find_bench history_bench \
  refs_bench refs_gui_bench problems_gui_bench
mkdir -p bench-data
b=build/default/bench
for f in startprov configure; do
  [ -f bench-data/node-$f.txt ] || $b/generate_node $f 1000000 bench-data/node-$f.txt
done
$b/prov_bench bench-data/node-startprov.txt bench-data/node-configure.txt
# The whole oryx-cli attrs run against vim opening the same file, and against
# the oryx-cli of ORYX_BASE_CLI (if set) on all cores and on one; then where
# the load's time goes.
bench/load_vs_editor.sh build/default/src/cli/oryx-cli "${ORYX_BASE_CLI:--}" \
  bench-data/node-startprov.txt bench-data/node-configure.txt
if command -v perf >/dev/null; then
  bench/profile_load.sh build/default/src/cli/oryx-cli bench-data/node-startprov.txt bench-data/node-configure.txt
fi
$b/search_bench bench-data/node-startprov.txt bench-data/node-configure.txt
# The reference index and oryx-cli refs, against the load and oryx-cli attrs.
$b/refs_bench bench-data/node-startprov.txt
# The reports on the full-size node and on one of half its size, to show how
# their time grows with the number of interfaces and connections.
for f in startprov configure; do
  [ -f bench-data/node-$f-half.txt ] || $b/generate_node $f 500000 bench-data/node-$f-half.txt
  $b/reports_bench bench-data/node-$f.txt bench-data/node-$f-half.txt
done
# The comparison of each node with a copy that has about 1% of its values
# changed, 1,000 components added and 1,000 removed.
for f in startprov configure; do
  [ -f bench-data/node-$f-modified.txt ] || $b/generate_node $f 1000000 bench-data/node-$f-modified.txt --modified
  $b/compare_bench bench-data/node-$f.txt bench-data/node-$f-modified.txt
done
# A history of ten versions of the full-size node, each differing from the
# one before as the modified copy does, and one component's values over a
# hundred versions of a node of 20,000 lines.
[ -f bench-data/node-startprov-small.txt ] || $b/generate_node startprov 20000 bench-data/node-startprov-small.txt
[ -f bench-data/node-startprov-small-modified.txt ] ||
  $b/generate_node startprov 20000 bench-data/node-startprov-small-modified.txt --modified
$b/history_bench bench-data/node-startprov.txt bench-data/node-startprov-modified.txt \
  bench-data/node-startprov-small.txt bench-data/node-startprov-small-modified.txt
# A network of 200 nodes of about 50,000 lines, half in each format: one
# report over all of them, on one core and on two.
mkdir -p bench-data/network
for i in $(seq 1 100); do
  for f in startprov configure; do
    n=bench-data/network/node$i-$f.txt
    [ -f $n ] || $b/generate_node $f $((49000 + 20 * i)) $n >/dev/null
  done
done
$b/network_bench bench-data/network
# oryx-cli check with the example rules: on the full-size node against attrs,
# the load with its diagnostics, and over the network with one and two jobs.
$b/check_bench bench-data/node-startprov.txt examples/network-rules.yaml bench-data/network
# The compare window on the same pairs, against oryx-cli diff (headless).
for f in startprov configure; do
  QT_QPA_PLATFORM=offscreen $b/compare_gui_bench bench-data/node-$f.txt bench-data/node-$f-modified.txt
done
# The desktop windows on the full-size node (headless), and a document window
# over a file nesting a million components.
QT_QPA_PLATFORM=offscreen $b/gui_bench bench-data/node-startprov.txt
QT_QPA_PLATFORM=offscreen $b/doc_bench 1000000
# The find bar on the full-size node: a query for its last component, and the
# tree filtered to a query that matches about 1% of its components.
QT_QPA_PLATFORM=offscreen $b/find_bench bench-data/node-startprov.txt
# Following references in the window: opening, the first and a later follow,
# and "Referenced by" for a component 100,000 others name.
QT_QPA_PLATFORM=offscreen $b/refs_gui_bench bench-data/node-startprov.txt
# The Problems list with the example rules: opening, the status bar's counts,
# and the list with about 100,000 findings.
QT_QPA_PLATFORM=offscreen $b/problems_gui_bench bench-data/node-startprov.txt examples/network-rules.yaml
# Inputs that once made the work grow with their square: time at 8n against n.
$b/growth_bench
QT_QPA_PLATFORM=offscreen $b/print_bench
