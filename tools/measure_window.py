#!/usr/bin/python3
"""The running beam in the real window, as a user runs it: frames per second and the
program's processor time.

Starts Xvfb with openbox, then for every screen, zoom and figure asked for starts the program
with a fresh settings folder, sets the zoom with the keys a user presses (Ctrl++ or F11),
clicks "Schwingung" and measures for some seconds:

- the frames: the X server reports through its DAMAGE extension every change the program
  puts into the screen area of its window; changes less than 3 ms apart are one frame, and
  the gaps between frames give the frames per second (median and 95th percentile). Nothing in
  the program counts them, so the program measured is the one users run.
- the processor time: utime + stime of the program from /proc/PID/stat over the same
  seconds, in percent of one core; the X server's beside it, which the frames cost there.

With --start, it measures instead how long the program takes from its start to the first
picture on its screen area (fresh settings, or every view remembered with --remembered; K = 1,
100 %): the first change the X server reports inside that area, counted from the moment the
process is started, with the program's processor time until then, which load disturbs less;
and the time its main thread ran, and the time it was ready but waited for a core, which is
the load's share.

With --views, every row is measured with lesson views ticked in the fresh settings
("afterglow", "drift", "timesignals", "readingaid", or "all": every view but "y-Achse nach
oben", as bench_animation's view 5); "plain" is none.

The machine's load before each run is printed with it: frame gaps suffer from load, the
processor time much less. Needs Xvfb, openbox, xdotool, wmctrl, x11-utils and python3-xlib.

    tools/measure_window.py build/korvelian --display :21 --repeat 3
    tools/measure_window.py old/korvelian build/korvelian --start 5
    tools/measure_window.py old/korvelian build/korvelian --ratios 1 --zooms full \
        --figures 3:2 --views plain,afterglow
"""

import argparse
import math
import os
import re
import select
import signal
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

from Xlib import X
from Xlib import display as xdisplay
from Xlib.ext import damage

ROOT = Path(__file__).resolve().parent.parent
TWIPS_PER_PIXEL = 15
# Changes put into the window closer together than this belong to one frame: a frame is
# flushed in a few requests within a millisecond, frames come at least 10 ms apart.
FRAME_GROUP_S = 0.003
# The settings keys of the views --views ticks.
VIEW_KEYS = {"afterglow": ["nachleuchten"], "drift": ["phasewandern"],
             "timesignals": ["zeitverlaeufe"], "readingaid": ["ablesehilfe"], "plain": [],
             "all": ["ablesehilfe", "zeitverlaeufe", "nachleuchten", "phasewandern", "werte",
                     "raster", "feine-kurve", "lehrbuch"]}


def layout_rows():
    """The rows of the layout table that the script needs: name -> (left, top, width, height)
    in twips, and the client size."""
    text = (ROOT / "form" / "layout.h").read_text()
    rows = {}
    for match in re.finditer(
        r'\.name = "(\w+)".*?\.left = (\d+), \.top = (\d+), \.width = (\d+), \.height = (\d+)', text
    ):
        rows[match.group(1)] = tuple(int(v) for v in match.groups()[1:])
    client = tuple(
        int(re.search(rf"kClient{side} = (\d+)", text).group(1)) for side in ("Width", "Height")
    )
    return rows, client


ROWS, CLIENT = layout_rows()


def pixels(twips, zoom):
    exact = twips * zoom / TWIPS_PER_PIXEL
    return int(exact + (-0.5 if exact < 0 else 0.5))


def window_size(percent):
    return pixels(CLIENT[0], percent / 100), pixels(CLIENT[1], percent / 100)


def run(*command):
    return subprocess.run(command, capture_output=True, text=True).stdout


