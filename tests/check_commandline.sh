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
help|--help|0|out|Aufruf: KORVELIAN [Optionen] [DATEI.korvelian]
unknown option|--nonsense|2|err|korvelian: Unbekannte Option 'nonsense'. Übersicht: korvelian --help
bad amplitude|--amplitude-y 3|2|err|korvelian: --amplitude-y erwartet eine Zahl von 0 bis 2 mit höchstens zwei Nachkommastellen, etwa 1,5, nicht '3'.
no display|--ratio 3:2|1|err|korvelian: Keine Anzeige gefunden; ohne grafische Oberfläche kann das Programm nicht starten.
platform that cannot start|-platform nosuch|1|err|korvelian: Keine Anzeige gefunden; ohne grafische Oberfläche kann das Programm nicht starten.
unknown single-dash word without display|-bogus|2|err|korvelian: Unbekannte Option 'bogus'. Übersicht: korvelian --help
platform without its value|-platform|2|err|korvelian: Nach '-platform' fehlt der Wert. Übersicht: korvelian --help
export without display|--ratio 3:2 --export bild.png --size 300|0|out|
plate without display|--export-table tafel.pdf --table phases|0|out|
worksheet without display|--export-table blatt.pdf --blank --seed 7|0|out|
missing lesson file|fehlt.korvelian --export bild.png|2|err|korvelian: „fehlt.korvelian“: Die Datei lässt sich nicht öffnen: Die Datei oder das Verzeichnis konnte nicht gefunden werden.
plate with a refused ratio|--ratio 0:1 --export-table tafel.png|2|err|korvelian: --ratio 0:1: Zähler und Nenner: ganze Zahlen von 1 bis 32767 eingeben.
negative value after an option|--phase-y -10|2|err|korvelian: --phase-y erwartet einen Winkel in Grad von 0 bis 360, etwa 90, nicht '-10'.
two exports|--export a.png --export b.png|2|err|korvelian: --export darf nur einmal angegeben werden.
plate too narrow for its texts|--export-table t.png --size 10|2|err|korvelian: --size 10: So schmal hätten Schriften des Bildes keine Größe mehr; bitte mindestens 75 Pixel angeben.
reading aid too narrow for its texts|--export r.png --size 20 --reading-aid|2|err|korvelian: --size 20: So schmal hätten Schriften des Bildes keine Größe mehr; bitte mindestens 56 Pixel angeben.
style the toolkit does not have|-style nosuchstyle --export s.png|2|err|korvelian: -style erwartet einen der Stile Windows, Fusion, nicht 'nosuchstyle'. Übersicht: korvelian --help
ROWS

# Help and version into a full output: the script that reads them learns that they are lost.
for option in --help --version; do
    "$korvelian" "$option" > /dev/full 2> "$err"
    got=$?
    if [ "$got" != 1 ] || [ "$(cat "$err")" != "korvelian: Die Ausgabe konnte nicht geschrieben werden: Kein freier Speicherplatz auf dem Gerät vorhanden." ]; then
        echo "FAIL $option into a full output: status $got"
        cat "$err"
        failed=1
    fi
done

# Only regular files are written: a named pipe, and a name whose byte 0xff is no UTF-8, are
# refused with one German line; nothing is created.
mkfifo rohr.png
for name in rohr.png $'bild\xff.png'; do
    env -u DISPLAY LANG=C.UTF-8 "$korvelian" --export "$name" > "$out" 2> "$err"
    got=$?
    if [ "$got" != 1 ] || [ "$(wc -l < "$err")" != 1 ] || ! grep -q "konnte nicht gespeichert werden: Der Name" "$err" \
        || [ -s "$out" ] || [ -f rohr.png ] || [ -n "$(ls -A | grep -v -e '^rohr.png$' -e '^bild.png$' -e '^tafel.pdf$' -e '^blatt.pdf$')" ]; then
        echo "FAIL export to '$name': status $got"
        cat "$out" "$err"
        ls -A
        failed=1
    fi
done
rm rohr.png

# The toolkit's own messages stay off the terminal: a style override it does not have.
QT_STYLE_OVERRIDE=nosuchstyle "$korvelian" --export stil.png > "$out" 2> "$err"
got=$?
if [ "$got" != 0 ] || [ -s "$out" ] || [ -s "$err" ]; then
    echo "FAIL the toolkit's message on the terminal: status $got"
    cat "$out" "$err"
    failed=1
fi
rm -f stil.png

# The written picture: a PNG of the width asked for, square as the screen (the signature,
# then width and height in the header).
header=$(od -An -tx1 -N24 bild.png 2> /dev/null | tr -d ' \n')
if [ "$header" != 89504e470d0a1a0a0000000d494844520000012c0000012c ]; then
    echo "FAIL export: header '$header'"
    failed=1
fi
# The plate: an A4 page in a PDF file.
if [ "$(head -c 4 tafel.pdf 2> /dev/null)" != "%PDF" ]; then
    echo "FAIL plate: not a PDF"
    failed=1
fi
exit $failed
