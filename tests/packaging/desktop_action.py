#!/usr/bin/env python3
"""The desktop entry's action "Run and keep the results", as a desktop
starts it (its Exec unquoted by the Desktop Entry rules): a window run
through pelorin-cli that writes its HTML page, then xdg-open on that page.
Stand-ins for both record what they were given; when the run writes no
page, nothing is opened.

Usage: desktop_action.py DESKTOP_FILE"""

import os
import shlex
import subprocess
import sys
import tempfile


def action_exec(path, action):
    section = None
    for line in open(path, encoding="utf-8"):
        line = line.rstrip("\n")
        if line.startswith("["):
            section = line
        elif section == f"[Desktop Action {action}]" and line.startswith("Exec="):
            return line[len("Exec="):]
    raise SystemExit(f"FAIL: no Exec in [Desktop Action {action}]")


def exec_arguments(value):
    """The Desktop Entry rules: a string's escapes (\\\\ for a backslash),
    then arguments that double quotes group, inside which \\", \\`, \\$ and
    \\\\ stand for the character."""
    text = value.replace("\\\\", "\\")
    args, word, quoted, in_word, k = [], "", False, False, 0
    while k < len(text):
        c = text[k]
        if quoted and c == "\\" and k + 1 < len(text) and text[k + 1] in '"`$\\':
            word += text[k + 1]
            k += 2
            continue
        if c == '"':
            quoted, in_word = not quoted, True
        elif c == " " and not quoted:
            if in_word:
                args.append(word)
            word, in_word = "", False
        else:
            word, in_word = word + c, True
        k += 1
    if in_word:
        args.append(word)
    return args


def run(args, writes_page):
    with tempfile.TemporaryDirectory() as work:
        for name, body in (("pelorin-cli", 'printf "%s\\n" "$@" > "$LOG/cli"\n' +
                            ('[ "$2" = --html ] && echo "<html>" > "$3"\n' if writes_page else "exit 1\n")),
                           ("xdg-open", 'printf "%s\\n" "$@" > "$LOG/open"\n')):
            stub = os.path.join(work, name)
            with open(stub, "w") as f:
                f.write("#!/bin/sh\n" + body)
            os.chmod(stub, 0o755)
        env = dict(os.environ, PATH=work + os.pathsep + os.environ["PATH"], LOG=work, TMPDIR=work)
        subprocess.run(args, env=env, check=False, timeout=30)
        read = lambda name: open(os.path.join(work, name)).read().split("\n")[:-1] if os.path.exists(
            os.path.join(work, name)) else None
        return read("cli"), read("open")


def main():
    args = exec_arguments(action_exec(sys.argv[1], "keep-results"))
    print("Exec:", shlex.join(args))
    cli, opened = run(args, writes_page=True)
    assert cli and cli[:2] == ["--window", "--html"] and len(cli) == 3, f"pelorin-cli was given {cli}"
    page = cli[2]
    assert page.endswith(".html"), f"the page {page} is not an .html file"
    assert opened == [page], f"xdg-open was given {opened}, not {page}"
    cli, opened = run(args, writes_page=False)
    assert opened is None, f"xdg-open was started for a run that wrote no page: {opened}"
    print("PASS: the action runs pelorin-cli --window --html PAGE, then xdg-open PAGE")


main()
