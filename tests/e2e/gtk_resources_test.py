#!/usr/bin/env python3
"""Web apps' files in the Linux runtime's real engine (WebKitGTK under X), as a browser serves
them: a packed app (resources_app/ plus files made here) loads files whose names hold accents,
blanks, "+" and "&" through a stylesheet link, a followed link, <img>, fetch with
encodeURIComponent and a CSS url() font; streams a WebAssembly module; gets 404 for a missing file,
a length, and 206 with the right bytes for a Range request; plays a VP8/Opus WebM in <video>
(seeking too), <audio> and new Audio() past one second. It reports as its document title. Then
two downloads ask for their target: one saved where the dialog says, one cancelled, which leaves
nothing. With AllowDebug=1 the page's console.log and an uncaught error reach standard error."""
import json
import os
import re
import shutil
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
from gtk_browser_test import png  # noqa: E402
from gtk_startup_test import Display, keys, type_text, wait_for, windows  # noqa: E402

APP_ID = "org.velmora.e2e.resources"
FIXTURE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "resources_app")
FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
PDF = b"%PDF-1.4 from the payload\n"

# (module (func (export "add") (param i32 i32) (result i32) local.get 0 local.get 1 i32.add))
ADD_WASM = bytes([
    0x00, 0x61, 0x73, 0x6d, 0x01, 0x00, 0x00, 0x00,              # magic, version 1
    0x01, 0x07, 0x01, 0x60, 0x02, 0x7f, 0x7f, 0x01, 0x7f,        # type: (i32 i32) -> i32
    0x03, 0x02, 0x01, 0x00,                                      # function 0 has type 0
    0x07, 0x07, 0x01, 0x03, 0x61, 0x64, 0x64, 0x00, 0x00,        # export "add" = function 0
    0x0a, 0x09, 0x01, 0x07, 0x00, 0x20, 0x00, 0x20, 0x01, 0x6a, 0x0b,  # body
])


def gst(*pipeline):
    subprocess.run(["gst-launch-1.0", "-q", *pipeline], check=True, capture_output=True, timeout=60)


def webm_media(folder):
    """Three seconds of VP8 video with Opus sound, and three of Opus sound alone."""
    video, audio = os.path.join(folder, "clip.webm"), os.path.join(folder, "sound.webm")
    gst("webmmux", "name=mux", "!", "filesink", "location=" + video,
        "videotestsrc", "num-buffers=90", "!", "video/x-raw,width=160,height=120,framerate=30/1", "!",
        "vp8enc", "deadline=1", "!", "mux.",
        "audiotestsrc", "num-buffers=150", "!", "audio/x-raw,rate=48000,channels=1", "!", "audioconvert", "!",
        "opusenc", "!", "mux.")
    gst("audiotestsrc", "num-buffers=150", "!", "audio/x-raw,rate=48000,channels=1", "!", "audioconvert", "!",
        "opusenc", "!", "webmmux", "!", "filesink", "location=" + audio)
    with open(video, "rb") as v, open(audio, "rb") as a:
        return v.read(), a.read()


def app_files(workdir):
    files = {}
    for name in os.listdir(FIXTURE):
        with open(os.path.join(FIXTURE, name), "rb") as f:
            files[name] = f.read()
    with open(FONT, "rb") as f:
        font = f.read()
    video, audio = webm_media(workdir)
    files.update({
        "styles/thé & co+.css": "#styled { color: rgb(1, 2, 3); }\n"
                                "@font-face { font-family: Accent; src: url('../fonts/police ç+&1.ttf'); }\n",
        "fonts/police ç+&1.ttf": font,
        "img/café.png": png(24, 16, (200, 30, 30)),
        "img/a b+c&d.png": png(8, 4, (30, 200, 30)),
        "pages/séance 2.html": "<!doctype html><script>parent.postMessage('followed', '*');</script>",
        "data/naïve&co+1.json": json.dumps({"word": "naïve"}),
        "data/bytes.bin": bytes(range(256)) * 4,
        "wasm/add.wasm": ADD_WASM,
        "media/clip vidéo.webm": video,
        "media/son+1.webm": audio,
        "docs/rapport été.pdf": PDF,
    })
    return files


