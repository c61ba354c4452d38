#!/usr/bin/env python3
"""Velmora against a bare WebKitGTK program of ours (velmora_bare_webkit: same page, same qmt:///
scheme, a minimal bridge), in alternating runs under a private Xvfb. Prints medians and ratios:
exec->page loaded for payloads of several sizes, the UI process's RSS and the PSS of the whole
process tree after load, bridge round trips (mean, p99, calls per second, 1,000 in flight) and
resource throughput (500 small files, one 20 MB file). Figures, not pass/fail: not run in CI.

    python3 bench/run.py [--build build/linux-release] [--pairs 8] [--sizes 1,50,200]
                         [--also OTHER_RUNTIME ...]

--also packs the same apps with further runtimes (an older build, say) for before/after columns.
"""
import argparse
import json
import os
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), os.pardir))


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def make_app(folder, mode, payload_mb):
    """The bench page, 500 small files and a 20 MB one, padded with an entry that is never read
    to about payload_mb megabytes."""
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    page = "full.html" if mode == "full" else "index.html"  # the page tells its mode by its name
    shutil.copy(os.path.join(ROOT, "bench", "page", "index.html"), os.path.join(folder, page))
    for i in range(500):
        write(os.path.join(folder, "small", "%d.txt" % i), (b"%04d" % i) * 256)
    used = 500 * 1024
    if mode == "full":
        write(os.path.join(folder, "big.bin"), os.urandom(20 * 10**6))
        used += 20 * 10**6
    filler = max(payload_mb * 10**6 - used, 0)
    if filler:
        write(os.path.join(folder, "filler.bin"), os.urandom(filler))
    ini = ("[App]\nID=dev.velmora.bench\nName=Velmora bench\nDirName=app\nIndexHtml=%s\n"
           "DynamicAppTitle=1\nAllowInstances=1\nWidth=900\nHeight=640\n" % page)
    write(os.path.join(folder, "qmt.ini"), ini.encode())


def descendants(pid):
    children = {}
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                with open("/proc/%s/stat" % entry) as f:
                    ppid = int(f.read().rsplit(")", 1)[1].split()[1])
                children.setdefault(ppid, []).append(int(entry))
            except OSError:
                pass
    found, todo = [], [pid]
    while todo:
        p = todo.pop()
        found.append(p)
        todo.extend(children.get(p, []))
    return found


def memory_kib(pid, field):
    try:
        with open("/proc/%d/smaps_rollup" % pid) as f:
            for line in f:
                if line.startswith(field + ":"):
                    return int(line.split()[1])
    except OSError:
        pass
    return 0


def run_once(command, env, timeout=60):
    started = time.time()
    proc = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                            start_new_session=True)
    report, deadline = None, started + timeout
    while time.time() < deadline and report is None:
        out = subprocess.run(["xdotool", "search", "--all", "--pid", str(proc.pid), "--name", "^bench:", "getwindowname"],
                             capture_output=True, text=True, env=env).stdout.strip()
        if out.startswith("bench:"):
            report = json.loads(out.splitlines()[0][len("bench:"):])
        else:
            time.sleep(0.02)
    if report is not None and "error" in report:
        raise RuntimeError("%s: %s" % (command[0], report["error"]))
    if report is not None:
        time.sleep(0.3)  # settled
        tree = descendants(proc.pid)
        report["pssMiB"] = sum(memory_kib(p, "Pss") for p in tree) / 1024
        report["uiRssMiB"] = memory_kib(proc.pid, "Rss") / 1024
        report["uiPssMiB"] = memory_kib(proc.pid, "Pss") / 1024
        report["execToLoadMs"] = report["loaded"] - started * 1000
    os.killpg(proc.pid, signal.SIGTERM)
    try:
        proc.wait(10)
    except subprocess.TimeoutExpired:
        os.killpg(proc.pid, signal.SIGKILL)
        proc.wait()
    if report is None:
        raise RuntimeError("no report from %s" % command[0])
    return report


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default=os.path.join(ROOT, "build", "linux-release"))
    parser.add_argument("--pairs", type=int, default=8)
    parser.add_argument("--sizes", default="1,50,200")
    parser.add_argument("--also", action="append", default=[], help="a further runtime to pack and measure")
    parser.add_argument("--display", default="")
    args = parser.parse_args()
    pack = os.path.join(args.build, "tools", "pack", "velmora-pack")
    runtime = os.path.join(args.build, "src", "VelmoraRuntime")
    bare = os.path.join(args.build, "bench", "velmora_bare_webkit")
    work = os.path.join(ROOT, "build", "bench")
    os.makedirs(work, exist_ok=True)

    env = dict(os.environ, NO_AT_BRIDGE="1")
    state = tempfile.mkdtemp(prefix="velmora-bench-")
    env.update(XDG_DATA_HOME=os.path.join(state, "data"), XDG_CONFIG_HOME=os.path.join(state, "config"),
               XDG_CACHE_HOME=os.path.join(state, "cache"))
    xvfb = None
    if args.display:
        env["DISPLAY"] = args.display
    else:
        read, write_end = os.pipe()
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24", "-nolisten",
                                 "tcp"], pass_fds=[write_end], stderr=subprocess.DEVNULL)
        os.close(write_end)
        env["DISPLAY"] = ":" + os.read(read, 16).decode().strip()
    runtimes = [("velmora", runtime)] + [("also%d" % i, r) for i, r in enumerate(args.also, 1)]
    try:
        plans = [("startup", int(s)) for s in args.sizes.split(",")] + [("full", 21)]
        results = {}
        for mode, size in plans:
            app = os.path.join(work, "app-%s-%d" % (mode, size))
            make_app(app, mode, size)
            programs = [("bare", [bare, app, "full.html" if mode == "full" else "index.html"])]
            for name, path in runtimes:
                exe = os.path.join(work, "%s-%s-%d" % (name, mode, size))
                subprocess.run([pack, "build", app, "-o", exe, "--runtime", path], check=True,
                               stdout=subprocess.DEVNULL)
                programs.append((name, [exe]))
            pairs = args.pairs if mode == "startup" else max(args.pairs // 2, 3)
            for i in range(pairs):
                order = programs if i % 2 == 0 else programs[::-1]
                for name, command in order:
                    results.setdefault((mode, size, name), []).append(run_once(command, env))
            print_table(results, mode, size, [n for n, _ in programs])
            sys.stdout.flush()
    finally:
        if xvfb:
            xvfb.terminate()
        shutil.rmtree(state, ignore_errors=True)


def print_table(results, mode, size, names):
    keys = ["execToLoadMs", "uiRssMiB", "uiPssMiB", "pssMiB"]
    if mode == "full":
        keys = ["rtMeanUs", "rtP99Us", "callsPerSecond", "inFlight1000Ms", "small500Ms", "big20MbMs", "pssMiB"]
    print("\n== %s, payload about %d MB (medians of %d runs)" % (mode, size, len(results[(mode, size, names[0])])))
    print("%-16s" % "" + "".join("%14s" % n for n in names) + "".join("%14s" % ("%s/bare" % n) for n in names[1:]))
    for key in keys:
        medians = [statistics.median(r[key] for r in results[(mode, size, n)]) for n in names]
        ratios = ["%.2fx" % (m / medians[0]) if medians[0] else "-" for m in medians[1:]]
        print("%-16s" % key + "".join("%14.1f" % m for m in medians) + "".join("%14s" % r for r in ratios))


if __name__ == "__main__":
    main()
