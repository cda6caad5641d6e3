#!/usr/bin/env python3
"""Checks that every folder includes and links only what its README allows.

A folder is a directory with a README.md; its sources are the files below it
that no deeper folder claims. The README's "May call" line (or section) names
the folders it may call, written as `name/`. A source may include headers of
its own folder and of the folders named; tests and benchmarks (below a
`tests/` or `bench/` directory) are programs, not parts of a library, and are
not checked. The libraries a folder's CMakeLists.txt links (rendo_folder DEPS) must belong to
the same folders. Prints each breach and exits 1 when there is one.
"""
import os
import re
import sys

ROOT = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), ".."))
SKIP = {".git", ".ci", "scripts", "cmake"}


def folders():
    out = {}
    for dirpath, dirnames, filenames in os.walk(ROOT):
        rel = os.path.relpath(dirpath, ROOT).replace(os.sep, "/")
        dirnames[:] = [d for d in dirnames if d not in SKIP and not d.startswith("build") and not d.startswith(".")]
        if rel != "." and "README.md" in filenames:
            out[rel] = os.path.join(dirpath, "README.md")
    return out


def may_call(readme, known):
    text = open(readme, encoding="utf-8").read()
    m = re.search(r"^## May call\s*\n(.*?)(?=^## |\Z)", text, re.S | re.M)
    if m:
        part = m.group(1)
    else:
        m = re.search(r"^May call:(.*?)(?:\n\s*\n|\Z)", text, re.S | re.M)
        if not m:
            return None
        part = m.group(1)
    if "every library of the project" in part:
        return set(known)
    allowed = set()
    for name in re.findall(r"`?([a-z_]+(?:/[a-z_]+)*)/`?", part):
        if name in known:
            allowed.add(name)
    return allowed


def owner(path, known):
    """The folder a path (relative to the root) belongs to: the deepest folder above it."""
    parts = path.split("/")
    for n in range(len(parts), 0, -1):
        cand = "/".join(parts[:n])
        if cand in known:
            return cand
    return None


def main():
    known = folders()
    allowed = {}
    for f, readme in known.items():
        a = may_call(readme, known)
        if a is not None:
            allowed[f] = a
    # Library names of each folder's CMakeLists.txt.
    libs = {}
    deps = {}
    for dirpath, dirnames, filenames in os.walk(ROOT):
        dirnames[:] = [d for d in dirnames if d not in SKIP and not d.startswith("build") and not d.startswith(".")]
        if "CMakeLists.txt" not in filenames:
            continue
        rel = os.path.relpath(dirpath, ROOT).replace(os.sep, "/")
        text = open(os.path.join(dirpath, "CMakeLists.txt"), encoding="utf-8").read()
        for m in re.finditer(r"rendo_folder\(\s*(\w+)(.*?)\)", text, re.S):
            name, body = m.group(1), m.group(2)
            libs[name] = rel
            d = re.search(r"\bDEPS\b(.*?)(?:\bTEST_DEPS\b|\bGUI_TESTS\b|$)", body, re.S)
            deps[name] = re.findall(r"\brendo_\w+", d.group(1)) if d else []
    breaches = []
    include = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
    for dirpath, dirnames, filenames in os.walk(ROOT):
        dirnames[:] = [d for d in dirnames if d not in SKIP and not d.startswith("build") and not d.startswith(".")]
        for fn in filenames:
            if not fn.endswith((".cpp", ".h", ".inc")):
                continue
            rel = os.path.relpath(os.path.join(dirpath, fn), ROOT).replace(os.sep, "/")
            own = owner(rel, known)
            if own is None or own not in allowed:
                continue
            if "/tests/" in "/" + rel or "/bench/" in "/" + rel:
                continue
            ok = allowed[own] | {own}
            text = open(os.path.join(dirpath, fn), encoding="utf-8", errors="replace").read()
            for inc in include.findall(text):
                target = owner(inc, known) if "/" in inc else None
                if target is None or target in ok:
                    continue
                line = text[: text.find(inc)].count("\n") + 1
                breaches.append(f"{rel}:{line}: includes {inc} ({target}/ is not on the May call line of {own}/)")
    for name, folder in libs.items():
        own = owner(folder + "/x", known)
        if own is None or own not in allowed:
            continue
        for dep in deps.get(name, []):
            target = libs.get(dep)
            if target is None:
                continue
            tf = owner(target + "/x", known)
            if tf == own or tf in allowed[own]:
                continue
            breaches.append(f"{folder}/CMakeLists.txt: {name} links {dep} ({tf}/ is not on the May call line of {own}/)")
    for b in breaches:
        print(b)
    if breaches:
        print(f"{len(breaches)} call(s) against the May call lines", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
