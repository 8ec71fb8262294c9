# Shared by the end-to-end scripts that drive the real program under Xvfb.

# Waits (up to 30 s: the machine may be busy) for a visible window with exactly this
# name; prints its id.
wait_window() {
  local id
  for _ in $(seq 300); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1) || true
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}
