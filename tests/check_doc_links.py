#!/usr/bin/env python3
"""Checks the documentation a reader follows: every relative link and picture in README.md and
docs/*.md points at a file that exists, and a #section at a heading that exists; every picture
in docs/ is shown somewhere; the README's first 30 lines set the program up.

    check_doc_links.py SOURCE_DIR
"""
import re
import sys
import urllib.parse
from pathlib import Path

# [text](target) and ![alt](target), the target up to a blank or the closing parenthesis; an
# optional title after it is left out.
INLINE = re.compile(r"!?\[(?:[^\]\\]|\\.)*\]\(\s*<?([^)\s>]*)>?(?:\s+\"[^\"]*\")?\s*\)")
# [label]: target
REFERENCE = re.compile(r"^\s{0,3}\[[^\]]+\]:\s*<?(\S+?)>?(?:\s+\"[^\"]*\")?\s*$")
HEADING = re.compile(r"^\s{0,3}(#{1,6})\s+(.*?)\s*#*\s*$")
CODE_SPAN = re.compile(r"`+[^`]*`+")
SCHEME = re.compile(r"^[a-zA-Z][a-zA-Z0-9+.-]*:")


def prose_lines(text):
    """(line number, line) outside fenced and indented code blocks."""
    fenced = False
    previous_blank = True
    in_indented = False
    for number, line in enumerate(text.splitlines(), 1):
        if re.match(r"^\s{0,3}(```|~~~)", line):
            fenced = not fenced
            continue
        if fenced:
            continue
        blank = not line.strip()
        if line.startswith(("    ", "\t")) and (previous_blank or in_indented):
            in_indented = True
            previous_blank = blank
            continue
        if not blank:
            in_indented = False
        previous_blank = blank
        yield number, line


def slug(heading):
    """The anchor a heading gets, as the usual Markdown renderers make it."""
    text = CODE_SPAN.sub(lambda m: m.group(0).strip("`"), heading)
    text = re.sub(r"\[([^\]]*)\]\([^)]*\)", r"\1", text)
    text = re.sub(r"[^\w\- ]", "", text.lower())
    return text.replace(" ", "-")


def anchors(path):
    found = set()
    for _, line in prose_lines(path.read_text(encoding="utf-8")):
        match = HEADING.match(line)
        if not match:
            continue
        base = slug(match.group(2))
        name, count = base, 1
        while name in found:
            name, count = f"{base}-{count}", count + 1
        found.add(name)
    return found


def main():
    root = Path(sys.argv[1]).resolve()
    documents = [root / "README.md"] + sorted((root / "docs").glob("*.md"))
    problems = []
    shown = set()
    count = 0
    for document in documents:
        for number, line in prose_lines(document.read_text(encoding="utf-8")):
            prose = CODE_SPAN.sub("", line)
            targets = [m.group(1) for m in INLINE.finditer(prose)]
            reference = REFERENCE.match(prose)
            if reference:
                targets.append(reference.group(1))
            for target in targets:
                where = f"{document.relative_to(root)}:{number}"
                if not target:
                    problems.append(f"{where}: empty link")
                    continue
                if SCHEME.match(target) or target.startswith("//"):
                    continue
                count += 1
                path_part, _, anchor = target.partition("#")
                path_part = urllib.parse.unquote(path_part)
                if path_part.startswith("/"):
                    problems.append(f"{where}: {target}: an absolute path, not relative")
                    continue
                resolved = (document.parent / path_part).resolve() if path_part else document
                if not resolved.exists():
                    problems.append(f"{where}: {target}: no such file")
                    continue
                shown.add(resolved)
                if anchor and resolved.suffix == ".md":
                    if urllib.parse.unquote(anchor) not in anchors(resolved):
                        problems.append(f"{where}: {target}: no heading #{anchor}")

    for picture in sorted((root / "docs").glob("*.png")):
        if picture.resolve() not in shown:
            problems.append(f"docs/{picture.name}: shown in no document")

    head = "\n".join((root / "README.md").read_text(encoding="utf-8").splitlines()[:30])
    for command in ("make run", "make test"):
        if command not in head:
            problems.append(f"README.md: '{command}' is not within the first 30 lines")

    for problem in problems:
        print(problem)
    if problems:
        return 1
    print(f"{count} links in {len(documents)} documents, all resolve")
    return 0


if __name__ == "__main__":
    sys.exit(main())
