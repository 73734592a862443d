#!/bin/bash
# The browser edition in Debian's Chromium, headless, opened from file:// and driven through
# the pinned puppeteer-core (npm ci; make test runs it first): skipped where the browser, Node.js,
# the driver or the page is missing, as make web and make test install and build them.
set -uo pipefail
korvelian=$1
page=$2
source_dir=$(cd "$(dirname "$0")/.." && pwd)
command -v chromium > /dev/null || { echo "SKIP: chromium is missing (make test installs it)"; exit 77; }
command -v node > /dev/null || { echo "SKIP: node is missing (make test installs it)"; exit 77; }
[ -d "$source_dir/node_modules/puppeteer-core" ] ||
    { echo "SKIP: puppeteer-core is missing (npm ci, which make test runs)"; exit 77; }
[ -f "$page" ] || { echo "SKIP: $page is missing (make web builds it)"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The desktop's pictures of the same settings, at the screen's size at 100 %.
export_picture() {
    local name=$1
    shift
    QT_QPA_PLATFORM=offscreen "$korvelian" "$@" --export "$work/$name.png" ||
        { echo "FAIL: korvelian $* --export"; exit 1; }
}
export_picture start
export_picture ratio-3-2-45 --ratio 3:2 --phase-y 45
export_picture ratio-2-3-amplitudes --ratio 2:3 --amplitude-x 1.5 --amplitude-y 0.75
export_picture k-32767 --ratio 32767:1
export_picture worst --ratio 179:183 --amplitude-x 2 --amplitude-y 2
export_picture y-up --ratio 3:2 --y-up
export_picture textbook-2-1-90 --ratio 2:1 --phase-y 90 --textbook
export_picture fine-10-1 --ratio 10:1 --fine
# The quiz's series for a seed, as the desktop prints it for the teacher.
QT_QPA_PLATFORM=offscreen "$korvelian" --quiz --seed 7 --quiz-series 5 > "$work/quiz-7.txt" ||
    { echo "FAIL: korvelian --quiz --seed 7 --quiz-series 5"; exit 1; }
QT_QPA_PLATFORM=offscreen "$korvelian" --ratio 3:2 --phase-y 45 --export "$work/ratio-3-2-45.svg" ||
    { echo "FAIL: korvelian --export ratio-3-2-45.svg"; exit 1; }
cd "$source_dir" && node tests/check_browser.mjs "$page" "$work"
