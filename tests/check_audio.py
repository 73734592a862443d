#!/usr/bin/env python3
"""make check-audio: the real window's "Ton", recorded from a private audio server.

Starts a PulseAudio of its own (a null sink, its own runtime folder, so it works as root and
beside a desktop's server), records the sink's monitor with parec while sound_roundtrip plays
3 : 2 at 220 Hz through the program's own output and changes a bar, the phase and the ratio,
unticks, ticks again and closes the window. Then checks the recording: 220 Hz on the left and
330 Hz on the right with the loudness of the bars, the phase the bars set, no jump from one
sample to the next beyond what the ramps allow, silence after unticking and after the end. It
prints the time from the bar change to the changed sound, and stops its server again. Last,
it stops and starts a server while "Ton" plays: the entry goes, comes back by itself within a
few seconds (asks for a new start of the program after 5 s away), and no English line about
the lost stream reaches the terminal; and it starts a server only after the window has found
none: the entry comes back by itself and plays.

    check_audio.py path/to/sound_roundtrip
    check_audio.py --beside COMMAND...    runs COMMAND beside such a server (make bench)
    check_audio.py --recording FILE       checks a recording kept before

KORVELIAN_AUDIO_KEEP=FILE keeps the recording (raw 16-bit stereo at 48 kHz) and the steps.
"""

import array
import contextlib
import math
import os
import shutil
import subprocess
import sys
import tempfile
import threading
import time

RATE = 48000
FULL = 32767
# The generator's ramp: 5 ms.
RAMP = 240
SINK = "korvelian_check"
# How the window's settings sound: amplitude 1 at a quarter of full scale.
QUARTER = 0.25 * FULL
# What check() returns when underruns left nothing to measure.
UNMEASURABLE = 2


