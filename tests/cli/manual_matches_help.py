#!/usr/bin/env python3
"""Every option of every pelorin-cli command is in the manual page, in the
command's own part of it, and its entry there begins with the words of the
command's --help; the manual lists no option the command does not take,
and says what each command does in its --help's words.

Usage: manual_matches_help.py PELORIN_CLI MANUAL_PAGE
(a cross build's program starts through PELORIN_EMULATOR)"""

import os
import re
import subprocess
import sys

COMMANDS = ["run", "history", "report", "export", "import", "check"]


def normal(text):
    """Words as a reader sees them, whatever typography man chose."""
    for fancy, plain in (("\u2010", "-"), ("\u2212", "-"), ("\u2018", "'"), ("\u2019", "'"), ("\u201c", '"'),
                         ("\u201d", '"'), ("\u02dc", "~")):
        text = text.replace(fancy, plain)
    return " ".join(text.split()).lower()


def help_of(program, command):
    """The --help's paragraph of what the command does, and its options as
    {names: text}, in their order."""
    args = program + ([] if command == "run" else [command]) + ["--help"]
    text = subprocess.run(args, capture_output=True, text=True, check=True).stdout
    lines = text.splitlines()
    k = 1
    while k < len(lines) and lines[k].startswith(" "):  # the usage goes on
        k += 1
    about = []
    while k < len(lines) and lines[k].strip():
        about.append(lines[k])
        k += 1
    options = {}
    current = None
    for line in lines[k:]:
        m = re.match(r"^  (-\S.*?)(?:  +(\S.*))?$", line)
        if m:
            current = m.group(1)
            options[current] = m.group(2) or ""
        elif current and line.startswith(" " * 22) and line.strip():
            options[current] += " " + line.strip()
        else:
            current = None
    return " ".join(about), options


def manual_parts(page):
    """The rendered manual's text of a run's options (its OPTIONS section)
    and of each command (its part of COMMANDS), as lists of lines."""
    env = dict(os.environ, MANWIDTH="1000")
    text = subprocess.run(["man", "--no-hyphenation", "--no-justification", "-l", page], capture_output=True,
                          text=True, check=True, env=env).stdout
    parts, section, sub = {}, None, None
    description = []
    for line in text.splitlines():
        if re.match(r"^[A-Z][A-Z ]+$", line):
            section, sub = line, None
            continue
        if section == "DESCRIPTION":
            description.append(line)
        if section == "OPTIONS":
            parts.setdefault("run", []).append(line)
        elif section == "COMMANDS":
            m = re.match(r"^   (\S+)$", line)
            if m:
                sub = m.group(1)
            elif sub:
                parts.setdefault(sub, []).append(line)
    return parts, " ".join(description)


def entries(lines, names):
    """The tagged paragraphs of a part: {tag: text}; tags not among `names`
    are kept as they are, to be reported."""
    found = {}
    tag = None
    for line in lines:
        if line.startswith(" " * 7) and not line.startswith(" " * 8) and line[7] == "-":
            body = line[7:]
            tag = body.strip()
            # A tag shorter than the indent has its text on the same line.
            for name in sorted(names, key=len, reverse=True):
                if body == name or body.startswith(name + " "):
                    tag, body = name, body[len(name):]
                    break
            found[tag] = body.strip()
        elif tag and line.startswith(" " * 14) and line.strip():
            found[tag] += " " + line.strip()
        elif line.strip():
            tag = None
    return found


def main():
    program = os.environ.get("PELORIN_EMULATOR", "").split() + [sys.argv[1]]
    parts, description = manual_parts(sys.argv[2])
    failures = 0
    for command in COMMANDS:
        about, options = help_of(program, command)
        if command != "run" and normal(about) not in normal(" ".join(parts.get(command, []))):
            print(f"FAIL: {command}: the manual does not say what it does in its --help's words: {about}")
            failures += 1
        if command == "run" and normal(about) not in normal(description):
            print(f"FAIL: run: DESCRIPTION does not begin with its --help's words: {about}")
            failures += 1
        manual = entries(parts.get(command, []), options)
        for names, text in options.items():
            if names not in manual:
                print(f"FAIL: {command}: {names} is not in the manual")
                failures += 1
            elif not normal(manual[names]).startswith(normal(text)):
                print(f"FAIL: {command}: {names}: the manual says\n    {manual[names]}\n  where --help says\n    {text}")
                failures += 1
        for names in manual:
            if names not in options:
                print(f"FAIL: {command}: the manual lists {names}, which --help does not")
                failures += 1
        print(f"{command}: {len(options)} options")
    if failures:
        sys.exit(1)
    print("PASS: the manual holds every option of every command in the words of --help")


main()
