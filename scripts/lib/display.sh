# Provides an X display for Wine: the caller's, or a private Xvfb stopped on exit.
# Source it; it sets DISPLAY.
velmora_start_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    return 0
  fi
  local n
  for n in $(seq 90 120); do
    [ -e "/tmp/.X${n}-lock" ] && continue
    Xvfb ":${n}" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    VELMORA_XVFB_PID=$!
    export DISPLAY=":${n}"
    local tries
    for tries in $(seq 1 50); do
      xdpyinfo >/dev/null 2>&1 && break
      sleep 0.1
    done
    trap 'kill "${VELMORA_XVFB_PID}" 2>/dev/null || true' EXIT
    return 0
  done
  echo "no free X display number" >&2
  return 1
}
