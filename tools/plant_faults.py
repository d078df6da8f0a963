#!/usr/bin/env python3
"""Plants one fault at a time into the working tree and records which CTest tests catch it.

For every fault of the fault list (tools/faults.txt unless --faults says otherwise) the tool
replaces one exact piece of text in one source file, rebuilds the test build incrementally,
runs the whole CTest suite headless and notes the failing tests, and in them the failing test
functions and data rows; the table ends with each function's catches, starred where no other
function caught the fault. The file is always put back
afterwards, also on Ctrl-C, on SIGTERM and on errors; should the tool itself be killed, the
next run puts the file back from the saved copy in the build directory before it does anything
else.

The table goes to standard output, progress to standard error:

    tools/plant_faults.py                       # every fault, build/test
    tools/plant_faults.py --only D02 H08        # some faults
    tools/plant_faults.py --list                # the faults and whether each one applies
    tools/plant_faults.py --build-dir build/other --timeout 300

Fault list format: see the head of tools/faults.txt.

Exit status: 0 when every fault applied, compiled and the suite passed without faults;
1 otherwise (a fault that does not apply or compile, or a failing suite without faults);
2 for a malformed fault list or bad arguments.
"""

import argparse
import json
import os
import re
import signal
import subprocess
import sys
import tempfile
import time
import xml.etree.ElementTree as ET
from dataclasses import dataclass, field
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
AREAS = ("numbers", "dice", "healing", "care", "odds", "windows", "app")
SOAK_PREFIX = "tst_soak"
BACKUP_NAME = ".plant_faults_backup.json"


@dataclass
class Fault:
    id: str
    area: str = ""
    does: str = ""
    file: str = ""
    find: str = ""
    replace: str = ""
    line: int = 0  # where the fault starts in the list, for messages


@dataclass
class Outcome:
    fault: Fault
    status: str  # "caught", "NOT CAUGHT", "DOES NOT APPLY", "DOES NOT COMPILE", "CTEST ERROR"
    failed: list = field(default_factory=list)
    functions: list = field(default_factory=list)  # "tst_Care::trade()", rows with their tag
    seconds: float = 0.0
    note: str = ""

    def caught_by(self):
        if self.status == "caught":
            return " ".join(self.failed)
        if self.status == "DOES NOT APPLY":
            return "DOES NOT APPLY (" + self.note + ")"
        return self.status

    def soak_only(self):
        return self.status == "caught" and all(t.startswith(SOAK_PREFIX) for t in self.failed)


class ListError(Exception):
    pass


def parse_faults(path):
    """Reads the fault list: blocks of `key: value` lines, see tools/faults.txt."""
    faults, current, block = [], None, None
    blocks = {}  # (fault id, key) -> the lines of a find or replace text given as a block
    text = path.read_text(encoding="utf-8")
    for number, raw in enumerate(text.splitlines(), 1):
        continuation = re.match(r"^\s+\| ?(.*)$", raw)
        if continuation and block is not None:
            block.append(continuation.group(1))
            continue
        block = None
        stripped = raw.strip()
        if not stripped or stripped.startswith("#"):
            continue
        m = re.match(r"^(id|area|does|file|find|replace):(.*)$", raw)
        if not m:
            raise ListError(f"{path}:{number}: expected 'key: value', got: {raw!r}")
        key, value = m.group(1), m.group(2).strip()
        if key == "id":
            current = Fault(id=value, line=number)
            faults.append(current)
            continue
        if current is None:
            raise ListError(f"{path}:{number}: '{key}' before the first 'id'")
        if getattr(current, key) or (current.id, key) in blocks:
            raise ListError(f"{path}:{number}: '{key}' twice in fault {current.id}")
        if key in ("find", "replace") and value == "":
            block = blocks[(current.id, key)] = []  # the text follows on "  | " lines
            continue
        setattr(current, key, value)
    # A block ends its last line with a line break, so that whole lines can be removed; an
    # empty block (a bare "replace:") stands for no text at all.
    for (fault_id, key), lines in blocks.items():
        fault = next(f for f in faults if f.id == fault_id)
        setattr(fault, key, "".join(line + "\n" for line in lines))
    seen = set()
    for f in faults:
        where = f"{path}:{f.line}: fault {f.id}"
        if not re.fullmatch(r"[A-Za-z0-9_-]+", f.id):
            raise ListError(f"{where}: the id may hold letters, digits, '_' and '-' only")
        if f.id in seen:
            raise ListError(f"{where}: the id is used twice")
        seen.add(f.id)
        if f.area not in AREAS:
            raise ListError(f"{where}: area must be one of {', '.join(AREAS)}")
        for key in ("does", "file", "find"):
            if not getattr(f, key):
                raise ListError(f"{where}: '{key}' is missing")
        if f.find == f.replace:
            raise ListError(f"{where}: 'replace' equals 'find'")
    return faults


