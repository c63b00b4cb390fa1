# A private X display for one end-to-end test: Xvfb on a free display number with openbox,
# torn down when the test ends however it ends. Source it, then call start_x_session.

x_session_pids=()
x_session_claim=""

stop_x_session() {
  local pid
  for pid in "${x_session_pids[@]}"; do
    # A stopped process takes the signal only once it is continued.
    kill "$pid" 2>/dev/null && kill -CONT "$pid" 2>/dev/null || true
  done
  for pid in "${x_session_pids[@]}"; do
    wait "$pid" 2>/dev/null || true
  done
  x_session_pids=()
  [ -n "$x_session_claim" ] && rmdir "$x_session_claim" 2>/dev/null
  x_session_claim=""
}

# True when the X server on display $1 is the one with process id $2: its lock file holds
# that id. (Another test may win the race for the same number.)
owns_display() {
  kill -0 "$2" 2>/dev/null && [ "$(tr -d ' \n' 2>/dev/null <"/tmp/.X$1-lock")" = "$2" ] &&
    xdpyinfo -display ":$1" >/dev/null 2>&1
}

# Starts Xvfb (1024 x 768, 24-bit) on a free display number, then openbox unless told
# "no_window_manager"; exports DISPLAY. Exit 77 without Xvfb.
start_x_session() {
  if ! command -v Xvfb >/dev/null; then
    echo "Xvfb is not installed: skipped"
    exit 77
  fi
  trap stop_x_session EXIT
  local n tries xvfb
  for n in $(shuf -i 100-999 -n 40); do
    [ -e "/tmp/.X$n-lock" ] && continue
    # Claim the number first: a second server started on a taken number can break the
    # first one's socket before it gives up.
    mkdir "/tmp/.fumbo-e2e-display-$n" 2>/dev/null || continue
    x_session_claim="/tmp/.fumbo-e2e-display-$n"
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
    xvfb=$!
    for tries in $(seq 100); do
      owns_display "$n" "$xvfb" && break
      kill -0 "$xvfb" 2>/dev/null || break
      sleep 0.1
    done
    if owns_display "$n" "$xvfb"; then
      x_session_pids+=("$xvfb")
      export DISPLAY=":$n"
      [ "${1:-}" = no_window_manager ] && return 0
      openbox >"${X_SESSION_LOG:-/dev/null}" 2>&1 &
      x_session_pids+=("$!")
      wait_for "openbox to take the screen" 20 wmctrl -m || exit 1
      return 0
    fi
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
    rmdir "$x_session_claim"
    x_session_claim=""
  done
  echo "could not start Xvfb"
  exit 1
}

# The X server of the session ends, as at the end of a desktop session.
end_x_server() {
  kill "-${1:-TERM}" "${x_session_pids[0]}"
}

# wait_for WHAT SECONDS COMMAND...: retries COMMAND until it succeeds.
wait_for() {
  local what=$1 seconds=$2
  shift 2
  local end=$((SECONDS + seconds))
  until "$@" >/dev/null 2>&1; do
    if [ "$SECONDS" -ge "$end" ]; then
      echo "timed out waiting for $what"
      return 1
    fi
    sleep 0.1
  done
}
