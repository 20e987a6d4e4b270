# Sourced by scripts/run-demo and scripts/demo-journey: what `make run` started, found again.
# Every process started under the run carries BREVIO_RUN_MARK in its environment (Wine passes it
# on to the Windows programs and to the Linux programs they start, such as the browser), so at
# the end, or on Ctrl+C, whatever is left of them can be ended, wherever it put itself.
export BREVIO_RUN_MARK=${BREVIO_RUN_MARK:-brevio-run-$$-$RANDOM}

# The processes carrying the mark, but this shell and its parents.
marked_pids() {
  local keep=" $BASHPID " p=$$ pid
  while [ "${p:-1}" -gt 1 ]; do keep+="$p "; p=$(sed 's/.*) //' "/proc/$p/stat" 2>/dev/null | cut -d' ' -f2); done
  # Those that ended meanwhile are left out: the search's own process is one.
  for pid in $(grep -lzx "BREVIO_RUN_MARK=$BREVIO_RUN_MARK" /proc/[0-9]*/environ 2>/dev/null); do
    pid=${pid#/proc/} && pid=${pid%/environ}
    [[ $keep == *" $pid "* ]] || [ ! -e "/proc/$pid" ] || echo "$pid"
  done
  return 0
}

# end_marked: asks them to end, and after 3 s makes them.
end_marked() {
  local pids
  pids=$(marked_pids)
  [ -n "$pids" ] || return 0
  kill -TERM $pids 2>/dev/null || true
  for _ in $(seq 30); do pids=$(marked_pids); [ -n "$pids" ] || return 0; sleep 0.1; done
  kill -KILL $pids 2>/dev/null || true
}

# Ctrl+C (SIGINT to the whole group), SIGTERM (from make, to this script alone) and SIGHUP end
# the run through its EXIT trap.
trap 'exit 130' INT
trap 'exit 143' TERM HUP
