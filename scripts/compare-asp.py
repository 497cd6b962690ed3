#!/usr/bin/env python3
"""Times ostrel-report --interpretations against clingo (Debian's gringo
package) on the benchmark families, whole process each, both listing every
interpretation. Measurement only: nothing here is part of the program.

usage: scripts/compare-asp.py BUILD_DIR [REPEATS] [FAMILY ARGS...]
       scripts/compare-asp.py --summary BUILD_DIR [REPEATS] [FAMILY ARGS...]
  with no family, runs the standard set; e.g. `grid 7` or `rules 200 0.3 1`.
Prints one line per case: family, arguments, interpretations, the best time
of REPEATS runs of clingo listing the models, of clingo only counting them
(-q), and of ours, every output to /dev/null, and whether the counts agree.

With --summary it times (processor time, user plus system, best of
REPEATS) `ostrel-report --summary` against clingo's brave
and cautious reasoning over holds/1 (the union and the intersection of all
answer sets, one run each), and checks that every assumption's and issue's
"justified" and "defeated" agree with them.
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


def facts_of(kvl, ids_out=None):
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
    if ids_out is not None:
        ids_out.update(ids)
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


def best_cpu(cmd, repeats):
    """Best processor time (user + system) of the runs, or None past LIMIT.

    On a shared machine the wall clock mostly measures the other loads."""
    times = []
    for _ in range(repeats):
        process = subprocess.Popen(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        timer = threading.Timer(LIMIT, process.kill)
        timer.start()
        _, status, usage = os.wait4(process.pid, 0)
        process.returncode = status
        timer.cancel()
        if os.WIFSIGNALED(status):
            return None
        times.append(usage.ru_utime + usage.ru_stime)
    return min(times)


def output(cmd):
    return subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=LIMIT).stdout


def seconds(t):
    return "  timeout" if t is None else "%7.3f s" % t


STANDARD = [["grid", str(n)] for n in (5, 6, 7)] + [["pairs", "16"]] + [
    ["rules", str(n), d, "1"] for n in (100, 140, 200) for d in ("0.15", "0.3")
] + [["random", str(n), d, "1"] for n in (140, 200, 300) for d in ("0.05", "0.15", "0.3")] + [
    ["cycle", "1001", "100"], ["chain", "10000"]]


SUMMARY = [["pairs", "20"], ["pairs", "40"], ["random", "200", "0.15", "1"], ["random", "200", "0.3", "1"],
           ["rules", "140", "0.15", "1"], ["rules", "140", "0.3", "1"], ["grid", "7"], ["chain", "10000"],
           ["argument", "2000", "20", "1"], ["argument", "16000", "20", "1"]]


def holds_of(out):
    """The holds/1 atoms of clingo's last answer, or None when unsatisfiable."""
    if b"UNSATISFIABLE" in out:
        return None
    answers = re.findall(rb"Answer: \d+\n(.*)\n", out)
    return {int(k) for k in re.findall(rb"holds\((\d+)\)", answers[-1])} if answers else set()


def summary_agrees(summary, ids, brave, cautious):
    """Whether ours reads as clingo's union (brave) and intersection (cautious)."""
    if brave is None:
        return summary["interpretations"] == "none"
    for entries in (summary["assumptions"], summary["issues"]):
        for entry in entries:
            text = entry["text"] if isinstance(entry["text"], str) else entry["text"]["latin1"]
            for key, t in (("justified", text), ("defeated", "x(" + text + ")")):
                k = ids.get(t)
                want = "none" if k is None or k not in brave else "all" if k in cautious else "some"
                if entry[key] != want:
                    return False
    return True


def summary_main(build, repeats, cases):
    import json
    with tempfile.TemporaryDirectory() as tmp:
        for case in cases:
            kvl = os.path.join(tmp, "t.kvl")
            lp = os.path.join(tmp, "t.lp")
            with open(kvl, "wb") as f:
                subprocess.run([os.path.join(build, "bench", "make-family")] + case, stdout=f, check=True)
            ids = {}
            with open(kvl, encoding="latin-1", newline="") as f:
                program = facts_of(f.read(), ids).replace("#show in/1.", "#show holds/1.")
            with open(lp, "w") as f:
                f.write(program)
            brave_cmd = ["clingo", "--enum-mode=brave", lp]
            cautious_cmd = ["clingo", "--enum-mode=cautious", lp]
            brave_t, cautious_t = best_cpu(brave_cmd, repeats), best_cpu(cautious_cmd, repeats)
            report = [os.path.join(build, "cli", "ostrel-report"), "--summary", kvl]
            ours = best_cpu(report, repeats)
            summary = json.loads(output(report)) if ours is not None else None
            check = ""
            if summary is not None and brave_t is not None and cautious_t is not None:
                brave, cautious = holds_of(output(brave_cmd)), holds_of(output(cautious_cmd))
                check = "agree" if summary_agrees(summary, ids, brave, cautious) else "DIFFER"
            both = None if brave_t is None or cautious_t is None else brave_t + cautious_t
            print("%-8s %-14s %-8s  clingo brave %s  cautious %s  both %s  ours %s  %s" % (
                case[0], " ".join(case[1:]), summary["interpretations"] if summary else "?", seconds(brave_t),
                seconds(cautious_t), seconds(both), seconds(ours), check), flush=True)


def main():
    if sys.argv[1] == "--summary":
        build = sys.argv[2]
        repeats = int(sys.argv[3]) if len(sys.argv) > 3 else 3
        return summary_main(build, repeats, [sys.argv[4:]] if len(sys.argv) > 4 else SUMMARY)
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
