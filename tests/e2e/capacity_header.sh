#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The top band's LED type choice and the toy's memory meter, end to end under Xvfb and on
# the accessibility bus (capacity_header.py does the checking).
# usage: capacity_header.sh KIRRUP KIRRUP_CLI LIB_DIR EMULATOR OUTPUT_DIR
# Exits 77 (skipped) when the program folder's fonts give no glyph for the typed text.
set -euo pipefail

if [ "${1:-}" != "--inner" ]; then
  exec xvfb-run -a -s "-noreset -screen 0 1280x800x24" "$0" --inner "$@"
fi
shift
kirrup=$1 cli=$2 libdir=$3 emulator=$4 out=$5
. "$(dirname "$0")/lib.sh"
e2e_begin "$out" capacity_header

folder=$work/program
make_program_folder "$folder" "$kirrup" "$cli" "$libdir" "$emulator"
"$folder/kirrup-cli" compose --led 7 --line Hi -o "$work/probe.LDAT" 2>/dev/null || true
if ! "$folder/kirrup-cli" show "$work/probe.LDAT" 2>/dev/null | grep -q "^records: 2$"; then
  echo "SKIP: the fonts in $libdir give no glyph for \"Hi\""
  exit 77
fi
dbus-run-session -- /usr/bin/python3 "$(dirname "$0")/capacity_header.py" "$folder" "$work" "$out" ||
  fail "capacity_header.py"
