#!/usr/bin/env python3
"""Times ostrel-report --interpretations against clingo (Debian's gringo
package) on the benchmark families, whole process each, both listing every
interpretation. Measurement only: nothing here is part of the program.

usage: scripts/compare-asp.py BUILD_DIR [REPEATS] [FAMILY ARGS...]
  with no family, runs the standard set; e.g. `grid 7` or `rules 200 0.3 1`.
Prints one line per case: family, arguments, interpretations, the best time
of REPEATS runs of clingo listing the models, of clingo only counting them
(-q), and of ours, every output to /dev/null, and whether the counts agree.
"""
import os
import re
import subprocess
import sys
import tempfile
import threading
import time

ENCODING = """
{ in(A) } :- assumption(A).
holds(A) :- in(A).
holds(H) :- rule(R, H), holds(R), holds(B) : body(R, B).
:- neg(T, N), holds(T), holds(N).
attacked(A) :- assumption(A), neg(A, N), holds(N).
:- assumption(A), not in(A), not attacked(A).
#show in/1.
"""


def parse(t, i=0):
    if t.startswith("x(", i):
        inner, j = parse(t, i + 2)
        return ("x", inner), j + 1
    if t.startswith("if(", i):
        items, j = [], i + 3
        while True:
            s, j = parse(t, j)
            items.append(s)
            while t[j] == " ":
                j += 1
            if t[j] == ",":
                j += 1
                while t[j] == " ":
                    j += 1
                continue
            return ("if", items[:-1], items[-1]), j + 1
    j = i
    while j < len(t) and t[j] not in ",)":
        j += 1
    return ("e", t[i:j].strip()), j


def text(s):
    if s[0] == "e":
        return s[1]
    if s[0] == "x":
        return "x(" + text(s[1]) + ")"
    return "if(" + ", ".join(text(a) for a in s[1]) + ", " + text(s[2]) + ")"


def facts_of(kvl):
    texts = re.findall(r"<ELEMENTARYSENTENCE>\r\n(.*?)\r\n</ELEMENTARYSENTENCE>", kvl)
    ids, facts = {}, []

    def intern(s):
        t = text(s)
        if t in ids:
            return ids[t]
        k = len(ids)
        ids[t] = k
        if s[0] == "x":
            facts.append("neg(%d,%d)." % (intern(s[1]), k))
        if s[0] == "if":
            facts.append("rule(%d,%d)." % (k, intern(s[2])))
            for a in s[1]:
                facts.append("body(%d,%d)." % (k, intern(a)))
        return k

    for t in texts:
        facts.append("assumption(%d)." % intern(parse(t)[0]))
    return "\n".join(facts) + ENCODING


LIMIT = 60


def best(cmd, repeats):
    """Best time of the runs, output to /dev/null, or None past LIMIT.

    Waits blocking, with a timer to kill: a wait with a timeout polls, which
    rounds every time up to the next 50 ms."""
    times = []
    for _ in range(repeats):
        start = time.perf_counter()
        process = subprocess.Popen(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        timer = threading.Timer(LIMIT, process.kill)
        timer.start()
        process.wait()
        timer.cancel()
        elapsed = time.perf_counter() - start
        if elapsed >= LIMIT:
            return None
        times.append(elapsed)
    return min(times)


def output(cmd):
    return subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=LIMIT).stdout


def seconds(t):
    return "  timeout" if t is None else "%7.3f s" % t


STANDARD = [["grid", str(n)] for n in (5, 6, 7)] + [["pairs", "16"]] + [
    ["rules", str(n), d, "1"] for n in (100, 140, 200) for d in ("0.15", "0.3")
] + [["random", str(n), d, "1"] for n in (140, 200, 300) for d in ("0.05", "0.15", "0.3")] + [
    ["cycle", "1001", "100"], ["chain", "10000"]]


def main():
    build = sys.argv[1]
    repeats = int(sys.argv[2]) if len(sys.argv) > 2 else 3
    cases = [sys.argv[3:]] if len(sys.argv) > 3 else STANDARD
    with tempfile.TemporaryDirectory() as tmp:
        for case in cases:
            kvl = os.path.join(tmp, "t.kvl")
            lp = os.path.join(tmp, "t.lp")
            with open(kvl, "wb") as f:
                subprocess.run([os.path.join(build, "bench", "make-family")] + case, stdout=f, check=True)
            with open(kvl, encoding="latin-1", newline="") as f:
                program = facts_of(f.read())
            with open(lp, "w") as f:
                f.write(program)
            listing = best(["clingo", "-n", "0", lp], repeats)
            counting = best(["clingo", "-n", "0", "-q", lp], repeats)
            report = [os.path.join(build, "cli", "ostrel-report"), "--interpretations", kvl]
            ours = best(report, repeats)
            models = re.search(rb"Models\s*:\s*(\d+)", output(["clingo", "-n", "0", "-q", lp])) if counting else None
            models = int(models.group(1)) if models else -1
            count = output(report).count(b"\n") if ours is not None else models
            print("%-7s %-14s %8d  clingo %s  clingo -q %s  ours %s  %s" % (
                case[0], " ".join(case[1:]), count, seconds(listing), seconds(counting), seconds(ours),
                "" if models < 0 or count == models else "COUNT DIFFERS (clingo %d)" % models), flush=True)

if __name__ == "__main__":
    main()
