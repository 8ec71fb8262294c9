#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Checks the Debian package without installing it: its files and control data, the
# programs run from the unpacked tree, the desktop entry, AppStream data, file type
# (through xdg-mime against a private MIME database), the thumbnailer (its entry's command
# run as a file manager runs it), completion, maintainer scripts, and lintian (errors
# fail, warnings are shown).
# usage: package_check.sh KIRRUP.deb
set -euo pipefail
deb=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
step() { echo "-- $*"; }

step "contents"
[ "$(dpkg-deb -f "$deb" Package)" = kirrup ] || fail "package name"
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libqt6svg6 libhidapi-hidraw0 libfreetype6 libgif7; do
  grep -q "$lib" <<<"$depends" || fail "Depends lacks $lib: $depends"
done
dpkg-deb --contents "$deb" >"$work/listing"
if grep -v ' root/root ' "$work/listing"; then fail "files not owned by root"; fi
root=$work/root
dpkg-deb -x "$deb" "$root"
for f in lib/kirrup/kirrup lib/kirrup/kirrup-cli \
  lib/kirrup/LIB/{THE_7ASCII.bin,THE_11ASCII.bin,THE_11FH.bin,THE_16ASCII.bin,THE_16FH.bin} \
  lib/kirrup/LIB/{UserZK11.fnt,UserZK16.fnt,README,VexoUSB.so,VexoUSB-emu.so} \
  lib/udev/rules.d/60-kirrup.rules share/applications/kirrup.desktop share/mime/packages/kirrup.xml \
  share/thumbnailers/kirrup.thumbnailer \
  share/metainfo/org.kirrup.kirrup.metainfo.xml share/icons/hicolor/scalable/apps/kirrup.svg \
  share/man/man1/kirrup.1.gz share/man/man1/kirrup-cli.1.gz share/bash-completion/completions/kirrup-cli \
  share/doc/kirrup/copyright share/doc/kirrup/changelog.gz; do
  [ -f "$root/usr/$f" ] || fail "missing /usr/$f"
done
for size in 16 22 24 32 48 64 128 256; do
  png=$root/usr/share/icons/hicolor/${size}x$size/apps/kirrup.png
  file "$png" | grep -q "PNG image data, $size x $size" || fail "icon $size: $(file "$png")"
done
for p in kirrup kirrup-cli; do
  [ "$(readlink "$root/usr/bin/$p")" = "../lib/kirrup/$p" ] || fail "/usr/bin/$p is not a relative link"
done
grep -q 'TAG+="uaccess"' "$root/usr/lib/udev/rules.d/60-kirrup.rules" || fail "udev rule without uaccess"
grep -q "^Files: usr/lib/kirrup/LIB/UserZK16.fnt" "$root/usr/share/doc/kirrup/copyright" || fail "copyright"

step "kirrup-cli from the unpacked tree"
cli=$root/usr/bin/kirrup-cli
out=$("$cli" settings) || fail "settings failed"
grep -qx "SettingsFile=$root/usr/lib/kirrup/LIB/Kirrup.ini" <<<"$out" || fail "settings: $out"
"$cli" glyph --led 16 0x4E2D | grep -q "^code=0x4E2D" || fail "glyph"
"$cli" help 2>&1 | grep -q "GPL-2.0-or-later" || fail "help names no licence"
(cd "$work" && "$cli" compose --led 11 --line "Kirrup" --open 2 -o "$work/k.LDAT") || fail "compose"
"$cli" show "$work/k.LDAT" | grep -q "line 1: open 2" || fail "show: $("$cli" show "$work/k.LDAT")"
man -l "$root/usr/share/man/man1/kirrup-cli.1.gz" 2>&1 >/dev/null | grep . && fail "manual page warnings"

step "desktop entry, AppStream data, file type"
desktop-file-validate "$root/usr/share/applications/kirrup.desktop" || fail "desktop entry"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.kirrup.kirrup.metainfo.xml" || fail "AppStream data"
xmllint --noout "$root/usr/share/mime/packages/kirrup.xml" || fail "MIME package"
mime=$work/data/mime
mkdir -p "$mime/packages"
cp "$root/usr/share/mime/packages/kirrup.xml" "$mime/packages/"
[ -f /usr/share/mime/packages/freedesktop.org.xml ] && cp /usr/share/mime/packages/freedesktop.org.xml "$mime/packages/"
XDG_DATA_DIRS=$work/data update-mime-database "$mime" || fail "update-mime-database"
magic() { printf "$1" | cat - <(head -c 200 /dev/zero); }
magic '\x45\x23\x11\x20' >"$work/plain.LDAT"
magic '\x45\x23\x11\x30' >"$work/lower.ldat"
magic '\x45\x23\x11\x30' >"$work/no-extension"
magic '\x45\x23\x11\x20' >"$work/named.bin"
head -c 200 /dev/zero >"$work/zeros"
query() {
  env -u XDG_CURRENT_DESKTOP -u KDE_FULL_SESSION -u GNOME_DESKTOP_SESSION_ID \
    XDG_DATA_HOME="$work/nothing" XDG_DATA_DIRS="$work/data" xdg-mime query filetype "$1"
}
for f in plain.LDAT lower.ldat no-extension named.bin; do
  [ "$(query "$work/$f")" = application/x-kirrup-ldat ] || fail "$f: $(query "$work/$f")"
