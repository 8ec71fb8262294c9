#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The installed program in a folder its user cannot write: installed into a temporary
# prefix, made read-only and started through the bin/ link under Xvfb (as an unprivileged
# user when run as root, who could write anyway). The settings go to the user's
# configuration folder, start from the shipped LIB/Kirrup.ini and come back on the next
# start; the program folder stays as it was.
# usage: installed_readonly.sh CMAKE BUILD_DIR OUTPUT_DIR
set -euo pipefail

if [ "${1:-}" != "--inner" ]; then
  # -ac: the unprivileged user has no key to the server's authority file.
  exec xvfb-run -a -s "-noreset -ac -screen 0 1024x768x24" "$0" --inner "$@"
fi
shift
cmake=$1 build=$2 out=$3
. "$(dirname "$0")/lib.sh"
e2e_begin "$out" installed_readonly
# The program runs as another user, who cannot reach this user's session bus: Exit is
# clicked where it is drawn.
unset QT_LINUX_ACCESSIBILITY_ALWAYS_ON
click_exit_of() { xdotool mousemove --window "$1" "$(side_x "$1" 836)" 577 click 1; }
chmod 755 "$work"
on_cleanup() { chmod -R u+w "$work" 2>/dev/null || true; }

prefix=$work/prefix
"$cmake" --install "$build" --prefix "$prefix" >/dev/null || fail "install failed"
folder=$prefix/lib/kirrup
[ -L "$prefix/bin/kirrup" ] || fail "bin/kirrup is not a link"
[ -f "$prefix/share/thumbnailers/kirrup.thumbnailer" ] || fail "no thumbnailer entry installed"

# A shipped settings file: LedGap11 is never written at exit, so finding it in the user's
# file shows the file started as a copy.
u16() { printf '\xff\xfe'; printf '%s' "$1" | iconv -f UTF-8 -t UTF-16LE; }
u16 $'[Set]\r\nLedType=3\r\nLedGap11=3\r\n' >"$folder/LIB/Kirrup.ini"
chmod -R a-w "$folder"
before=$(cd "$folder" && find . -printf '%p %m %s %T@\n' | sort)

home=$work/home
config=$home/config
mkdir -p "$home"
as_user=()
if [ "$(id -u)" = 0 ]; then
  chown 65534:65534 "$home"
  as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
fi
run() { env -u XAUTHORITY HOME="$home" XDG_CONFIG_HOME="$config" LC_ALL=C.UTF-8 "${as_user[@]}" "$@"; }
text() { tail -c +3 "$1" | iconv -f UTF-16LE -t UTF-8 | tr -d '\r'; }
start_and_exit() {
  run "$prefix/bin/kirrup" &
  pid=$!
  win=$(wait_window Kirrup) || fail "no main window ($1)"
  sleep 0.5
  click_exit_of "$win"
  for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$pid" 2>/dev/null && fail "the program did not end ($1)"
  wait "$pid" || fail "exit status $? ($1)"
  pid=
}

settings=$(run "$prefix/bin/kirrup-cli" settings) || fail "kirrup-cli settings failed"
grep -qx "SettingsFile=$config/kirrup/Kirrup.ini" <<<"$settings" || fail "settings before: $settings"
grep -q "^SettingsPlace=user " <<<"$settings" || fail "settings before: $settings"
grep -qx "LedType=3" <<<"$settings" || fail "the shipped file is not in force: $settings"

start_and_exit "first start"
ini=$config/kirrup/Kirrup.ini
[ -f "$ini" ] || fail "no settings file in the configuration folder"
t=$(text "$ini")
grep -qx "LedType=3" <<<"$t" || fail "LedType not kept: $t"
grep -qx "LedGap11=3" <<<"$t" || fail "not started from the shipped file: $t"
grep -qx "MakeChrWndCy=360" <<<"$t" || fail "exit did not write section Set: $t"
grep -qx "\[LangCodePage\]" <<<"$t" || fail "exit did not write the languages: $t"
after=$(cd "$folder" && find . -printf '%p %m %s %T@\n' | sort)
[ "$before" = "$after" ] || fail "the program folder changed"

# Values only the user's file holds must survive a second start and exit.
u16 "$(text "$ini" | sed 's/^LedColor=.*/LedColor=65280/; s/^MakeChrWndCx=.*/MakeChrWndCx=777/' | sed 's/$/\r/')" >"$work/edited"
cp "$work/edited" "$ini"
start_and_exit "second start"
t=$(text "$ini")
grep -qx "LedColor=65280" <<<"$t" || fail "LedColor not read back: $t"
grep -qx "MakeChrWndCx=777" <<<"$t" || fail "MakeChrWndCx not read back: $t"
settings=$(run "$prefix/bin/kirrup-cli" settings)
grep -qx "LedColor=65280" <<<"$settings" || fail "kirrup-cli reads another file: $settings"
after=$(cd "$folder" && find . -printf '%p %m %s %T@\n' | sort)
[ "$before" = "$after" ] || fail "the program folder changed"
echo "PASS"
