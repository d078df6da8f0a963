#!/usr/bin/env python3
"""Changes the program mechanically, one small change at a time, and checks that the tests notice.

Every C++ file under src/ (.cpp and .h; comments, string contents and preprocessor lines are
left alone) offers places for these operators:

    rel      a relational operator swapped for another (< <= > >= == !=)
    arith    binary + and - swapped, += and -= too
    logic    && and || swapped
    negate   the condition of an if or while negated
    const    an integer constant plus or minus one
    case     the labels of two neighbouring case blocks of one switch swapped
    rows     two neighbouring one-line rows of a brace table swapped
    text     a string literal of a table row changed (its last digit moved by one, else its
             last character dropped)

A fixed seed draws the mutants, taking the src/ folders in turn so that every folder, also one
added later, gets its share. Per mutant the tool writes the change, builds the test programs
that link the changed folder's library (directly or through other libraries; the link graph
comes from CMake's file API of the build directory), runs their CTest tests with a time-out,
the nearest tests first and the rest only when those pass, and puts the original bytes back:
always, also on Ctrl-C, SIGTERM and errors; a run that was killed outright is undone by the
next run from the copy it saved in the build directory. The `format` test is not run: a
mutant may change a line's layout, which is no fault of behaviour.

Outcomes: killed (a test failed), timeout (a test ran out of time; counted as killed),
survived, no-build. The score is (killed + timeout) / (mutants that build and are not listed
as equivalent in tools/mutants-equivalent.txt), overall and per folder. The results file holds
every mutant with its outcome and the unified diff of every survivor.

    tools/mutate.py --list --count 20                 # the mutants a run would make
    nice -n 10 tools/mutate.py --count 150 --label before
    tools/mutate.py --only-folder care --count 10 --seed 7
    tools/mutate.py --again tools/mutants-before.txt  # the same mutants once more
    tools/mutate.py --count 150 --resume tools/mutants-before.txt  # go on after a stop
    tools/mutate.py --rescore tools/mutants-before.txt  # after reviewing survivors
    tools/mutate.py --self-test                       # the operators on a sample text

Exit status: 0 when the run completed; 1 when the unchanged tree does not build or its tests
fail; 2 for bad arguments or uncommitted changes under src/ (unless --allow-dirty).
"""

import argparse
import difflib
import fcntl
import hashlib
import json
import os
import random
import re
import signal
import subprocess
import sys
import time
from dataclasses import dataclass
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
SRC = ROOT / "src"
BACKUP_NAME = ".mutate_backup.json"
EQUIVALENT = ROOT / "tools" / "mutants-equivalent.txt"

# ---------------------------------------------------------------------------------------------
# Reading C++ just well enough to find the places.

PUNCT = sorted(["<<=", ">>=", "<=>", "->*", "...", "::", "->", "++", "--", "<<", ">>", "<=",
                ">=", "==", "!=", "&&", "||", "+=", "-=", "*=", "/=", "%=", "&=", "|=", "^=",
                ".*"], key=len, reverse=True)
TOKEN = re.compile(
    r"(?P<comment>//[^\n]*|/\*.*?\*/)"
    r"|(?P<string>(?:u8|u|U|L)?R\"(?P<delim>[^(\s]*)\(.*?\)(?P=delim)\""
    r"|(?:u8|u|U|L)?\"(?:\\.|[^\"\\\n])*\")"
    r"|(?P<char>(?:u8|u|U|L)?'(?:\\.|[^'\\\n])*')"
    r"|(?P<number>\.?\d(?:[\w.']|[eEpP][+-])*)"
    r"|(?P<ident>[A-Za-z_]\w*)"
    r"|(?P<punct>" + "|".join(re.escape(p) for p in PUNCT) + r"|[^\s\w])"
    r"|(?P<space>\s+)", re.S)


@dataclass
class Tok:
    kind: str
    text: str
    start: int
    end: int


def tokens(text):
    """The code tokens of a file; comments, blanks and preprocessor lines are dropped."""
    out, pos = [], 0
    line_start = True  # only blanks since the last line break
    while pos < len(text):
        if line_start and text[pos] == "#":
            # A directive runs to the end of its line, continued lines included.
            end = pos
            while True:
                end = text.find("\n", end)
                if end < 0:
                    end = len(text)
                    break
                if text[end - 1] != "\\":
                    break
                end += 1
            pos = end
            continue
        m = TOKEN.match(text, pos)
        kind = m.lastgroup if m.lastgroup not in ("delim",) else "string"
        if m.group("string") is not None:
            kind = "string"
        if kind == "space":
            line_start = line_start or "\n" in m.group()
            if "\n" in m.group():
                line_start = True
        else:
            line_start = False
            if kind != "comment":
                out.append(Tok(kind, m.group(), m.start(), m.end()))
        pos = m.end()
    return out


