#!/usr/bin/env python3
"""Writes a theory file from sentence texts: make-kvl.py OUT 'a; b; if(a, b)' ['issue; ...'].

The texts go into elementary elements; reading with sentence parsing on turns
them into structure, and ostrel-report prints the rewritten canonical file.
"""
import sys


def element(text):
    return ["<SENTENCE>", "<ELEMENTARYSENTENCE>", text, "</ELEMENTARYSENTENCE>", "</SENTENCE>", ""]


def main():
    out, assumptions = sys.argv[1], sys.argv[2]
    issues = sys.argv[3] if len(sys.argv) > 3 else ""
    lines = ["<KARVEL>", "<THEORY>", ""]
    for t in filter(None, (s.strip() for s in assumptions.split(";"))):
        lines += element(t)
    lines += ["</THEORY>", "<ISSUES>", ""]
    for t in filter(None, (s.strip() for s in issues.split(";"))):
        lines += element(t)
    lines += ["</ISSUES>", "</KARVEL>", ""]
    with open(out, "wb") as f:
        f.write("\r\n".join(lines).encode() + b"\r\n")


if __name__ == "__main__":
    main()