def occurrences(fault):
    path = ROOT / fault.file
    if not path.is_file():
        return None
    return path.read_text(encoding="utf-8").count(fault.find)


def log(*parts):
    print(*parts, file=sys.stderr, flush=True)


class Planted:
    """Replaces the text on entry and always puts the original bytes back on exit."""

    def __init__(self, fault, backup_file):
        self.path = ROOT / fault.file
        self.fault = fault
        self.backup_file = backup_file
        self.original = None

    def __enter__(self):
        self.original = self.path.read_bytes()
        text = self.original.decode("utf-8")
        count = text.count(self.fault.find)
        if count != 1:
            raise ValueError(f"the text to replace occurs {count} times in {self.fault.file}")
        # Saved first, so that a killed run can be undone by the next one.
        self.backup_file.write_text(json.dumps(
            {"file": str(self.path), "original": self.original.decode("utf-8")}),
            encoding="utf-8")
        self.path.write_bytes(text.replace(self.fault.find, self.fault.replace, 1).encode("utf-8"))
        return self

    def __exit__(self, *exc):
        if self.original is not None:
            self.path.write_bytes(self.original)
            self.backup_file.unlink(missing_ok=True)
        return False


def restore_leftover(backup_file):
    if not backup_file.exists():
        return
    saved = json.loads(backup_file.read_text(encoding="utf-8"))
    Path(saved["file"]).write_bytes(saved["original"].encode("utf-8"))
    backup_file.unlink()
    log(f"restored {saved['file']} left planted by an earlier run that was killed")


