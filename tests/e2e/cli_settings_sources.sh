#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# kirrup-cli settings says where its values came from and what the program would load or
# pass over in silence: the settings file, each font library and user font, the link library.
# usage: cli_settings_sources.sh KIRRUP_CLI LIB_DIR
set -euo pipefail
cli=$1
libdir=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
mkdir -p "$work/LIB"
cp "$cli" "$work/kirrup-cli"
cp "$libdir"/THE_11ASCII.bin "$libdir"/THE_11FH.bin "$libdir"/THE_16FH.bin "$libdir"/UserZK16.fnt "$work/LIB/"
: >"$work/LIB/THE_7ASCII.bin"                                          # empty
head -c 1000 "$libdir/THE_16ASCII.bin" >"$work/LIB/THE_16ASCII.bin"    # damaged: cut short
mkfifo "$work/LIB/UserZK11.fnt"                                        # must not block

expect() {  # expect KEY VALUE: the line KEY=VALUE is in $out
  grep -qxF -- "$1=$2" <<<"$out" || fail "no '$1=$2' in:"$'\n'"$out"
}

# The settings file is a folder: the defaults, a warning and status 1.
mkdir "$work/LIB/Kirrup.ini"
set +e
out=$(timeout 20 "$work/kirrup-cli" settings 2>"$work/err")
status=$?
set -e
[ "$status" -eq 1 ] || fail "status $status for a settings file that is a folder"
grep -qF "warning: $work/LIB/Kirrup.ini: Is a directory" "$work/err" || fail "no warning: $(cat "$work/err")"
expect SettingsFileState "not read (Is a directory): the defaults apply and the program will not save its settings"
expect LedType 1
expect THE_7ASCII.bin "not loaded: empty"
expect THE_11ASCII.bin "loaded, 3044 bytes, 95 of 95 glyphs"
expect THE_16ASCII.bin "loaded, 1000 bytes, 31 of 95 glyphs (the file ends inside a record)"
expect THE_16FH.bin "loaded, 964 bytes, 15 of 15 glyphs"
expect UserZK11.fnt "not available: not a regular file"
expect UserZK16.fnt "available, $(stat -c %s "$libdir/UserZK16.fnt") bytes"
grep -q '^UsbLink=LIB/VexoUSB.so: not loaded: .*No such file or directory' <<<"$out" || fail "link: $out"

# A readable file, then none.
rmdir "$work/LIB/Kirrup.ini"
printf '[Set]\r\nLedType=2\r\n' >"$work/LIB/Kirrup.ini"
out=$(timeout 20 "$work/kirrup-cli" settings)
expect SettingsFileState read
expect LedType 2
rm "$work/LIB/Kirrup.ini"
out=$(timeout 20 "$work/kirrup-cli" settings)
expect SettingsFileState "missing (No such file or directory): the defaults apply"
echo "PASS"