class Session:
    """Xvfb with openbox on one display, ended with the object."""

    def __init__(self, display, width, height, work):
        self.processes = []
        self.work = work
        log = open(work / "xvfb.log", "w")
        if display:
            self.start(["Xvfb", display, "-screen", "0", f"{width}x{height}x24", "-noreset",
                        "-nolisten", "tcp"], log)
            self.display = display
        else:
            read, write = os.pipe()
            self.start(["Xvfb", "-displayfd", str(write), "-screen", "0",
                        f"{width}x{height}x24", "-noreset", "-nolisten", "tcp"], log,
                       pass_fds=(write,))
            os.close(write)
            self.display = ":" + os.read(read, 32).decode().strip()
            os.close(read)
        os.environ["DISPLAY"] = self.display
        for _ in range(200):
            if subprocess.run(["xdpyinfo"], capture_output=True).returncode == 0:
                break
            time.sleep(0.05)
        else:
            sys.exit(f"Xvfb on {self.display} did not start: {(work / 'xvfb.log').read_text()}")
        self.start(["openbox"], open(work / "openbox.log", "w"))
        for _ in range(400):
            if "Name: Openbox" in run("wmctrl", "-m"):
                break
            time.sleep(0.05)

    def start(self, command, log, **kwargs):
        self.processes.append(
            subprocess.Popen(command, stdout=log, stderr=subprocess.STDOUT, **kwargs))

    def close(self):
        for process in reversed(self.processes):
            process.terminate()
            process.wait()

    def server_pid(self):
        return self.processes[0].pid


def cpu_seconds(pid):
    """utime + stime of a process, all its threads, in seconds."""
    fields = Path(f"/proc/{pid}/stat").read_text().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def task_times(pid):
    """Seconds of processor time of the process, all its threads, in ticks of 10 ms (with the
    threads that have ended); and seconds its main thread ran on a core and was ready but
    waited for one, from the scheduler's own counts in nanoseconds: the way to the first
    picture, and what the machine's load added to it; and the page faults its main thread has
    taken, each of which costs tens of microseconds in a virtual machine, whatever the load."""
    ran, waited, _ = Path(f"/proc/{pid}/schedstat").read_text().split()
    main = Path(f"/proc/{pid}/task/{pid}/stat").read_text().rsplit(")", 1)[1].split()
    return cpu_seconds(pid), int(ran) / 1e9, int(waited) / 1e9, int(main[7])


def geometry(window):
    info = run("xwininfo", "-id", window)
    value = {key: int(re.search(rf"{key}:\s+(-?\d+)", info).group(1))
             for key in ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height")}
    return (value["Absolute upper-left X"], value["Absolute upper-left Y"], value["Width"],
            value["Height"])


def settle(window):
    """Waits until the window has kept its place and size for a second."""
    before = geometry(window)
    for _ in range(30):
        time.sleep(1)
        now = geometry(window)
        if now == before:
            return now
        before = now
    return before


def percentile(values, share):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(round(share * (len(ordered) - 1))))]


