#!/usr/bin/env bash
# Builds the libFuzzer targets (the fuzz preset: clang, ASan + UBSan) and runs each for SECONDS
# (default 10: the test command's smoke run; a long run is e.g. `bash scripts/fuzz.sh 600`). Each
# starts from its seeds in fuzz/corpus/<target>/ and keeps what it finds new in
# build/fuzz/corpus/<target>/; a crash is saved in build/fuzz/artifacts/ and fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-10}
# The short run of the test command starts from a fixed seed, so what it finds it finds again.
seed_option=()
if [ "$seconds" -le 10 ]; then seed_option=(-seed=1); fi

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)"

mkdir -p build/fuzz/artifacts
export LSAN_OPTIONS="suppressions=$PWD/fuzz/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
status=0
for seeds in fuzz/corpus/*/; do
  target=$(basename "$seeds")
  work=build/fuzz/corpus/$target
  mkdir -p "$work"
  log=build/fuzz/$target.log
  if build/fuzz/fuzz/fuzz_"$target" "${seed_option[@]}" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
       -artifact_prefix=build/fuzz/artifacts/"$target"- "$work" "$seeds" >"$log" 2>&1; then
    echo "fuzz $target: $(grep -Eo 'Done [0-9]+ runs in [0-9]+ second' "$log" | tail -n 1 | sed 's/Done /ok, /')"
  else
    echo "fuzz $target: FAILED (see $log)"
    tail -n 30 "$log"
    status=1
  fi
done
exit $status
