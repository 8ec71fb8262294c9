# SPDX-License-Identifier: GPL-2.0-or-later
# Shared by the end-to-end scripts that drive the real program under Xvfb. Each script runs
# its Xvfb with -noreset: a server resets when its last client leaves, and a program started
# during the reset finds no display.

# The accessibility bus: each script runs on a private session bus (dbus-run-session),
# where Qt publishes the program's controls to AT-SPI whether or not a reader is running.
# Controls are found by role and name, pressed through their actions and read back as a
# screen reader does (bus.py). Debian's python3 has pyatspi, another one on PATH may not.
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
bus() { /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/bus.py" "$@"; }
# Presses a push button by its name.
press() { bus press "push button" "$1"; }

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

# The dialog is at least 896 pixels wide and wider when its effect texts need it: the side
# column (Start, Stop, Send, Exit) keeps its distance from the right edge and the symbol
# picker stays centred under the rows. These turn an x of the narrowest dialog into the
# x of the window given.
dialog_widening() { echo $(($(xdotool getwindowgeometry --shell "$1" | sed -n 's/^WIDTH=//p') - 896)); }
side_x() { echo $(($2 + $(dialog_widening "$1"))); }
picker_x() { echo $(($2 + $(dialog_widening "$1") / 2)); }
# The Exit button of the main dialog (the window id is kept for the callers' sake).
click_exit_of() { press Exit; }

# A fresh program folder: the two programs and the build's LIB/ without its settings file;
# with an EMULATOR, the emulated toy as the link library.
# usage: make_program_folder FOLDER KIRRUP KIRRUP_CLI LIB_DIR [EMULATOR]
make_program_folder() {
  local folder=$1 emulator=${5:-} f
  mkdir -p "$folder/LIB"
  cp "$2" "$3" "$folder/"
  for f in "$4"/*; do
    case "$(basename "$f")" in
      Kirrup.ini) ;;
      VexoUSB*.so) [ -n "$emulator" ] || cp "$f" "$folder/LIB/" ;;
      *) cp -r "$f" "$folder/LIB/" ;;
    esac
  done
  [ -z "$emulator" ] || cp "$emulator" "$folder/LIB/VexoUSB.so"
}

# A test's scratch state: $work (removed at exit, after the program $pid and whatever the
# script's own on_cleanup ends), and fail(), which keeps a screenshot OUT/NAME_failure.png.
# usage: e2e_begin OUT NAME
e2e_begin() {
  e2e_out=$1 e2e_name=$2
  mkdir -p "$e2e_out"
  work=$(mktemp -d)
  pid=
  trap e2e_cleanup EXIT
}
e2e_cleanup() {
  if declare -F on_cleanup >/dev/null; then on_cleanup; fi
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  rm -rf "$work"
}
fail() {
  echo "FAIL: $*" >&2
  import -window root "$e2e_out/${e2e_name}_failure.png" 2>/dev/null || true
  exit 1
}

# Waits (up to 10 s) until no visible window has exactly this name.
wait_gone() {
  for _ in $(seq 100); do
    xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  return 1
}
# Waits (up to 10 s) for a file that is not empty.
wait_file() {
  for _ in $(seq 100); do
    [ -s "$1" ] && return 0
    sleep 0.1
  done
  return 1
}
# Waits (up to 30 s) for the program $pid to end; returns its exit status.
wait_exit() {
  for _ in $(seq 300); do
    kill -0 "$pid" 2>/dev/null || { wait "$pid"; return $?; }
    sleep 0.1
  done
  fail "the program did not end"
}
# A left click at a point of the main window $win.
click() { xdotool mousemove --window "$win" "$1" "$2" click 1; }
