#!/usr/bin/env python3
"""velmora-pack end to end: build, list and cat, and every refusal, checked with real peers."""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import unittest
import zipfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, "support"))
from malformed_payloads import (bomb_archive, end_record_outside, info_zip_archive, plain_archive,  # noqa: E402
                                sizes_forged, truncated)

PASSWORD = b"t7fqw2hbz5mx8cgpl1vr6ynd0ska3je9xuqa"
ARGS = None

INI = "[App]\nID=com.example.packtest\nName=Pack Test\nDirName=app\n"
APP_FILES = {
    "index.html": b"<!doctype html><title>t</title><script src='js/main.js'></script>",
    "js/main.js": b"console.log('hi');\n",
    "img/my pic.bin": bytes(range(256)) * 4 + b"\r\n\n\r",  # binary, with newline bytes
    "css/empty.css": b"",
}
ROOT_FILES = {"qmt.ini": INI.encode(), "qmt-webviewjs": b"window.started = true;"}


def host(path):
    return ARGS.path_prefix + str(path)


def pack(*args):
    cmd = ([ARGS.emulator] if ARGS.emulator else []) + [ARGS.pack] + [str(a) for a in args]
    return subprocess.run(cmd, capture_output=True, timeout=120)


def write_tree(root, files):
    for name, data in files.items():
        path = os.path.join(root, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)


class PackTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="velmora-pack-")
        self.app = os.path.join(self.dir, "myapp")
        write_tree(self.app, {**APP_FILES, **ROOT_FILES})
        self.runtime = os.path.join(self.dir, os.path.basename(ARGS.runtime))
        shutil.copy(ARGS.runtime, self.runtime)
        self.out = os.path.join(self.dir, "out", "packed" + os.path.splitext(ARGS.runtime)[1])
        os.makedirs(os.path.dirname(self.out))

    def tearDown(self):
        shutil.rmtree(self.dir, ignore_errors=True)

    def build(self, *extra, app=None, out=None):
        return pack("build", host(app or self.app), "-o", host(out or self.out),
                    "--runtime", host(self.runtime), *extra)

    def payload(self, exe):
        with open(exe, "rb") as f:
            data = f.read()
        with open(self.runtime, "rb") as f:
            image = len(f.read())
        self.assertEqual(data[:image], open(self.runtime, "rb").read())
        path = os.path.join(self.dir, "payload.zip")
        with open(path, "wb") as f:
            f.write(data[image:])
        return path

    def assertRefused(self, result, needle):
        self.assertNotEqual(result.returncode, 0, result.stdout)
        err = result.stderr.decode(errors="replace").strip()
        self.assertTrue(err.startswith("velmora-pack:"), err)
        self.assertIn(needle, err)

    def test_build_reads_back_with_info_zip_and_python(self):
        # Files last written long before packing must read back too (the encryption check byte).
        for root, _, names in os.walk(self.app):
            for name in names:
                os.utime(os.path.join(root, name), (978307200, 978307200))
        result = self.build()
        self.assertEqual(result.returncode, 0, result.stderr)
        payload = self.payload(self.out)

        expected = {"qmt.ini": ROOT_FILES["qmt.ini"], "qmt-webviewjs": ROOT_FILES["qmt-webviewjs"]}
        expected.update({"app/" + k: v for k, v in APP_FILES.items()})
        with zipfile.ZipFile(payload) as z:
            names = [i.filename for i in z.infolist()]
            for info in z.infolist():
                with self.subTest(entry=info.filename):
                    self.assertEqual(info.compress_type, zipfile.ZIP_STORED)
                    if not info.is_dir():
                        self.assertTrue(info.flag_bits & 0x1, "entry must be encrypted")
                        self.assertEqual(z.read(info, pwd=PASSWORD), expected[info.filename])
            self.assertIn("app/", names)
            self.assertEqual(sorted(n for n in names if not n.endswith("/")), sorted(expected))

        target = os.path.join(self.dir, "unzipped")
        unzip = subprocess.run(["unzip", "-P", PASSWORD.decode(), "-q", "-d", target, payload],
                               capture_output=True)
        self.assertEqual(unzip.returncode, 0, unzip.stderr)
        for name, data in expected.items():
            with open(os.path.join(target, name), "rb") as f:
                self.assertEqual(f.read(), data, name)

    def test_list_and_cat_use_the_payload_reader(self):
        self.assertEqual(self.build().returncode, 0)
        listing = pack("list", host(self.out))
        self.assertEqual(listing.returncode, 0, listing.stderr)
        rows = [line.split(None, 1) for line in listing.stdout.decode().splitlines()]
        sizes = {name: int(size) for size, name in rows}
        self.assertEqual(sizes["app/img/my pic.bin"], len(APP_FILES["img/my pic.bin"]))
        self.assertEqual(sizes["app/css/empty.css"], 0)
        for entry, data in [("app/img/my pic.bin", APP_FILES["img/my pic.bin"]),
                            ("APP/JS/MAIN.JS", APP_FILES["js/main.js"]),
                            ("app/css/empty.css", b"")]:
            with self.subTest(entry=entry):
                cat = pack("cat", host(self.out), entry)
                self.assertEqual(cat.returncode, 0, cat.stderr)
                self.assertEqual(cat.stdout, data)

    def test_ini_option_and_replace(self):
        other_ini = os.path.join(self.dir, "other.ini")
        with open(other_ini, "w") as f:
            f.write(INI.replace("DirName=app", "DirName=web"))
        self.assertEqual(self.build().returncode, 0)
        # A runtime that already carries a payload is refused, and stripped with --replace.
        shutil.copy(self.out, self.runtime + ".packed")
        self.runtime += ".packed"
        second = os.path.join(self.dir, "second")
        self.assertRefused(self.build(out=second), "already carries a payload")
        self.assertFalse(os.path.exists(second))
        result = self.build("--replace", "--ini", host(other_ini), out=second)
        self.assertEqual(result.returncode, 0, result.stderr)
        names = pack("list", host(second)).stdout.decode()
        self.assertIn("web/index.html", names)
        self.assertNotIn("app/", names)
        self.assertEqual(pack("cat", host(second), "qmt.ini").stdout, open(other_ini, "rb").read())

    def test_refusals_leave_no_output(self):
        bad_inis = {"no ID": "[App]\nName=n\nDirName=d\n", "empty Name": "[App]\nID=i\nName=\nDirName=d\n",
                    "no DirName": "[App]\nID=i\nName=n\n", "no section": "ID=i\nName=n\nDirName=d\n",
                    "ID ..": "[App]\nID=..\nName=n\nDirName=d\n", "ID with a slash": "[App]\nID=a/b\nName=n\nDirName=d\n",
                    "blank ID": "[App]\nID= \t\nName=n\nDirName=d\n"}
        for label, text in bad_inis.items():
            with self.subTest(ini=label):
                with open(os.path.join(self.app, "qmt.ini"), "w") as f:
                    f.write(text)
                self.assertRefused(self.build(), "qmt.ini")
                self.assertFalse(os.path.exists(self.out))
        os.remove(os.path.join(self.app, "qmt.ini"))
        self.assertRefused(self.build(), "not found")
        self.assertRefused(self.build(app=os.path.join(self.dir, "nothing")), "not found")
        write_tree(self.app, ROOT_FILES)
        unwritable = os.path.join(self.dir, "no-such-dir", "out")
        self.assertRefused(self.build(out=unwritable), "cannot write")
        self.assertEqual(os.listdir(os.path.join(self.dir)).count("no-such-dir"), 0)
        self.assertEqual(os.listdir(os.path.dirname(self.out)), [])

    def test_list_and_cat_refuse_what_they_cannot_read(self):
        garbage = os.path.join(self.dir, "garbage" + os.path.splitext(self.runtime)[1])
        with open(garbage, "wb") as f:
            f.write(open(self.runtime, "rb").read() + b"this is not a zip archive")
        cases = [(("list", host(self.runtime)), "carries no payload"),
                 (("list", host(garbage)), "not a ZIP archive"),
                 (("cat", host(garbage), "qmt.ini"), "not a ZIP archive"),
                 (("list", host(os.path.join(self.dir, "missing"))), "cannot read"),
                 (("list", host(os.path.join(self.app, "index.html"))), "not an executable")]
        for args, needle in cases:
            with self.subTest(args=args):
                self.assertRefused(pack(*args), needle)
        self.assertEqual(self.build().returncode, 0)
        self.assertRefused(pack("cat", host(self.out), "app\\index.html"), "no entry")

    def listed(self, exe):
        listing = pack("list", host(exe))
        self.assertEqual(listing.returncode, 0, listing.stderr)
        return {line.split(None, 1)[1] for line in listing.stdout.decode().splitlines()}

    def test_real_project_folder_rules_links_and_warnings(self):
        write_tree(self.app, {
            ".git/HEAD": b"ref: refs/heads/main\n", ".git/objects/ab/cdef": b"x", ".DS_Store": b"x",
            "node_modules/.cache/big.bin": b"x", "node_modules/lib/index.js": b"lib", ".env": b"SECRET=1",
            ".index.html.swp": b"x", "js/main.js~": b"x", "sub/.env": b"x", "drafts/a.html": b"a",
            "drafts/keep.html": b"k", "build/out.map": b"m", "docs/notes.md": b"n", "logs/a.log": b"l",
            ".velmoraignore": b"# comments and blank lines add nothing\n\ndrafts/*\n!drafts/keep.html\n"
                              b"*.map\n/logs/\n",
        })
        outside = os.path.join(self.dir, "outside")
        write_tree(outside, {"secret.txt": b"not ours", "dir/inner.txt": b"not ours"})
        links = {"leak.txt": os.path.join(outside, "secret.txt"), "leakdir": os.path.join(outside, "dir"),
                 "alias.js": "js/main.js", "jsdir": "js", "loop": ".", "dangling": "nothing-here"}
        # Wine shows the host's links as the files they point to: links are checked natively only.
        if ARGS.emulator:
            links = {}
        for name, target in links.items():
            os.symlink(target, os.path.join(self.app, name))
        with open(os.path.join(self.app, "qmt.ini"), "w") as f:
            f.write(INI + "IndexHtml=start.html?x=1\n")
        result = self.build("--exclude", "docs/", "--exclude", "*.log")
        self.assertEqual(result.returncode, 0, result.stderr)
        names = self.listed(self.out)
        for packed in ["app/index.html", "app/node_modules/lib/index.js", "app/drafts/keep.html", "app/js/main.js",
                       "qmt-webviewjs"] + (["app/alias.js", "app/jsdir/main.js"] if links else []):
            self.assertIn(packed, names)
        for left_out in [".git/", ".DS_Store", "node_modules/.cache/", ".env", ".index.html.swp", "js/main.js~",
                         "sub/.env", "drafts/a.html", "build/out.map", "docs/", "logs/", ".velmoraignore",
                         "leak.txt", "leakdir/", "dangling"]:
            self.assertNotIn("app/" + left_out, names)
        self.assertFalse(any(n.startswith("app/loop/") for n in names), names)
        self.assertFalse(any("inner.txt" in n or "secret" in n for n in names), names)
        err = result.stderr.decode(errors="replace").strip().splitlines()
        self.assertTrue(all(line.startswith("velmora-pack: warning: ") for line in err), err)
        link_warnings = ["'leak.txt': a link out of the app folder", "'leakdir': a link out of the app folder",
                         "'dangling': a link to nothing", "'loop': a link back into a folder"]
        for needle in (link_warnings if links else []) + ["IndexHtml 'start.html?x=1' names no packed file"]:
            self.assertTrue(any(needle in line for line in err), (needle, err))
        # One summary line: files, bytes in, bytes out, time.
        summary = result.stdout.decode().strip().splitlines()[-1]
        self.assertRegex(summary, r": \d+ files, \d+ bytes in, \d+ bytes out \(stored payload, .*\), [\d.]+ s$")

        # A start page that is packed gets no warning.
        write_tree(self.app, {"start.html": b"<p>start"})
        again = self.build()
        self.assertEqual(again.returncode, 0, again.stderr)
        self.assertNotIn(b"IndexHtml", again.stderr)

    def test_compress_deflates_what_gains_and_stays_encrypted(self):
        text = b"".join(b"line %d of a script that compresses well\n" % i for i in range(4000))
        image = os.urandom(20000)
        write_tree(self.app, {"js/big.js": text, "img/photo.png": image})
        result = self.build("--compress")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertIn(b"deflated payload", result.stdout)
        with zipfile.ZipFile(self.payload(self.out)) as z:
            big, photo = z.getinfo("app/js/big.js"), z.getinfo("app/img/photo.png")
            self.assertEqual(big.compress_type, zipfile.ZIP_DEFLATED)
            self.assertLess(big.compress_size, len(text) // 10)
            self.assertEqual(photo.compress_type, zipfile.ZIP_STORED)
            for info in (big, photo):
                self.assertTrue(info.flag_bits & 0x1, "entry must be encrypted")
            self.assertEqual(z.read(big, pwd=PASSWORD), text)
        for entry, data in [("app/js/big.js", text), ("app/img/photo.png", image)]:
            cat = pack("cat", host(self.out), entry)
            self.assertEqual((cat.returncode, cat.stdout), (0, data), cat.stderr)

    def test_runtime_found_beside_the_tool_or_in_its_build_tree(self):
        plain = pack("build", host(self.app), "-o", host(self.out))
        self.assertEqual(plain.returncode, 0, plain.stderr)
        self.assertIn(b"(the build tree of velmora-pack)", plain.stdout)
        tool_dir = os.path.join(self.dir, "installed")
        os.makedirs(tool_dir)
        tool = shutil.copy(ARGS.pack, tool_dir)
        shutil.copy(ARGS.runtime, tool_dir)
        run = lambda *a: subprocess.run(([ARGS.emulator] if ARGS.emulator else []) + [tool] + list(a),
                                        capture_output=True, timeout=120)
        beside = run("build", host(self.app), "-o", host(self.out + "2"))
        self.assertEqual(beside.returncode, 0, beside.stderr)
        self.assertIn(b"(beside velmora-pack)", beside.stdout)
        os.remove(os.path.join(tool_dir, os.path.basename(ARGS.runtime)))
        missing = run("build", host(self.app), "-o", host(self.out + "3"))
        self.assertRefused(missing, "name one with --runtime")
        self.assertEqual(len(missing.stderr.decode().strip().splitlines()), 1)

    def test_packing_memory_is_bounded_by_an_entry_not_the_app(self):
        if ARGS.emulator:
            self.skipTest("the memory of a process under Wine says nothing about ours")
        small = run_measured(pack_command("build", host(self.app), "-o", host(self.out), "--runtime",
                                          host(self.runtime)))[1]
        write_tree(self.app, {"media/part%d.bin" % i: os.urandom(16 * 2**20) for i in range(3)})
        result, rss = run_measured(pack_command("build", host(self.app), "-o", host(self.out), "--runtime",
                                                host(self.runtime)))
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertLess(rss - small, 16 * 2**20, "packing 48 MiB took %d KiB more" % ((rss - small) // 1024))
        cat = pack("cat", host(self.out), "app/media/part1.bin")
        self.assertEqual(cat.stdout, open(os.path.join(self.app, "media/part1.bin"), "rb").read())

    def test_malformed_payloads_get_one_line_answers_in_bounded_memory(self):
        self.assertEqual(self.build().returncode, 0)
        good = open(self.out, "rb").read()
        image = len(open(self.runtime, "rb").read())
        runtime, payload = good[:image], good[image:]
        cases = {
            "truncated archive": (truncated(payload), "not a ZIP archive"),
            "end record pointing outside the file": (end_record_outside(payload), "not a ZIP archive"),
            "entry sizes larger than the file": (sizes_forged(payload), "cannot be read"),
            "duplicate names": (plain_archive([("qmt.ini", INI), ("qmt.ini", "[App]\nID=second\n"),
                                               ("app/index.html", "x")]), None),
            "names with .., / and \\ at the start": (plain_archive([("../evil.txt", "e"), ("/abs.txt", "a"),
                                                                     ("\\back.txt", "b"), ("qmt.ini", INI)]), None),
            "wrong password": (info_zip_archive(self.dir, INI, b"another-password"), "cannot be read"),
            "deflate bomb": (bomb_archive(INI), None),
        }
        measured = not ARGS.emulator  # the memory of a process under Wine says nothing about ours
        baseline = run_measured(pack_command("list", host(self.out)))[1] if measured else 0
        for label, (archive, refusal) in cases.items():
            with self.subTest(payload=label):
                exe = os.path.join(self.dir, "broken" + os.path.splitext(self.runtime)[1])
                with open(exe, "wb") as f:
                    f.write(runtime + archive)
                for args in (("list", host(exe)), ("cat", host(exe), "qmt.ini"), ("cat", host(exe), "app/bomb.bin")):
                    result, rss = run_measured(pack_command(*args))
                    self.assertGreaterEqual(result.returncode, 0, "%s ended by a signal" % (args,))
                    err = result.stderr.decode(errors="replace").strip()
                    self.assertNotIn("Sanitizer", err)
                    if result.returncode != 0:
                        self.assertEqual(len(err.splitlines()), 1, err)
                        self.assertTrue(err.startswith("velmora-pack:"), err)
                    if refusal and args[0] == "cat" and args[2] == "qmt.ini":
                        self.assertIn(refusal, err)
                    if measured:
                        # A small multiple of the file over what listing a good payload takes.
                        self.assertLess(rss - baseline, 4 * len(runtime + archive) + 32 * 2**20,
                                        "%s took %d KiB" % (args, rss // 1024))
                if label == "deflate bomb":
                    self.assertEqual(result.returncode, 0, err)  # its 200 MiB came out piece by piece
                    self.assertEqual(result.stdout_size, 200 * 2**20)


def pack_command(*args):
    return ([ARGS.emulator] if ARGS.emulator else []) + [ARGS.pack] + [str(a) for a in args]


class Measured:
    def __init__(self, returncode, stderr, stdout_size):
        self.returncode, self.stderr, self.stdout_size = returncode, stderr, stdout_size


def run_measured(cmd):
    """Runs cmd with standard output counted, not kept; the result and the child's peak memory in
    bytes (0 where the platform does not tell)."""
    proc = subprocess.Popen(cmd, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    size = 0
    while True:
        chunk = proc.stdout.read(1 << 20)
        if not chunk:
            break
        size += len(chunk)
    err = proc.stderr.read()
    _, status, usage = os.wait4(proc.pid, 0)
    proc.returncode = os.waitstatus_to_exitcode(status)
    return Measured(proc.returncode, err, size), usage.ru_maxrss * 1024


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--pack", required=True)
    parser.add_argument("--runtime", required=True)
    parser.add_argument("--emulator", default="")
    parser.add_argument("--path-prefix", default="")
    ARGS, rest = parser.parse_known_args()
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)
