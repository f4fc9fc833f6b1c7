"""Sampled mutation test of the support library; scripts/mutants runs it.

Lists every single-operator change of the library's natively built sources,
samples N of them with a seeded generator, and runs each through the native
suites in a copy of the tree, so that the checkout itself is never changed.
"""

import bisect
import hashlib
import os
import random
import re
import signal
import subprocess
import sys
import threading
import time
from dataclasses import dataclass

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
ROOMS = ["hostlink", "numconv", "services", "waves", "winui"]
EQUIVALENTS = os.path.join(ROOT, "scripts", "mutants-equivalent.txt")

# ---- The sources and their mutation sites.


def public_headers():
    """The installed headers: declarations, not worth mutating."""
    with open(os.path.join(ROOT, "CMakeLists.txt")) as f:
        found = re.search(r"set\(PUBLIC_HEADERS([^)]*)\)", f.read())
    return set(found.group(1).split()) if found else set()


def library_sources():
    """The library's files of the native build: no Windows ones, no tests."""
    public = public_headers()
    files = []
    for room in ROOMS:
        for folder, subfolders, names in os.walk(os.path.join(ROOT, room)):
            subfolders[:] = [d for d in subfolders if d != "tests"]
            for name in names:
                path = os.path.relpath(os.path.join(folder, name), ROOT)
                if (name.endswith((".cpp", ".h")) and "_win32" not in name
                        and path not in public):
                    files.append(path)
    return sorted(files)


TOKEN = re.compile(
    r"""(?P<space>\s+)
      | (?P<comment>//[^\n]*|/\*.*?\*/)
      | (?P<string>(?:u8|[uUL])?"(?:\\.|[^"\\\n])*"
                  |(?:u8|[uUL])?'(?:\\.|[^'\\\n])*')
      | (?P<number>\.?\d(?:[eEpP][+-]|[\w.'])*)
      | (?P<name>[A-Za-z_]\w*)
      | (?P<punct><<=|>>=|->\*|\.\.\.|::|->|\+\+|--|<<|>>|<=|>=|==|!=
                  |&&|\|\||[-+*/%&|^]=|.)""", re.S | re.X)
PREPROCESSOR = re.compile(r"(?m)^[ \t]*#(?:[^\n]*\\\n)*[^\n]*")
# Parenthesised parts that are not run-time code.
FROZEN_CALLS = {"static_assert", "alignas", "__attribute__", "_Pragma",
                "asm", "__asm__", "sizeof", "alignof", "decltype"}
RELATIONAL = {"==": ["!="], "!=": ["=="], "<": ["<=", ">="],
              "<=": ["<", ">"], ">": [">=", "<="], ">=": [">", "<"]}
ARITHMETIC = {"+": ["-"], "-": ["+"], "*": ["/"], "/": ["*"],
              "+=": ["-="], "-=": ["+="], "*=": ["/="], "/=": ["*="]}
LOGICAL = {"&&": ["||"], "||": ["&&"]}
ASSIGNMENTS = {"=", "+=", "-=", "*=", "/=", "%=", "&=", "|=", "^=", "<<=",
               ">>="}
NOT_STATEMENTS = {
    "return", "if", "for", "while", "do", "else", "switch", "case",
    "default", "break", "continue", "goto", "using", "typedef",
    "static_assert", "constexpr", "const", "static", "auto", "template",
    "typename", "namespace", "struct", "class", "enum", "union", "extern",
    "inline", "volatile", "unsigned", "signed", "int", "char", "bool",
    "float", "double", "void", "long", "short", "public", "private",
    "protected", "friend", "virtual", "explicit", "thread_local"}
INTEGER = re.compile(r"^(0[xX][0-9a-fA-F]+|0|[1-9][0-9]*)([uU]?[lL]{0,2}|"
                     r"[lL]{1,2}[uU])$")


@dataclass
class Token:
    kind: str
    text: str
    start: int
    end: int
    spaced_before: bool = False
    spaced_after: bool = False
    first_on_line: bool = False


@dataclass
class Mutant:
    file: str
    line: int
    start: int
    end: int
    replacement: str
    kind: str
    original_line: str = ""
    mutated_line: str = ""
    outcome: str = ""
    detail: str = ""
    seconds: float = 0.0
    equivalent: str = ""

    @property
    def room(self):
        return self.file.split("/")[0]


