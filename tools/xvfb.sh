# Sourced: start_xvfb picks a free display number, starts Xvfb 1280x1024x24 on it and exports DISPLAY.
start_xvfb() {
  command -v Xvfb >/dev/null || { echo "Xvfb is not installed (run tools/setup.sh)" >&2; return 127; }
  local n
  for n in $(seq 91 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    VANTIX_XVFB_PID=$!
    for _ in $(seq 1 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      sleep 0.1
    done
    if kill -0 "$VANTIX_XVFB_PID" 2>/dev/null && [ -e "/tmp/.X11-unix/X$n" ]; then
      export DISPLAY=":$n"
      return 0
    fi
  done
  echo "could not start Xvfb" >&2
  return 1
}
stop_xvfb() {
  [ -n "${VANTIX_XVFB_PID:-}" ] && kill "$VANTIX_XVFB_PID" 2>/dev/null && wait "$VANTIX_XVFB_PID" 2>/dev/null
  VANTIX_XVFB_PID=""
  return 0
}