done
[ "$(query "$work/zeros")" != application/x-kirrup-ldat ] || fail "zeros taken for an LED data file"

step "thumbnailer"
thumb=$root/usr/share/thumbnailers/kirrup.thumbnailer
entry() { sed -n "s/^$1=//p" "$thumb"; }
keys=$(grep -v -e '^#' -e '^$' "$thumb" | sed 's/=.*//' | tr '\n' ' ')
[ "$keys" = "[Thumbnailer Entry] TryExec Exec MimeType " ] || fail "thumbnailer: group and keys: $keys"
[ -x "$root/usr/bin/$(entry TryExec)" ] || fail "thumbnailer: TryExec $(entry TryExec) is not installed in /usr/bin"
[ "$(entry MimeType)" = "application/x-kirrup-ldat;" ] || fail "thumbnailer: MimeType $(entry MimeType)"
read -ra command <<<"$(entry Exec)"
for size in 32 128 256; do
  out=$work/thumb-$size.png
  args=("${command[@]//%i/$work/k.LDAT}")
  args=("${args[@]//%o/$out}")
  args=("${args[@]//%s/$size}")
  (cd / && PATH=$root/usr/bin:/usr/bin:/bin "${args[@]}" >/dev/null) || fail "thumbnailer at $size: ${args[*]}"
  # Black and white, within the size asked and using more than half of it.
  read -r w h < <(file "$out" | sed -n 's/.*PNG image data, \([0-9]*\) x \([0-9]*\), 1-bit grayscale.*/\1 \2/p') || true
  longest=$((${w:-0} > ${h:-0} ? ${w:-0} : ${h:-0}))
  ((longest <= size && 2 * longest > size)) || fail "thumbnail at $size: $(file "$out")"
done

step "bash completion"
if [ -f /usr/share/bash-completion/bash_completion ]; then
  complete_words() {
    bash -c '. /usr/share/bash-completion/bash_completion; . "$0"
      COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); COMP_LINE="$*"; COMP_POINT=${#COMP_LINE}
      _kirrup_cli; echo "${COMPREPLY[*]}"' "$root/usr/share/bash-completion/completions/kirrup-cli" "$@"
  }
  [ "$(complete_words kirrup-cli comp)" = compose ] || fail "completion of commands"
  [ "$(complete_words kirrup-cli compose --led "")" = "7 11 16" ] || fail "completion of --led"
  [ "$(complete_words kirrup-cli simulate x --col)" = "--color" ] || fail "completion of options"
fi

step "maintainer scripts"
dpkg-deb -e "$deb" "$work/control"
for s in postinst postrm; do
  [ -x "$work/control/$s" ] || fail "$s not executable"
  # Without the tools: nothing to do, and no failure.
  PATH=$work/none /bin/sh "$work/control/$s" configure || fail "$s without the tools"
done
mkdir -p "$work/tools"
for t in update-mime-database update-desktop-database; do
  printf '#!/bin/sh\necho "%s $*" >>"%s"\n' "$t" "$work/calls" >"$work/tools/$t"
  chmod +x "$work/tools/$t"
done
PATH=$work/tools /bin/sh "$work/control/postinst" configure || fail "postinst"
PATH=$work/tools /bin/sh "$work/control/postrm" remove || fail "postrm"
[ "$(grep -c '^update-mime-database /usr/share/mime$' "$work/calls")" = 2 ] || fail "MIME database: $(cat "$work/calls")"
[ "$(grep -c '^update-desktop-database -q /usr/share/applications$' "$work/calls")" = 2 ] ||
  fail "desktop database: $(cat "$work/calls")"

step "lintian"
lintian --tag-display-limit 0 "$deb" 2>&1 | grep -v 'running with root privileges' | tee "$work/lintian" || true
if grep -q '^E: ' "$work/lintian"; then fail "lintian errors"; fi
echo "PASS"
