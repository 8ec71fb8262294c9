#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The character editor end to end, under Xvfb: type a line into row 1, open the editor
# with the row's TXT button (pressed on the accessibility bus), click dots onto the board,
# set one from the keyboard (arrow keys and Space), check that the line window changed,
# Save and read the dots back with kirrup-cli; resize the editor, exit, and check its
# size in the settings file.
# usage: char_editor.sh KIRRUP KIRRUP_CLI LIB_DIR EMULATOR OUTPUT_DIR
# Exits 77 (skipped) when the program folder's fonts give no glyph for the typed text.
set -euo pipefail

if [ "${1:-}" != "--inner" ]; then
  exec xvfb-run -a -s "-noreset -screen 0 1800x900x24" dbus-run-session -- "$0" --inner "$@"
fi
shift
kirrup=$1 cli=$2 libdir=$3 emulator=$4 out=$5
. "$(dirname "$0")/lib.sh"
e2e_begin "$out" char_editor

folder=$work/program
make_program_folder "$folder" "$kirrup" "$cli" "$libdir" "$emulator"

text=Hi
"$folder/kirrup-cli" compose --led 7 --line "$text" -o "$work/typed.LDAT" 2>/dev/null || true
if ! "$folder/kirrup-cli" show "$work/typed.LDAT" 2>/dev/null | grep -q "^records: 2$"; then
  echo "SKIP: the fonts in $libdir give no glyph for \"$text\""
  exit 77
fi
# The seven dot rows of line 1 as kirrup-cli shows them.
dots() { "$folder/kirrup-cli" show "$1" | sed -n '/^line 1:/,/^  |/p' | sed -n '2,8p'; }
dots "$work/typed.LDAT" >"$work/typed.dots"

# The line window of row 1 cut out of the screen.
line_window() { import -window root -crop 230x26+$((wx + 37))+$((wy + 85)) +repage "$1"; }

cd "$work"
LC_ALL=C.UTF-8 LANG=en_US.UTF-8 "$folder/kirrup" &
pid=$!
win=$(wait_window Kirrup) || fail "no main window"
sleep 0.5
xdotool windowfocus --sync "$win"
eval "$(xdotool getwindowgeometry --shell --prefix w "$win")"
wx=$wX wy=$wY
xdotool type --delay 60 "$text"
sleep 0.3
line_window "$work/line-before.png"

press "Edit the dots of line 1"
ed=$(wait_window "Sect1 \[108x7\] - \[12x7\]") || fail "the editor did not open on row 1"
bus focused canvas "Dots of line 1, 12 by 7 cells" || fail "the board is not named, or has not the keyboard"
sleep 0.3
# Cells (column, row) of the board: the tool bar is 60 pixels wide, the board starts 16
# pixels into the ruler window, 6 pixels per cell.
cell() { xdotool mousemove --window "$ed" $((60 + 16 + $1 * 6 + 3)) $((16 + $2 * 6 + 3)) click 1; }
cell 10 0
cell 11 1
cell 10 6
cell 11 6
# The keyboard's cell from the top left corner to the gap column of H, row 4: Space sets it.
xdotool key Right Right Right Right Right Down Down Down space
sleep 0.3
import -window root "$out/char_editor_drawn.png"
line_window "$work/line-after.png"
[ "$(compare -metric AE "$work/line-before.png" "$work/line-after.png" null: 2>&1 || true)" != 0 ] ||
  fail "the line window did not follow the board"

# The editor opens over the dialog's top band: move it aside to reach Save.
xdotool windowmove --sync "$ed" 1200 100 || true
sleep 0.3
press Save
box=$(wait_window "Save Led Data File") || fail "no save dialog"
sleep 0.3
xdotool windowfocus --sync "$box"
xdotool type --delay 20 "$work/drawn.LDAT"
xdotool key Return
wait_gone "Save Led Data File" || fail "the save dialog did not close"
wait_file "$work/drawn.LDAT" || fail "Save wrote nothing"
python3 - "$work/typed.dots" <<'PY' >"$work/expected.dots"
import sys
rows = [list(r.rstrip("\n")) for r in open(sys.argv[1])]
for x, y in [(10, 0), (11, 1), (10, 6), (11, 6), (5, 3)]:
    rows[y][2 + x] = "#"
print("\n".join("".join(r) for r in rows))
PY
dots "$work/drawn.LDAT" >"$work/drawn.dots"
diff "$work/expected.dots" "$work/drawn.dots" >&2 || fail "the saved line does not carry the drawn dots"

xdotool windowsize --sync "$ed" 610 330 || true
sleep 0.3
click_exit_of "$win"
for _ in $(seq 100); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$pid" 2>/dev/null && fail "the program did not end"
wait "$pid" || fail "exit status $?"
pid=
settings=$(tail -c +3 "$folder/LIB/Kirrup.ini" | iconv -f UTF-16LE -t UTF-8 | tr -d '\r')
echo "$settings" | grep -qx "MakeChrWndCx=610" || fail "MakeChrWndCx not stored: $settings"
echo "$settings" | grep -qx "MakeChrWndCy=330" || fail "MakeChrWndCy not stored: $settings"
echo "PASS"
