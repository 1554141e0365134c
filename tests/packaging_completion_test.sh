#!/usr/bin/env bash
# Drives the bash completion of oryx-cli as bash does on Tab: COMP_WORDS and
# COMP_CWORD set, _oryx_cli called, COMPREPLY compared (as a set: bash sorts
# what it shows).
#   packaging_completion_test.sh COMPLETION_FILE ORYX_CLI EXAMPLES_FOLDER
set -u
completion=$1 cli=$2 examples=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
touch "$work/node41-a.txt" "$work/node41-b.txt" "$work/other.txt"
# Words as typed on the command line: the blank in the name escaped.
cfg=$(printf %q "$examples/ORYX Reports.cfg")

cases=0 failures=0
# expect WORD... :: REPLY...: the last WORD is the one being completed.
expect() {
  local words=() want=()
  while [ "$1" != "::" ]; do words+=("$1"); shift; done
  shift
  want=("$@")
  local actual expected
  actual=$(bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1))
    _oryx_cli; [ ${#COMPREPLY[@]} -eq 0 ] || printf "%s\n" "${COMPREPLY[@]}"' \
    _ "$completion" "${words[@]}" | LC_ALL=C sort)
  expected=$([ ${#want[@]} -eq 0 ] || printf '%s\n' "${want[@]}" | LC_ALL=C sort)
  cases=$((cases + 1))
  if [ "$actual" != "$expected" ]; then
    failures=$((failures + 1))
    printf 'FAIL: %s\n  expected: %s\n  got:      %s\n' "${words[*]}" "${expected//$'\n'/ | }" "${actual//$'\n'/ | }"
  fi
}

expect oryx-cli re :: report refs
expect oryx-cli --v :: --version
expect oryx-cli report f :: fratm fratm-dlci fruni-dlci
expect oryx-cli report atmif "$work/other.txt" --format "" :: csv tsv json
expect oryx-cli diff a b --format "" :: text csv
expect oryx-cli history a b --format "" :: text csv tsv json
expect oryx-cli find a b --in "" :: names paths attr-names values all
expect oryx-cli check a --fail-on w :: warning
expect oryx-cli check a --r :: --rules --recursive
expect oryx-cli refs a --u :: --unresolved
expect oryx-cli history a --v :: --values
expect oryx-cli summary -- --r ::
# Section names come from the program being completed, with the --config given.
expect "$cli" custom --config "$cfg" S :: 'Shelf\ Cards'
expect "$cli" custom --config "$cfg" "" :: 'Node\ Identity' 'Shelf\ Cards' 'Clock\ References' \
  'atm\ interfaces' 'Frame\ Relay'
expect "$cli" custom "Shelf\\ Cards" "$work/node41" :: "$work/node41-a.txt" "$work/node41-b.txt"
expect oryx-cli report atmif "$work/o" :: "$work/other.txt"
expect oryx-cli check --rules "$work/node41-a" :: "$work/node41-a.txt"

echo "$cases cases, $failures failed"
[ "$failures" -eq 0 ]
