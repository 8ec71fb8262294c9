#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The top band's LED type choice and the toy's memory meter, end to end under Xvfb and on
# the accessibility bus: both are shown, the meter follows typing with the size kirrup-cli
# reports for the same line, and both follow a change of the LED type made with the
# keyboard (mnemonic, arrow key, "No" at the save prompt).
# usage: capacity_header.sh KIRRUP KIRRUP_CLI LIB_DIR EMULATOR OUTPUT_DIR
# Exits 77 (skipped) when the program folder's fonts give no glyph for the typed text.
set -euo pipefail

if [ "${1:-}" != "--inner" ]; then
  exec xvfb-run -a -s "-noreset -screen 0 1280x800x24" dbus-run-session -- "$0" --inner "$@"
fi
shift
kirrup=$1 cli=$2 libdir=$3 emulator=$4 out=$5
. "$(dirname "$0")/lib.sh"
e2e_begin "$out" capacity_header

folder=$work/program
make_program_folder "$folder" "$kirrup" "$cli" "$libdir" "$emulator"
"$folder/kirrup-cli" compose --led 7 --line Hi -o "$work/hi.LDAT" 2>/dev/null || true
if ! "$folder/kirrup-cli" show "$work/hi.LDAT" 2>/dev/null | grep -q "^records: 2$"; then
  echo "SKIP: the fonts in $libdir give no glyph for \"Hi\""
  exit 77
fi
expected=$("$folder/kirrup-cli" show "$work/hi.LDAT" | sed -n 's/^device image: \([0-9]*\) of 2047 bytes$/\1/p')
[ -n "$expected" ] || fail "kirrup-cli show gives no device image size"

cd "$work"
LC_ALL=C.UTF-8 LANG=en_US.UTF-8 "$folder/kirrup" &
pid=$!
win=$(wait_window Kirrup) || fail "no main window"
bus state "progress bar" "Toy memory" showing || fail "the toy memory meter is not shown"
bus state "combo box" "7 LEDs" showing || fail "the LED type choice is not shown"
bus state "push button" "Font" showing || fail "the font choice is not shown"
bus wait-description "progress bar" "Toy memory" "0 of 2047 bytes" || fail "meter of the empty rows"

sleep 0.5
xdotool windowfocus --sync "$win"
bus focused text "Line 1" || fail "row 1 does not have the keyboard"
xdotool type --delay 60 "Hi"
bus wait-description "progress bar" "Toy memory" "$expected of 2047 bytes" || fail "meter after typing"
[ "$(bus value "progress bar" "Toy memory")" = "$expected" ] || fail "the meter's value is not $expected"

# 11 LEDs from the keyboard: the rows were changed, so the save prompt asks first.
xdotool key alt+l
sleep 0.3
xdotool key Down
press No
bus state "combo box" "11 LEDs" showing || fail "the LED type choice does not show 11 LEDs"
bus wait-description "progress bar" "Toy memory" "0 of 2047 bytes" || fail "the meter was not emptied with the rows"
import -window root "$out/capacity_header.png"
echo PASS
