#!/usr/bin/env bash
# Installs what is missing, builds every preset and runs every test: natively for linux, under
# wine64 for windows-x64 (windows-x86 is compile-and-link only: 32-bit code cannot run here;
# linux-release builds only the programs users ship).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

bash scripts/setup-debian.sh

# The sources as .clang-format writes them, and the layering the build relies on.
bash scripts/check-format.sh

jobs=$(nproc)
for preset in linux windows-x64 windows-x86; do
  echo "== build $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
done
# The release runtime users ship (what scripts/demo.sh packs): built, not tested twice.
echo "== build linux-release"
cmake --preset linux-release >/dev/null
cmake --build --preset linux-release -j "$jobs" --target VelmoraRuntime velmora-pack

# Windows message boxes and windows need a display, even when a test only drives them.
if [ -z "${DISPLAY:-}" ]; then
  Xvfb :97 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=:97
fi
export VELMORA_WINEPREFIX=$root/build/wineprefix
export WINEPREFIX=$VELMORA_WINEPREFIX WINEDEBUG=-all
cleanup() {
  WINEPREFIX=$VELMORA_WINEPREFIX wineserver -k >/dev/null 2>&1 || true
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

status=0
logs=$(mktemp -d)
echo "== fuzz (smoke run)"
bash scripts/fuzz.sh 10 2>&1 | tee "$logs/fuzz.txt" || status=1

echo "== test linux"
ctest --preset linux -j "$jobs" 2>&1 | tee "$logs/linux.log" || status=1

echo "== test windows-x64 (wine64)"
scripts/wine-run.sh cmd /c exit >/dev/null 2>&1 || true   # creates the prefix once for the run
wineserver -p || true                                     # one persistent server for every test
ctest --preset windows-x64 -j "$jobs" 2>&1 | tee "$logs/windows-x64.log" || status=1

# One closing line over both runs.
passed=0 failed=0
for log in "$logs"/*.log; do
  line=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1 || true)
  if [ -z "$line" ]; then status=1; continue; fi
  total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
  bad=$(sed -E 's/.*, ([0-9]+) tests failed.*/\1/' <<<"$line")
  passed=$((passed + total - bad)) failed=$((failed + bad))
done
# Each fuzz target counts as one test.
fuzz_ok=$(grep -c '^fuzz .*: ok' "$logs/fuzz.txt" || true)
fuzz_failed=$(grep -c '^fuzz .*: FAILED' "$logs/fuzz.txt" || true)
passed=$((passed + fuzz_ok)) failed=$((failed + fuzz_failed))
[ "$failed" -eq 0 ] || status=1
echo "$passed passed, $failed failed"
exit $status