@dataclass
class Mutant:
    file: str  # relative to the root
    line: int
    op: str
    start: int  # the span of the original text that is replaced
    end: int
    new: str
    id: str = ""

    def folder(self):
        return Path(self.file).parts[1]

    def apply(self, text):
        return text[:self.start] + self.new + text[self.end:]

    def describe(self, text):
        return f"{self.file}:{self.line} {self.op}: {text[self.start:self.end]!r} -> {self.new!r}"


REL = {"<": ["<=", ">"], "<=": ["<", ">"], ">": [">=", "<"], ">=": [">", "<"],
       "==": ["!="], "!=": ["=="]}
ARITH = {"+": "-", "-": "+", "+=": "-=", "-=": "+="}
LOGIC = {"&&": "||", "||": "&&"}
ROW = re.compile(r"^(\s*)(\{.*\})(,?)\s*$")


def spaced(text, t):
    """A binary operator as the project's layout writes it: a blank on either side (templates,
    unary minus and references are written without)."""
    return 0 < t.start and t.end < len(text) and text[t.start - 1] == " " and text[t.end] == " "


def joins_text(toks, i):
    """A + between texts joins them; its minus would not compile."""
    before, after = toks[i - 1], toks[i + 1] if i + 1 < len(toks) else toks[i]
    return before.kind == "string" or after.kind == "string" or \
        after.text in ("QStringLiteral", "QString", "tr") or \
        (before.text == ")" and i > 1 and toks[i - 2].kind == "string")


def line_of(text, pos):
    return text.count("\n", 0, pos) + 1


def mutants_of_text(text, file="sample.cpp"):
    toks = tokens(text)
    found = []

    def add(op, start, end, new):
        found.append(Mutant(file, line_of(text, start), op, start, end, new))

    for i, t in enumerate(toks):
        if t.kind == "punct":
            if t.text in REL and spaced(text, t):
                for new in REL[t.text]:
                    add("rel", t.start, t.end, new)
            elif t.text in ARITH and spaced(text, t) and not joins_text(toks, i):
                add("arith", t.start, t.end, ARITH[t.text])
            elif t.text in LOGIC and spaced(text, t):
                add("logic", t.start, t.end, LOGIC[t.text])
        elif t.kind == "number" and re.fullmatch(r"\d+[uUlL]*", t.text):
            digits = re.match(r"\d+", t.text).group()
            suffix = t.text[len(digits):]
            if not (digits.startswith("0") and len(digits) > 1):  # octal stays untouched
                value = int(digits)
                add("const", t.start, t.end, f"{value + 1}{suffix}")
                if value > 0:
                    add("const", t.start, t.end, f"{value - 1}{suffix}")
        elif t.kind == "ident" and t.text in ("if", "while") and i + 1 < len(toks) \
                and toks[i + 1].text == "(":
            depth, j = 0, i + 1
            while j < len(toks):
                depth += {"(": 1, ")": -1}.get(toks[j].text, 0)
                if depth == 0:
                    break
                j += 1
            if j < len(toks) and j > i + 2 and toks[i + 2].text != "constexpr":
                inner = text[toks[i + 2].start:toks[j - 1].end]
                declares = re.match(r"(const\s+)?auto\b|[\w:]+(<[^>]*>)?\s*[*&]*\s+\w+\s*=[^=]",
                                    inner)
                if ";" not in inner and not declares:  # a declaration keeps its shape
                    add("negate", toks[i + 2].start, toks[j - 1].end, f"!({inner})")
    found += case_swaps(text, toks, file)
    found += table_mutants(text, file)
    return found


