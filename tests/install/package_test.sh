#!/usr/bin/env bash
# The Debian package and the desktop files: desktop-file-validate, appstreamcli and lintian report
# no errors, and the package depends on the Debian libraries the programs link. Skips (77;
# under CI=true fails) when the checking tools are not installed.
set -u
build=$1
source "$(dirname "$0")/../support/skip.sh"
need_tools "the package checks" desktop-file-validate appstreamcli lintian dpkg-shlibdeps cpack
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

desktop-file-validate "$build"/dist/*.desktop || fail "desktop-file-validate"
appstreamcli validate --no-net "$build"/dist/*.metainfo.xml || fail "appstreamcli validate"

(cd "$build" && cpack -G DEB -B "$work" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; fail "cpack"; }
deb=$(ls "$work"/trakvolt_*.deb) || fail "no package made"
echo "package: $(basename "$deb")"
dpkg-deb -f "$deb" Section Depends Recommends
[ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "section is not games"
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libsdl2 libxmp libcurl libpng libmicrohttpd libsqlite3 libpq librsvg2 libc6; do
  grep -q "$lib" <<<"$depends" || fail "Depends lacks $lib: $depends"
done
dpkg-deb -c "$deb" | grep -q '/usr/share/trakvolt/Data/Save' && fail "the package holds saves"

lintian --fail-on error --suppress-tags-from-file /dev/null "$deb" | tee "$work/lintian.log"
[ "${PIPESTATUS[0]}" -eq 0 ] || fail "lintian reports errors"
echo "1 passed, 0 failed"
