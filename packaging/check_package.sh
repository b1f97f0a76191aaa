#!/usr/bin/env bash
# Checks the Debian package as a user's system meets it: its contents, what
# lintian says, and (as root) that apt-get installs it with its dependencies,
# that both programs start from /usr/bin and keep the user's files in the
# user's data folder, and that removing it leaves nothing behind.
#   packaging/check_package.sh PACKAGE.deb
set -euo pipefail
deb=$(readlink -f "${1:?usage: check_package.sh PACKAGE.deb}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
fail() { echo "FAIL: $*"; status=1; }

# 1. Contents.
dpkg-deb --contents "$deb" | awk '{print $6}' | sed 's|^\./|/|; s|/$||' | sort > "$work/contents"
for f in /usr/bin/fleeceslot /usr/bin/velreader \
         /usr/lib/woolmere/fleeceslot/fleeceslot /usr/lib/woolmere/fleeceslot/installed-copy \
         /usr/lib/woolmere/fleeceslot/maki.mid /usr/share/woolmere/fleeceslot/maki.mid \
         /usr/share/woolmere/fleeceslot/777.wav /usr/share/woolmere/fleeceslot/other.wav /usr/share/woolmere/fleeceslot/karu.wav \
         /usr/lib/woolmere/velreader/velreader /usr/lib/woolmere/velreader/installed-copy \
         /usr/share/woolmere/velreader/Book/hitsuji_no_tabi.vln /usr/share/woolmere/velreader/E/umi.png \
         /usr/share/applications/org.woolmere.Fleeceslot.desktop /usr/share/applications/org.woolmere.Velreader.desktop \
         /usr/share/metainfo/org.woolmere.Fleeceslot.metainfo.xml /usr/share/metainfo/org.woolmere.Velreader.metainfo.xml \
         /usr/share/mime/packages/org.woolmere.Velreader.xml \
         /usr/share/icons/hicolor/256x256/apps/org.woolmere.Fleeceslot.png \
         /usr/share/icons/hicolor/scalable/mimetypes/application-x-velin-book.svg \
         /usr/share/man/man6/fleeceslot.6.gz /usr/share/man/man1/velreader.1.gz \
         /usr/share/doc/woolmere/copyright /usr/share/doc/woolmere/changelog.gz; do
  grep -qx "$f" "$work/contents" || fail "not in the package: $f"
done
grep -v -e '^/usr' -e '^$' -e '^/$' "$work/contents" && fail "files outside /usr" || true
grep -q -e 'mime.cache$' -e 'mimeinfo.cache$' -e 'icon-theme.cache$' "$work/contents" && fail "a cache of the desktop in the package" || true
dpkg-deb --field "$deb" Depends | grep -q 'libsdl2-mixer-2.0-0' || fail "no dependency on SDL2_mixer"
dpkg-deb --field "$deb" Depends | grep -q 'libqt6widgets6' || fail "no dependency on Qt Widgets"
dpkg-deb --field "$deb" Depends | grep -q 'soundfont' || fail "no dependency on a soundfont"
dpkg-deb --field "$deb" Depends | grep -q 'fonts-ipafont-gothic' || fail "no dependency on the IPA fonts"

# 2. lintian: no error and no warning.
lintian -I "$deb" > "$work/lintian.txt" 2>&1 || true
grep -E '^[IWEPX]:' "$work/lintian.txt" | sort -u || true
grep -qE '^[EW]:' "$work/lintian.txt" && fail "lintian reports errors or warnings" || true

# 3. Install, run, remove (root only: it changes the system).
if [ "$(id -u)" -ne 0 ]; then
  echo "not root: the package is not installed here"
else
  if dpkg-query -W -f='${Status}' woolmere 2>/dev/null | grep -q "install ok installed"; then
    fail "woolmere is already installed here; not touching it"
  else
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" > "$work/apt.txt" 2>&1 || { cat "$work/apt.txt"; fail "apt-get install"; }
    export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config
    for program in fleeceslot velreader; do
      /usr/bin/$program > "$work/$program.txt" 2>&1 &
      pid=$!
      sleep 2
      kill -0 $pid 2>/dev/null || fail "/usr/bin/$program ended by itself: $(cat "$work/$program.txt")"
      kill -TERM $pid 2>/dev/null || true
      wait $pid || fail "/usr/bin/$program did not end cleanly"
    done
    [ -f "$work/data/org.woolmere.Fleeceslot/hituji.dat" ] || fail "the installed game kept no save in the user's folder"
    [ -f "$work/data/org.woolmere.Velreader/Book/hitsuji_no_tabi.vln" ] || fail "the installed reader offered no sample book"
    [ ! -e /usr/lib/woolmere/fleeceslot/hituji.dat ] || fail "the installed game wrote into the system's folder"
    grep -q 'application/x-velin-book' /usr/share/mime/globs2 || fail "the system does not know the book file type"
    DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq woolmere > "$work/purge.txt" 2>&1 || { cat "$work/purge.txt"; fail "apt-get purge"; }
    for f in /usr/lib/woolmere /usr/share/woolmere /usr/share/doc/woolmere /usr/bin/fleeceslot /usr/bin/velreader \
             /usr/share/applications/org.woolmere.Fleeceslot.desktop /usr/share/mime/packages/org.woolmere.Velreader.xml \
             /usr/share/icons/hicolor/256x256/apps/org.woolmere.Fleeceslot.png; do
      [ ! -e "$f" ] && [ ! -L "$f" ] || fail "left behind after removal: $f"
    done
    ! grep -q 'application/x-velin-book' /usr/share/mime/globs2 || fail "the book file type stays registered after removal"
  fi
fi

[ $status -eq 0 ] && echo "the package is complete, clean, installs, runs and removes"
exit $status
