#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The symbol picker and the LED type from the system menu, end to end under Xvfb:
#  1. a fresh program folder (7 LEDs); the system menu's LED type entry chooses 16 LEDs;
#     after Exit the settings file holds LedType=3;
#  2. kirrup-cli settings --set LedType=2 (11 LEDs); the program starts with 11 LEDs: a
#     click on the picker's first cell puts symbol 1 into row 1, which Save writes.
# usage: symbol_picker.sh KIRRUP KIRRUP_CLI LIB_DIR EMULATOR OUTPUT_DIR
set -euo pipefail

if [ "${1:-}" != "--inner" ]; then
  # -noreset: the server stays when the first program run ends, ready for the second.
  exec xvfb-run -a -s "-noreset -screen 0 1024x768x24" "$0" --inner "$@"
fi
shift
kirrup=$1 cli=$2 libdir=$3 emulator=$4 out=$5
. "$(dirname "$0")/lib.sh"
e2e_begin "$out" symbol_picker

# The program folder, the emulated toy as the link library.
folder=$work/program
make_program_folder "$folder" "$kirrup" "$cli" "$libdir" "$emulator"

start() {
  cd "$work"
  LC_ALL=C.UTF-8 LANG=en_US.UTF-8 "$folder/kirrup" &
  pid=$!
  win=$(wait_window Kirrup) || fail "no main window"
  sleep 0.5
  xdotool windowfocus --sync "$win"
}
finish() {
  click_exit_of "$win"
  for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$pid" 2>/dev/null && fail "the program did not end"
  wait "$pid" || fail "exit status $?"
  pid=
}

# 1. The system menu (a right click on the dialog's background), its first entry the LED
# type submenu, whose "1&6LED" item has the accelerator 6.
start
xdotool mousemove --window "$win" 5 300 click 3
sleep 0.5
xdotool key Down Right
sleep 0.3
xdotool key 6
sleep 0.5
finish
"$folder/kirrup-cli" settings | grep -qx "LedType=3" || fail "LedType after choosing 16 LEDs: $("$folder/kirrup-cli" settings)"

# 2. The type from kirrup-cli, a symbol from the picker.
"$folder/kirrup-cli" settings --set LedType=2 >/dev/null
start
# The first cell: the picker is centred under the rows (see CRotavuDlg's layout).
click "$(picker_x "$win" 107)" 484
sleep 0.3
import -window root "$out/symbol_picker_clicked.png"
click 328 26  # Save
box=$(wait_window "Save Led Data File") || fail "no Save dialog"
sleep 0.3
xdotool windowfocus --sync "$box"
xdotool type --delay 20 "$work/symbol.LDAT"
xdotool key Return
wait_gone "Save Led Data File" || fail "the Save dialog did not close"
for _ in $(seq 50); do [ -s "$work/symbol.LDAT" ] && break; sleep 0.1; done
shown=$("$folder/kirrup-cli" show "$work/symbol.LDAT") || fail "kirrup-cli show failed"
grep -q "^LED type: 1 (11 LEDs)$" <<<"$shown" || fail "not 11 LEDs: $shown"
grep -q "^records: 1$" <<<"$shown" || fail "not one character: $shown"
grep -q "0: U+0001 " <<<"$shown" || fail "not symbol 1: $shown"
finish
echo "PASS"
