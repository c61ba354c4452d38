#!/usr/bin/env bash
# The main job: installs what is missing, builds the Linux runtime and velmora-pack, packs
# examples/demo into one executable and lists its payload back.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-debian.sh
cmake --preset linux >/dev/null
cmake --build --preset linux -j "$(nproc)" --target VelmoraRuntime velmora-pack
mkdir -p build/demo
build/linux/tools/pack/velmora-pack build examples/demo -o build/demo/velmora-demo \
  --runtime build/linux/src/VelmoraRuntime
build/linux/tools/pack/velmora-pack list build/demo/velmora-demo
