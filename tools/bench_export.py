#!/usr/bin/python3
"""The largest exports from the command line: the time on the clock, the processor time and the
peak memory (from /usr/bin/time -v) of `korvelian --size 8192 --export x.png` for a few
settings, each the median of --repeat runs. Several programs given take turns in every row, so
that before and after a change meet the same load, which is printed with each row.

    tools/bench_export.py build/korvelian
    tools/bench_export.py old/korvelian build/korvelian --repeat 5
"""

import argparse
import os
import re
import statistics
import subprocess
import tempfile
from pathlib import Path

SETTINGS = {
    "start": [],
    "179 : 183, amplitudes 2": ["--ratio", "179:183", "--amplitude-x", "2", "--amplitude-y",
                                "2", "--phase-y", "90"],
    "worksheet, reading aid, values, graticule": ["--ratio", "3:4", "--phase-y", "90",
                                                   "--worksheet", "--reading-aid", "--values",
                                                   "--graticule"],
    "worksheet 1 : 2": ["--ratio", "1:2", "--worksheet"],
}


def run(program, options, size, folder):
    out = Path(folder) / "x.png"
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    report = subprocess.run(["/usr/bin/time", "-v", program, *options, "--size", str(size),
                             "--export", str(out)], env=env, capture_output=True, text=True,
                            check=True).stderr

    def field(name):
        return re.search(re.escape(name) + r": ([0-9.:]+)", report).group(1)

    clock = field("Elapsed (wall clock) time (h:mm:ss or m:ss)").split(":")
    seconds = float(clock[-1]) + 60 * float(clock[-2])
    cpu = float(field("User time (seconds)")) + float(field("System time (seconds)"))
    return seconds, cpu, int(field("Maximum resident set size (kbytes)")) / 1024, \
        out.stat().st_size / 1e6


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("korvelian", nargs="+")
    parser.add_argument("--size", type=int, default=8192)
    parser.add_argument("--repeat", type=int, default=3)
    args = parser.parse_args()
    print(f"| setting, {args.size} px | program | clock s | processor s | peak MB | file MB "
          "| load |")
    print("|---|---|---|---|---|---|---|")
    with tempfile.TemporaryDirectory() as folder:
        for name, options in SETTINGS.items():
            load = os.getloadavg()[0]
            runs = {program: [] for program in args.korvelian}
            for _ in range(args.repeat):
                for program in args.korvelian:
                    runs[program].append(run(program, options, args.size, folder))
            for program, measured in runs.items():
                med = [statistics.median(m[i] for m in measured) for i in range(4)]
                print(f"| {name} | {program} | {med[0]:.2f} | {med[1]:.2f} | {med[2]:.0f} "
                      f"| {med[3]:.1f} | {load:.2f} |", flush=True)


if __name__ == "__main__":
    main()
