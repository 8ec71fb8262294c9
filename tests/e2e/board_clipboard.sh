#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The character editor's pictures on the X clipboard, with xclip as the other program:
# a selection copied in the editor is read as a PNG of exactly its size and dots; a PNG
# put on the clipboard by xclip is pasted (Ctrl+V), and the saved line carries its cells:
# pure white as white, every other colour as black.
# usage: board_clipboard.sh KIRRUP KIRRUP_CLI LIB_DIR EMULATOR OUTPUT_DIR
# Exits 77 (skipped) without xclip or without a glyph for the typed text.
set -euo pipefail

if [ "${1:-}" != "--inner" ]; then
  command -v xclip >/dev/null || { echo "SKIP: no xclip"; exit 77; }
  exec xvfb-run -a -s "-noreset -screen 0 1800x900x24" dbus-run-session -- "$0" --inner "$@"
fi
shift
kirrup=$1 cli=$2 libdir=$3 emulator=$4 out=$5
. "$(dirname "$0")/lib.sh"
e2e_begin "$out" board_clipboard
clip=
on_cleanup() { [ -n "$clip" ] && kill "$clip" 2>/dev/null || true; }

folder=$work/program
make_program_folder "$folder" "$kirrup" "$cli" "$libdir" "$emulator"

text=Hi
"$folder/kirrup-cli" compose --led 7 --line "$text" -o "$work/typed.LDAT" 2>/dev/null || true
if ! "$folder/kirrup-cli" show "$work/typed.LDAT" 2>/dev/null | grep -q "^records: 2$"; then
  echo "SKIP: the fonts in $libdir give no glyph for \"$text\""
  exit 77
fi
"$folder/kirrup-cli" show "$work/typed.LDAT" --row 1 --png "$work/typed.png" >/dev/null

# The grey values (0 black, 255 white) of a picture's area, one row a line.
greys() { convert "$1" -crop "$2" +repage -depth 8 gray:- | od -An -v -tu1 -w"${2%%x*}" | tr -s ' ' | sed 's/^ //'; }


cd "$work"
LC_ALL=C.UTF-8 LANG=en_US.UTF-8 "$folder/kirrup" &
pid=$!
win=$(wait_window Kirrup) || fail "no main window"
sleep 0.5
xdotool windowfocus --sync "$win"
xdotool type --delay 60 "$text"
sleep 0.3
press "Edit the dots of line 1"
ed=$(wait_window "Sect1 \[108x7\] - \[12x7\]") || fail "the editor did not open on row 1"
sleep 0.3
at() { echo "$((60 + 16 + $1 * 6 + 3)) $((16 + $2 * 6 + 3))"; }
bus press "check box" "Select a rectangle*"  # the select tool
bus state "check box" "Select a rectangle*" checked || fail "the select tool was not chosen"
sleep 0.2

# Copy: cells 0..5 x 0..6, read by another X client.
xdotool mousemove --window "$ed" $(at 0 0) mousedown 1
xdotool mousemove --window "$ed" $(at 3 3) sleep 0.1 mousemove --window "$ed" $(at 5 6) mouseup 1
sleep 0.2
xdotool key ctrl+c
sleep 0.3
xclip -selection clipboard -t TARGETS -o | grep -qx image/png || fail "no image/png on the clipboard"
xclip -selection clipboard -t image/png -o >"$work/copied.png"
[ "$(identify -format %wx%h "$work/copied.png")" = 6x7 ] || fail "copied $(identify -format %wx%h "$work/copied.png"), not 6x7"
[ "$(greys "$work/copied.png" 6x7+0+0)" = "$(greys "$work/typed.png" 6x7+0+0)" ] ||
  fail "the copied picture differs from the line's dots"
xdotool key Escape

# Paste: a 5 x 3 picture from xclip, red, near-black and black dots on white; the
# near-white pixel is not pure white and becomes black too.
convert -size 5x3 xc:white -fill 'rgb(220,20,20)' -draw 'point 0,0' -fill black -draw 'point 2,1' \
  -fill 'rgb(10,10,10)' -draw 'point 4,2' -fill 'rgb(255,255,254)' -draw 'point 1,2' "$work/in.png"
xclip -quiet -selection clipboard -t image/png -i "$work/in.png" &
clip=$!
sleep 0.5
bus press "check box" "Draw a line"  # the line tool: Ctrl+V switches to select
bus state "check box" "Draw a line" checked || fail "the line tool was not chosen"
sleep 0.2
xdotool key ctrl+v
sleep 0.3
xdotool key Escape
sleep 0.2

xdotool windowmove --sync "$ed" 1200 100 || true
sleep 0.3
press Save
box=$(wait_window "Save Led Data File") || fail "no save dialog"
sleep 0.3
xdotool windowfocus --sync "$box"
xdotool type --delay 20 "$work/pasted.LDAT"
xdotool key Return
wait_gone "Save Led Data File" || fail "the save dialog did not close"
wait_file "$work/pasted.LDAT" || fail "Save wrote nothing"
"$folder/kirrup-cli" show "$work/pasted.LDAT" --row 1 --png "$work/pasted.png" >/dev/null
expected="0 255 255 255 255
255 255 0 255 255
255 0 255 255 0"
[ "$(greys "$work/pasted.png" 5x3+0+0)" = "$expected" ] ||
  fail "pasted cells: $(greys "$work/pasted.png" 5x3+0+0)"
# The rest of the line is as typed.
[ "$(greys "$work/pasted.png" 7x4+5+3)" = "$(greys "$work/typed.png" 7x4+5+3)" ] || fail "paste spilled beyond 5 x 3"
echo "PASS"
