#!/usr/bin/env bash
# Runs builds of tests/encounter_digests.cpp, each by its own command (an
# emulator's words first where it needs one), and compares the digests of
# each with the first one's, line by line. On a difference it prints the
# first encounter whose inputs or texts differ, as each side wrote it, and
# fails.
# Usage: compare-encounter-texts.sh NAME COMMAND... [-- NAME COMMAND...]...
set -uo pipefail

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The sides: side_name[i], and its command in $work/command-i (one word a line).
side_name=()
sides=0
while [ $# -gt 0 ]; do
  side_name+=("$1")
  shift
  : >"$work/command-$sides"
  while [ $# -gt 0 ] && [ "$1" != -- ]; do
    printf '%s\n' "$1" >>"$work/command-$sides"
    shift
  done
  [ $# -gt 0 ] && shift
  sides=$((sides + 1))
done

# Runs side I with ARGUMENTS into FILE, without the carriage returns that
# Wine's console writes.
run() {  # I FILE [ARGUMENTS]
  local side=$1 file=$2
  shift 2
  local command
  mapfile -t command <"$work/command-$side"
  "${command[@]}" "$@" | tr -d '\r' >"$file"
}

for ((i = 0; i < sides; i++)); do
  start=$EPOCHREALTIME
  if ! run $i "$work/digests-$i"; then
    echo "${side_name[i]}: the program failed"
    exit 1
  fi
  awk -v name="${side_name[i]}" -v start="$start" -v end="$EPOCHREALTIME" \
    'BEGIN { printf "%s: %.1f s\n", name, end - start }'
done
blocks=$(wc -l <"$work/digests-0")
if [ "$blocks" -eq 0 ]; then
  echo "${side_name[0]} wrote no digest"
  exit 1
fi

# The number of the first line at which two files differ.
first_difference() { awk 'NR == FNR { a[FNR] = $0; n = FNR; next } a[FNR] != $0 { print FNR; exit }
                          END { if (FNR < n) print FNR + 1 }' "$1" "$2" | head -1; }

failed=0
for ((i = 1; i < sides; i++)); do
  a=${side_name[0]} b=${side_name[i]}
  if cmp -s "$work/digests-0" "$work/digests-$i"; then
    echo "$a and $b: the same $blocks digests, of every text of every encounter"
    continue
  fi
  failed=1
  line=$(first_difference "$work/digests-0" "$work/digests-$i")
  block=$((line - 1))
  echo "$a and $b differ from block $block on:"
  echo "  $a: $(sed -n "${line}p" "$work/digests-0")"
  echo "  $b: $(sed -n "${line}p" "$work/digests-$i")"
  run 0 "$work/texts-a" --texts "$block"
  run $i "$work/texts-b" --texts "$block"
  line=$(first_difference "$work/texts-a" "$work/texts-b")
  encounter=$(sed -n "${line}p" "$work/texts-a" | awk '{ print $2 }')
  if [ -z "$encounter" ]; then
    echo "  (their texts of block $block are the same: the digests differ elsewhere)"
    continue
  fi
  echo "first difference:"
  echo "  $a: $(sed -n "${line}p" "$work/texts-a")"
  echo "  $b: $(sed -n "${line}p" "$work/texts-b")"
  echo "encounter $encounter as $a wrote it:"
  grep "^encounter $encounter " "$work/texts-a" | sed 's/^/  /'
  echo "and as $b wrote it:"
  grep "^encounter $encounter " "$work/texts-b" | sed 's/^/  /'
done
exit $failed