def case_swaps(text, toks, file):
    """Neighbouring case labels of one switch with code between them swap their values."""
    labels = []  # (depth, value start, value end, index of the token after the ':')
    depth = 0
    for i, t in enumerate(toks):
        if t.text == "{":
            depth += 1
        elif t.text == "}":
            depth -= 1
        elif t.kind == "ident" and t.text == "case":
            j = i + 1
            while j < len(toks) and toks[j].text != ":":
                j += 1
            if j < len(toks):
                labels.append((depth, toks[i + 1].start, toks[j - 1].end, i, j))
    out = []
    for a, b in zip(labels, labels[1:]):
        between = toks[a[4] + 1:b[3]]
        if a[0] != b[0] or not between or any(t.text == "switch" for t in between):
            continue
        va, vb = text[a[1]:a[2]], text[b[1]:b[2]]
        if va == vb:
            continue
        middle = text[a[2]:b[1]]
        out.append(Mutant(file, line_of(text, a[1]), "case", a[1], b[2], vb + middle + va))
    return out


def table_mutants(text, file):
    """Rows of a brace table written one per line: neighbours swapped, string literals changed."""
    out = []
    lines = text.splitlines(keepends=True)
    offsets = [0]
    for line in lines:
        offsets.append(offsets[-1] + len(line))
    rows = {}
    for n, line in enumerate(lines):
        m = ROW.match(line.rstrip("\n"))
        if m and "//" not in line and not line.lstrip().startswith("{}"):
            rows[n] = m
    for n, m in rows.items():
        nxt = rows.get(n + 1)
        if nxt and nxt.group(1) == m.group(1) and m.group(2) != nxt.group(2):
            # The bodies trade places; commas and indentation stay where they were.
            start = offsets[n] + m.start(2)
            end = offsets[n + 1] + nxt.end(2)
            middle = text[offsets[n] + m.end(2):offsets[n + 1] + nxt.start(2)]
            out.append(Mutant(file, n + 1, "rows", start, end, nxt.group(2) + middle + m.group(2)))
        for t in tokens(m.group(2)):
            if t.kind != "string":
                continue
            quote = t.text.index('"')
            body = t.text[quote + 1:-1]
            if not body:
                continue
            digits = [k for k, c in enumerate(body) if c.isdigit()]
            if digits:
                k = digits[-1]
                changed = body[:k] + str((int(body[k]) + 1) % 10) + body[k + 1:]
            else:
                changed = body[:-1]
            start = offsets[n] + m.start(2) + t.start + quote + 1
            out.append(Mutant(file, n + 1, "text", start, start + len(body), changed))
    return out


def mutant_ids(mutants, text):
    """file:hash of the stripped line:operator:n, n counting the places of that operator on
    lines of the same text, so that the id survives edits elsewhere in the file."""
    lines = text.splitlines()
    seen = {}
    for m in sorted(mutants, key=lambda m: (m.start, m.new)):
        digest = hashlib.sha1(lines[m.line - 1].strip().encode("utf-8")).hexdigest()[:8]
        key = (digest, m.op)
        seen[key] = seen.get(key, 0) + 1
        m.id = f"{m.file}:{digest}:{m.op}:{seen[key]}"
    return mutants


def all_mutants(folder=None):
    out = []
    for path in sorted(SRC.rglob("*")):
        if path.suffix not in (".cpp", ".h") or not path.is_file():
            continue
        rel = path.relative_to(ROOT).as_posix()
        if folder and Path(rel).parts[1] != folder:
            continue
        text = path.read_text(encoding="utf-8")
        out += mutant_ids(mutants_of_text(text, rel), text)
    return out


def draw(mutants, count, seed):
    """Shuffles each folder's places with the seed and takes the folders in turn."""
    rng = random.Random(seed)
    by_folder = {}
    for m in mutants:
        by_folder.setdefault(m.folder(), []).append(m)
    for group in by_folder.values():
        rng.shuffle(group)
    chosen, folders = [], sorted(by_folder)
    while len(chosen) < count and any(by_folder.values()):
        for f in folders:
            if by_folder[f] and len(chosen) < count:
                chosen.append(by_folder[f].pop())
    return chosen


# ---------------------------------------------------------------------------------------------
# Which tests a change can reach.

def run(cmd, cwd, timeout=None):
    """Runs a command in its own process group, killed whole when cut short."""
    process = subprocess.Popen(cmd, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                               text=True, errors="replace", start_new_session=True,
                               env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))
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


