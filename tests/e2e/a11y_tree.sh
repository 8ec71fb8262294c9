#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The program as a screen reader reads it, under Xvfb on the accessibility bus: the whole
# tree of the main dialog, the character editor, the font chooser and the About box is
# walked, and a window with an interactive control that has no name, or with two that
# have the same name, fails (bus.py check). On the way: the indicator's and the
# simulation's states, the Tab order of the dialog, row by row and then into the symbol
# picker, and the save question read as text.
# usage: a11y_tree.sh KIRRUP KIRRUP_CLI LIB_DIR EMULATOR OUTPUT_DIR
set -euo pipefail

if [ "${1:-}" != "--inner" ]; then
  exec xvfb-run -a -s "-noreset -screen 0 1280x800x24" dbus-run-session -- "$0" --inner "$@"
fi
shift
kirrup=$1 cli=$2 libdir=$3 emulator=$4 out=$5
. "$(dirname "$0")/lib.sh"
e2e_begin "$out" a11y_tree

folder=$work/program
make_program_folder "$folder" "$kirrup" "$cli" "$libdir" "$emulator"

cd "$work"
LC_ALL=C.UTF-8 LANG=en_US.UTF-8 "$folder/kirrup" &
pid=$!
win=$(wait_window Kirrup) || fail "no main window"
sleep 0.5
xdotool windowfocus --sync "$win"
bus focused text "Line 1" || fail "row 1 does not have the keyboard at start"
xdotool type --delay 60 "Hi"
bus wait-text text "Line 1" "Hi" || fail "row 1 does not read what was typed"
bus name image "Toy connection: Connected" >/dev/null || fail "the indicator does not say the toy is connected"
press Start
bus name animation "Simulation, playing" >/dev/null || fail "the simulation does not say it plays"
press Stop
bus name animation "Simulation, stopped" >/dev/null || fail "the simulation does not say it stopped"
bus focus text "Line 1"
bus focused text "Line 1" || fail "row 1 does not take the keyboard back"

# Tab: row by row (line, TXT, opening and closing effect), the rows that are enabled, then
# the symbol picker, whose first cell is read.
for control in "push button|Edit the dots of line 1" "combo box|Open Option, line 1: *" \
  "combo box|Close Option, line 1: *" "text|Line 2" "push button|Edit the dots of line 2" \
  "combo box|Open Option, line 2: *" "combo box|Close Option, line 2: *" "list item|♥ heart, code 18"; do
  xdotool key Tab
  bus focused "${control%%|*}" "${control#*|}" || fail "Tab does not reach ${control#*|}"
done
import -window root "$out/a11y_tree_picker_focus.png"
bus check Kirrup >&2 || fail "the main dialog"

press "Edit the dots of line 1"
bus window "Sect1 *" || fail "the editor did not open"
bus check "Sect1 *" >&2 || fail "the character editor"
bus focused canvas "Dots of line 1, 12 by 7 cells" || fail "the board does not have the keyboard"
xdotool key shift+Tab
bus focused "check box" "White background" || fail "Shift+Tab from the board does not reach the last tool"

# The font chooser and the About box from the system menu (a right click on the dialog's
# background): Font > Choose font..., and the last item.
xdotool mousemove --window "$win" 5 300 click 3
sleep 0.5
xdotool key Down Down Right Up Return
bus window "Choose Font" || fail "the font chooser did not open"
bus check "Choose Font" >&2 || fail "the font chooser"
press Cancel
wait_gone "Choose Font" || fail "the font chooser did not close"

xdotool mousemove --window "$win" 5 300 click 3
sleep 0.5
xdotool key Up Return
bus window "* Kirrup" || fail "the About box did not open"
bus check "* Kirrup" >&2 || fail "the About box"
about=$(xdotool search --onlyvisible --name " Kirrup\$" | head -1)
xdotool windowfocus --sync "$about" key Return
for _ in $(seq 100); do
  xdotool search --onlyvisible --name " Kirrup\$" >/dev/null 2>&1 || break
  sleep 0.1
done

# Exit asks whether to save the typed line: a reader reads the question.
press Exit
bus name label "Do you want to save the data(Y/N)?" >/dev/null || fail "the save question is not readable"
press No
wait_exit || fail "exit status $?"
pid=
echo "PASS"
