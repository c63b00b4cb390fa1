# A private X display for one end-to-end test: Xvfb on a free display number with openbox,
# torn down when the test ends however it ends. Source it, then call start_x_session.

x_session_pids=()

stop_x_session() {
  local pid
  for pid in "${x_session_pids[@]}"; do
    kill "$pid" 2>/dev/null || true
  done
  for pid in "${x_session_pids[@]}"; do
    wait "$pid" 2>/dev/null || true
  done
  x_session_pids=()
}

# Starts Xvfb (1024 x 768, 24-bit) and openbox; exports DISPLAY. Exit 77 without Xvfb.
start_x_session() {
  if ! command -v Xvfb >/dev/null; then
    echo "Xvfb is not installed: skipped"
    exit 77
  fi
  trap stop_x_session EXIT
  local n
  for n in $(seq $((60 + RANDOM % 200)) 400); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    local xvfb=$!
    local tries
    for tries in $(seq 50); do
      if xdpyinfo -display ":$n" >/dev/null 2>&1; then
        x_session_pids+=("$xvfb")
        export DISPLAY=":$n"
        openbox >/dev/null 2>&1 &
        x_session_pids+=("$!")
        wait_for "openbox to take the screen" 5 wmctrl -m
        return 0
      fi
      kill -0 "$xvfb" 2>/dev/null || break  # lost the race for this number
      sleep 0.1
    done
    kill "$xvfb" 2>/dev/null || true
  done
  echo "could not start Xvfb"
  exit 1
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