class Program:
    """The program on the session's display with settings of its own."""

    def __init__(self, korvelian, ratio, ratio_env, work, views="plain"):
        env = program_env(work)
        if VIEW_KEYS[views]:
            settings = work / "config" / "korvelian"
            settings.mkdir(parents=True, exist_ok=True)
            (settings / "korvelian.conf").write_text(
                "[ansicht]\n" + "".join(f"{key}=true\n" for key in VIEW_KEYS[views]))
        if ratio_env != 1:
            env["QT_SCALE_FACTOR"] = str(ratio_env)
        self.ratio = ratio_env
        self.process = subprocess.Popen([korvelian, "--ratio", ratio], env=env,
                                        stdout=open(work / "korvelian.log", "w"),
                                        stderr=subprocess.STDOUT)
        self.window = None
        for _ in range(600):
            for line in run("wmctrl", "-lp").splitlines():
                parts = line.split()
                if "Simulation Oszilloskop" in line and int(parts[2]) == self.process.pid:
                    self.window = parts[0]
            if self.window:
                break
            time.sleep(0.05)
        if not self.window:
            self.end()
            sys.exit("no window: " + (work / "korvelian.log").read_text())
        settle(self.window)

    def keys(self, *keys):
        subprocess.run(["xdotool", "windowactivate", "--sync", self.window], capture_output=True)
        for key in keys:
            subprocess.run(["xdotool", "key", key])
            time.sleep(0.3)
        return settle(self.window)

    def zoom(self, full_screen):
        """The zoom in percent and the client area's layout origin in logical pixels."""
        _, _, width, height = geometry(self.window)
        width, height = width / self.ratio, height / self.ratio
        if full_screen:
            percent = 300
            while percent > 100 and (window_size(percent)[0] > width or
                                     window_size(percent)[1] > height):
                percent -= 1
        else:
            percent = round(100 * width / window_size(100)[0])
        client = window_size(percent)
        origin = (max(0, (width - client[0]) // 2), max(0, (height - client[1]) // 2)) \
            if full_screen else (0, 0)
        return percent, origin

    def rect(self, name, percent, origin):
        """A control's rectangle in device pixels of the window."""
        left, top, width, height = ROWS[name]
        zoom = percent / 100
        return tuple(int(v * self.ratio) for v in (
            origin[0] + pixels(left, zoom), origin[1] + pixels(top, zoom),
            pixels(width, zoom), pixels(height, zoom)))

    def click(self, rect):
        x, y, width, height = rect
        subprocess.run(["xdotool", "mousemove", "--window", self.window, str(x + width // 2),
                        str(y + height // 2), "click", "1"])
        # The pointer away from the controls, so that no hint changes the hint line.
        subprocess.run(["xdotool", "mousemove", "--window", self.window, "0", "0"])

    def end(self):
        self.process.terminate()
        try:
            self.process.wait(5)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()


def frames_in(window, screen, seconds):
    """The start times of the frames that changed the screen area, for the given seconds."""
    connection = xdisplay.Display()
    if not connection.has_extension("DAMAGE"):
        sys.exit("the X server has no DAMAGE extension")
    connection.damage_query_version()
    drawable = connection.create_resource_object("window", int(window, 16))
    handle = drawable.damage_create(damage.DamageReportRawRectangles)
    connection.sync()
    x0, y0, width, height = screen
    times = []
    end = time.monotonic() + seconds
    while (now := time.monotonic()) < end:
        if not connection.pending_events():
            select.select([connection.fileno()], [], [], end - now)
        while connection.pending_events():
            event = connection.next_event()
            if event.type != connection.extension_event.DamageNotify:
                continue
            area = event.area
            if area.x < x0 + width and area.x + area.width > x0 and area.y < y0 + height and \
                    area.y + area.height > y0:
                times.append(time.monotonic())
    connection.damage_destroy(handle)
    connection.close()
    frames = []
    last = -math.inf
    for moment in times:
        if moment - last > FRAME_GROUP_S:
            frames.append(moment)
        last = moment
    return frames


def program_env(work):
    env = dict(os.environ)
    env.pop("QT_QPA_PLATFORM", None)
    env.update(HOME=str(work), XDG_CONFIG_HOME=str(work / "config"), QT_XCB_NO_MITSHM="1")
    return env


# Every view of the screen's menu on, as the last run left them: the start with the most to show.
REMEMBERED = """[ansicht]
ablesehilfe=true
y-nach-oben=true
zeitverlaeufe=true
nachleuchten=true
phasewandern=true
werte=true
raster=true
feine-kurve=true
lehrbuch=true
"""


def start_to_picture(korvelian, work, remembered=False):
    """Milliseconds from starting the program to the first change inside its screen area, and
    the program's processor time until then, and the time its main thread ran and the time it
    waited for a core, and its page faults.
    Every change on the screen is recorded as it comes (the root window's damage holds its
    children's), and only afterwards sorted out by where the window turned up, so that looking
    for the window does not delay the recording."""
    connection = xdisplay.Display()
    connection.damage_query_version()
    root = connection.screen().root
    handle = root.damage_create(damage.DamageReportRawRectangles)
    # Windows mapped: a change before the program's first window is the last run's going.
    root.change_attributes(event_mask=X.SubstructureNotifyMask)
    connection.sync()
    # A new damage object reports the whole screen once: not the program's.
    time.sleep(0.2)
    while connection.pending_events():
        connection.next_event()
    if remembered:
        (work / "config" / "korvelian").mkdir(parents=True)
        (work / "config" / "korvelian" / "korvelian.conf").write_text(REMEMBERED)
    changes = []
    mapped = None
    started = time.monotonic()
    process = subprocess.Popen([korvelian], env=program_env(work),
                               stdout=open(work / "korvelian.log", "w"), stderr=subprocess.STDOUT)
    end = started + 3
    while (now := time.monotonic()) < end:
        if not connection.pending_events():
            select.select([connection.fileno()], [], [], end - now)
        while connection.pending_events():
            event = connection.next_event()
            if event.type == X.MapNotify and mapped is None:
                mapped = time.monotonic()
            if event.type == connection.extension_event.DamageNotify and mapped is not None:
                area = event.area
                try:
                    used = task_times(process.pid)
                except OSError:
                    used = (math.nan, math.nan, math.nan, math.nan)
                changes.append((time.monotonic(), used, area.x, area.y, area.width, area.height))
    connection.damage_destroy(handle)
    connection.close()
    window = None
    for line in run("wmctrl", "-lp").splitlines():
        parts = line.split()
        if "Simulation Oszilloskop" in line and int(parts[2]) == process.pid:
            window = parts[0]
    try:
        if not window:
            sys.exit("no window within 3 s: " + (work / "korvelian.log").read_text())
        x0, y0, _, _ = geometry(window)
        left, top, width, height = ROWS["picBildschirm"]
        x0, y0 = x0 + pixels(left, 1), y0 + pixels(top, 1)
        x1, y1 = x0 + pixels(width, 1), y0 + pixels(height, 1)
        for moment, used, x, y, w, h in changes:
            if x < x1 and x + w > x0 and y < y1 and y + h > y0:
                return (1000 * (moment - started), *(1000 * seconds for seconds in used[:3]),
                        used[3])
        sys.exit("the screen area never changed within 3 s")
    finally:
        process.terminate()
        process.wait()


def measure_start(programs, repeat, display, remembered):
    print("| program | settings | start to the first picture, ms (median) | fastest | slowest "
          "| processor ms until then (median; ticks of 10 ms) | main thread on a core, ms "
          "(median) | main thread waiting for a core, ms (median) | main thread's page faults "
          "(median) | load |")
    print("|---|---|---|---|---|---|---|---|---|---|")
    with tempfile.TemporaryDirectory() as folder:
        work = Path(folder)
        session = Session(display, 1920, 1080, work)
        try:
            runs = {program: [] for program in programs}
            load = os.getloadavg()[0]
            for _ in range(repeat):
                for program in programs:
                    with tempfile.TemporaryDirectory(dir=work) as home:
                        runs[program].append(start_to_picture(program, Path(home),
                                                              remembered))
            for program, measured in runs.items():
                times = [row[0] for row in measured]
                used, main, queued, faults = (statistics.median(row[i] for row in measured)
                                              for i in (1, 2, 3, 4))
                print(f"| {program} | {'every view' if remembered else 'fresh'} "
                      f"| {statistics.median(times):.0f} | {min(times):.0f} "
                      f"| {max(times):.0f} | {used:.0f} | {main:.1f} | {queued:.1f} "
                      f"| {faults:.0f} | {load:.2f} |", flush=True)
        finally:
            session.close()


def measure(korvelian, ratio, dpr, zoom, views, seconds, warm_up, session, work):
    program = Program(korvelian, ratio, dpr, work, views)
    try:
        if zoom == "full":
            program.keys("F11")
        elif zoom == "largest":
            program.keys(*["ctrl+plus"] * 8)
        else:
            program.keys(*["ctrl+plus"] * ((int(zoom) - 100) // 25))
        percent, origin = program.zoom(zoom == "full")
        program.click(program.rect("Command2", percent, origin))
        time.sleep(warm_up)
        load = os.getloadavg()[0]
        before = (cpu_seconds(program.process.pid), cpu_seconds(session.server_pid()))
        started = time.monotonic()
        frames = frames_in(program.window, program.rect("picBildschirm", percent, origin),
                           seconds)
        elapsed = time.monotonic() - started
        after = (cpu_seconds(program.process.pid), cpu_seconds(session.server_pid()))
        if program.process.poll() is not None:
            sys.exit("the program ended during the measurement: "
                     + (work / "korvelian.log").read_text())
        gaps = [1000 * (b - a) for a, b in zip(frames, frames[1:])]
        return {
            "percent": percent,
            "screen_px": program.rect("picBildschirm", percent, origin)[2],
            "frames_per_s": len(frames) / elapsed,
            "gap_median_ms": statistics.median(gaps) if gaps else float("nan"),
            "gap_p95_ms": percentile(gaps, 0.95) if gaps else float("nan"),
            "cpu_percent": 100 * (after[0] - before[0]) / elapsed,
            "server_percent": 100 * (after[1] - before[1]) / elapsed,
            "load": load,
        }
    finally:
        program.end()


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("korvelian", nargs="*", default=[str(ROOT / "build" / "korvelian")],
                        help="programs to measure; several take turns in every row, so that "
                        "they meet the same load (before and after a change)")
    parser.add_argument("--display", help="a display number for Xvfb (default: a free one)")
    parser.add_argument("--seconds", type=float, default=10, help="measured per run")
    parser.add_argument("--warm-up", type=float, default=2, help="seconds before measuring")
    parser.add_argument("--repeat", type=int, default=3, help="runs per row; medians shown")
    parser.add_argument("--ratios", default="1,2", help="device pixel ratios: 1 on 1920 × "
                        "1080, 2 on 3840 × 2160 with QT_SCALE_FACTOR=2")
    parser.add_argument("--zooms", default="100,150,200,largest,full")
    parser.add_argument("--figures", default="3:2,32767:1", help="ratios Z:N")
    parser.add_argument("--views", default="plain",
                        help="views ticked: " + ", ".join(VIEW_KEYS) + "; a row for each")
    parser.add_argument("--start", action="store_true",
                        help="measure the start to the first picture instead, --repeat times")
    parser.add_argument("--remembered", action="store_true",
                        help="with --start: every view of the screen's menu on from the last run")
    args = parser.parse_args()
    if args.start:
        measure_start(args.korvelian, args.repeat, args.display, args.remembered)
        return

    views = args.views.split(",")
    for view in views:
        if view not in VIEW_KEYS:
            sys.exit(f"unknown view {view}: one of " + ", ".join(VIEW_KEYS))
    print("| program | views | DPR | zoom | figure | K | screen px | frames/s | median gap ms "
          "| p95 gap ms | CPU % of a core | X server CPU % | load |")
    print("|---|---|---|---|---|---|---|---|---|---|---|---|---|")
    for dpr in (int(r) for r in args.ratios.split(",")):
        with tempfile.TemporaryDirectory() as folder:
            work = Path(folder)
            session = Session(args.display, 1920 * dpr, 1080 * dpr, work)
            try:
                rows = [(zoom, figure, view) for zoom in args.zooms.split(",")
                        for figure in args.figures.split(",") for view in views]
                for zoom, figure, view in rows:
                    z, n = (int(v) for v in figure.split(":"))
                    runs = {program: [] for program in args.korvelian}
                    for _ in range(args.repeat):
                        for program in args.korvelian:
                            with tempfile.TemporaryDirectory(dir=work) as home:
                                runs[program].append(measure(
                                    program, figure, dpr, zoom, view, args.seconds,
                                    args.warm_up, session, Path(home)))
                    label = "full screen" if zoom == "full" else \
                        "largest" if zoom == "largest" else f"{zoom} %"
                    for program, measured in runs.items():
                        med = {key: statistics.median(r[key] for r in measured)
                               for key in measured[0]}
                        print(f"| {program} | {view} | {dpr} "
                              f"| {label} ({med['percent']:.0f} %) "
                              f"| {figure} | {z * n // math.gcd(z, n)} "
                              f"| {med['screen_px']:.0f} | {med['frames_per_s']:.1f} "
                              f"| {med['gap_median_ms']:.2f} | {med['gap_p95_ms']:.2f} "
                              f"| {med['cpu_percent']:.1f} | {med['server_percent']:.1f} "
                              f"| {med['load']:.2f} |", flush=True)
            finally:
                session.close()


if __name__ == "__main__":
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    main()
