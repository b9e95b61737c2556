#!/usr/bin/env bash
# Writers that meet: PROCS qorcfg processes add an address each to one file at the same
# moment, ROUNDS times. Every add that reports success must be in the final list, and
# every other one must have said "try again" (75) with nothing changed.
#
#   concurrent_saves.sh PROCS ROUNDS PROGRAM [PROGRAM...]
#
# Each PROGRAM is a native qorcfg or a qorcfg.exe (run through scripts/wine-run); with
# several, the processes of a round take them in turn, so native and Windows programs
# take turns on the same lock.
set -euo pipefail
procs="$1"
rounds="$2"
shift 2
programs=()
for program in "$@"; do programs+=("$(realpath "$program")"); done
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
mkdir Data

# One address for each process of each round.
address() { echo "10.$2.$(($1 / 256)).$(($1 % 256))"; }

run() {
  local program="$1"
  shift
  case "$program" in
    *.exe) "$root/scripts/wine-run" "$program" "$@" ;;
    *) "$program" "$@" ;;
  esac
}

run "${programs[0]}" add denied 10.255.255.255 2>/dev/null
for round in $(seq 1 "$rounds"); do
  for p in $(seq 1 "$procs"); do
    program="${programs[$(((p - 1) % ${#programs[@]}))]}"
    (
      status=0
      run "$program" add denied "$(address "$round" "$p")" 2>"err.$round.$p" || status=$?
      echo "$status" >"status.$round.$p"
    ) &
  done
  wait
done

run "${programs[0]}" list denied | tr -d '\r' | sort >final.txt
succeeded=0 busy=0 lost=0 other=0
for round in $(seq 1 "$rounds"); do
  for p in $(seq 1 "$procs"); do
    status=$(cat "status.$round.$p")
    address=$(address "$round" "$p")
    case "$status" in
      0)
        succeeded=$((succeeded + 1))
        grep -qx "$address" final.txt || { lost=$((lost + 1)); echo "lost: $address" >&2; }
        ;;
      75)
        busy=$((busy + 1))
        if grep -qx "$address" final.txt; then
          echo "said 'try again' but saved: $address" >&2
          other=$((other + 1))
        fi
        ;;
      *)
        other=$((other + 1))
        echo "exit $status for $address: $(cat "err.$round.$p")" >&2
        ;;
    esac
  done
done
echo "concurrent saves: $procs processes x $rounds rounds ($(printf '%s ' "${programs[@]##*/}")): $succeeded saved, $busy told to try again, $other wrong, lost $lost"
[ "$lost" -eq 0 ] && [ "$other" -eq 0 ] && [ "$succeeded" -gt 0 ]