class Graph:
    """Targets, their sources and dependencies from CMake's file API, and CTest's tests."""

    def __init__(self, build_dir):
        query = build_dir / ".cmake" / "api" / "v1" / "query" / "codemodel-v2"
        reply = build_dir / ".cmake" / "api" / "v1" / "reply"
        if not query.exists() or not reply.exists():
            query.parent.mkdir(parents=True, exist_ok=True)
            query.touch()
            r = run(["cmake", str(build_dir)], ROOT)
            if r.returncode != 0:
                sys.exit("cmake could not describe the build:\n" + r.stdout[-2000:])
        index = json.loads(max(reply.glob("index-*.json")).read_text())
        model = json.loads((reply / index["reply"]["codemodel-v2"]["jsonFile"]).read_text())
        self.sources, self.deps, names = {}, {}, {}
        for t in model["configurations"][0]["targets"]:
            info = json.loads((reply / t["jsonFile"]).read_text())
            names[info["id"]] = info["name"]
            self.sources[info["name"]] = {s["path"] for s in info.get("sources", [])}
            self.deps[info["name"]] = [d["id"] for d in info.get("dependencies", [])]
        self.deps = {n: {names[i] for i in ids if i in names} for n, ids in self.deps.items()}
        self.costs = {}
        costs = build_dir / "Testing" / "Temporary" / "CTestCostData.txt"
        if costs.exists():
            for line in costs.read_text().splitlines():
                parts = line.split()
                if len(parts) == 3:
                    self.costs[parts[0]] = float(parts[2])
        shown = json.loads(run(["ctest", "--show-only=json-v1"], build_dir).stdout)
        self.tests = {}  # test name -> target of its program; tests of no target are left out
        for t in shown["tests"]:
            program = Path(t.get("command", [""])[0]).name
            if program in self.sources:
                self.tests[t["name"]] = program

    def reaches(self, target, owners):
        """Whether a target depends on one of the owners, directly or through other targets."""
        frontier, seen = {target}, set()
        while frontier:
            if frontier & owners:
                return True
            seen |= frontier
            frontier = {d for t in frontier for d in self.deps.get(t, ())} - seen
        return False

    def affected(self, rel):
        """The tests a changed file can reach, one stage of (tests, program to build) per test
        program: the folder's own (tst_<folder>) first, then the quickest; a stage runs only
        when those before it passed, so a mutant caught early costs few builds and runs."""
        owners = {n for n, s in self.sources.items() if rel in s}
        if not owners:  # a file no target lists: every target with a source in its folder
            folder = str(Path(rel).parent)
            owners = {n for n, s in self.sources.items()
                      if any(str(Path(p).parent) == folder for p in s)}
        if not owners:  # nothing known about it: everything
            owners = set(self.sources)
        reach = sorted(t for t, target in self.tests.items() if self.reaches(target, owners))
        programs = sorted({self.tests[t] for t in reach},
                          key=lambda p: (p != "tst_" + Path(rel).parts[1], self.cost(p), p))
        return [([t for t in reach if self.tests[t] == p], [p]) for p in programs]

    def cost(self, program):
        """Seconds the program's tests took last time (CTest keeps them), 0 when unknown."""
        return sum(self.costs.get(t, 0.0) for t, p in self.tests.items() if p == program)


# ---------------------------------------------------------------------------------------------
# Applying, building, testing, restoring.

def log(*parts):
    print(*parts, file=sys.stderr, flush=True)


class Applied:
    """Writes the mutant on entry and always puts the original bytes back on exit."""

    def __init__(self, path, new_text, backup):
        self.path, self.new_text, self.backup, self.original = path, new_text, backup, None

    def __enter__(self):
        self.original = self.path.read_bytes()
        self.backup.write_text(json.dumps({"file": str(self.path),
                                           "original": self.original.decode("utf-8")}))
        self.path.write_bytes(self.new_text.encode("utf-8"))
        return self

    def __exit__(self, *exc):
        if self.original is not None:
            self.path.write_bytes(self.original)
            self.backup.unlink(missing_ok=True)
        return False


def restore_leftover(backup):
    if backup.exists():
        saved = json.loads(backup.read_text())
        Path(saved["file"]).write_bytes(saved["original"].encode("utf-8"))
        backup.unlink()
        log(f"restored {saved['file']}, left mutated by a run that was killed")


RESULT_LINE = re.compile(r"Test\s+#\d+: (\S+) \.+\s*(?:\*\*\*)?(\S[^\n]*?)\s+[\d.]+ sec")


