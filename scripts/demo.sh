#!/usr/bin/env bash
# The main job: installs what is missing, builds the release runtime and velmora-pack (optimised,
# stripped: what a user ships), packs examples/demo into one executable, lists its payload back
# and runs it. With a display the demo simply opens; without one it runs on a private Xvfb (with
# openbox for the close request), and once its page has painted a screenshot is saved as
# build/demo/demo.png and the window is closed through the page, as a user's close request would.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-debian.sh
cmake --preset linux-release >/dev/null
cmake --build --preset linux-release -j "$(nproc)" --target VelmoraRuntime velmora-pack
mkdir -p build/demo
# No --runtime: velmora-pack takes the runtime of its own build tree and says so.
build/linux-release/tools/pack/velmora-pack build examples/demo -o build/demo/velmora-demo
build/linux-release/tools/pack/velmora-pack list build/demo/velmora-demo
export NO_AT_BRIDGE=1

if [ -n "${DISPLAY:-}" ]; then
  exec build/demo/velmora-demo
fi

started=()
cleanup() {
  for ((i = ${#started[@]} - 1; i >= 0; i--)); do
    kill "${started[$i]}" 2>/dev/null || true
    wait "${started[$i]}" 2>/dev/null || true
  done
}
trap cleanup EXIT

# A private display: Xvfb writes the display number it took to the pipe.
exec {display_fd}< <(Xvfb -displayfd 1 -screen 0 1280x800x24 -nolisten tcp 2>/dev/null)
started+=($!)
read -r -t 30 display_number <&"$display_fd"
export DISPLAY=":$display_number"
openbox --sm-disable >/dev/null 2>&1 &
started+=($!)

build/demo/velmora-demo &
demo=$!

# The window first, then its page.
window=""
for _ in $(seq 1 600); do
  window=$(xdotool search --onlyvisible --pid "$demo" 2>/dev/null | head -n 1 || true)
  [ -n "$window" ] && break
  kill -0 "$demo" 2>/dev/null || { echo "the demo ended before showing its window" >&2; exit 1; }
  sleep 0.1
done
[ -n "$window" ] || { echo "the demo never showed its window" >&2; exit 1; }
# Painted: the window holds far more colours than a blank page in its frame does (a few; the
# heading's anti-aliased text adds dozens) and two captures a moment apart agree (the bridge's
# answers are in).
capture() { import -window "$window" png:- 2>/dev/null || true; }
colours() { identify -format '%k' - 2>/dev/null || echo 0; }
painted=0 previous=""
for _ in $(seq 1 300); do
  shot=$(capture | base64 -w0)
  count=$(base64 -d <<<"$shot" | colours)
  if [ "${count:-0}" -gt 32 ] && [ "$shot" = "$previous" ]; then
    painted=1
    break
  fi
  previous=$shot
  sleep 0.2
done
[ "$painted" -eq 1 ] || { echo "the demo's page never painted" >&2; exit 1; }
import -window root build/demo/demo.png
echo "screenshot: build/demo/demo.png"

# A close request; the page's default handler agrees and the runtime ends.
for _ in 1 2 3; do
  xdotool windowactivate --sync "$window" >/dev/null 2>&1 || true
  xdotool key alt+F4 >/dev/null 2>&1 || true
  for _ in $(seq 1 30); do
    kill -0 "$demo" 2>/dev/null || break 2
    sleep 0.1
  done
done
if kill -0 "$demo" 2>/dev/null; then
  echo "the demo did not close; stopping it" >&2
  kill "$demo"
fi
wait "$demo"
