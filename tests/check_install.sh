#!/bin/bash
# Installs the build into a temporary prefix and checks what a desktop needs of it.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" > /dev/null

id=org.korvelian.Korvelian
expected=(
    bin/korvelian
    share/applications/$id.desktop
    share/metainfo/$id.metainfo.xml
    share/icons/hicolor/scalable/apps/$id.svg
)
for size in 16 32 48 64 128 256; do
    expected+=("share/icons/hicolor/${size}x${size}/apps/$id.png")
done
for file in "${expected[@]}"; do
    [ -f "$prefix/$file" ] || { echo "missing: $file"; exit 1; }
done
for size in 16 32 48 64 128 256; do
    file "$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png" | grep -q "$size x $size" \
        || { echo "wrong size: ${size}x${size} icon"; exit 1; }
done
installed=$(find "$prefix" -type f | wc -l)
[ "$installed" -eq "${#expected[@]}" ] || { echo "unexpected files:"; find "$prefix" -type f; exit 1; }

desktop-file-validate "$prefix/share/applications/$id.desktop"
appstreamcli validate --no-net --pedantic "$prefix/share/metainfo/$id.metainfo.xml"
grep -q 'release version="1.00"' "$prefix/share/metainfo/$id.metainfo.xml"
echo "installed ${installed} files, all valid"
