#!/bin/bash
# Writes the pictures of twenty fixed settings (PNG and SVG of the screen, a PDF of the
# overview plate) into a folder, so that a change meant to leave every picture as it was can
# be shown to do so:
#
#   tools/export_settings.sh build/korvelian /tmp/before      # on the old tree
#   tools/export_settings.sh build/korvelian /tmp/after       # on the new one
#   diff -r /tmp/before /tmp/after && echo identical
#
# With a third argument, a folder written earlier, it compares at once and fails on the first
# file that differs.
set -euo pipefail

program=$(realpath "$1")
out=$2
reference=${3:-}
mkdir -p "$out"
export QT_QPA_PLATFORM=offscreen

# name|options: the start figure, the classroom ratios, phases, amplitudes, refused entries,
# the densest figure, each annotation, worksheet colours, the mirrored screen and odd sizes.
settings=(
    "start|"
    "r1-1-45|--phase-y 45"
    "r3-2|--ratio 3:2"
    "r3-2-90|--ratio 3:2 --phase-y 90 --reading-aid --values"
    "r2-3-amp|--ratio 2:3 --amplitude-x 1.5 --amplitude-y 0.5 --phase-x 30"
    "r2-1-90|--ratio 2:1 --phase-y 90 --values"
    "r5-4|--ratio 5:4 --phase-x 120 --graticule"
    "r7-3-up|--ratio 7:3 --y-up --reading-aid"
    "k32767|--ratio 32767:1"
    "r179-183|--ratio 179:183 --amplitude-x 2 --amplitude-y 2 --phase-y 90"
    "r9-8|--ratio 9:8 --phase-y 300 --values"
    "amp0|--amplitude-x 0 --amplitude-y 2 --reading-aid"
    "amp2|--amplitude-x 2 --amplitude-y 2 --phase-y 60 --reading-aid --values --graticule"
    "sheet|--ratio 3:4 --phase-y 90 --worksheet --reading-aid --values --graticule"
    "sheet-up|--ratio 1:2 --worksheet --y-up --values"
    "big|--ratio 4:3 --size 1500 --reading-aid --values --graticule"
    "small|--ratio 2:1 --size 120 --reading-aid"
    "odd|--ratio 13:11 --phase-x 270 --phase-y 10 --size 777"
    "r1-1-90-aid|--phase-y 90 --reading-aid --values --y-up"
    "r6-5|--ratio 6:5 --amplitude-y 1.25 --phase-y 180 --graticule --values"
)

for entry in "${settings[@]}"; do
    name=${entry%%|*}
    read -r -a options <<<"${entry#*|}"
    "$program" "${options[@]}" --export "$out/$name.png"
    "$program" "${options[@]}" --export "$out/$name.svg"
    table=(--export-table "$out/$name-plate.pdf")
    case $name in r1-1-45 | r3-2-90 | sheet | sheet-up | r1-1-90-aid) table+=(--table phases) ;; esac
    # The plate takes the setting, not the screen's annotations or size. A PDF is in worksheet
    # colours unless asked otherwise: the screen's colours keep both kinds of page in the set.
    plate=()
    case " ${options[*]} " in *" --worksheet "*) ;; *) plate+=(--screen-colours) ;; esac
    skip=0
    for option in "${options[@]}"; do
        if [ $skip = 1 ]; then skip=0; continue; fi
        case $option in
        --reading-aid | --values | --graticule) ;;
        --size) skip=1 ;;
        *) plate+=("$option") ;;
        esac
    done
    "$program" "${plate[@]}" "${table[@]}"
done
# The plate as a picture, both forms.
"$program" --ratio 3:2 --export-table "$out/plate-ratios.png"
"$program" --ratio 3:2 --table phases --export-table "$out/plate-phases.svg"

# A PDF carries the minute it was written: zeros of the same length keep it comparable.
perl -pi -e 's{/CreationDate \(D:\d+}{"/CreationDate (D:" . "0" x 14}e' "$out"/*.pdf
echo "$(ls "$out" | wc -l) files in $out"
if [ -n "$reference" ]; then
    diff -r "$reference" "$out"
    echo "every file identical to $reference"
fi