def blank(match):
    return re.sub(r"[^\n]", " ", match.group(0))


def tokenize(text):
    code = PREPROCESSOR.sub(blank, text)
    tokens = []
    for found in TOKEN.finditer(code):
        kind = found.lastgroup
        if kind in ("space", "comment"):
            continue
        start, end = found.span()
        line_start = code.rfind("\n", 0, start) + 1
        tokens.append(Token(
            kind, found.group(0), start, end,
            spaced_before=start > 0 and code[start - 1].isspace(),
            spaced_after=end < len(code) and code[end].isspace(),
            first_on_line=code[line_start:start].strip() == ""))
    return tokens


def closing(tokens, i, opening="(", close=")"):
    """Index of the token that closes the bracket at tokens[i]."""
    depth = 0
    for j in range(i, len(tokens)):
        depth += tokens[j].text == opening
        depth -= tokens[j].text == close
        if depth == 0:
            return j
    return len(tokens) - 1


def frozen_indices(tokens):
    """Tokens inside assertions, attributes and the like."""
    frozen = set()
    for i, token in enumerate(tokens):
        if token.text in FROZEN_CALLS:
            j = i + 1
            if j < len(tokens) and tokens[j].text == "(":
                frozen.update(range(i, closing(tokens, j) + 1))
    return frozen


def brace_kinds(tokens):
    """For each token, whether it sits directly in a block of statements."""
    stack, kinds = [], []
    code_openers = {")", "]", "else", "do", "try", "const", "override",
                    "noexcept", "mutable"}
    for i, token in enumerate(tokens):
        if token.text == "{":
            before = tokens[i - 1].text if i > 0 else ""
            in_code = bool(stack) and stack[-1]
            stack.append(before in code_openers or
                         (in_code and before in (";", "{", "}", ":")))
        elif token.text == "}" and stack:
            stack.pop()
        kinds.append(bool(stack) and stack[-1])
    return kinds


def statement_end(tokens, i):
    """The `;` ending a simple statement at tokens[i], or None."""
    depth = 0
    for j in range(i, len(tokens)):
        text = tokens[j].text
        if text in ("(", "["):
            depth += 1
        elif text in (")", "]"):
            depth -= 1
        elif text == "{" and depth > 0:
            depth += 1
        elif text == "}" and depth > 0:
            depth -= 1
        elif text in ("{", "}"):
            return None
        elif text == ";" and depth == 0:
            return j
    return None


def after_type_name(tokens, i, end):
    """Index after a possibly qualified, possibly templated name at i."""
    j = i
    while j < end and tokens[j].kind == "name":
        j += 1
        if j < end and tokens[j].text == "<" and not tokens[j].spaced_before:
            depth = 0
            while j < end:
                depth += tokens[j].text == "<"
                depth -= {">": 1, ">>": 2}.get(tokens[j].text, 0)
                j += 1
                if depth <= 0:
                    break
        if j < end and tokens[j].text == "::":
            j += 1
            continue
        break
    return j


def is_declaration(tokens, i, end):
    j = after_type_name(tokens, i, end)
    if j == i or j >= end:
        return False
    if tokens[j].kind == "name":
        return True
    return (tokens[j].text in ("*", "&", "&&") and j + 1 < end and
            tokens[j + 1].kind == "name" and not tokens[j].spaced_after)


def removable_statement(tokens, i, kinds):
    """The end of an assignment or call statement starting at i, or None."""
    token = tokens[i]
    before = tokens[i - 1].text if i > 0 else ""
    if not (token.first_on_line and kinds[i] and
            before in (";", "{", "}", ")", "else", ":")):
        return None
    if token.kind != "name" and token.text not in ("*", "++", "--"):
        return None
    if token.text in NOT_STATEMENTS:
        return None
    end = statement_end(tokens, i)
    if end is None or end == i or is_declaration(tokens, i, end):
        return None
    depth, assigns = 0, False
    for k in range(i, end):
        depth += tokens[k].text in ("(", "[")
        depth -= tokens[k].text in (")", "]")
        assigns |= depth == 0 and tokens[k].text in ASSIGNMENTS
    steps = token.text in ("++", "--") or tokens[end - 1].text in ("++", "--")
    calls = token.kind == "name" and tokens[end - 1].text == ")"
    return end if assigns or steps or calls else None