class ResourcesTest(unittest.TestCase):
    def setUp(self):
        Display.current.ensure_window_manager()
        self.workdir = harness.Workdir()
        self.dir = self.workdir.__enter__()
        self.home = os.path.join(self.dir, "home")
        os.makedirs(os.path.join(self.home, "Downloads"))
        with open(os.path.join(self.home, "user-dirs.dirs"), "w") as f:
            f.write('XDG_DOWNLOAD_DIR="$HOME/Downloads"\n')
        self.env = harness.gtk_app_env(self.dir, HOME=self.home, XDG_CONFIG_HOME=self.home,
                                       XDG_DATA_HOME=os.path.join(self.home, "data"),
                                       XDG_CACHE_HOME=os.path.join(self.home, "cache"))
        self.proc = None

    def tearDown(self):
        if self.proc is not None:
            harness.stop(self.proc)
            self.proc.stdout.close()
            self.proc.stderr.close()
        self.workdir.__exit__(None, None, None)

    def files_under(self, folder):
        return sorted(os.path.relpath(os.path.join(root, name), folder)
                      for root, _, names in os.walk(folder) for name in names)

    def save_dialog(self):
        return wait_for(lambda: windows(self.proc, "^Save File$"), 30)

    def test_app_files_media_downloads_and_console(self):
        ini = "[App]\nID=%s\nName=Resources\nDirName=app\nDynamicAppTitle=1\nAllowDebug=1\n" % APP_ID
        exe = harness.pack_app(self.dir, ini, app_files(self.dir))
        self.proc = harness.start(exe, env=self.env)
        found = {}

        def reported():
            for wid in windows(self.proc):
                name = harness.window_name(wid)
                if name.startswith("RESULT "):
                    found["result"], found["wid"] = json.loads(name[len("RESULT "):]), wid
                    return True
            return self.proc.poll() is not None

        wait_for(reported, 120)
        self.assertIn("result", found, "the page never reported")
        harness.screenshot(found["wid"], "gtk_resources_page")
        played = {"playing": True, "time": True, "duration": 3}
        self.assertEqual(found["result"], {
            "css": "rgb(1, 2, 3)",
            "font": "loaded",
            "img": "24x16",
            "imgMixed": "8x4",
            "link": "followed",
            "fetch": "naïve",
            "wasm": 5,
            "missing": [404, False, 0],
            "length": [200, "1024", 1024],
            "range": [206, "bytes 10-19/1024", list(range(10, 20))],
            "video": {**played, "seeked": True},
            "audio": played,
            "newAudio": played,
        })

        # A payload file through a link with a download attribute: the dialog asks (in the
        # downloads folder, with the name the page gave); the test answers with a path of its own.
        keys(found["wid"], "s")
        dialog = self.save_dialog()
        self.assertTrue(dialog, "the first download never asked for its target")
        harness.screenshot(dialog[0], "gtk_resources_save_dialog")
        target = os.path.join(self.dir, "saved", "report.pdf")
        os.makedirs(os.path.dirname(target))
        keys(dialog[0], "ctrl+a")
        type_text(dialog[0], target)
        keys(dialog[0], "Return")
        self.assertTrue(wait_for(lambda: os.path.isfile(target) and os.path.getsize(target) == len(PDF), 30),
                        "the download never reached %s" % target)
        with open(target, "rb") as f:
            self.assertEqual(f.read(), PDF)
        wait_for(lambda: not windows(self.proc, "^Save File$"), 10)

        # The second (a blob, as a PDF viewer's Save makes) is cancelled: nothing is written.
        before = self.files_under(self.dir)
        keys(found["wid"], "d")
        dialog = self.save_dialog()
        self.assertTrue(dialog, "the second download never asked for its target")
        keys(dialog[0], "Escape")
        self.assertTrue(wait_for(lambda: not windows(self.proc, "^Save File$"), 10), "the dialog stayed")
        time.sleep(1.0)
        # (The engine's caches and storage may grow meanwhile.)
        engine = ("home/cache/", "home/.cache/", "home/data/")
        self.assertEqual([f for f in self.files_under(self.dir) if f not in before and not f.startswith(engine)], [])
        self.assertEqual(os.listdir(os.path.join(self.home, "Downloads")), [])

        harness.stop(self.proc)
        stderr = self.proc.stderr.read().decode(errors="replace")
        self.assertRegex(stderr, r"(?m)^qmt:///app\.js:\d+: console\.log: x$")
        self.assertRegex(stderr, r"(?m)^qmt:///app\.js:\d+: console\.error: Uncaught Error: boom$")


def main():
    if shutil.which("gst-launch-1.0") is None:
        print("gst-launch-1.0 is missing (scripts/setup-debian.sh installs it)")
        sys.exit(1)
    with Display():
        sys.exit(harness.run_tests())


if __name__ == "__main__":
    main()
