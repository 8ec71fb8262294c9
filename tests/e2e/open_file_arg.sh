#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# `kirrup FILE.LDAT` under Xvfb: the rows of the file are there once the dialog is shown
# (saved again and compared with kirrup-cli show), and a bad file says "Open file error!".
# usage: open_file_arg.sh KIRRUP KIRRUP_CLI LIB_DIR OUTPUT_DIR
# Exits 77 (skipped) when the program folder's fonts give no glyph for the text.
set -euo pipefail

if [ "${1:-}" != "--inner" ]; then
  exec xvfb-run -a -s "-noreset -screen 0 1024x768x24" dbus-run-session -- "$0" --inner "$@"
fi
shift
kirrup=$1 cli=$2 libdir=$3 out=$4
. "$(dirname "$0")/lib.sh"
e2e_begin "$out" open_file_arg

folder=$work/program
make_program_folder "$folder" "$kirrup" "$cli" "$libdir"

# Not the settings' LED type, and with middle options: both must come from the file.
"$folder/kirrup-cli" compose --led 16 --middle --line "Hi" --open 3 --middle-effect 2 --close 5 \
  --line "Yo" --close 1 -o "$work/in.LDAT" 2>/dev/null || true
if ! "$folder/kirrup-cli" show "$work/in.LDAT" 2>/dev/null | grep -q "^records: 4$"; then
  echo "SKIP: the fonts in $libdir give no glyphs for the text"
  exit 77
fi


cd "$work"
LC_ALL=C.UTF-8 LANG=en_US.UTF-8 "$folder/kirrup" in.LDAT &
pid=$!
win=$(wait_window Kirrup) || fail "no main window"
sleep 0.8
import -window root "$out/open_file_arg.png"
press Save
box=$(wait_window "Save Led Data File") || fail "no save dialog"
sleep 0.3
xdotool windowfocus --sync "$box"
xdotool type --delay 20 "$work/out.LDAT"
xdotool key Return
wait_gone "Save Led Data File" || fail "the save dialog did not close"
for _ in $(seq 50); do [ -s "$work/out.LDAT" ] && break; sleep 0.1; done
[ -s "$work/out.LDAT" ] || fail "Save wrote nothing"
diff <("$folder/kirrup-cli" show in.LDAT) <("$folder/kirrup-cli" show out.LDAT) >&2 ||
  fail "the rows saved differ from the file given on the command line"
click_exit_of "$win"  # Exit: nothing changed since the file was opened, so no question
wait_exit || fail "exit status $?"
pid=

# A file that is not an LED data file: "Open file error!" in a small message box over the dialog.
head -c 300 /dev/zero >"$work/bad.LDAT"
LC_ALL=C.UTF-8 LANG=en_US.UTF-8 "$folder/kirrup" bad.LDAT &
pid=$!
box=
for _ in $(seq 300); do
  # The box is the window named like the dialog but narrower than it.
  for id in $(xdotool search --onlyvisible --name '^Kirrup$' 2>/dev/null || true); do
    w=$(xdotool getwindowgeometry "$id" | sed -n 's/.*Geometry: \([0-9]*\)x.*/\1/p')
    [ -n "$w" ] && [ "$w" -lt 600 ] && box=$id
  done
  [ -n "$box" ] && break
  sleep 0.1
done
[ -n "$box" ] || fail "no message box besides the dialog"
xdotool windowfocus --sync "$box" key Return
sleep 0.3
win=$(wait_window Kirrup) || fail "no main window after the message"
# Nothing was read: Exit leaves without asking.
click_exit_of "$win"
wait_exit || fail "exit status $?"
pid=

# Not an option the program knows: the usage on standard error, status 2, no window.
status=0
"$folder/kirrup" --frobnicate 2>"$work/err" || status=$?
[ "$status" = 2 ] || fail "unknown option: status $status"
grep -q "^usage: kirrup" "$work/err" || fail "no usage text: $(cat "$work/err")"
echo "PASS"
