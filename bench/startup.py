#!/usr/bin/env python3
"""Start-up benchmark: the real program against a floor of plain Qt Widgets.

Runs startup_real and startup_floor alternately (real, floor, real, floor, ...) on an X
display and times each from the moment right before exec() to the first frame of its main
window, as the program's own reporter sees it; also takes the resident set size at that
moment. Prints the medians and the ratios real / floor.

    bench/startup.py [build-dir] [--runs N] [--same-style]

The build directory defaults to build-bench and must hold a Release build of the targets
startup_real and startup_floor. Without DISPLAY the script starts its own Xvfb and stops it
at the end. The floor runs in Qt's default style; --same-style gives it the program's
Windows style, which draws less and so makes the floor a tighter bound.
"""

import argparse
import os
import select
import signal
import statistics
import subprocess
import sys
import time

TIME_GOAL = 1.05
RSS_GOAL = 1.10
TIMEOUT_S = 30.0


def start_xvfb():
    """Starts Xvfb on a free display; returns the process and the display name."""
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24",
         "-nolisten", "tcp"],
        pass_fds=[write_end], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    number = b""
    deadline = time.monotonic() + TIMEOUT_S
    while not number.endswith(b"\n"):
        ready, _, _ = select.select([read_end], [], [], max(0.0, deadline - time.monotonic()))
        chunk = os.read(read_end, 16) if ready else b""
        if not chunk:
            xvfb.kill()
            sys.exit("Xvfb did not start")
        number += chunk
    os.close(read_end)
    return xvfb, ":" + number.decode().strip()


def run_once(program, env, arguments=()):
    """One start: returns (milliseconds from exec to first frame, VmRSS in KiB, CPU
    milliseconds of the whole run, exit included)."""
    read_end, write_end = os.pipe()
    pid = os.fork()
    if pid == 0:
        try:
            os.close(read_end)
            os.dup2(write_end, 1)
            os.dup2(write_end, 2)  # Qt's warnings too, shown only when a start fails
            os.close(write_end)
            start = time.clock_gettime_ns(time.CLOCK_MONOTONIC)
            os.write(1, b"exec %d\n" % start)
            os.execve(program, [program, *arguments], env)
        finally:
            os._exit(127)
    os.close(write_end)
    output = b""
    deadline = time.monotonic() + TIMEOUT_S
    while True:
        ready, _, _ = select.select([read_end], [], [], max(0.0, deadline - time.monotonic()))
        if not ready:
            os.kill(pid, signal.SIGKILL)
            break
        chunk = os.read(read_end, 4096)
        if not chunk:
            break
        output += chunk
    os.close(read_end)
    _, status, usage = os.wait4(pid, 0)

    fields = {}
    for line in output.decode(errors="replace").splitlines():
        words = line.split()
        if words and words[0] == "exec":
            fields["exec"] = int(words[1])
        elif len(words) == 4 and words[0] == "first-frame":
            fields["frame"] = int(words[1])
            fields["rss"] = int(words[3])
    if "exec" not in fields or "frame" not in fields:
        sys.exit(f"{program}: no first-frame report (exit status {status}):\n"
                 + output.decode(errors="replace"))
    cpu_ms = (usage.ru_utime + usage.ru_stime) * 1e3
    return (fields["frame"] - fields["exec"]) / 1e6, fields["rss"], cpu_ms


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("build_dir", nargs="?", default="build-bench")
    parser.add_argument("--runs", type=int, default=21, help="timed starts per program")
    parser.add_argument("--same-style", action="store_true",
                        help="run the floor in the program's Windows style too")
    args = parser.parse_args()
    if args.runs < 1:
        parser.error("--runs must be at least 1")

    programs = {}
    for name, target in (("real", "startup_real"), ("floor", "startup_floor")):
        path = os.path.abspath(os.path.join(args.build_dir, "bench", target))
        if not os.access(path, os.X_OK):
            sys.exit(f"{path} is missing: build the target {target} first")
        programs[name] = (path, ())
    if args.same_style:
        programs["floor"] = (programs["floor"][0], ("-style", "Windows"))

    load_before = os.getloadavg()[0]
    env = dict(os.environ)
    env["QT_QPA_PLATFORM"] = "xcb"  # a real display, whatever the caller's shell says
    xvfb = None
    if not env.get("DISPLAY"):
        xvfb, env["DISPLAY"] = start_xvfb()
    try:
        # One untimed start of each first, so both find the libraries in the page cache.
        for program, arguments in programs.values():
            run_once(program, env, arguments)
        samples = {name: [] for name in programs}
        for _ in range(args.runs):
            for name, (program, arguments) in programs.items():
                samples[name].append(run_once(program, env, arguments))
    finally:
        if xvfb:
            xvfb.terminate()
            xvfb.wait()

    print(f"display {env['DISPLAY']}{' (own Xvfb)' if xvfb else ''}, {args.runs} runs each, "
          f"interleaved, floor in {'the Windows' if args.same_style else 'the default'} style; "
          f"load average before: {load_before:.2f}")
    # CPU time depends much less than wall time on what else the machine runs, so it tells
    # a slower start apart from a busier machine.
    print(f"{'':6} {'median':>9} {'min':>9} {'max':>9} {'RSS median':>12} {'CPU median':>11}")
    medians = {}
    for name, runs in samples.items():
        times = [t for t, _, _ in runs]
        rss = statistics.median(r for _, r, _ in runs)
        cpu = statistics.median(c for _, _, c in runs)
        medians[name] = (statistics.median(times), rss, cpu)
        print(f"{name:6} {medians[name][0]:7.1f}ms {min(times):7.1f}ms {max(times):7.1f}ms "
              f"{rss / 1024:9.1f}MiB {cpu:9.1f}ms")
    time_ratio = medians["real"][0] / medians["floor"][0]
    rss_ratio = medians["real"][1] / medians["floor"][1]
    cpu_ratio = medians["real"][2] / medians["floor"][2]
    print(f"real/floor: time {time_ratio:.3f} (goal <= {TIME_GOAL}), "
          f"RSS {rss_ratio:.3f} (goal <= {RSS_GOAL}), CPU {cpu_ratio:.3f}")
    return 0 if time_ratio <= TIME_GOAL and rss_ratio <= RSS_GOAL else 1


if __name__ == "__main__":
    sys.exit(main())
