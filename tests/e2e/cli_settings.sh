#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# kirrup-cli settings reads LIB/Kirrup.ini beside itself, prints the values in force and
# never writes the file.
# usage: cli_settings.sh KIRRUP_CLI
set -euo pipefail
cli=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

mkdir -p "$work/LIB"
cp "$cli" "$work/kirrup-cli"

# No settings file: the defaults and the two built-in languages.
out=$("$work/kirrup-cli" settings | sed "/^SettingsFileState=/,\$d")
expected="SettingsFile=$work/LIB/Kirrup.ini
SettingsPlace=program folder (the program folder's LIB can be written)
bUserFont=1
SysFont=宋体
LedType=1
LedColor=255
LedGap11=2
LedScrW11=156
Lang=1
MakeChrWndCx=540
MakeChrWndCy=360
Language.1=English,0409
Language.2=简体中文,0804"
[ "$out" = "$expected" ] || fail $'defaults:\n'"$out"
[ ! -e "$work/LIB/Kirrup.ini" ] || fail "the file was created"

# A file with values to check and a language of its own.
{ printf '\xff\xfe'; printf '%s\r\n' '[Set]' 'bUserFont=0' 'SysFont= "Noto Sans CJK" ' 'LedType=7' \
    'LedColor=65280' 'LedGap11=-3' 'LedScrW11=170' 'Lang=0' 'MakeChrWndCx=2000' 'MakeChrWndCy=600' \
    '[Language]' '2= Deutsch,407 ' | iconv -f UTF-8 -t UTF-16LE; } >"$work/LIB/Kirrup.ini"
before=$(sha256sum <"$work/LIB/Kirrup.ini")
out=$("$work/kirrup-cli" settings | sed "/^SettingsFileState=/,\$d")
expected="SettingsFile=$work/LIB/Kirrup.ini
SettingsPlace=program folder (the program folder's LIB can be written)
bUserFont=0
SysFont=Noto Sans CJK
LedType=3
LedColor=65280
LedGap11=0
LedScrW11=170
Lang=1
MakeChrWndCx=100
MakeChrWndCy=600
Language.1=Deutsch,0407
Language.2=English,0409
Language.3=简体中文,0804"
[ "$out" = "$expected" ] || fail $'from file:\n'"$out"
[ "$(sha256sum <"$work/LIB/Kirrup.ini")" = "$before" ] || fail "the file was changed"

# Unknown arguments: usage and status 2.
set +e
"$work/kirrup-cli" settings extra 2>/dev/null
status=$?
set -e
[ "$status" -eq 2 ] || fail "status $status for an unknown argument"
echo "PASS"
