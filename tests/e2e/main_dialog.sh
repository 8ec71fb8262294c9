#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The main dialog end to end, under Xvfb with the emulated toy: type a line into row 1,
# choose its effects, Send, and compare the image the toy reassembled with what
# kirrup-cli builds from the same lines saved by the program; then Save, Clear, Open
# and check the rows are back. Buttons are pressed and lines read on the accessibility bus.
# usage: main_dialog.sh KIRRUP KIRRUP_CLI LIB_DIR EMULATOR OUTPUT_DIR
# Exits 77 (skipped) when the program folder's fonts give no glyph for the typed text.
set -euo pipefail

if [ "${1:-}" != "--inner" ]; then
  exec xvfb-run -a -s "-noreset -screen 0 1024x768x24" dbus-run-session -- "$0" --inner "$@"
fi
shift
kirrup=$1 cli=$2 libdir=$3 emulator=$4 out=$5
. "$(dirname "$0")/lib.sh"
e2e_begin "$out" main_dialog

# The program folder: the programs, LIB/ of the build, the emulator as the link library.
folder=$work/program
make_program_folder "$folder" "$kirrup" "$cli" "$libdir" "$emulator"

text=Hi
"$folder/kirrup-cli" compose --led 7 --line "$text" -o "$work/probe.LDAT" 2>/dev/null || true
if ! "$folder/kirrup-cli" show "$work/probe.LDAT" 2>/dev/null | grep -q "^records: 2$"; then
  echo "SKIP: the fonts in $libdir give no glyph for \"$text\""
  exit 77
fi

click_open() { press Open; }
click_save() { press Save; }
click_clear() { press Clear; }
click_send() { press Send; }
click_exit() { click_exit_of "$win"; }

# Answers a file dialog with a path.
file_dialog() {
  local box
  box=$(wait_window "$1") || fail "no \"$1\" dialog"
  sleep 0.3
  xdotool windowfocus --sync "$box"
  xdotool type --delay 20 "$2"
  sleep 0.2
  xdotool key Return
  wait_gone "$1" || fail "\"$1\" did not close"
}

cd "$work"
VEXOUSB_EMU_IMAGE="$work/emulated.bin" LC_ALL=C.UTF-8 LANG=en_US.UTF-8 "$folder/kirrup" &
pid=$!
win=$(wait_window Kirrup) || fail "no main window"
sleep 0.5
xdotool windowfocus --sync "$win"

# Row 1 has the keyboard: type, then Tab past the TXT button to the effect lists.
bus focused text "Line 1" || fail "row 1 does not have the keyboard"
xdotool type --delay 60 "$text"
bus wait-text text "Line 1" "$text" || fail "row 1 does not read \"$text\""
xdotool key Tab Tab
bus focused "combo box" "Open Option, line 1: *" || fail "two Tabs from row 1 do not reach its opening effect"
xdotool key Down Down Down Tab Down Down
bus name "combo box" "Open Option, line 1: *" | grep -qx "Open Option, line 1: Down to Up" || fail "opening effect not chosen"
bus name "combo box" "Close Option, line 1: *" | grep -qx "Close Option, line 1: From down to up" ||
  fail "closing effect not chosen"
bus state "push button" Send enabled || fail "Send not enabled: the toy does not answer the poll"
import -window root "$out/main_dialog_typed.png"
click_send
wait_file "$work/emulated.bin" || fail "the toy received no image"
[ -s "$work/USBSendData.bin" ] || fail "no USBSendData.bin"
cmp -s "$work/USBSendData.bin" "$work/emulated.bin" || fail "the toy's image differs from USBSendData.bin"

click_save
file_dialog "Save Led Data File" "$work/sent.LDAT"
wait_file "$work/sent.LDAT" || fail "Save wrote nothing"
"$folder/kirrup-cli" image "$work/sent.LDAT" -o "$work/cli.bin" || fail "kirrup-cli image failed"
cmp "$work/cli.bin" "$work/emulated.bin" || fail "kirrup-cli image differs from what the toy received"
"$folder/kirrup-cli" show "$work/sent.LDAT" | grep -q "line 1: open 3, close 2" || fail "effects not saved: $("$folder/kirrup-cli" show "$work/sent.LDAT")"

# Clear (saved just now: no question), save the empty rows, open the file again.
click_clear
bus wait-text text "Line 1" "" || fail "Clear left row 1 as it was"
click_save
file_dialog "Save Led Data File" "$work/cleared.LDAT"
wait_file "$work/cleared.LDAT" || fail "Save after Clear wrote nothing"
"$folder/kirrup-cli" show "$work/cleared.LDAT" | grep -q "^records: 0$" || fail "Clear left characters"

click_open
file_dialog "Open Led Data File" "$work/sent.LDAT"
bus wait-text text "Line 1" "$text" || fail "Open did not bring row 1 back"
click_save
file_dialog "Save Led Data File" "$work/reopened.LDAT"
wait_file "$work/reopened.LDAT" || fail "Save after Open wrote nothing"
cmp "$work/sent.LDAT" "$work/reopened.LDAT" || fail "the rows did not come back from the file"

click_exit
for _ in $(seq 100); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$pid" 2>/dev/null && fail "the program did not end"
wait "$pid" || fail "exit status $?"
pid=
echo "PASS"