def next_integer(text):
    found = INTEGER.match(text)
    digits, suffix = found.groups()
    value = int(digits, 0)
    if value in (0, 1):
        return str(1 - value) + suffix
    if digits[:2].lower() == "0x":
        form = "%X" if digits[2:].upper() == digits[2:] else "%x"
        return digits[:2] + form % (value + 1) + suffix
    return str(value + 1) + suffix


def operator_mutations(tokens, i, frozen):
    """(replacement, kind) pairs for the token at i itself."""
    token, text = tokens[i], tokens[i].text
    if i in frozen or token.kind in ("string",):
        return []
    before = tokens[i - 1].text if i > 0 else ""
    binary = token.spaced_before and token.spaced_after
    if text in RELATIONAL:
        if text in ("<", ">", "<=", ">=") and (not binary or
                                                before == "template"):
            return []
        return [(r, "relational") for r in RELATIONAL[text]]
    if text in ARITHMETIC and (binary or "=" in text):
        return [(r, "arithmetic") for r in ARITHMETIC[text]]
    if text in LOGICAL:
        return [(r, "logical") for r in LOGICAL[text]]
    if text == "!":
        return [("", "logical")]
    if token.kind == "number" and INTEGER.match(text):
        return [(next_integer(text), "constant")]
    return []


def return_mutations(tokens, i, frozen, text):
    """(start, end, replacement) of `return X;` made `return 0` and `!X`."""
    if tokens[i].text != "return" or i in frozen:
        return []
    end = statement_end(tokens, i + 1)
    if end is None or end == i + 1 or tokens[i + 1].text == "{":
        return []
    start, stop = tokens[i + 1].start, tokens[end - 1].end
    value = text[start:stop]
    found = []
    if value not in ("0", "nullptr", "false", "0u"):
        found.append((start, stop, "0"))
    if not INTEGER.match(value):  # a literal's change covers its negation
        found.append((start, stop, "!(%s)" % value))
    return found


def mutants_of(path):
    with open(os.path.join(ROOT, path)) as f:
        text = f.read()
    tokens = tokenize(text)
    frozen = frozen_indices(tokens)
    kinds = brace_kinds(tokens)
    line_starts = [0] + [m.end() for m in re.finditer("\n", text)]
    found = {}

    def add(start, end, replacement, kind):
        # Line numbers stay as they were.
        lost = text.count("\n", start, end) - replacement.count("\n")
        padded = replacement + "\n" * max(0, lost)
        line = bisect.bisect_right(line_starts, start) - 1
        first = line_starts[line]
        stop = text.find("\n", first)
        stop = len(text) if stop < 0 else stop
        mutated = text[first:start] + padded + text[end:]
        mutated_line = mutated[:mutated.find("\n") if "\n" in mutated
                               else len(mutated)]
        mutant = Mutant(path, line + 1, start, end, padded, kind,
                        text[first:stop].strip(), mutated_line.strip())
        found.setdefault((line, mutant.mutated_line), mutant)

    for i, token in enumerate(tokens):
        for replacement, kind in operator_mutations(tokens, i, frozen):
            add(token.start, token.end, replacement, kind)
        for start, end, replacement in return_mutations(tokens, i, frozen,
                                                         text):
            add(start, end, replacement, "return")
        end = removable_statement(tokens, i, kinds)
        if end is not None and i not in frozen:
            add(token.start, tokens[end].end, "{}", "removed")
    return sorted(found.values(), key=lambda m: (m.start, m.replacement))


# ---- Survivors judged equivalent.


def read_equivalents():
    """(file, line, mutant) -> reason, from scripts/mutants-equivalent.txt."""
    marks = {}
    if not os.path.exists(EQUIVALENTS):
        return marks
    with open(EQUIVALENTS) as f:
        blocks = re.split(r"\n\s*\n", f.read())
    for block in blocks:
        entry = {}
        for line in block.splitlines():
            if line.startswith("#") or ":" not in line:
                continue
            key, value = line.split(":", 1)
            entry[key.strip()] = value.strip()
        if {"file", "line", "mutant", "why"} <= entry.keys():
            marks[(entry["file"], entry["line"], entry["mutant"])] = \
                entry["why"]
    return marks


# ---- Builds and runs, one worker per copy of the tree.


def listed_files():
    """The checkout's files, untracked ones included, ignored ones not."""
    out = subprocess.run(
        ["git", "-C", ROOT, "ls-files", "-z", "--cached", "--others",
         "--exclude-standard"], capture_output=True, check=True).stdout
    names = [n for n in out.decode().split("\0") if n]
    return sorted(n for n in names if os.path.isfile(os.path.join(ROOT, n)))


