#!/bin/bash
# The command-line export under a file-size limit, which cuts a file as a full disk or a quota
# does: status 1, one German line with the whole path and the reason, the old file byte for
# byte, nothing else left in the folder.
set -uo pipefail
korvelian=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
failed=0

export_picture() {
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_RUNTIME_DIR LANG=C \
        "$korvelian" --ratio 31:30 --size 600 --export "$1"
}

# name | file | limit in blocks of 1024 bytes | SIGXFSZ ignored by the caller, or left to the
# program
while IFS='|' read -r name file blocks signal; do
    printf 'das alte Blatt' > "$file"
    cp "$file" before
    (
        ulimit -f "$blocks"
        if [ "$signal" = ignored ]; then trap '' XFSZ; fi
        export_picture "$file"
    ) > out 2> err
    status=$?
    reason="Die Datei wäre größer, als das System erlaubt. Die vorhandene Datei ist unverändert."
    expected="korvelian: Die Datei „$work/$file“ konnte nicht gespeichert werden: $reason"
    left=$(LC_ALL=C ls -A)
    if [ "$status" != 1 ] || [ "$(cat err)" != "$expected" ] || [ -s out ] \
        || ! cmp -s "$file" before || [ "$left" != "$(printf '%s\n' before "$file" err out | LC_ALL=C sort)" ]; then
        echo "FAIL $name: status $status"
        cat out err
        echo "$left"
        failed=1
    fi
    rm -f -- * .[!.]*
done <<'ROWS'
SVG cut after 20 KiB|blatt.svg|20|ignored
SVG cut after 1 KiB|blatt.svg|1|ignored
PNG cut after 4 KiB|blatt.png|4|ignored
SVG, the signal left to the program|blatt.svg|20|default
PNG, the signal left to the program|blatt.png|1|default
ROWS

# Without a limit the same exports are written, longer than the limits above.
for file in blatt.svg blatt.png; do
    if ! export_picture "$file" || [ "$(stat -c %s "$file")" -le 20480 ]; then
        echo "FAIL $file without a limit: $(stat -c %s "$file" 2> /dev/null) bytes"
        failed=1
    fi
done
exit $failed
