# Sourced by the demo journey (scripts/run-demo) and the package test (tests/package/install-test):
# the reference service and Windows programs under Wine on a virtual display, driven from outside
# with xdotool as a user's keys and clicks would be, and looked at with the window probe.
# The caller sets: top (the clone), state (a wine-run state folder), probe_exe (window-probe.exe),
# me (its name, for messages). Everything here must run inside the caller's network namespace:
# Wine's sockets live in the wineserver, so the wineserver must be started in there too.

fail() {
  echo "$me: $*" >&2
  [ -s "${watch_log:-}" ] && { echo "windows seen last:" >&2; tail -n 8 "$watch_log" | sed 's/^/  /' >&2; }
  exit 1
}

# bg_wait COMMAND...: runs it and waits for it in a way that a signal to this shell cuts short
# (a trap waits for a command in the foreground to end first).
bg_wait() { "$@" & wait $!; }

# The prefix and virtual display of $state. The display stays the run's until desk_stop: a
# Wine program started later never starts another one (on a loaded machine a slow answer could
# pass for a dead display, and programs on two displays cannot meet).
desk_start() {
  unset WINE_RUN_DISPLAY
  bg_wait "$top/scripts/wine-run" "$state" --setup >/dev/null || fail "could not set up Wine in $state"
  export DISPLAY=":$(cat "$state/display")"
  export WINE_RUN_DISPLAY=$DISPLAY
}

# A Windows program in $state's prefix, with a time limit of its own.
win() { BREVIO_WINE_TIMEOUT=${BREVIO_WINE_TIMEOUT:-120} bg_wait "$top/scripts/wine-run" "$state" "$@"; }

# desk_x11 (present|gone|desktop) TITLE SECONDS WHAT: waits until an X window of that title exists
# (hidden ones too), no visible one is left, or Wine's desktop is drawn; or fails naming WHAT.
desk_x11() {
  local end=$((SECONDS + $3)) visible=""
  [ "$1" = gone ] && visible=--onlyvisible
  while [ $SECONDS -le $end ]; do
    if [ "$1" = desktop ]; then timeout 10 xdotool search --class '^explorer\.exe$' >/dev/null 2>&1 && return 0
    elif timeout 10 xdotool search $visible --name "^$2\$" >/dev/null 2>&1; then [ "$1" = present ] && return 0
    else [ "$1" = gone ] && return 0; fi
    sleep 0.1
  done
  fail "$4: the window \"$2\" is $([ "$1" = gone ] && echo "still open after" || echo "not there within") $3 s"
}

# desk_watch LOG: from now on LOG gets a line for every window that shows up or changes its texts
# ("Brevio Alert: Message sent | OK"), written by the window probe.
desk_watch() {
  watch_log=$1
  win "$probe_exe" >"$watch_log" 2>/dev/null &
}

# desk_hotkeys TITLE WHAT KEYS...: waits until the program of the window TITLE (shown or not)
# answers messages and holds the hotkeys KEYS (xdotool names: ctrl+alt+p), or fails naming WHAT.
desk_hotkeys() {
  win "$probe_exe" --held "$1" "${@:3}" >/dev/null 2>&1 || fail "$2: the hotkeys ${*:3} are not held within 60 s"
}

# desk_mark: the watch log's length now. desk_expect MARK PATTERN SECONDS WHAT: waits until a
# line written after MARK matches PATTERN (grep -E), or fails naming WHAT.
desk_mark() { wc -l <"$watch_log"; }
# desk_seen MARK PATTERN SECONDS: the same, answering with its status instead of failing.
desk_seen() {
  local end=$((SECONDS + $3))
  while [ $SECONDS -le $end ]; do
    tail -n +$(($1 + 1)) "$watch_log" | grep -q -E -- "$2" && return 0
    sleep 0.1
  done
  return 1
}
desk_expect() { desk_seen "$1" "$2" "$3" || fail "$4: \"$2\" not seen within $3 s"; }

# desk_window TITLE SECONDS WHAT [MARK]: waits until the watch log (after MARK) shows a window
# of that title and prints its place "x y w h" on the screen; or fails naming WHAT.
desk_window() {
  desk_expect "${4:-0}" "^$1 \(" "$2" "$3"
  tail -n +$((${4:-0} + 1)) "$watch_log" | grep -E "^$1 \(" | tail -n 1 |
    sed -E "s/^$1 \((-?[0-9]+),(-?[0-9]+) ([0-9]+)x([0-9]+)\): .*/\1 \2 \3 \4/"
}

# desk_click X Y: a left click at that screen point.
desk_click() { timeout 20 xdotool mousemove --sync "$1" "$2" click 1; }

# desk_keys KEY...: key presses (xdotool names: ctrl+alt+p, Return, shift+End).
desk_keys() { timeout 20 xdotool key --delay 60 "$@"; }

# desk_shot FILE [RECT]: a screenshot of the screen, or of the rectangle "x y w h" with a margin.
desk_shot() {
  local file=$1 x y w h m=12
  if [ -n "${2:-}" ]; then
    read -r x y w h <<<"$2"
    x=$((x > m ? x - m : 0)) y=$((y > m ? y - m : 0))
    import -window root -crop "$((w + 2 * m))x$((h + 2 * m))+$x+$y" +repage "$file"
  else
    import -window root "$file"
  fi
}

# service_start DB LOG [ARGS...]: the reference service on port 80 with DB, until the caller ends.
service_start() {
  local db=$1 log=$2
  shift 2
  "$service" serve --db "$db" --http-port 80 "$@" >"$log" 2>&1 &
  service_pid=$!
  for _ in $(seq 100); do grep -q 'listening on' "$log" && return 0; sleep 0.1; done
  cat "$log" >&2
  fail "the Lumora service did not start"
}

desk_stop() {
  [ -z "${service_pid:-}" ] || kill "$service_pid" 2>/dev/null || true
  service_pid=""
  "$top/scripts/wine-run" "$state" --stop
  unset WINE_RUN_DISPLAY
}