def read_bytes(path):
    with open(path, "rb") as f:
        return f.read()


def write_bytes(path, data):
    with open(path, "wb") as f:
        f.write(data)


def sync_copy(copy, files):
    """Makes `copy` hold exactly `files` as in the checkout, rewriting only
    what differs, so that its build stays incremental."""
    wanted = set(files)
    for name in files:
        source, target = os.path.join(ROOT, name), os.path.join(copy, name)
        data = read_bytes(source)
        if not os.path.exists(target) or read_bytes(target) != data:
            os.makedirs(os.path.dirname(target), exist_ok=True)
            write_bytes(target, data)
            os.chmod(target, os.stat(source).st_mode & 0o777)
    for folder, _, names in os.walk(copy):
        for name in names:
            path = os.path.join(folder, name)
            if os.path.relpath(path, copy) not in wanted:
                os.remove(path)


class Stopped(Exception):
    pass


class Worker:
    def __init__(self, index, build_root, copy_root, jobs, stop):
        self.copy = os.path.join(copy_root, "source-%d" % index)
        self.build = os.path.join(build_root, "build-%d" % index)
        self.launcher = os.path.join(build_root, "no-werror")
        self.jobs = jobs
        self.stop = stop
        self.objects = {}
        self.tests = []
        self.timeout = 600
        self.error = ""

    def run(self, command, timeout):
        """(status, output) of a command in its own process group; the
        group is killed on timeout (status None) or when stopping."""
        process = subprocess.Popen(
            command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
            start_new_session=True)
        deadline = time.time() + timeout
        while True:
            try:
                output, _ = process.communicate(timeout=1)
                return process.returncode, output.decode(errors="replace")
            except subprocess.TimeoutExpired:
                if self.stop.is_set() or time.time() > deadline:
                    os.killpg(process.pid, signal.SIGKILL)
                    process.communicate()
                    if self.stop.is_set():
                        raise Stopped()
                    return None, ""

    def ninja(self, targets):
        status, output = self.run(
            ["ninja", "-C", self.build, "-j", str(self.jobs)] + targets, 900)
        return status == 0, output

    def object_hashes(self):
        hashes = {}
        for room in ROOMS:
            for folder, _, names in os.walk(
                    os.path.join(self.build, room, "CMakeFiles")):
                for name in names:
                    if name.endswith(".o"):
                        path = os.path.join(folder, name)
                        hashes[path] = hashlib.sha1(
                            read_bytes(path)).hexdigest()
        return hashes

    def prepare(self, files):
        try:
            self.build_unchanged(files)
        except Exception as error:  # noqa: BLE001 - reported, then stop
            self.error = str(error)
            self.stop.set()

    def build_unchanged(self, files):
        """Copies the tree, builds it and runs the suites once unchanged."""
        sync_copy(self.copy, files)
        # -O1 compiles the conversion templates in half the time of the
        # release build's -O3, and its suites run as fast. The undefined-
        # behaviour checks, as in the native suite's sanitized run, and the
        # C library's checked copies stop a mutant that goes out of bounds.
        status, output = self.run(
            ["cmake", "-S", self.copy, "-B", self.build, "-G", "Ninja",
             "-DCMAKE_BUILD_TYPE=Release", "-DTAVREL_UBSAN=ON",
             "-DCMAKE_C_FLAGS_RELEASE=-O1 -DNDEBUG -D_FORTIFY_SOURCE=2",
             "-DCMAKE_CXX_FLAGS_RELEASE=-O1 -DNDEBUG -D_FORTIFY_SOURCE=2",
             "-DTAVREL_WINDOWS_BUILD=/nonexistent",
             "-DCMAKE_C_COMPILER_LAUNCHER=" + self.launcher,
             "-DCMAKE_CXX_COMPILER_LAUNCHER=" + self.launcher], 600)
        if status != 0:
            raise RuntimeError("configure failed:\n" + output)
        status, output = self.run(
            ["ctest", "--test-dir", self.build, "-N"], 120)
        self.tests = re.findall(r"Test +#\d+: (\S+)", output)
        built, output = self.ninja(ROOMS + self.tests)
        if not built:
            raise RuntimeError("the unchanged tree does not build:\n" + output)
        started = time.time()
        status, output = self.run(
            ["ctest", "--test-dir", self.build, "-j", str(self.jobs)], 1800)
        if status != 0:
            raise RuntimeError("the unchanged suites fail:\n" + output)
        self.timeout = max(60, 10 * (time.time() - started))
        self.objects = self.object_hashes()

    def run_suites(self, room):
        """The failing suite's name, 'timeout', or '' when all pass; None
        when a suite does not link. The mutated room's suite is linked and
        run first, as it fails most often; the first failure ends the run."""
        own = room + "_tests"
        base = ["ctest", "--test-dir", self.build, "--stop-on-failure"]
        steps = []
        if own in self.tests:
            steps.append(([own], base + ["-R", "^%s$" % own]))
        others = [t for t in self.tests if t != own]
        steps.append((others, base + ["-E", "^%s$" % own, "-j",
                                      str(self.jobs)]))
        deadline = time.time() + self.timeout
        for targets, command in steps:
            if not self.ninja(targets)[0]:
                return None
            status, output = self.run(command, max(1, deadline - time.time()))
            if status is None:
                return "timeout"
            if status != 0:
                failed = re.findall(r"\d+ - (\S+) \(", output)
                return failed[0] if failed else "ctest"
        return ""

    def try_mutant(self, mutant):
        path = os.path.join(self.copy, mutant.file)
        original = read_bytes(path)
        text = original.decode()
        mutated = text[:mutant.start] + mutant.replacement + text[mutant.end:]
        write_bytes(path, mutated.encode())
        try:
            built, _ = self.ninja(ROOMS)
            if not built:
                return "not compiled", ""
            if self.object_hashes() == self.objects:
                return "unchanged", "same object code"
            failed = self.run_suites(mutant.room)
            if failed is None:
                return "not compiled", "link"
            return ("killed", failed) if failed else ("survived", "")
        finally:
            # Rewritten, so newer than the mutant's objects: the next build
            # compiles the original again.
            write_bytes(path, original)


