#!/bin/bash
# The browser edition's smoke checks in Firefox (headless) and WebKitGTK (on a private Xvfb: its
# browser has no headless mode), opened from file:// as in Chromium's test. Arguments: the
# desktop program, the page, and the browsers (firefox, webkit; both where none is named).
# KORVELIAN_TEST_DISPLAY=:N puts WebKit on that display instead of a free one.
set -uo pipefail
korvelian=$1
page=$2
shift 2
browsers=("$@")
[ ${#browsers[@]} -eq 0 ] && browsers=(firefox webkit)
source_dir=$(cd "$(dirname "$0")/.." && pwd)
command -v node > /dev/null || { echo "SKIP: node is missing (make check-browsers installs it)"; exit 77; }
[ -d "$source_dir/node_modules/puppeteer-core" ] || { echo "SKIP: puppeteer-core is missing (npm ci)"; exit 77; }
[ -f "$page" ] || { echo "SKIP: $page is missing (make web builds it)"; exit 77; }
for browser in "${browsers[@]}"; do
    case $browser in
        firefox) [ -x /usr/bin/firefox-esr ] || { echo "SKIP: firefox-esr is missing"; exit 77; } ;;
        webkit) [ -x /usr/bin/WebKitWebDriver ] && command -v Xvfb > /dev/null ||
                    { echo "SKIP: webkit2gtk-driver or Xvfb is missing"; exit 77; } ;;
        *) echo "unknown browser $browser (firefox, webkit)"; exit 2 ;;
    esac
done
work=$(mktemp -d)
xvfb=""
trap '[ -n "$xvfb" ] && kill "$xvfb"; rm -rf "$work"' EXIT
for setting in "start" "ratio-3-2-45 --ratio 3:2 --phase-y 45"; do
    read -r name options <<< "$setting"
    # shellcheck disable=SC2086 # the options are words of their own
    QT_QPA_PLATFORM=offscreen "$korvelian" $options --export "$work/$name.png" ||
        { echo "FAIL: korvelian $options --export"; exit 1; }
done
if [[ " ${browsers[*]} " == *" webkit "* ]]; then
    if [ -n "${KORVELIAN_TEST_DISPLAY:-}" ]; then
        echo "${KORVELIAN_TEST_DISPLAY#:}" > "$work/display"
        Xvfb "$KORVELIAN_TEST_DISPLAY" -screen 0 1280x1024x24 -nolisten tcp > "$work/xvfb.log" 2>&1 &
    else
        # A display number of its own, which Xvfb picks and writes.
        Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3> "$work/display" > "$work/xvfb.log" 2>&1 &
    fi
    xvfb=$!
    # Ready once its number is written and its socket is there.
    for _ in $(seq 200); do
        [ -s "$work/display" ] && [ -S "/tmp/.X11-unix/X$(cat "$work/display")" ] && break
        sleep 0.05
    done
    export DISPLAY=":$(cat "$work/display")"
fi
cd "$source_dir" && node tests/check_browsers.mjs "$page" "$work" "${browsers[@]}"
