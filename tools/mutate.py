#!/usr/bin/env python3
"""Mutation check: does the test suite notice small faults put into the code on purpose?

Copies the work tree to a temporary folder, builds it there once, then for every fault of the
fault list: puts the fault in, rebuilds, runs the suite until its first failure, and puts the
original text back. The work tree itself is only read. Prints which test caught each fault,
which faults survived, and the share caught.

    tools/mutate.py [--faults tools/mutants.txt] [--only REGEX] [--keep] [--check]

--check only says which faults no longer apply to the work tree, in a second.
"""

import argparse
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
from dataclasses import dataclass, field

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
# A mutant that makes a test hang counts as caught once this has passed.
SUITE_SECONDS = 1500


@dataclass
class Fault:
    number: int
    path: str
    what: str
    old: str = ""
    new: str = ""
    old_lines: list = field(default_factory=list)
    new_lines: list = field(default_factory=list)


def read_faults(list_path):
    """Blocks of '== <file> | <what>', then '-' lines (the text as it stands, whole lines or a
    piece of one) and '+' lines (what it becomes; none: it goes). Other lines are comments."""
    faults = []
    with open(list_path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if line.startswith("== "):
                path, _, what = line[3:].partition(" | ")
                faults.append(Fault(len(faults) + 1, path.strip(), what.strip()))
            elif line.startswith("-") and faults:
                faults[-1].old_lines.append(line[1:])
            elif line.startswith("+") and faults:
                faults[-1].new_lines.append(line[1:])
    for fault in faults:
        fault.old = "\n".join(fault.old_lines)
        fault.new = "\n".join(fault.new_lines)
        if not fault.old_lines:
            sys.exit(f"fault {fault.number} ({fault.what}) has no '-' line")
    return faults


def run(command, cwd, log, seconds=None, env=None):
    with open(log, "a", encoding="utf-8") as out:
        out.write(f"\n$ {' '.join(command)}\n")
        out.flush()
        try:
            return subprocess.run(command, cwd=cwd, stdout=out, stderr=subprocess.STDOUT,
                                   timeout=seconds, env=env, start_new_session=True).returncode
        except subprocess.TimeoutExpired:
            return None


def failed_tests(log):
    """The tests ctest lists as failed in the last run written to the log."""
    with open(log, encoding="utf-8", errors="replace") as f:
        text = f.read()
    section = text.rpartition("The following tests FAILED:")[2]
    if section is text:
        return []
    return re.findall(r"^\s*\d+ - (\S+)", section, re.MULTILINE)


def run_suite(build, log):
    """Returns (passed, names of failed tests). The soak runs last: it is the slowest."""
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    jobs = "2"
    for selection in (["-E", "^soak$"], ["-R", "^soak$"]):
        open(log, "w").close()
        code = run(["ctest", "--stop-on-failure", "-j", jobs, "--timeout", "300"] + selection,
                   build, log, SUITE_SECONDS, env)
        if code is None:
            return False, ["(timeout)"]
        if code != 0:
            return False, failed_tests(log) or ["(ctest failed)"]
    return True, []


def copy_tree(destination):
    files = subprocess.run(["git", "ls-files", "-z", "--cached", "--others", "--exclude-standard"],
                           cwd=ROOT, check=True, capture_output=True).stdout.split(b"\0")
    for name in filter(None, (f.decode() for f in files)):
        source = os.path.join(ROOT, name)
        if not os.path.isfile(source):
            continue
        target = os.path.join(destination, name)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        shutil.copy2(source, target)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--faults", default=os.path.join(ROOT, "tools", "mutants.txt"))
    parser.add_argument("--only", help="only the faults whose line matches this expression")
    parser.add_argument("--keep", action="store_true", help="keep the temporary copy")
    parser.add_argument("--check", action="store_true",
                        help="only list the faults whose text no longer stands once")
    args = parser.parse_args()
    # Stopped from outside, the copy is still cleaned up (the work tree is never touched).
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))

    faults = read_faults(args.faults)
    if args.only:
        faults = [f for f in faults if re.search(args.only, f"{f.path} | {f.what}")]
    if args.check:
        stale = [f for f in faults if not os.path.isfile(os.path.join(ROOT, f.path))
                 or open(os.path.join(ROOT, f.path), encoding="utf-8").read().count(f.old) != 1]
        for fault in stale:
            print(f"not applicable: {fault.number} {fault.path} | {fault.what}")
        print(f"mutate: {len(faults) - len(stale)} of {len(faults)} faults apply")
        return 1 if stale else 0
    work = tempfile.mkdtemp(prefix="korvelian-mutate-")
    source = os.path.join(work, "src")
    build = os.path.join(work, "build")
    log = os.path.join(work, "log")
    print(f"mutate: {len(faults)} faults, working in {work}", flush=True)
    try:
        copy_tree(source)
        generator = ["-G", "Ninja"] if shutil.which("ninja") else []
        if run(["cmake", "-S", source, "-B", build, "-DCMAKE_BUILD_TYPE=Release",
                "-DKORVELIAN_BENCHMARKS=OFF"] + generator, work, log) != 0:
            sys.exit(f"mutate: configuring failed, see {log}")
        if run(["cmake", "--build", build, "-j", "2"], work, log) != 0:
            sys.exit(f"mutate: the unchanged tree does not build, see {log}")
        passed, failed = run_suite(build, log)
        if not passed:
            sys.exit(f"mutate: the unchanged tree fails {', '.join(failed)}")

        results = []
        for fault in faults:
            started = time.monotonic()
            path = os.path.join(source, fault.path)
            original = open(path, encoding="utf-8").read() if os.path.isfile(path) else None
            if original is None or original.count(fault.old) != 1:
                status, detail = "not applicable", "its text no longer stands once in the file"
            else:
                with open(path, "w", encoding="utf-8") as f:
                    f.write(original.replace(fault.old, fault.new))
                try:
                    open(log, "w").close()
                    if run(["cmake", "--build", build, "-j", "2"], work, log) != 0:
                        status, detail = "did not build", ""
                    else:
                        passed, failed = run_suite(build, log)
                        status = "SURVIVED" if passed else "caught"
                        detail = "" if passed else "by " + ", ".join(failed)
                finally:
                    # Never leave a mutant behind: the original text goes back whatever happened.
                    with open(path, "w", encoding="utf-8") as f:
                        f.write(original)
                    if open(path, encoding="utf-8").read() != original:
                        sys.exit(f"mutate: could not restore {fault.path}")
            results.append((fault, status, detail))
            seconds = time.monotonic() - started
            print(f"{fault.number:3} {status:14} {fault.path} | {fault.what} {detail} "
                  f"({seconds:.0f} s)", flush=True)

        caught = sum(1 for _, status, _ in results if status == "caught")
        survived = [f for f, status, _ in results if status == "SURVIVED"]
        other = [(f, status) for f, status, _ in results if status not in ("caught", "SURVIVED")]
        judged = caught + len(survived)
        print()
        for fault in survived:
            print(f"survived: {fault.number} {fault.path} | {fault.what}")
        for fault, status in other:
            print(f"{status}: {fault.number} {fault.path} | {fault.what}")
        share = 100.0 * caught / judged if judged else 0.0
        print(f"mutate: {caught} of {judged} faults caught ({share:.1f} %), "
              f"{len(survived)} survived, {len(other)} not run")
        return 0 if not survived and not other else 1
    finally:
        if args.keep:
            print(f"mutate: the copy stays in {work}")
        else:
            shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
