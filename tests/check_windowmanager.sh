#!/bin/bash
# The window under a real window manager, Xvfb with openbox and two monitors of different
# size: Ctrl++, maximize, a size set by the window manager, quick F11 presses in several
# rhythms, a move to the smaller monitor and a remembered zoom each end with the whole window,
# frame and title bar included, on its monitor; an even number of quick F11 presses gives
# back the size and the place from before. What the offscreen platform cannot show: the
# window manager's late answers.
set -uo pipefail
korvelian=$1
for tool in Xvfb openbox xdotool wmctrl xwininfo xprop xrandr; do
    command -v "$tool" > /dev/null || { echo "SKIP: $tool is missing"; exit 77; }
done
work=$(mktemp -d)
pids=()
cleanup() {
    local index
    for ((index = ${#pids[@]} - 1; index >= 0; index--)); do kill "${pids[index]}" 2> /dev/null; done
    wait 2> /dev/null
    rm -rf "$work"
}
trap cleanup EXIT
failed=0
fail() {
    echo "FAIL $*"
    failed=1
}

# A display number of its own, which Xvfb picks and writes; the monitors stay when the last
# client goes (-noreset).
Xvfb -displayfd 3 -screen 0 3200x1080x24 -noreset -nolisten tcp 3> "$work/display" \
    > "$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 200); do [ -s "$work/display" ] && break; sleep 0.05; done
export DISPLAY=":$(cat "$work/display")" HOME=$work XDG_CONFIG_HOME=$work/config
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
# A projector and, to its right, a smaller laptop screen: x y width height.
projector="0 0 1920 1080"
laptop="1920 0 1280 800"
xrandr --setmonitor projector 1920/508x1080/286+0+0 screen > /dev/null &&
    xrandr --setmonitor laptop 1280/338x800/212+1920+0 none > /dev/null || exit 1
openbox > "$work/openbox.log" 2>&1 &
windowManager=$!
pids+=("$windowManager")
# Openbox names itself once it has taken over the screen; a window mapped before may stay
# unmanaged.
for _ in $(seq 400); do wmctrl -m 2> /dev/null | grep -q 'Name: Openbox' && break; sleep 0.05; done

start() {
    "$korvelian" > "$work/korvelian.log" 2>&1 &
    program=$!
    pids+=("$program")
    window=""
    # A minute by the clock: under a loaded machine each look costs more than its pause.
    local until=$((SECONDS + 60))
    while [ -z "$window" ] && [ "$SECONDS" -lt "$until" ]; do
        sleep 0.05
        window=$(wmctrl -l 2> /dev/null | awk '/Simulation Oszilloskop/ {print $1}')
    done
    [ -n "$window" ] || { fail "no window"; explain; exit 1; }
    settle
}

# What a missing window leaves to go on: whether the program and the window manager still run,
# what the program was waiting in, and what they printed.
explain() {
    local process
    for process in "$program" "$windowManager"; do
        if [ -d "/proc/$process" ]; then
            echo "$(tr '\0' ' ' < "/proc/$process/cmdline"): running, state" \
                "$(awk '{print $3}' "/proc/$process/stat"), waiting in $(cat "/proc/$process/wchan")"
        else
            echo "process $process has ended"
        fi
    done
    if [ -d "/proc/$program" ] && command -v gdb > /dev/null; then
        timeout 60 gdb -p "$program" -batch -ex 'thread apply all bt 12' 2>&1 | grep '^#\|^Thread'
    fi
    wmctrl -l 2>&1
    echo "--- program"; cat "$work/korvelian.log"
    echo "--- window manager"; tail -20 "$work/openbox.log"
    echo "--- X server"; tail -20 "$work/xvfb.log"
}

stop() {
    kill "$program"
    wait "$program" 2> /dev/null
}

# The frame of the window, or of the window given, on the root window, x y width height, and
# the window manager's state.
frame() {
    local id=${1:-$window} info x y width height extents left right top bottom
    info=$(xwininfo -id "$id")
    x=$(awk '/Absolute upper-left X/ {print $4}' <<< "$info")
    y=$(awk '/Absolute upper-left Y/ {print $4}' <<< "$info")
    width=$(awk '/Width:/ {print $2}' <<< "$info")
    height=$(awk '/Height:/ {print $2}' <<< "$info")
    extents=$(xprop -id "$id" _NET_FRAME_EXTENTS | sed -n 's/.*= //p' | tr -d ',')
    read -r left right top bottom <<< "${extents:-0 0 0 0}"
    echo "$((x - left)) $((y - top)) $((width + left + right)) $((height + top + bottom))" \
        "$(xprop -id "$id" _NET_WM_STATE | sed -n 's/.*= //p' | sed 's/_NET_WM_STATE_//g')"
}

# Waits until the frame has stayed the same for one and a half seconds: the window manager has
# answered and the window has settled.
settle() {
    local before now
    before=$(frame)
    for _ in $(seq 40); do
        sleep 1.5
        now=$(frame)
        [ "$now" = "$before" ] && return
        before=$now
    done
    fail "the window does not settle: $now"
}

# on_its_monitor STEP: the whole frame lies on the monitor that holds its middle.
on_its_monitor() {
    local step=$1 x y width height monitor mx my mwidth mheight
    read -r x y width height _ <<< "$(frame)"
    for monitor in "$projector" "$laptop"; do
        read -r mx my mwidth mheight <<< "$monitor"
        if [ $((x + width / 2)) -ge "$mx" ] && [ $((x + width / 2)) -lt $((mx + mwidth)) ]; then
            break
        fi
    done
    if [ "$x" -lt "$mx" ] || [ "$y" -lt "$my" ] || [ $((x + width)) -gt $((mx + mwidth)) ] \
        || [ $((y + height)) -gt $((my + mheight)) ]; then
        fail "$step: frame $x,$y ${width}x$height beyond the monitor $monitor"
    fi
}

keys() {
    xdotool windowactivate --sync "$window" 2> /dev/null
    xdotool key "$@"
    settle
}

start
keys ctrl+plus ctrl+plus ctrl+plus ctrl+plus ctrl+plus ctrl+plus ctrl+plus ctrl+plus
on_its_monitor "Ctrl++ eight times"
read -r _ _ width _ <<< "$(frame)"
[ "$width" -gt 1300 ] || fail "Ctrl++ eight times: only $width pixels wide"

zoomed=$(frame)
for delay in 1 5 20 60 150; do
    keys --delay "$delay" F11 F11 F11 F11
    [ "$(frame)" = "$zoomed" ] || fail "four F11 presses $delay ms apart: $(frame), before $zoomed"
done
keys F11
grep -q FULLSCREEN <<< "$(frame)" || fail "F11: not full screen: $(frame)"
keys F11
[ "$(frame)" = "$zoomed" ] || fail "F11 twice: $(frame), before $zoomed"

wmctrl -i -r "$window" -b add,maximized_vert,maximized_horz
settle
on_its_monitor "maximized"
wmctrl -i -r "$window" -b remove,maximized_vert,maximized_horz
settle
on_its_monitor "maximized and back"

wmctrl -i -r "$window" -e 0,-1,-1,3000,1070
settle
on_its_monitor "a size larger than the monitor from the window manager"

keys ctrl+0
xdotool windowmove --sync "$window" 2000 40
settle
keys ctrl+plus ctrl+plus ctrl+plus ctrl+plus ctrl+plus ctrl+plus ctrl+plus ctrl+plus
on_its_monitor "Ctrl++ eight times on the laptop"
xdotool windowmove --sync "$window" 100 40
settle
keys ctrl+plus ctrl+plus ctrl+plus ctrl+plus ctrl+plus ctrl+plus ctrl+plus ctrl+plus
xdotool windowmove --sync "$window" 1980 10
settle
on_its_monitor "moved from the projector to the laptop"
stop

# The zoom of the last run, 300 %, on the projector.
start
on_its_monitor "remembered zoom"
stop

# The time signals, remembered open, stand with their frame's top at the window's, title bar
# and all on the monitor, also beside a window at the monitor's top.
sed -i '/^\[ansicht\]/a zeitverlaeufe=true' "$XDG_CONFIG_HOME/korvelian/korvelian.conf"
start
view=$(wmctrl -l | awk '/Zeitverl/ {print $1}')
if [ -z "$view" ]; then
    fail "remembered time signals: no window"
else
    read -r _ top _ _ _ <<< "$(frame)"
    read -r _ viewTop _ _ _ <<< "$(frame "$view")"
    [ "$viewTop" = "$top" ] || fail "remembered time signals: frame's top at $viewTop, the window's at $top"
    # Full screen, they stay in view above the window and whole on the monitor.
    keys F11
    stacking=$(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*# //; s/, / /g')
    windowAt=-1 viewAt=-1 at=0
    for id in $stacking; do
        [ $((id)) -eq $((window)) ] && windowAt=$at
        [ $((id)) -eq $((view)) ] && viewAt=$at
        at=$((at + 1))
    done
    [ "$viewAt" -gt "$windowAt" ] || fail "full screen: the time signals below the window ($stacking)"
    read -r x y width height _ <<< "$(frame "$view")"
    read -r mx my mwidth mheight <<< "$projector"
    [ "$x" -ge "$mx" ] && [ "$y" -ge "$my" ] && [ $((x + width)) -le $((mx + mwidth)) ] &&
        [ $((y + height)) -le $((my + mheight)) ] ||
        fail "full screen: the time signals at $x,$y ${width}x$height beyond the projector"
fi
stop

# The laptop at twice the scale: the window moved there and back settles on the monitor it was
# put on, rather than being thrown between the two by its own changes of size and screen.
rm -f "$XDG_CONFIG_HOME/korvelian/korvelian.conf"
export QT_SCREEN_SCALE_FACTORS="1;2"
start
keys ctrl+plus ctrl+plus ctrl+plus ctrl+plus ctrl+plus ctrl+plus ctrl+plus ctrl+plus ctrl+plus ctrl+plus
xdotool windowmove --sync "$window" 2000 40
settle
# 640 × 400 of the window's pixels: at 100 % the window would be 1316 × 976 of the laptop's.
on_its_monitor "moved to the laptop at scale 2"
xdotool windowmove --sync "$window" 100 40
settle
# Thrown back and forth, the window may look settled at the moments looked at; the processor
# time it takes while nobody touches it tells.
busy() { awk '{print $14 + $15}' "/proc/$program/stat"; }
before=$(busy)
sleep 2
ticks=$(($(busy) - before))
[ "$ticks" -lt 50 ] || fail "moved back from the laptop at scale 2: $ticks ticks of processor time in 2 s untouched"
read -r x _ width _ _ <<< "$(frame)"
[ $((x + width / 2)) -lt 1920 ] || fail "moved back from the laptop at scale 2: frame at $x, ${width} wide"
# The zoom chosen on the projector comes back with it, not the laptop's.
[ "$width" -gt 1400 ] || fail "moved back from the laptop at scale 2: only $width pixels wide"
on_its_monitor "moved back from the laptop at scale 2"
stop
unset QT_SCREEN_SCALE_FACTORS
exit $failed
