#!/usr/bin/env python3
"""The typed API: tools/pack/qmt.d.ts declares every function of the bridge's ID table (with no
arguments where the script sends an empty object, an argument object where it sends the
caller's) and every event handler, and a typed sample page compiles against it with
tsc --strict."""
import argparse
import os
import re
import subprocess
import sys
import tempfile
import unittest

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, os.pardir)
DECLARATIONS = os.path.join(ROOT, "tools", "pack", "qmt.d.ts")
EVENTS = {"onCloseQuery": 0, "onMainMenuItemClick": 1, "onTrayMenuItemClick": 1, "onTrayIconClick": 0,
          "onNotificationClick": 1}
ARGS = None


def table_rows():
    """(ID, name, takes arguments) of every row of the bridge's function table."""
    with open(os.path.join(ROOT, "src", "bridge", "BridgeFunctions.cpp"), encoding="utf-8") as f:
        text = f.read()
    rows = re.findall(r'\{(\d{5}), u"([\w.]+)", (Empty|Args),', text)
    return [(int(i), name, kind == "Args") for i, name, kind in rows]


def tsc(*files, declarations=DECLARATIONS):
    with tempfile.TemporaryDirectory() as work:
        sources = []
        for name, text in files:
            path = os.path.join(work, name)
            with open(path, "w", encoding="utf-8") as f:
                f.write(text.replace("%DECLARATIONS%", declarations.replace("\\", "/")))
            sources.append(path)
        return subprocess.run([ARGS.tsc, "--strict", "--noEmit", "--target", "es2020", "--lib", "es2020,dom",
                               *sources], capture_output=True, text=True, timeout=120)


def coverage_check():
    """A file that holds each table function and event handler in the type its row calls for."""
    lines = ['/// <reference path="%DECLARATIONS%" />']
    for ident, name, takes_args in table_rows():
        signature = "(args: never) => Promise<unknown>" if takes_args else "() => Promise<unknown>"
        lines.append("const f%d: %s = window.qmt.%s;" % (ident, signature, name))
    for name, arity in EVENTS.items():
        lines.append("const e_%s: (%s) => void = window.qmt.events.%s;" % (name, "x: string" if arity else "", name))
    return "\n".join(lines) + "\n"


class TypedApiTest(unittest.TestCase):
    def test_every_table_function_and_event_is_declared(self):
        rows = table_rows()
        self.assertGreaterEqual(len(rows), 57, "the table's rows were not found")
        result = tsc(("coverage.ts", coverage_check()))
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)

    def test_typed_sample_page_compiles_strictly(self):
        with open(os.path.join(ROOT, "tests", "tools", "typed_sample", "page.ts"), encoding="utf-8") as f:
            sample = f.read()
        sample = re.sub(r'/// <reference path="[^"]*" />', '/// <reference path="%DECLARATIONS%" />', sample)
        result = tsc(("page.ts", sample))
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)

    def test_a_missing_declaration_or_a_wrong_use_fails(self):
        with open(DECLARATIONS, encoding="utf-8") as f:
            text = f.read()
        with tempfile.TemporaryDirectory() as work:
            cut = os.path.join(work, "qmt.d.ts")
            with open(cut, "w", encoding="utf-8") as f:
                f.write(text.replace("        getTempDir(): Promise<string>;\n", ""))
            result = tsc(("coverage.ts", coverage_check()), declarations=cut)
            self.assertNotEqual(result.returncode, 0)
            self.assertIn("getTempDir", result.stdout)
        misuses = {"a missing required argument": "qmt.files.fileExists({});",
                   "an argument to a function that takes none": "qmt.folders.getTempDir({});",
                   "a result used as the wrong type": "qmt.window.getSize().then((b) => b.toUpperCase());",
                   "a misspelt function": "qmt.files.writeFile({filePath: 'x'});"}
        # One compilation: each misuse must be reported on its own line.
        lines = list(misuses.items())
        source = '/// <reference path="%DECLARATIONS%" />\n' + "".join(line + "\n" for _, line in lines)
        result = tsc(("misuse.ts", source))
        reported = {int(n) for n in re.findall(r"misuse\.ts\((\d+),\d+\): error", result.stdout)}
        for number, (label, _) in enumerate(lines, start=2):
            with self.subTest(misuse=label):
                self.assertIn(number, reported, result.stdout)

if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--tsc", required=True)
    ARGS, rest = parser.parse_known_args()
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)
