#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The character editor's size over three starts under a window manager (openbox in Xvfb),
# which frames the editor a while after it is mapped: each start shows the window, frame
# included, that the last one stored, a user's resize too. Started with a file and left
# undrawn, the program exits without asking to save.
# usage: editor_size.sh KIRRUP KIRRUP_CLI LIB_DIR OUTPUT_DIR
# Exits 77 (skipped) without openbox or when the fonts give no glyph for the text.
set -euo pipefail

if [ "${1:-}" != "--inner" ]; then
  command -v openbox >/dev/null || { echo "SKIP: no openbox"; exit 77; }
  exec xvfb-run -a -s "-noreset -screen 0 1600x900x24" dbus-run-session -- "$0" --inner "$@"
fi
shift
kirrup=$1 cli=$2 libdir=$3 out=$4
. "$(dirname "$0")/lib.sh"
e2e_begin "$out" editor_size
wm=
on_cleanup() { [ -z "$wm" ] || kill "$wm" 2>/dev/null || true; }

folder=$work/program
make_program_folder "$folder" "$kirrup" "$cli" "$libdir"
"$folder/kirrup-cli" compose --led 7 --line "Hi" -o "$work/in.LDAT" 2>/dev/null || true
"$folder/kirrup-cli" show "$work/in.LDAT" 2>/dev/null | grep -q "^records: 2$" || { echo "SKIP: no glyphs"; exit 77; }

openbox --sm-disable >/dev/null 2>&1 &
wm=$!
for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id' && break; sleep 0.1; done

stored() { tail -c +3 "$folder/LIB/Kirrup.ini" | iconv -f UTF-16LE -t UTF-8 | tr -d '\r' | sed -n "s/^MakeChrWnd$1=//p"; }
# The editor's size on the screen: its client size and the frame openbox reports.
outer() {
  local l r t b
  eval "$(xdotool getwindowgeometry --shell "$ed" | grep -E '^(WIDTH|HEIGHT)=')"
  read -r l r t b < <(xprop -id "$ed" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
  echo "$((WIDTH + l + r))x$((HEIGHT + t + b))"
}

cd "$work"
expect=540x360  # the default
for start in 1 2 3; do
  LC_ALL=C.UTF-8 LANG=en_US.UTF-8 "$folder/kirrup" in.LDAT &
  pid=$!
  win=$(wait_window Kirrup) || fail "start $start: no main window"
  sleep 0.5
  click 289 98  # row 1's TXT button
  ed=$(wait_window "Sect1 \[108x7\] - \[12x7\]") || fail "start $start: no editor"
  for _ in $(seq 50); do [ "$(outer 2>/dev/null)" = "$expect" ] && break; sleep 0.1; done
  [ "$(outer)" = "$expect" ] || fail "start $start: the editor is $(outer), not $expect"
  if [ "$start" = 2 ]; then
    xdotool windowsize --sync "$ed" 600 300 || true
    sleep 0.5
    expect=$(outer)
  fi
  click_exit_of "$win"
  for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$pid" 2>/dev/null && fail "start $start: the program did not end (a save prompt?)"
  wait "$pid" || fail "start $start: exit status $?"
  pid=
  [ "$(stored Cx)x$(stored Cy)" = "$expect" ] || fail "start $start: $(stored Cx)x$(stored Cy) stored, not $expect"
done
[ "$expect" != 540x360 ] || fail "the editor could not be resized"
echo "PASS"
