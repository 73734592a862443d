#!/bin/bash
# Installs the build into a temporary prefix and checks what a desktop and Debian need of it.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" > /dev/null

id=org.korvelian.Korvelian
expected=(
    bin/korvelian
    share/applications/$id.desktop
    share/mime/packages/$id.xml
    share/metainfo/$id.metainfo.xml
    share/icons/hicolor/scalable/apps/$id.svg
    share/man/man1/korvelian.1.gz
    share/doc/korvelian/changelog.gz
    share/doc/korvelian/copyright
)
for size in 16 32 48 64 128 256; do
    expected+=("share/icons/hicolor/${size}x${size}/apps/$id.png")
done
# The sound's library, loaded by the window on first use from beside the program's folder.
module=$(cd "$prefix" && find lib* -path '*/korvelian/korvelian-ton.so' | head -n 1)
[ -n "$module" ] || { echo "missing: the sound's library korvelian-ton.so"; exit 1; }
expected+=("$module")
if objdump -p "$prefix/bin/korvelian" | grep -q 'NEEDED.*Multimedia'; then
    echo "the program itself needs Qt Multimedia: its start would load it"; exit 1
fi
# The browser edition where it was built (make package builds it), and no menu entry of its own.
if [ -f "$build/web/korvelian.html" ]; then
    expected+=(share/korvelian/korvelian.html share/korvelian/korvelian.webmanifest
               share/korvelian/korvelian-sw.js)
fi
for file in "${expected[@]}"; do
    [ -f "$prefix/$file" ] || { echo "missing: $file"; exit 1; }
done
for size in 16 32 48 64 128 256; do
    file "$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png" | grep -q "$size x $size" \
        || { echo "wrong size: ${size}x${size} icon"; exit 1; }
done
installed=$(find "$prefix" -type f | wc -l)
[ "$installed" -eq "${#expected[@]}" ] || { echo "unexpected files:"; find "$prefix" -type f; exit 1; }

[ "$(find "$prefix/share/applications" -type f | wc -l)" -eq 1 ] || { echo "a second menu entry"; exit 1; }
if [ -f "$prefix/share/korvelian/korvelian.html" ]; then
    cmp -s "$build/web/korvelian.html" "$prefix/share/korvelian/korvelian.html" ||
        { echo "korvelian.html differs from the build's"; exit 1; }
    grep -q '"start_url": "korvelian.html"' "$prefix/share/korvelian/korvelian.webmanifest" ||
        { echo "the manifest does not start korvelian.html"; exit 1; }
fi
desktop-file-validate "$prefix/share/applications/$id.desktop"
appstreamcli validate --no-net --pedantic "$prefix/share/metainfo/$id.metainfo.xml"
grep -q 'release version="1.00"' "$prefix/share/metainfo/$id.metainfo.xml"
grep -qx 'StartupWMClass=Korvelian-Figuren' "$prefix/share/applications/$id.desktop"
# A lesson file opens with a double-click: its type is known and the entry takes a file.
xmllint --noout "$prefix/share/mime/packages/$id.xml"
grep -qx 'Exec=korvelian %f' "$prefix/share/applications/$id.desktop"
grep -q 'application/x-korvelian' "$prefix/share/mime/packages/$id.xml"
grep -qx 'MimeType=application/x-korvelian;' "$prefix/share/applications/$id.desktop"

# The manual page as man -k lists it, and the changelog's newest entry for this version.
mandb -q "$prefix/share/man"
man -M "$prefix/share/man" -k korvelian | grep -q '^korvelian (1) *- Simulation eines Oszilloskops' \
    || { echo "man -k does not list korvelian(1)"; exit 1; }
zcat "$prefix/share/doc/korvelian/changelog.gz" > "$prefix/changelog"
[ "$(dpkg-parsechangelog -l "$prefix/changelog" -S Version)" = 1.00 ] \
    || { echo "changelog: no entry for 1.00"; exit 1; }
grep -q '^License: Expat' "$prefix/share/doc/korvelian/copyright"
echo "installed ${installed} files, all valid"