def run_tests(build_dir, names, jobs, timeout):
    """Returns (failed, timed out) test names; stops at the first failure."""
    pattern = "^(" + "|".join(re.escape(n) for n in names) + ")$"
    r = run(["ctest", "-R", pattern, "-j", str(jobs), "--timeout", str(timeout),
             "--stop-on-failure"], build_dir, timeout=timeout * (len(names) + 1) + 60)
    failed, timed_out, seen = [], [], 0
    for name, status in RESULT_LINE.findall(r.stdout):
        seen += 1
        if status == "Timeout":
            timed_out.append(name)
        elif status != "Passed":
            failed.append(name)
    if r.returncode != 0 and not failed and not timed_out:
        failed.append("ctest: " + (r.stdout.strip().splitlines() or ["no output"])[-1])
    return failed, timed_out


def test_mutant(m, graph, args, backup):
    path = ROOT / m.file
    text = path.read_text(encoding="utf-8")
    stages = graph.affected(m.file)
    if not stages:
        return "no-test", [], ""
    diff = "".join(difflib.unified_diff(text.splitlines(True), m.apply(text).splitlines(True),
                                        "a/" + m.file, "b/" + m.file, n=1))
    with Applied(path, m.apply(text), backup):
        for tests, programs in stages:
            b = run(["cmake", "--build", str(args.build_dir), f"-j{args.jobs}", "--target",
                     *programs], ROOT)
            if b.returncode != 0:
                return "no-build", [], diff
            failed, timed_out = run_tests(args.build_dir, tests, args.jobs, args.timeout)
            if failed:
                return "killed", failed, diff
            if timed_out:
                return "timeout", timed_out, diff
    return "survived", [], diff


def read_equivalent():
    ids = {}
    if EQUIVALENT.exists():
        for raw in EQUIVALENT.read_text(encoding="utf-8").splitlines():
            line = raw.strip()
            if line and not line.startswith("#"):
                key, _, reason = line.partition(" ")
                ids[key] = reason.strip().lstrip("#").strip()
    return ids


OUTCOMES = ("killed", "timeout", "survived", "equivalent", "no-build")


@dataclass
class Row:
    id: str
    place: str
    outcome: str  # one of OUTCOMES but "equivalent", which comes from the kept list
    tests: str = ""
    diff: str = ""

    def folder(self):
        return self.id.split("/")[1]


def report(rows, head, equivalent):
    """The results file: the score per folder, every mutant, and the diff of every survivor."""
    def outcome(r):
        return "equivalent" if r.outcome == "survived" and r.id in equivalent else r.outcome

    table = ["folder | mutants | " + " | ".join(OUTCOMES) + " | score",
             "---" + " | ---" * (len(OUTCOMES) + 2)]
    for f in sorted({r.folder() for r in rows}) + ["all"]:
        group = [outcome(r) for r in rows if f in ("all", r.folder())]
        count = {k: group.count(k) for k in OUTCOMES}
        caught = count["killed"] + count["timeout"]
        counted = caught + count["survived"]
        score = f"{100 * caught / counted:.0f} %" if counted else "-"
        table.append(f"{f} | {len(group)} | " + " | ".join(str(count[k]) for k in OUTCOMES) +
                     f" | {score}")
    out = head + [""] + table
    out += ["", "Score: (killed + timeout) / (killed + timeout + survived); equivalent mutants "
            "(tools/mutants-equivalent.txt) and those that do not build are left out.", "",
            "id | place | outcome | failing tests", "--- | --- | --- | ---"]
    for r in rows:
        shown = "equivalent: " + equivalent[r.id] if outcome(r) == "equivalent" else r.outcome
        out.append(f"{r.id} | {r.place} | {shown} | {r.tests}")
    out += ["", "## Survivors", ""]
    for r in rows:
        if r.outcome == "survived":
            mark = " (equivalent)" if r.id in equivalent else ""
            out += [f"### {r.id}{mark}", "```diff", r.diff.rstrip("\n"), "```", ""]
    return "\n".join(out) + "\n", table


def read_report(path):
    """The head and rows of a results file, to score it again with the current kept list."""
    text = path.read_text(encoding="utf-8")
    head = [l for l in text.splitlines()[:2] if l.startswith("#")]
    diffs = dict(re.findall(r"^### (\S+).*?\n```diff\n(.*?)\n```$", text, re.M | re.S))
    rows = []
    for line in text.splitlines():
        if not re.match(r"src/\S+:[0-9a-f]{8}:\w+:\d+ \| ", line):
            continue
        ident, rest = line.split(" | ", 1)
        place, outcome, tests = rest.rsplit(" | ", 2)
        outcome = "survived" if outcome.startswith("equivalent") else outcome
        rows.append(Row(ident, place, outcome, tests, diffs.get(ident, "") + "\n"))
    return head, rows


