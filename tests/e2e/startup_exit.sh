#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Starts the real program under Xvfb in a fresh program folder, leaves it with its Exit
# button and checks the settings file it wrote; a second run without the USB link
# library must show both messages and still start and exit.
# usage: startup_exit.sh KIRRUP FAKE_USB_LIBRARY OUTPUT_DIR
set -euo pipefail

if [ "${1:-}" != "--inner" ]; then
  exec xvfb-run -a -s "-noreset -screen 0 1024x768x24" dbus-run-session -- "$0" --inner "$@"
fi
shift
kirrup=$1 fake_usb=$2 out=$3
. "$(dirname "$0")/lib.sh"
e2e_begin "$out" startup_exit



click_exit() { click_exit_of "$1"; }

# --- Run 1: with a USB link library, no settings file yet ----------------------------
mkdir -p "$work/one/LIB"
cp "$kirrup" "$work/one/kirrup"
cp "$fake_usb" "$work/one/LIB/VexoUSB.so"
LC_ALL=C.UTF-8 LANG=en_US.UTF-8 "$work/one/kirrup" &
pid=$!
win=$(wait_window Kirrup) || fail "no main window"
sleep 0.5
import -window root "$out/kirrup.png"
geometry=$(xdotool getwindowgeometry "$win")
echo "$geometry" | grep -Eq "Geometry: (89[6-9]|9[0-9][0-9]|1[0-9]{3})x607" || fail "unexpected size: $geometry"
click_exit "$win"
wait_exit || fail "exit status $?"
pid=

ini="$work/one/LIB/Kirrup.ini"
[ -f "$ini" ] || fail "no settings file"
[ "$(head -c 2 "$ini" | od -An -tx1 | tr -d ' ')" = "fffe" ] || fail "no byte order mark"
text=$(tail -c +3 "$ini" | iconv -f UTF-16LE -t UTF-8)
expected_set=$'[Set]\r\nbUserFont=1\r\nSysFont=宋体\r\nLedType=1\r\nLedColor=255\r\nMakeChrWndCx=540\r\nMakeChrWndCy=360\r\n'
[ "${text:0:${#expected_set}}" = "$expected_set" ] || fail "section Set: ${text:0:200}"
grep -q $'^\[Language\]\r$' <<<"$text" || fail "no section Language"
grep -q $'^1=English\r$' <<<"$text" || fail "no English entry"
grep -q $'^2=简体中文\r$' <<<"$text" || fail "no Chinese entry"
grep -q $'^\[LangCodePage\]\r$' <<<"$text" || fail "no section LangCodePage"
grep -q $'^9=西班牙文,000A\r$' <<<"$text" || fail "LangCodePage incomplete"
grep -q $'^M24=镜向\r$' <<<"$text" || fail "Chinese texts missing"
if grep -qv $'\r$' <<<"$text"; then fail "a line does not end in CR LF"; fi

# --- Run 2: no USB link library: both messages, then the dialog --------------------------
mkdir -p "$work/two/LIB"
cp "$kirrup" "$work/two/kirrup"
"$work/two/kirrup" &
pid=$!
for message in 1 2; do
  box=$(wait_window Information) || fail "message $message not shown"
  xdotool windowfocus --sync "$box" key Return
  # Wait for this box to go before looking for the next one.
  for _ in $(seq 50); do
    xdotool search --onlyvisible --name '^Information$' 2>/dev/null | grep -qx "$box" || break
    sleep 0.1
  done
done
win=$(wait_window Kirrup) || fail "no main window after the messages"
sleep 0.3
click_exit "$win"
wait_exit || fail "exit status $?"
pid=
[ -f "$work/two/LIB/Kirrup.ini" ] || fail "second run wrote no settings file"
echo "PASS"
