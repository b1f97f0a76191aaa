#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks the installed copy
# as a user meets it: every file in place, the desktop entries, metainfo and
# book file type accepted by their validators, both programs started through
# their bin/ links finding their data, the user's files kept in
# XDG_DATA_HOME and read back, and a portable copy keeping them beside the
# program.
#   tests/install/check_install.sh BUILD_DIR
set -euo pipefail
build=$(cd "${1:?usage: check_install.sh BUILD_DIR}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
fail() { echo "FAIL: $*"; status=1; }
export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy

# Runs a program for a moment, then asks it to stop as a session would.
run_briefly() {
  "$@" > "$work/out.txt" 2>&1 &
  local pid=$!
  sleep "${RUN_SECONDS:-2}"
  if ! kill -0 $pid 2>/dev/null; then
    fail "$1 ended by itself: $(cat "$work/out.txt")"
    return
  fi
  kill -TERM $pid
  wait $pid || fail "$1 did not end cleanly after SIGTERM"
}

# 1. Install into a prefix, and the same under DESTDIR.
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" > /dev/null
DESTDIR=$work/stage cmake --install "$build" --prefix /opt/woolmere > /dev/null
for root in "$prefix" "$work/stage/opt/woolmere"; do
  for f in bin/fleeceslot bin/velreader \
           lib/woolmere/fleeceslot/fleeceslot lib/woolmere/fleeceslot/installed-copy \
           lib/woolmere/fleeceslot/777.wav lib/woolmere/fleeceslot/other.wav \
           lib/woolmere/fleeceslot/karu.wav lib/woolmere/fleeceslot/maki.mid \
           lib/woolmere/velreader/velreader lib/woolmere/velreader/installed-copy \
           lib/woolmere/velreader/E/mori.png lib/woolmere/velreader/Book/hitsuji_no_tabi.vln \
           share/applications/org.woolmere.Fleeceslot.desktop share/applications/org.woolmere.Velreader.desktop \
           share/metainfo/org.woolmere.Fleeceslot.metainfo.xml share/metainfo/org.woolmere.Velreader.metainfo.xml \
           share/mime/packages/org.woolmere.Velreader.xml share/man/man6/fleeceslot.6.gz share/man/man1/velreader.1.gz \
           share/doc/woolmere/copyright; do
    [ -e "$root/$f" ] || fail "missing after install: $root/$f"
  done
  for size in 16 32 48 64 128 256; do
    for icon in apps/org.woolmere.Fleeceslot apps/org.woolmere.Velreader mimetypes/application-x-velin-book; do
      [ -f "$root/share/icons/hicolor/${size}x${size}/$icon.png" ] || fail "missing icon $size $icon"
    done
  done
  [ "$(readlink "$root/bin/fleeceslot")" = "../lib/woolmere/fleeceslot/fleeceslot" ] || fail "bin/fleeceslot is not a relative link"
done
[ ! -e "$work/stage/opt/woolmere/share/mime/mime.cache" ] || fail "a DESTDIR install ran the user's cache updates"
grep -q "^Exec=/opt/woolmere/bin/velreader %f$" "$work/stage/opt/woolmere/share/applications/org.woolmere.Velreader.desktop" \
  || fail "the desktop entry does not start the installed program"

# 2. The validators.
for d in "$prefix"/share/applications/*.desktop; do
  out=$(desktop-file-validate "$d" 2>&1) || fail "desktop-file-validate $d"
  [ -z "$out" ] || fail "desktop-file-validate $d: $out"
done
for m in "$prefix"/share/metainfo/*.xml; do
  appstreamcli validate --no-net "$m" > "$work/as.txt" 2>&1 || { cat "$work/as.txt"; fail "appstreamcli validate $m"; }
  ! grep -q '^[EW]:' "$work/as.txt" || { cat "$work/as.txt"; fail "appstreamcli reports errors or warnings for $m"; }
done
mkdir -p "$work/mime/packages"
cp "$prefix/share/mime/packages/org.woolmere.Velreader.xml" "$work/mime/packages/"
# (It warns that a test folder is not among the system's data folders.)
update-mime-database "$work/mime" 2> "$work/mime.txt" || { cat "$work/mime.txt"; fail "update-mime-database"; }
grep -q '^application/x-velin-book:\*\.vln$' "$work/mime/globs" || fail "the book glob is not registered"
grep -q '^application/x-velin-book:application-x-velin-book$' "$work/mime/icons" || fail "the book icon is not registered"
grep -q '^MimeType=application/x-velin-book;$' "$prefix/share/applications/org.woolmere.Velreader.desktop" \
  || fail "the reader does not open books"

# 3. The installed game: its files go to XDG_DATA_HOME, never to the
# system's folder (made read-only here), and are read back next time.
export XDG_DATA_HOME=$work/data
# Their settings too stay in the check's own folder, never the user's.
export XDG_CONFIG_HOME=$work/config
chmod -R a-w "$prefix/lib/woolmere"
run_briefly "$prefix/bin/fleeceslot"
game_data=$XDG_DATA_HOME/org.woolmere.Fleeceslot
[ "$(od -An -tx1 "$game_data/hituji.dat" 2>/dev/null | tr -d ' \n')" = "000002000000" ] || fail "no fresh save in $game_data"
[ -f "$game_data/H_Score.txt" ] || fail "no report in $game_data"
[ ! -e "$prefix/lib/woolmere/fleeceslot/hituji.dat" ] || fail "the installed game wrote into its own folder"
printf '\x03\x00\x02\x00\x0c\x02' > "$game_data/hituji.dat"
run_briefly "$prefix/bin/fleeceslot"
iconv -f CP932 -t UTF-8 "$game_data/H_Score.txt" | grep -q '777だした回数>>3回' || fail "the saved successes were not read back"
iconv -f CP932 -t UTF-8 "$game_data/H_Score.txt" | grep -q '最高羊毛グラム数>>524g' || fail "the saved best was not read back"
[ "$(od -An -tx1 "$game_data/hituji.dat" | tr -d ' \n')" = "03000200" ] && fail "the save shrank" || true

# 4. The installed reader: a book opened by its path; the user's Book folder
# gets the sample book.
run_briefly "$prefix/bin/velreader" "$prefix/lib/woolmere/velreader/Book/hitsuji_no_tabi.vln"
cmp -s "$XDG_DATA_HOME/org.woolmere.Velreader/Book/hitsuji_no_tabi.vln" "$prefix/lib/woolmere/velreader/Book/hitsuji_no_tabi.vln" \
  || fail "the sample book was not offered in the user's Book folder"
run_briefly "$prefix/bin/velreader" "$work/no-such-file.txt"
chmod -R u+w "$prefix/lib/woolmere"

# 5. A portable copy, anywhere, keeps its files beside the program.
cp -r "$build/fleeceslot" "$work/portable"
run_briefly "$work/portable/fleeceslot"
[ -f "$work/portable/hituji.dat" ] && [ -f "$work/portable/H_Score.txt" ] || fail "the portable copy did not write beside itself"
[ ! -e "$work/data/org.woolmere.Fleeceslot/H_Score.txt.new" ] || fail "left a temporary file"

# 6. One user's install: the very first install registers the book type
# (the caches are refreshed after every file is in place), and the
# uninstall script beside the programs takes away everything it put there.
user=$work/user/.local
mkdir -p "$work/user"
cmake --install "$build" --prefix "$user" > /dev/null
printf 'a book\n' > "$work/book.vln"
type=$(XDG_DATA_HOME=$user/share XDG_DATA_DIRS=/usr/share gio info -a standard::content-type "$work/book.vln" \
  | sed -n 's/^ *standard::content-type: //p')
[ "$type" = application/x-velin-book ] || fail "the first user install does not register the book type (gio says $type)"
grep -q 'application/x-velin-book=org.woolmere.Velreader.desktop' "$user/share/applications/mimeinfo.cache" 2>/dev/null \
  || fail "the desktop database does not know the reader opens books"
[ -f "$user/share/icons/hicolor/icon-theme.cache" ] || fail "no icon cache after the user install"
[ -x "$user/lib/woolmere/uninstall" ] || fail "no uninstall script beside the programs"
"$user/lib/woolmere/uninstall" > /dev/null || fail "the uninstall script failed"
left=$(cd "$work/user" && find . -mindepth 1 | head -5)
[ -z "$left" ] || fail "the uninstall left: $left"
# Beside another program's files, those stay and the caches are redone.
mkdir -p "$user/share/mime/packages" "$user/share/applications" "$user/share/icons/hicolor/16x16/apps"
cat > "$user/share/mime/packages/other.xml" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<mime-info xmlns="http://www.freedesktop.org/standards/shared-mime-info">
  <mime-type type="application/x-other-thing"><comment>other</comment><glob pattern="*.oth"/></mime-type>
</mime-info>
XML
printf '[Desktop Entry]\nType=Application\nName=Other\nExec=other %%f\nMimeType=application/x-other-thing;\n' \
  > "$user/share/applications/other.desktop"
cp "$prefix/share/icons/hicolor/16x16/apps/org.woolmere.Fleeceslot.png" "$user/share/icons/hicolor/16x16/apps/other.png"
cmake --install "$build" --prefix "$user" > /dev/null
"$user/lib/woolmere/uninstall" > /dev/null || fail "the uninstall script failed beside another program"
for f in share/mime/packages/other.xml share/applications/other.desktop share/icons/hicolor/16x16/apps/other.png; do
  [ -f "$user/$f" ] || fail "the uninstall removed another program's $f"
done
grep -q 'x-velin-book' "$user/share/mime/globs2" && fail "the MIME database still knows the book type"
grep -q 'x-other-thing' "$user/share/mime/globs2" || fail "the MIME database lost the other program's type"
grep -q 'Velreader' "$user/share/applications/mimeinfo.cache" && fail "the desktop database still names the reader"
[ -e "$user/bin" ] || [ -e "$user/lib" ] && fail "the uninstall left its folders" || true

[ $status -eq 0 ] && echo "the installed copy is complete and works"
exit $status