def self_test():
    sample = ('#include <vector>\n'
              'int f(int a, int b) {\n'
              '    // a < b in a comment\n'
              '    if (a < b && b != 2)\n'
              '        return a - 1;\n'
              '    std::vector<int> v{-3};\n'
              '    switch (a) {\n'
              '    case 1:\n'
              '        return 5;\n'
              '    case 2:\n'
              '    case 3:\n'
              '        return 6;\n'
              '    }\n'
              '    return s == "x < y" ? 0 : 1;\n'
              '}\n'
              'constexpr Row rows[] = {\n'
              '    {u"Leicht", 1},\n'
              '    {u"Mittel +2", 2},\n'
              '};\n')
    got = {(m.op, sample[m.start:m.end], m.new) for m in mutants_of_text(sample)}
    want = {("rel", "<", "<="), ("rel", "<", ">"), ("rel", "!=", "=="), ("logic", "&&", "||"),
            ("arith", "-", "+"), ("negate", "a < b && b != 2", "!(a < b && b != 2)"),
            ("case", "1:\n        return 5;\n    case 2", "2:\n        return 5;\n    case 1"),
            ("rows", '{u"Leicht", 1},\n    {u"Mittel +2", 2}',
             '{u"Mittel +2", 2},\n    {u"Leicht", 1}'),
            ("text", "Leicht", "Leich"), ("text", "Mittel +2", "Mittel +3")}
    missing = want - got
    # Never touched: the include, the comment, the template brackets, the unary minus, the
    # string contents outside a table row, fall-through labels without code between them.
    wrong = {g for g in got if g[1] in ("vector", "-3", "x < y") or g[2].startswith("!(b")
             or (g[0] == "case" and "3" in g[1])}
    consts = {(g[1], g[2]) for g in got if g[0] == "const"}
    if not {("2", "3"), ("2", "1"), ("1", "2"), ("1", "0"), ("0", "1")} <= consts:
        missing.add(("const", "2 -> 3, 1 -> 0, 0 -> 1 ...", ""))
    for m in sorted(missing):
        print("missing:", m)
    for w in sorted(wrong):
        print("unexpected:", w)
    print("self-test", "failed" if missing or wrong else "passed")
    return 1 if missing or wrong else 0


