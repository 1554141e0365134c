#!/usr/bin/env bash
# The whole `oryx-cli attrs FILE Shelf` run against an editor opening the same
# file, and against a baseline oryx-cli, each pair run A B A B and the median
# ratio taken. Usage: load_vs_editor.sh CLI BASE_CLI FILE... (BASE_CLI may be
# "-" to skip the baseline). Set RUNS (default 7) for the number of pairs.
set -euo pipefail
cli=$1 base=$2
shift 2
runs=${RUNS:-7}
editor=$(command -v vim || command -v vim.tiny)

# Wall seconds (timed to the microsecond: time(1) gives hundredths, a tenth
# of these runs) and peak resident KB of one run of the command. The clock is
# bash's own: forking date(1) around each run would add a millisecond or two
# to both sides of every ratio.
measure() {
  local start end peak
  start=${EPOCHREALTIME/[.,]/}
  peak=$(/usr/bin/time -f '%M' "$@" 2>&1 >/dev/null | tail -1)
  end=${EPOCHREALTIME/[.,]/}
  echo "$((end - start))e-6 $peak"
}

median() { sort -g | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }

# Median over `runs` A B pairs of time(A)/time(B) and of peak(A)/peak(B).
# A and B are commands with FILE where the file goes.
pair() {
  local label=$1 a=$2 b=$3 file=$4 ratios=() mems=() ta ma tb mb
  for ((i = 0; i < runs; ++i)); do
    read -r ta ma < <(measure ${a//FILE/$file})
    read -r tb mb < <(measure ${b//FILE/$file})
    ratios+=("$(awk -v x="$ta" -v y="$tb" 'BEGIN {print (y > 0) ? x / y : 0}')")
    mems+=("$(awk -v x="$ma" -v y="$mb" 'BEGIN {print (y > 0) ? x / y : 0}')")
  done
  printf '%-40s time %.3fx  peak memory %.3fx  (%s)\n' "$label" \
    "$(printf '%s\n' "${ratios[@]}" | median)" "$(printf '%s\n' "${mems[@]}" | median)" "$(basename "$file")"
}

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) cores"
for file in "$@"; do
  pair "attrs / editor open" "$cli attrs FILE Shelf" "$editor -u NONE -i NONE -n -es -c q FILE" "$file"
  if [ "$base" != - ]; then
    pair "attrs / baseline attrs" "$cli attrs FILE Shelf" "$base attrs FILE Shelf" "$file"
    pair "attrs / baseline attrs, taskset -c 0" "taskset -c 0 $cli attrs FILE Shelf" \
      "taskset -c 0 $base attrs FILE Shelf" "$file"
  fi
done
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