class Recorder(threading.Thread):
    """parec on the monitor; notes when each piece arrived, to find when a sample was heard."""

    def __init__(self, env):
        super().__init__(daemon=True)
        self.process = subprocess.Popen(
            ["parec", "-d", SINK + ".monitor", "--rate=%d" % RATE, "--channels=2",
             "--format=s16le", "--latency-msec=5", "--raw"],
            stdout=subprocess.PIPE, env=env)
        self.data = bytearray()
        self.arrivals = []

    def run(self):
        while True:
            piece = os.read(self.process.stdout.fileno(), 4096)
            if not piece:
                return
            self.data += piece
            self.arrivals.append((time.monotonic(), len(self.data) // 4))

    def stop(self):
        self.process.terminate()
        self.join(5)

    def origin(self):
        """The monotonic time sample 0 was heard, at the latest: no sample comes before it is
        heard, so the earliest arrival, less the samples in it, bounds it best."""
        return min(at - frames / RATE for at, frames in self.arrivals)


def server(env, *arguments):
    return subprocess.run(["pulseaudio", *arguments], env=env, stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL)


def start_server(env):
    started = server(env, "-n", "--daemonize=yes", "--exit-idle-time=-1",
                     "--load=module-null-sink sink_name=" + SINK,
                     "--load=module-native-protocol-unix")
    if started.returncode != 0:
        sys.exit("check-audio: pulseaudio did not start")
    for _ in range(100):
        if subprocess.run(["pactl", "info"], env=env, stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL).returncode == 0:
            return
        time.sleep(0.05)
    sys.exit("check-audio: pulseaudio does not answer")


def stop_server(env):
    server(env, "--kill")
    for _ in range(100):
        if server(env, "--check").returncode != 0:
            return
        time.sleep(0.05)


@contextlib.contextmanager
def private_server(started=True):
    """A PulseAudio of its own with a null sink, in its own runtime folder: the environment to
    reach it by, and the server started unless started is False. It goes again, whatever happens
    meanwhile."""
    for tool in ("pulseaudio", "parec", "pactl"):
        if not shutil.which(tool):
            sys.exit("check-audio: %s is missing (make check-audio installs it)" % tool)
    runtime = tempfile.mkdtemp(prefix="korvelian-audio-")
    os.chmod(runtime, 0o700)
    env = dict(os.environ, XDG_RUNTIME_DIR=runtime, HOME=runtime,
               XDG_CONFIG_HOME=os.path.join(runtime, "config"))
    env.pop("PULSE_SERVER", None)
    try:
        if started:
            start_server(env)
        yield env
    finally:
        stop_server(env)
        shutil.rmtree(runtime, ignore_errors=True)


def rising_crossings(x, start, end):
    """Where x passes 0 upwards, in samples, between its neighbours."""
    found = []
    for i in range(start, end - 1):
        if x[i] < 0 <= x[i + 1]:
            found.append(i + x[i] / (x[i] - x[i + 1]))
    return found


def frequency(x, start, end):
    crossings = rising_crossings(x, start, end)
    return (len(crossings) - 1) * RATE / (crossings[-1] - crossings[0])


def peak(x, start, end):
    return max(abs(v) for v in x[start:end])


def between(x, position):
    i = int(position)
    return x[i] + (x[i + 1] - x[i]) * (position - i)


def largest_jump(x, start, end, unseen):
    return max(abs(x[i + 1] - x[i]) for i in range(start, end - 1) if i + 1 not in unseen)


def underruns(left, right, start, end):
    """Where the server played silence for want of samples, as (first, past the last): both
    channels exactly 0 for more than a millisecond with sound after it, where a tone passes 0
    in both at once for a sample at most. Silence that lasts to the end is a tone's end."""
    found = []
    i = start
    while i < end:
        if left[i] or right[i]:
            i += 1
            continue
        j = i
        while j < end and not left[j] and not right[j]:
            j += 1
        if j - i > RATE // 1000 and j < end:
            found.append((i, j))
        i = j
    return found


def jump_allowed(before, after):
    """The largest step between neighbours that two settings (frequency, gain) and the ramp
    between them allow: the faster sine at the larger gain, the glide of the phase (up to half
    a turn over the ramp), the gain's step, and rounding."""
    gain = max(before[1], after[1]) * FULL
    step = 2 * math.pi * max(before[0], after[0]) / RATE
    return gain * (step + math.pi / RAMP) + abs(after[1] - before[1]) * FULL / RAMP + 2


def main():
    if sys.argv[1] == "--recording":
        # A recording kept before, checked again.
        with open(sys.argv[2], "rb") as raw, open(sys.argv[2] + ".steps") as steps:
            lines = steps.read().split("\n")
            return check(raw.read(), float(lines[0].split()[1]), lines[1:])
    if sys.argv[1] == "--beside":
        # make bench: a command that needs an audio server, beside a private one.
        with private_server() as env:
            return subprocess.run(sys.argv[2:], env=env).returncode
    roundtrip = os.path.abspath(sys.argv[1])
    # A machine so busy that every setting is cut by gaps gives nothing to measure: once more,
    # twice at most.
    for attempt in range(3):
        status = round_trip(roundtrip)
        if status != UNMEASURABLE:
            return (status or server_returns(roundtrip) or server_returns(roundtrip, away=5) or
                    server_late(roundtrip))
        print("check-audio: again, attempt %d of 3" % (attempt + 2))
    return 1


def server_returns(roundtrip, away=0):
    """The server goes while "Ton" plays and comes back after away seconds: the entry comes
    back by itself, or, where the program cannot reach the server anew, it says to start the
    program again."""
    with private_server() as env:
        played = subprocess.Popen([roundtrip, "--server-returns"], env=env, text=True,
                                  stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        steps, back = [], float("inf")
        for line in played.stdout:
            step = line.split()[0]
            steps.append(step)
            if step == "on":
                # A moment of tone before the server goes.
                time.sleep(0.3)
                stop_server(env)
            elif step == "lost":
                time.sleep(away)
                start_server(env)
                restarted = time.monotonic()
            elif step in ("back", "restart"):
                back = time.monotonic() - restarted
        try:
            said = played.communicate(timeout=30)[1]
        except subprocess.TimeoutExpired:
            played.kill()
            said = played.communicate()[1]
    wanted = [["on", "lost", "back"]] + ([["on", "lost", "restart"]] if away else [])
    answered = steps in wanted and back < 8
    print("%s  the server went for %g s and came back: %s, %.1f s after the server"
          % ("ok  " if answered else "FAIL", away, " ".join(steps), back))
    english = [line for line in said.splitlines() if "Stream error" in line or "Pulse" in line]
    print("%s  nothing said about the audio server on the terminal: %r"
          % ("ok  " if not english else "FAIL", english))
    return 0 if answered and not english else 1


def server_late(roundtrip):
    """The window starts without an audio server, which comes once "Ton" has said so: the entry
    comes back by itself, and ticked it plays."""
    with private_server(started=False) as env:
        played = subprocess.Popen([roundtrip, "--server-late"], env=env, text=True,
                                  stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        steps, recorder = [], None
        for line in played.stdout:
            step = line.split()[0]
            steps.append(step)
            if step == "missing":
                start_server(env)
                recorder = Recorder(env)
                recorder.start()
        try:
            said = played.communicate(timeout=30)[1]
        except subprocess.TimeoutExpired:
            played.kill()
            said = played.communicate()[1]
        if recorder:
            time.sleep(0.2)
            recorder.stop()
    samples = array.array("h")
    if recorder:
        samples.frombytes(bytes(recorder.data[: len(recorder.data) // 4 * 4]))
    left, right = samples[0::2], samples[1::2]
    sounding = [i for i in range(len(left)) if left[i] or right[i]]
    # A tenth of a second after the fade in, clear of the end.
    heard = (sounding[0] + RAMP + 100, sounding[0] + RAMP + 100 + RATE // 10) if sounding else None
    played_right = (steps == ["missing", "on", "close"] and heard is not None and
                    heard[1] <= sounding[-1] and not underruns(left, right, *heard) and
                    abs(frequency(left, *heard) - 220) < 0.5 and
                    abs(frequency(right, *heard) - 330) < 0.5 and
                    abs(peak(left, *heard) - QUARTER) < 3)
    print("%s  the server came after the window: %s; the recording %s"
          % ("ok  " if played_right else "FAIL", " ".join(steps),
             "holds 220 and 330 Hz" if played_right else "misses the tone"))
    english = [line for line in said.splitlines() if "Stream error" in line or "Pulse" in line]
    print("%s  nothing said about the audio server on the terminal: %r"
          % ("ok  " if not english else "FAIL", english))
    return 0 if played_right and not english else 1


def round_trip(roundtrip):
    with private_server() as env:
        recorder = Recorder(env)
        recorder.start()
        for _ in range(100):
            if recorder.arrivals:
                break
            time.sleep(0.05)
        time.sleep(0.5)
        played = subprocess.run([roundtrip], env=env, capture_output=True, text=True,
                                timeout=60)
        time.sleep(0.5)
        recorder.stop()
    if played.returncode != 0:
        sys.exit("check-audio: sound_roundtrip failed:\n" + played.stdout + played.stderr)
    keep = os.environ.get("KORVELIAN_AUDIO_KEEP")
    if keep:
        # The recording and the steps, to look at a failure.
        with open(keep, "wb") as raw:
            raw.write(recorder.data)
        with open(keep + ".steps", "w") as steps:
            steps.write("origin %.6f\n%s" % (recorder.origin(), played.stdout))
    return check(recorder.data, recorder.origin(), played.stdout.split("\n"))


def check(data, origin, lines):
    steps = [(line.split()[0], float(line.split()[1])) for line in lines if line.strip()]
    names = [name for name, _ in steps]
    if names != ["on", "amplitude", "phase", "ratio", "off", "on", "close", "ended"]:
        sys.exit("check-audio: unexpected steps %s" % names)
    samples = array.array("h")
    samples.frombytes(bytes(data[: len(data) // 4 * 4]))
    left, right = samples[0::2], samples[1::2]

    def index(at):
        return max(0, min(len(left) - 1, round((at - origin) * RATE)))

    failures = []

    def expect(condition, text):
        print(("ok    " if condition else "FAIL  ") + text)
        if not condition:
            failures.append(text)

    on, amplitude, phase, ratio, off, on_again, close, _ = (at for _, at in steps)
    # The bar change: the right channel grows beyond amplitude 1 from the heard change on.
    changed = next((i for i in range(index(amplitude) - RATE // 100, len(right))
                    if abs(right[i]) > QUARTER + 64), None)
    latency = (origin + changed / RATE - amplitude) * 1000 if changed else float("inf")
    expect(latency < 100, "a bar change is heard after %.1f ms (at most 100)" % latency)

    def tone_start(at):
        return next((i for i in range(at - RATE // 100, len(left)) if left[i] or right[i]), None)

    first = tone_start(index(on))
    expect(first is not None and first < index(amplitude), "the tone is heard after ticking")
    if first is None or first >= index(amplitude):
        return 1
    again = tone_start(index(on_again))

    # A machine too busy to feed the server in time is heard as gaps of silence; what comes
    # after a gap comes that much later. They are the machine's, not the program's: said, and
    # left out of what is measured.
    ending = RATE // 4
    gaps = (underruns(left, right, first, index(off) + ending) +
            underruns(left, right, again, min(len(left), index(close) + ending)))
    if gaps:
        print("note  %d underruns, %.0f ms in all: the machine was too busy to feed the audio "
              "server in time" % (len(gaps), sum(b - a for a, b in gaps) * 1000 / RATE))

    def late(i):
        return i + sum(b - a for a, b in gaps if b <= i)

    def without_gaps(start, end):
        """The longest stretch of start ... end that no gap touches."""
        pieces, begin = [], start
        for a, b in gaps:
            if b > begin and a < end:
                pieces.append((begin, max(begin, a - 2)))
                begin = b + 2
        pieces.append((begin, end))
        longest = max(pieces, key=lambda piece: piece[1] - piece[0])
        return longest if longest[1] - longest[0] > RATE // 20 else None

    def settled(start, end):
        """From when a change made at start has been heard, its ramp over, to just before the
        next change: the sink's buffer and the server's take under 60 ms, and the gaps before
        it as long as they were."""
        return without_gaps(late(index(start)) + RATE * 60 // 1000 + RAMP,
                            index(end) - RATE // 200)

    # 3 : 2 at 220 Hz, amplitudes 1, phases 0, after the fade in.
    steady = without_gaps(first + RAMP + 100, index(amplitude) - RATE // 200)
    measurable = [steady, settled(amplitude, phase), settled(phase, ratio), settled(ratio, off)]
    if not all(measurable):
        print("note  no setting sounds for 50 ms without a gap: nothing to measure")
        return UNMEASURABLE
    expect(abs(frequency(left, *steady) - 220) < 0.5,
           "left %.2f Hz (220)" % frequency(left, *steady))
    expect(abs(frequency(right, *steady) - 330) < 0.5,
           "right %.2f Hz (330)" % frequency(right, *steady))
    expect(abs(peak(left, *steady) - QUARTER) < 3 and abs(peak(right, *steady) - QUARTER) < 3,
           "both at amplitude 1: peaks %d and %d (%d)"
           % (peak(left, *steady), peak(right, *steady), round(QUARTER)))

    def phase_at_left_zero(start, end):
        """|right| / its peak where left rises through 0: |sin φ| for the y tone's phase φ
        (left's angle is then a whole number of turns, right's 3/2 of that plus φ)."""
        values = [abs(between(right, c)) for c in rising_crossings(left, start, end)]
        return sum(values) / len(values) / peak(right, start, end)

    expect(phase_at_left_zero(*steady) < 0.01,
           "phase y 0: right at %.3f where left rises through 0 (0)" % phase_at_left_zero(*steady))
    louder = settled(amplitude, phase)
    expect(abs(peak(right, *louder) - 2 * QUARTER) < 3 and abs(peak(left, *louder) - QUARTER) < 3,
           "amplitude y 2: right peak %d (%d)" % (peak(right, *louder), round(2 * QUARTER)))
    shifted = settled(phase, ratio)
    wanted = abs(math.sin(1.57 * 3 / 2))
    expect(abs(phase_at_left_zero(*shifted) - wanted) < 0.01,
           "phase y 1,57 rad: right at %.3f where left rises through 0 (|sin(1,57 · 3/2)| = %.3f)"
           % (phase_at_left_zero(*shifted), wanted))
    tripled = settled(ratio, off)
    expect(abs(frequency(right, *tripled) - 660) < 0.5 and
           abs(frequency(left, *tripled) - 220) < 0.5,
           "3 : 1: right %.2f Hz (660), left %.2f Hz (220)"
           % (frequency(right, *tripled), frequency(left, *tripled)))
    quiet = (late(index(off)) + RATE * 60 // 1000 + RAMP, index(on_again) - RATE // 200)
    expect(peak(left, *quiet) == 0 and peak(right, *quiet) == 0, "silence after unticking")
    after = (late(index(close)) + RATE // 5, len(left))
    expect(after[0] < after[1] and peak(left, *after) == 0 and peak(right, *after) == 0,
           "silence after closing")

    # What each change goes from and to, as (frequency, gain), from before the first tick to
    # the end.
    changes = [on, amplitude, phase, ratio, off, on_again, close]
    left_tone = [(220, 0), (220, 0.25), (220, 0.25), (220, 0.25), (220, 0.25), (220, 0),
                 (220, 0.25), (220, 0)]
    right_tone = [(330, 0), (330, 0.25), (330, 0.5), (330, 0.5), (660, 0.5), (660, 0),
                  (660, 0.5), (660, 0)]
    # A stream that starts is mixed in by winding the sink back, and its monitor, which has
    # already passed that stretch on, goes on from where the sink stands: the recording jumps
    # from silence into the fade in (so does one of pacat's), which the loudspeaker plays
    # whole. That one step is left out.
    # The edges of the gaps are left out too.
    unseen = {first, again} | {edge for gap in gaps for edge in gap}
    for channel, name, tones in ((left, "left", left_tone), (right, "right", right_tone)):
        worst = 0
        for k, at in enumerate(changes):
            # From 10 ms before the change until the next one has been heard.
            start = max(0, index(at) - RATE // 100)
            end = (late(index(changes[k + 1])) + RATE * 60 // 1000 + RAMP
                   if k + 1 < len(changes) else len(left))
            allowed = jump_allowed(tones[k], tones[k + 1])
            if k + 2 < len(tones):
                allowed = max(allowed, jump_allowed(tones[k + 1], tones[k + 2]))
            worst = max(worst, largest_jump(channel, start, end, unseen) / allowed)
        expect(worst <= 1, "%s: no click, largest step %.0f %% of what the ramps allow"
               % (name, 100 * worst))
    print("Latency from the bar change to the changed sound: %.1f ms" % latency)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
