#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The character editor's size over three starts under a real window manager (openbox in
# Xvfb), which frames the editor some time after it is mapped: each start shows the window
# the last one stored, frame included, and a user's resize is kept the same way. Started
# with a file and left undrawn, the program exits without asking to save.
# usage: editor_size.sh KIRRUP KIRRUP_CLI LIB_DIR OUTPUT_DIR
# Exits 77 (skipped) when openbox is missing or the fonts give no glyph for the text.
set -euo pipefail

if [ "${1:-}" != "--inner" ]; then
  command -v openbox >/dev/null || { echo "SKIP: openbox is not installed"; exit 77; }
  exec xvfb-run -a -s "-screen 0 1600x900x24" "$0" --inner "$@"
fi
shift
kirrup=$1 cli=$2 libdir=$3 out=$4
. "$(dirname "$0")/lib.sh"
e2e_begin "$out" editor_size
wm=
on_cleanup() { [ -n "$wm" ] && kill "$wm" 2>/dev/null || true; }

folder=$work/program
make_program_folder "$folder" "$kirrup" "$cli" "$libdir"
"$folder/kirrup-cli" compose --led 7 --line "Hi" -o "$work/in.LDAT" 2>/dev/null || true
if ! "$folder/kirrup-cli" show "$work/in.LDAT" 2>/dev/null | grep -q "^records: 2$"; then
  echo "SKIP: the fonts in $libdir give no glyph for the text"
  exit 77
fi

openbox --sm-disable >"$work/openbox.log" 2>&1 &
wm=$!
for _ in $(seq 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done
xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id' || fail "openbox did not start"

stored() {
  tail -c +3 "$folder/LIB/Kirrup.ini" | iconv -f UTF-16LE -t UTF-8 | tr -d '\r' |
    sed -n "s/^MakeChrWnd$1=//p"
}
# The editor's outer size on the screen: its client size and the frame openbox reports.
outer() {
  local w h l r t b
  eval "$(xdotool getwindowgeometry --shell "$ed" | grep -E '^(WIDTH|HEIGHT)=')"
  read -r l r t b < <(xprop -id "$ed" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
  echo "$((WIDTH + l + r))x$((HEIGHT + t + b))"
}

cd "$work"
expect=540x360  # the settings' default
for start in 1 2 3; do
  LC_ALL=C.UTF-8 LANG=en_US.UTF-8 "$folder/kirrup" in.LDAT &
  pid=$!
  win=$(wait_window Kirrup) || fail "start $start: no main window"
  sleep 0.5
  click 289 98  # row 1's TXT button
  ed=$(wait_window "Sect1 \[108x7\] - \[12x7\]") || fail "start $start: the editor did not open"
  # Framed, and sized to fit the frame, within a few seconds.
  for _ in $(seq 50); do
    xprop -id "$ed" _NET_FRAME_EXTENTS 2>/dev/null | grep -q '=' && [ "$(outer)" = "$expect" ] && break
    sleep 0.1
  done
  [ "$(outer)" = "$expect" ] || fail "start $start: the editor is $(outer) on the screen, not $expect"
  import -window root "$out/editor_size_$start.png"
  if [ "$start" = 2 ]; then
    xdotool windowsize --sync "$ed" 600 300 || true
    sleep 0.5
    expect=$(outer)
    [ "$expect" != 540x360 ] || fail "the editor could not be resized"
  fi
  click_exit_of "$win"
  # Nothing was drawn: no save prompt holds the exit up.
  for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$pid" 2>/dev/null && fail "start $start: the program did not end (a save prompt?)"
  wait "$pid" || fail "start $start: exit status $?"
  pid=
  [ "$(stored Cx)x$(stored Cy)" = "$expect" ] ||
    fail "start $start: $(stored Cx)x$(stored Cy) stored for an editor of $expect"
done
echo "PASS"
