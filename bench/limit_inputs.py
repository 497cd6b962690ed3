#!/usr/bin/env python3
"""Writes one input of bench/limits-report.sh: limit_inputs.py FAMILY SIZE OUT.

fallback  one malformed sentence "if(x(a, x(a, ... b)" of SIZE repetitions,
          whose fallbacks would repeat the rest of the text at every level
pairs     SIZE independent mutual attacks: 2^SIZE interpretations
match     "Tweety is a bird", the template "<x> is a bird" and SIZE rules
          that hold it
variables one template of SIZE variables, each used twice, and the text
          that matches it, a sentence too (the text also in OUT.text)
chain     a support chain of SIZE statements
flat      SIZE unrelated statements
"""
import sys


def element(text):
    return ["<SENTENCE>", "<ELEMENTARYSENTENCE>", text, "</ELEMENTARYSENTENCE>", "</SENTENCE>", ""]


def write(out, assumptions):
    lines = ["<KARVEL>", "<THEORY>", ""]
    for t in assumptions:
        lines += element(t)
    lines += ["</THEORY>", "<ISSUES>", "", "</ISSUES>", "</KARVEL>", ""]
    with open(out, "wb") as f:
        f.write("\r\n".join(lines).encode() + b"\r\n")


def main():
    family, size, out = sys.argv[1], int(sys.argv[2]), sys.argv[3]
    if family == "fallback":
        write(out, ["if(" + "x(a," * size + " b)"])
    elif family == "pairs":
        texts = []
        for i in range(size):
            p, q = "p%d" % i, "q%d" % i
            texts += [p, q, "if(%s, x(%s))" % (p, q), "if(%s, x(%s))" % (q, p)]
        write(out, texts)
    elif family == "match":
        write(out, ["Tweety is a bird", "<x> is a bird"] + ["if(<x> is a bird, <x> flies %d)" % i for i in range(size)])
    elif family == "variables":
        names = ["<v%d>" % i for i in range(size)]
        values = ["w%d" % i for i in range(size)]
        text = " ".join(values + values)
        write(out, [text, " ".join(names + names)])
        with open(out + ".text", "w") as f:
            f.write(text)
    elif family == "chain":
        texts = ["s0"]
        for i in range(1, size):
            texts += ["s%d" % i, "if(s%d, s%d)" % (i, i - 1)]
        write(out, texts)
    elif family == "flat":
        write(out, ["statement number %d" % i for i in range(size)])
    else:
        sys.exit("unknown family " + family)


if __name__ == "__main__":
    main()
