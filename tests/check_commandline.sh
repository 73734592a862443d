#!/bin/bash
# The real executable without a display: what it prints and the status it ends with.
set -uo pipefail
korvelian=$1
out=$(mktemp) err=$(mktemp)
# Pictures are written here.
work=$(mktemp -d)
trap 'rm -rf "$out" "$err" "$work"' EXIT
cd "$work" || exit 1
failed=0

# name | arguments | status | stream with the one first line | that line
while IFS='|' read -r name arguments status stream line; do
    # shellcheck disable=SC2086 # the arguments are words
    # Without a session as well, as from a service or a script run by cron.
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_RUNTIME_DIR LANG=C \
        "$korvelian" $arguments \
        > "$out" 2> "$err"
    got=$?
    if [ "$stream" = out ]; then shown=$out silent=$err; else shown=$err silent=$out; fi
    first=$(head -n 1 "$shown")
    line=${line//KORVELIAN/$korvelian}
    if [ "$got" != "$status" ] || [ "$first" != "$line" ] || [ -s "$silent" ] \
        || { [ "$stream" = err ] && [ "$(wc -l < "$err")" != 1 ]; }; then
        echo "FAIL $name: status $got, first line '$first'"
        cat "$out" "$err"
        failed=1
    fi
done <<'ROWS'
version|--version|0|out|korvelian 1.00
version before a platform that cannot start|-platform nosuch -v|0|out|korvelian 1.00
help|--help|0|out|Aufruf: KORVELIAN [Optionen]
unknown option|--nonsense|2|err|korvelian: Unbekannte Option 'nonsense'. Übersicht: korvelian --help
bad amplitude|--amplitude-y 3|2|err|korvelian: --amplitude-y erwartet eine Zahl von 0 bis 2 mit höchstens zwei Nachkommastellen, etwa 1,5, nicht '3'.
no display|--ratio 3:2|1|err|korvelian: Keine Anzeige gefunden; ohne grafische Oberfläche kann das Programm nicht starten.
platform that cannot start|-platform nosuch|1|err|korvelian: Keine Anzeige gefunden; ohne grafische Oberfläche kann das Programm nicht starten.
export without display|--ratio 3:2 --export bild.png --size 300|0|out|
negative value after an option|--phase-y -10|2|err|korvelian: --phase-y erwartet einen Winkel in Grad von 0 bis 360, etwa 90, nicht '-10'.
ROWS

# The written picture: a PNG of the width asked for, square as the screen (the signature,
# then width and height in the header).
header=$(od -An -tx1 -N24 bild.png 2> /dev/null | tr -d ' \n')
if [ "$header" != 89504e470d0a1a0a0000000d494844520000012c0000012c ]; then
    echo "FAIL export: header '$header'"
    failed=1
fi
exit $failed
