#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# kirrup-cli settings --set: changes keys of section "Set" as the program writes them,
# keeps every other line, and writes nothing when any assignment is refused.
# usage: cli_settings_set.sh KIRRUP_CLI
set -euo pipefail
cli=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
mkdir -p "$work/LIB"
cp "$cli" "$work/kirrup-cli"
ini=$work/LIB/Kirrup.ini

# No file yet: it is made, UTF-16 with its byte order mark.
"$work/kirrup-cli" settings --set LedType=3 LedColor=green >/dev/null
[ "$(head -c 2 "$ini" | od -An -tx1 | tr -d ' ')" = fffe ] || fail "no byte order mark"
out=$("$work/kirrup-cli" settings)
grep -qx 'LedType=3' <<<"$out" || fail "LedType not set: $out"
grep -qx 'LedColor=65280' <<<"$out" || fail "LedColor not set: $out"

# Other sections and lines stay byte for byte.
{ printf '\xff\xfe'; printf '%s\r\n' '[Set]' '; my note' 'LedType=1' 'SysFont=Old' '[Language]' '2= Deutsch,407 ' |
    iconv -f UTF-8 -t UTF-16LE; } >"$ini"
"$work/kirrup-cli" settings --set SysFont='DejaVu Sans' MakeChrWndCy=700 >/dev/null
text=$(iconv -f UTF-16 -t UTF-8 <"$ini" | tr -d '\r')
expected='[Set]
; my note
LedType=1
SysFont=DejaVu Sans
MakeChrWndCy=700
[Language]
2= Deutsch,407 '
[ "$text" = "$expected" ] || fail $'file after --set:\n'"$text"

# Refused: unknown key, out of range, not a number. Status 2, a message, the file untouched.
before=$(sha256sum <"$ini")
for bad in "Colour=1" "LedType=4" "MakeChrWndCx=50" "LedGap11=two"; do
  set +e
  err=$("$work/kirrup-cli" settings --set LedType=2 "$bad" 2>&1 >/dev/null)
  status=$?
  set -e
  [ "$status" -eq 2 ] || fail "status $status for $bad"
  grep -q "nothing written" <<<"$err" || fail "no message for $bad: $err"
  [ "$(sha256sum <"$ini")" = "$before" ] || fail "the file changed after $bad"
done
echo "PASS"