# ---- The run and its report.


def run_all(workers, mutants, report):
    """Workers take whole files at a time, so that each file's original is
    recompiled once per file rather than once per mutant; a room's headers
    come one after another, as their objects are rebuilt together."""
    groups = {}
    for mutant in mutants:
        groups.setdefault(mutant.file, []).append(mutant)
    queue = [groups[f] for f in sorted(
        groups, key=lambda f: (f.split("/")[0], not f.endswith(".h"), f))]
    lock = threading.Lock()
    done = [0]
    failures = []

    def work(worker):
        try:
            while not worker.stop.is_set():
                with lock:
                    if not queue:
                        return
                    group = queue.pop(0)
                for mutant in group:
                    started = time.time()
                    mutant.outcome, mutant.detail = worker.try_mutant(mutant)
                    mutant.seconds = time.time() - started
                    with lock:
                        done[0] += 1
                        report(done[0], len(mutants), mutant)
        except Stopped:
            pass
        except BaseException as error:  # reported after the others stop
            failures.append(error)
            worker.stop.set()

    threads = [threading.Thread(target=work, args=(w,)) for w in workers]
    for thread in threads:
        thread.start()
    for thread in threads:
        while thread.is_alive():
            thread.join(0.5)
    if failures:
        raise failures[0]


def progress_line(done, total, mutant):
    detail = " (%s)" % mutant.detail if mutant.detail else ""
    return "[%3d/%d] %-12s %s:%d  %s%s  %.0fs" % (
        done, total, mutant.outcome, mutant.file, mutant.line,
        mutant.mutated_line, detail, mutant.seconds)


def score(killed, counted):
    return "%.1f%%" % (100.0 * killed / counted) if counted else "-"