def main():
    p = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    p.add_argument("--seed", type=int, default=18, help="seed of the draw (default 18)")
    p.add_argument("--count", type=int, default=150, help="mutants to draw (default 150)")
    p.add_argument("--only-folder", help="draw from this src/ folder only")
    p.add_argument("--again", type=Path, metavar="RESULTS",
                   help="the mutants of an earlier results file instead of a new draw")
    p.add_argument("--list", action="store_true", help="show the drawn mutants, run nothing")
    p.add_argument("--build-dir", type=Path, default=ROOT / "build" / "test",
                   help="a configured test build (default build/test)")
    p.add_argument("--timeout", type=int, default=120, help="seconds per CTest test (120)")
    p.add_argument("--jobs", type=int, default=2, help="build and ctest jobs (default 2)")
    p.add_argument("--label", default="run", help="results go to tools/mutants-LABEL.txt")
    p.add_argument("--allow-dirty", action="store_true",
                   help="start even with uncommitted changes under src/")
    p.add_argument("--resume", type=Path, metavar="RESULTS",
                   help="run the draw's mutants that this results file does not hold yet, and "
                        "add them to it")
    p.add_argument("--rescore", type=Path, metavar="RESULTS",
                   help="score a results file again with the current list of equivalent mutants")
    p.add_argument("--self-test", action="store_true", help="check the operators and stop")
    args = p.parse_args()
    if args.self_test:
        return self_test()
    if args.rescore:
        head, rows = read_report(args.rescore)
        text, table = report(rows, head, read_equivalent())
        args.rescore.write_text(text, encoding="utf-8")
        print("\n".join(table))
        return 0
    args.build_dir = args.build_dir.resolve()
    backup = args.build_dir / BACKUP_NAME
    # One run per build directory; only the holder of the lock may put a leftover back, so that
    # a second call (--list too) never undoes the mutant a running run is testing.
    lock = open(args.build_dir / ".mutate.lock", "w") if args.build_dir.is_dir() else None
    try:
        if lock:
            fcntl.flock(lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
        restore_leftover(backup)
    except BlockingIOError:
        if not args.list:
            print(f"another run is using {args.build_dir}", file=sys.stderr)
            return 2
        log("a run is going on in this build directory: a file may be mutated just now")

    if args.again:
        # The same mutants as an earlier run, by id; a place edited since then is gone.
        wanted = [line.split(" | ")[0] for line in args.again.read_text(encoding="utf-8")
                  .splitlines() if re.match(r"src/\S+:[0-9a-f]{8}:\w+:\d+ \| ", line)]
        known = {m.id: m for m in all_mutants(args.only_folder)}
        gone = [i for i in wanted if i not in known]
        if gone:
            log(f"{len(gone)} mutants of {args.again} no longer exist: " + " ".join(gone))
        chosen = [known[i] for i in wanted if i in known]
    else:
        chosen = draw(all_mutants(args.only_folder), args.count, args.seed)
    earlier = []
    if args.resume:
        # A run stopped early goes on where it stopped: the draw less what the file holds.
        _, earlier = read_report(args.resume)
        done = {r.id for r in earlier}
        chosen = [m for m in chosen if m.id not in done]
    if not chosen:
        print("no mutants: is the folder name right?", file=sys.stderr)
        return 2
    texts = {m.file: (ROOT / m.file).read_text(encoding="utf-8") for m in chosen}
    if args.list:
        for m in chosen:
            print(f"{m.id}  {m.describe(texts[m.file])}")
        return 0

    dirty = run(["git", "status", "--porcelain", "--", "src"], ROOT).stdout.strip()
    if dirty and not args.allow_dirty:
        print("uncommitted changes under src/ (use --allow-dirty to run anyway):\n" + dirty,
              file=sys.stderr)
        return 2
    if lock is None or not (args.build_dir / "CMakeCache.txt").exists():
        print(f"{args.build_dir} is no configured build", file=sys.stderr)
        return 2

    def stop(signum, _frame):
        raise KeyboardInterrupt(f"signal {signum}")
    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGHUP, stop)

    graph = Graph(args.build_dir)
    log("building and testing the unchanged tree")
    b = run(["cmake", "--build", str(args.build_dir), f"-j{args.jobs}"], ROOT)
    if b.returncode != 0:
        print("the unchanged tree does not build:\n" + b.stdout[-3000:], file=sys.stderr)
        return 1
    failed, timed_out = run_tests(args.build_dir, sorted(graph.tests), args.jobs, args.timeout)
    if failed or timed_out:
        print("the tests fail without a mutant: " + " ".join(failed + timed_out), file=sys.stderr)
        return 1

    equivalent = read_equivalent()
    results, started = [], time.monotonic()
    try:
        for n, m in enumerate(chosen, 1):
            t0 = time.monotonic()
            outcome, tests, diff = test_mutant(m, graph, args, backup)
            results.append((m, outcome, tests, diff))
            shown = outcome + (" (equivalent)" if m.id in equivalent else "")
            log(f"[{n}/{len(chosen)}] {m.describe(texts[m.file])}: {shown} "
                f"{' '.join(tests)} ({time.monotonic() - t0:.0f} s)")
    except KeyboardInterrupt:
        log("interrupted; the source file has been put back")
    finally:
        log("rebuilding the unchanged tree")
        run(["cmake", "--build", str(args.build_dir), f"-j{args.jobs}"], ROOT)

    command = "tools/mutate.py " + " ".join(sys.argv[1:])
    head = run(["git", "rev-parse", "--short", "HEAD"], ROOT).stdout.strip()
    rows = earlier + [Row(m.id, m.describe(texts[m.file]), o, " ".join(tests[:4]), diff)
                      for m, o, tests, diff in results]
    text, table = report(rows, [f"# {command}", f"# tree {head}, {len(results)} of {len(chosen)}"
                                f" mutants run in {(time.monotonic() - started) / 60:.0f} min, "
                                f"{len(rows)} in this file"],
                         equivalent)
    target = args.resume or ROOT / "tools" / f"mutants-{args.label}.txt"
    target.write_text(text, encoding="utf-8")
    print("\n".join(table))
    log(f"results: {target}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
