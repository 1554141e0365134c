#!/usr/bin/env bash
# Where the time of `oryx-cli attrs FILE Shelf` goes, by stage of the load,
# from perf's self time per symbol over a few runs. Usage: profile_load.sh CLI FILE...
# The stages that follow the file order are the walk, the store's appends and
# Finish; the rest runs on helper threads for a large file, whose share shows last.
set -euo pipefail
cli=$1
shift
data=$(mktemp)
trap 'rm -f "$data"' EXIT
for file in "$@"; do
  perf record -q -F 10000 -o "$data" -- bash -c "for i in 1 2 3 4 5; do '$cli' attrs '$file' Shelf >/dev/null; done" \
    2>/dev/null
  echo "== $(basename "$file")"
  perf report -i "$data" --comm oryx-cli --no-children --stdio --sort sym 2>/dev/null |
    awk '/^ *[0-9.]+%/ {
      share = $1 + 0; sym = $0; sub(/^ *[0-9.]+% +\[[.k]\] /, "", sym)
      if (sym ~ /\[k\]/ || $2 == "[k]") {
        if (sym ~ /copy_to_iter|filemap|read|rw_verify|touch_atime/) s = "file read (kernel)"
        else s = "memory faults, unmapping (kernel)"
      }
      else if (sym ~ /memchr/) s = "memchr: line ends and piece cutting"
      else if (sym ~ /LineFile|_M_replace|StartsWith|TrimControl|IsQuietLine/)
        s = "line finding, trimming, keyword classification"
      else if (sym ~ /ReadLines|StartProvLine|ConfigureLine/)
        s = "line loop: classification with the walk inlined (mixed)"
      else if (sym ~ /AppendPair|KeepJoined/) s = "set pair cutting and joining"
      else if (sym ~ /AppendAttribute|memmove|memcpy|Allocate|ChunkMemory/) s = "store appends (file order)"
      else if (sym ~ /Finish|sort|Sort/) s = "Finish: sorting children (serial)"
      else if (sym ~ /CompareNames|memcmp|Walk|Step|FindChild|ChildIndex|ChunkPool|Create|Configure|Enter|Leave|PathTrie|Map_base|Run|Extend|NewLink|Keep|DepthBelow|ExactNode|ContextNode|AppendChild/)
        s = "component walk (file order)"
      else s = "other (output, start-up, libc)"
      total[s] += share
    } END { for (s in total) printf "  %5.1f%%  %s\n", total[s], s }' | sort -rn
  # The walk's thread is the process's first: its share is the serial part.
  perf script -i "$data" --comm oryx-cli -F pid,tid 2>/dev/null |
    awk '{ split($1, p, "/"); if (p[1] == p[2]) main++; else other++ }
      END { if (main + other) printf "  %5.1f%%  on the walk'"'"'s thread (serial), %.1f%% on the helper threads\n",
        100 * main / (main + other), 100 * other / (main + other) }'
done