def summary(mutants, sites, seed):
    lines = ["", "%d mutants sampled from %d (seed %d)" % (
        len(mutants), sites, seed), ""]
    header = "%-9s %7s %9s %11s %13s %10s %7s" % (
        "folder", "killed", "survived", "equivalent", "not compiled",
        "unchanged", "score")
    lines.append(header)
    totals = {}
    for room in ROOMS + ["total"]:
        chosen = [m for m in mutants if room in ("total", m.room)]
        if not chosen:
            continue
        count = {o: sum(m.outcome == o for m in chosen)
                 for o in ("killed", "survived", "not compiled", "unchanged")}
        equivalent = sum(bool(m.equivalent) for m in chosen)
        counted = count["killed"] + count["survived"] - equivalent
        lines.append("%-9s %7d %9d %11d %13d %10d %7s" % (
            room, count["killed"], count["survived"], equivalent,
            count["not compiled"], count["unchanged"],
            score(count["killed"], counted)))
        totals = dict(count, equivalent=equivalent)
    lines.append("")
    lines.append("score: killed / (killed + survived), survivors marked "
                 "equivalent left out; counting them: %s" % score(
                     totals["killed"], totals["killed"] + totals["survived"]))
    survivors = [m for m in mutants if m.outcome == "survived"]
    if survivors:
        lines.append("")
        lines.append("Survivors:")
    for m in survivors:
        mark = "  [equivalent: %s]" % m.equivalent if m.equivalent else ""
        lines.append("  %s:%d (%s)%s" % (m.file, m.line, m.kind, mark))
        lines.append("      line:   %s" % m.original_line)
        lines.append("      mutant: %s" % m.mutated_line)
    return "\n".join(lines)


def sample(count, seed, only):
    """Every mutation site of the sources (or of those named), and `count`
    of them picked with the seeded generator."""
    sources = [f for f in library_sources() if not only or f in only]
    sites = [m for f in sources for m in mutants_of(f)]
    picked = random.Random(seed).sample(range(len(sites)),
                                        min(count, len(sites)))
    return sites, [sites[k] for k in sorted(picked)]


def write_launcher(build_root):
    """The compiler launcher: warnings stay warnings, as a mutant is judged
    by the suites."""
    launcher = os.path.join(build_root, "no-werror")
    write_bytes(launcher, b'#!/bin/sh\nexec "$@" -Wno-error\n')
    os.chmod(launcher, 0o755)


def prepare_all(workers):
    """Builds every worker's copy and runs its suites; False on a failure."""
    files = listed_files()
    threads = [threading.Thread(target=w.prepare, args=(files,))
               for w in workers]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    for worker in workers:
        if worker.error:
            print(worker.error, file=sys.stderr)
    return all(w.objects for w in workers)


def main(arguments):
    count = int(arguments[0]) if arguments else 200
    seed = int(arguments[1]) if len(arguments) > 1 else 1
    build_root = os.environ.get("MUTANTS_BUILD",
                                os.path.join(ROOT, "build-mutants"))
    copy_root = os.environ.get("MUTANTS_COPIES", build_root)
    workers_count = max(1, int(os.environ.get("MUTANTS_JOBS", "2")))

    sites, mutants = sample(count, seed, set(arguments[2:]))
    marks = read_equivalents()
    known = {(m.file, m.original_line, m.mutated_line) for m in sites}
    stale = [mark for mark in marks if mark not in known]
    if stale and not arguments[2:]:
        print("%s: %d entries match no mutant any more, the first: %s" % (
            os.path.basename(EQUIVALENTS), len(stale), " | ".join(stale[0])))

    os.makedirs(build_root, exist_ok=True)
    write_launcher(build_root)
    stop = threading.Event()
    workers = [Worker(k, build_root, copy_root, max(1, 2 // workers_count),
                      stop) for k in range(workers_count)]
    signal.signal(signal.SIGINT, lambda *_: stop.set())
    signal.signal(signal.SIGTERM, lambda *_: stop.set())
    print("Preparing %d copies of the tree in %s" % (len(workers), copy_root),
          flush=True)
    if not prepare_all(workers):
        return 2
    print("%d mutants of %d, seed %d; suites stop after %.0f s" % (
        len(mutants), len(sites), seed, workers[0].timeout), flush=True)

    log = open(os.path.join(build_root, "progress.txt"), "w")

    def report(done, total, mutant):
        if mutant.outcome == "survived":
            mutant.equivalent = marks.get(
                (mutant.file, mutant.original_line, mutant.mutated_line), "")
        line = progress_line(done, total, mutant)
        print(line, flush=True)
        log.write(line + "\n")
        log.flush()

    started = time.time()
    run_all(workers, mutants, report)
    if stop.is_set():
        print("stopped", flush=True)
        return 130
    text = summary(mutants, len(sites), seed)
    text += "\n\n%.0f minutes with %d workers" % (
        (time.time() - started) / 60, len(workers))
    print(text)
    write_bytes(os.path.join(build_root, "report.txt"), text.encode())
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
