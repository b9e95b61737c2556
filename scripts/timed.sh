# timed LABEL COMMAND...: runs COMMAND and, when QOR_TIMINGS names a file, adds a line to
# it: LABEL, the wall seconds, and the CPU seconds (user and system) of the processes
# COMMAND waited for (not of Wine's servers and the displays, which outlive the tests
# that start them). Sourced by scripts/test and scripts/build.
timed() {
  local label=$1 start before status=0
  shift
  start=$EPOCHREALTIME
  timed_children_cpu
  before=$timed_cpu
  "$@" || status=$?
  if [ -n "${QOR_TIMINGS:-}" ]; then
    timed_children_cpu
    awk -v label="$label" -v start="$start" -v end="$EPOCHREALTIME" -v before="$before" -v after="$timed_cpu" \
        'BEGIN {printf "%s\t%.2f\t%.2f\n", label, end - start, after - before}' >>"$QOR_TIMINGS"
  fi
  return "$status"
}

# Sets timed_cpu to the CPU seconds of this shell's finished children, from `times`, which
# runs in this shell itself (a subshell starts its own count).
timed_children_cpu() {
  local out
  out=$(mktemp)
  times >"$out"
  timed_cpu=$(tail -n 1 "$out" | awk '{split($1, u, /[ms]/); split($2, s, /[ms]/); print u[1] * 60 + u[2] + s[1] * 60 + s[2]}')
  rm -f "$out"
}