def run(cmd, cwd, env=None, timeout=None):
    """Runs a command in its own process group, which is killed whole if the run is cut short
    (Ctrl-C, SIGTERM, the timeout), so that no test program outlives the tool."""
    process = subprocess.Popen(cmd, cwd=cwd, env=env, stdout=subprocess.PIPE,
                               stderr=subprocess.STDOUT, text=True, errors="replace",
                               start_new_session=True)
    try:
        out, _ = process.communicate(timeout=timeout)
    except BaseException:
        try:
            os.killpg(process.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        process.wait()
        raise
    return subprocess.CompletedProcess(cmd, process.returncode, out)


def configure(build_dir):
    if (build_dir / "CMakeCache.txt").exists():
        return
    log(f"configuring {build_dir} (Debug, as scripts/test.sh does)")
    r = run(["cmake", "-S", str(ROOT), "-B", str(build_dir), "-DCMAKE_BUILD_TYPE=Debug"], ROOT)
    if r.returncode != 0:
        sys.exit("configuring failed:\n" + r.stdout)


def build(build_dir, jobs):
    return run(["cmake", "--build", str(build_dir), f"-j{jobs}"], ROOT)


FAIL_LINE = re.compile(r"^FAIL!  : (\S+::\S+?\(.*?\))", re.M)


def run_suite(build_dir, jobs, timeout):
    """Runs every CTest test; returns (failed test names, failed test functions, error text or
    None)."""
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    with tempfile.TemporaryDirectory() as tmp:
        junit = Path(tmp) / "ctest.xml"
        r = run(["ctest", "-j", str(jobs), "--timeout", str(timeout), "--output-junit", str(junit)],
                build_dir, env=env, timeout=timeout * 20 + 120)
        if not junit.exists():
            return [], [], "ctest wrote no results:\n" + r.stdout[-2000:]
        failed, functions, total = [], set(), 0
        for case in ET.parse(junit).getroot().iter("testcase"):
            total += 1
            status = case.get("status", "")
            if status not in ("run", "pass", "passed") or case.find("failure") is not None \
                    or case.find("error") is not None:
                failed.append(case.get("name"))
                # A crash or a test that is no QTest names no function: then the test itself.
                functions.update(FAIL_LINE.findall(case.findtext("system-out") or "")
                                 or [case.get("name") + "()"])
        if total == 0:
            return [], [], "ctest ran no tests:\n" + r.stdout[-2000:]
        return sorted(failed), sorted(functions), None


def plant_and_test(fault, args, backup_file):
    start = time.monotonic()
    count = occurrences(fault)
    if count != 1:
        note = "no such file" if count is None else f"text occurs {count} times"
        return Outcome(fault, "DOES NOT APPLY", note=note)
    with Planted(fault, backup_file):
        b = build(args.build_dir, args.jobs)
        if b.returncode != 0:
            errors = [l for l in b.stdout.splitlines() if "error" in l][:3]
            return Outcome(fault, "DOES NOT COMPILE", seconds=time.monotonic() - start,
                           note="; ".join(errors))
        failed, functions, error = run_suite(args.build_dir, args.jobs, args.timeout)
    seconds = time.monotonic() - start
    if error:
        return Outcome(fault, "CTEST ERROR", seconds=seconds, note=error)
    return Outcome(fault, "caught" if failed else "NOT CAUGHT", failed, functions, seconds)


def table(outcomes, baseline_note, command):
    lines = [f"# {command}", f"# {baseline_note}", ""]
    lines.append("id | area | description | caught-by")
    lines.append("--- | --- | --- | ---")
    for o in outcomes:
        lines.append(f"{o.fault.id} | {o.fault.area} | {o.fault.does} | {o.caught_by()}")
    lines.append("")
    lines.append("area | faults | caught | not caught | caught only by tst_soak | other")
    lines.append("--- | --- | --- | --- | --- | ---")
    totals = [0, 0, 0, 0, 0]
    for area in AREAS + ("all",):
        group = [o for o in outcomes if area == "all" or o.fault.area == area]
        if not group:
            continue
        row = [len(group), sum(o.status == "caught" for o in group),
               sum(o.status == "NOT CAUGHT" for o in group), sum(o.soak_only() for o in group)]
        row.append(row[0] - row[1] - row[2])
        lines.append(f"{area} | " + " | ".join(str(v) for v in row))
    lines.append("")
    soak = [o.fault.id for o in outcomes if o.soak_only()]
    missed = [o.fault.id for o in outcomes if o.status == "NOT CAUGHT"]
    lines.append("Caught only by tst_soak: " + (", ".join(soak) if soak else "none"))
    lines.append("Not caught: " + (", ".join(missed) if missed else "none"))
    for o in outcomes:
        if o.status not in ("caught", "NOT CAUGHT", "DOES NOT APPLY") and o.note:
            lines.append(f"{o.fault.id}: {o.status}: {o.note}")
    # Which test function (and row) failed, to see what each one adds: a function that is never
    # the only one to fail catches nothing the others miss.
    by_function = {}
    for o in outcomes:
        names = {f.split("(")[0] for f in o.functions}
        for name in names:
            by_function.setdefault(name, []).append((o.fault.id, len(names) == 1))
    lines += ["", "test function | faults it catches (* alone)", "--- | ---"]
    for name in sorted(by_function):
        lines.append(name + " | " + " ".join(i + ("*" if alone else "")
                                             for i, alone in by_function[name]))
    lines += ["", "id | failing test functions and rows", "--- | ---"]
    for o in outcomes:
        if o.functions:
            lines.append(f"{o.fault.id} | " + " ".join(o.functions))
    return "\n".join(lines)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--faults", type=Path, default=ROOT / "tools" / "faults.txt",
                        help="the fault list (default: tools/faults.txt)")
    parser.add_argument("--build-dir", type=Path, default=ROOT / "build" / "test",
                        help="the test build, configured if missing (default: build/test)")
    parser.add_argument("--only", nargs="+", metavar="ID", help="plant only these faults")
    parser.add_argument("--list", action="store_true",
                        help="list the faults and whether each applies, plant nothing")
    parser.add_argument("--jobs", type=int, default=2, help="build and test jobs (default: 2)")
    parser.add_argument("--timeout", type=int, default=180,
                        help="seconds per CTest test (default: 180)")
    parser.add_argument("--no-baseline", action="store_true",
                        help="skip the run of the suite without any fault")
    parser.add_argument("--output", type=Path, help="also write the table to this file")
    args = parser.parse_args()
    args.build_dir = args.build_dir.resolve()
    backup_file = args.build_dir / BACKUP_NAME
    restore_leftover(backup_file)  # a run that was killed outright left its fault planted

    try:
        faults = parse_faults(args.faults)
    except (ListError, OSError) as e:
        print(e, file=sys.stderr)
        return 2
    if args.only:
        unknown = [i for i in args.only if i not in {f.id for f in faults}]
        if unknown:
            print("unknown fault ids: " + ", ".join(unknown), file=sys.stderr)
            return 2
        faults = [f for f in faults if f.id in args.only]

    if args.list:
        bad = 0
        for f in faults:
            count = occurrences(f)
            ok = count == 1
            bad += not ok
            state = "" if ok else f"  [DOES NOT APPLY: {'no file' if count is None else count}]"
            print(f"{f.id:5} {f.area:8} {f.file}: {f.does}{state}")
        print(f"{len(faults)} faults, {bad} that do not apply")
        return 1 if bad else 0

    # SIGTERM and SIGHUP end the run like Ctrl-C does, through the restoring `finally`.
    def stop(signum, _frame):
        raise KeyboardInterrupt(f"signal {signum}")
    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGHUP, stop)

    args.build_dir.mkdir(parents=True, exist_ok=True)
    configure(args.build_dir)
    command = "tools/plant_faults.py " + " ".join(sys.argv[1:])

    outcomes = []
    try:
        started = time.monotonic()
        if args.no_baseline:
            baseline_note = "baseline: not run"
        else:
            log("baseline: building and running the suite without any fault")
            b = build(args.build_dir, args.jobs)
            if b.returncode != 0:
                print("the unchanged tree does not build:\n" + b.stdout[-3000:], file=sys.stderr)
                return 1
            failed, _, error = run_suite(args.build_dir, args.jobs, args.timeout)
            if error or failed:
                print("the suite fails without any fault: " + (error or " ".join(failed)),
                      file=sys.stderr)
                return 1
            baseline_note = "baseline: every CTest test passes without a fault"
        for n, fault in enumerate(faults, 1):
            log(f"[{n}/{len(faults)}] {fault.id} ({fault.area}) {fault.file}: {fault.does}")
            o = plant_and_test(fault, args, backup_file)
            outcomes.append(o)
            log(f"    -> {o.caught_by()}  ({o.seconds:.0f} s)")
    except KeyboardInterrupt:
        log("interrupted; the planted file has been restored")
        if not outcomes:
            return 130
    finally:
        # The build follows the restored tree again, so the next run starts from a clean build.
        if outcomes:
            log("rebuilding the unchanged tree")
            build(args.build_dir, args.jobs)
    minutes = (time.monotonic() - started) / 60
    result = table(outcomes, baseline_note, command)
    result += f"\nPlanted {len(outcomes)} of {len(faults)} faults in {minutes:.0f} min."
    print(result)
    if args.output:
        args.output.write_text(result + "\n", encoding="utf-8")
    ok = all(o.status in ("caught", "NOT CAUGHT") for o in outcomes) and len(outcomes) == len(faults)
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
