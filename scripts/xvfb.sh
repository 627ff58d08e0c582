# Sourced by the scripts: gives the Windows programs a display. Uses the caller's DISPLAY when set;
# otherwise starts a private Xvfb for this shell and stops it when the shell exits.
start_xvfb_unless_display() {
  [[ -n ${DISPLAY:-} ]] && return 0
  local n
  for n in $(seq 90 140); do
    [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    QV_XVFB_PID=$!
    local tries
    for tries in $(seq 50); do
      [[ -e /tmp/.X11-unix/X$n ]] && break
      sleep 0.1
    done
    if kill -0 "$QV_XVFB_PID" 2>/dev/null; then
      export DISPLAY=":$n"
      trap 'kill "$QV_XVFB_PID" 2>/dev/null || true' EXIT
      return 0
    fi
  done
  echo "xvfb: could not start an X server" >&2
  return 1
}
