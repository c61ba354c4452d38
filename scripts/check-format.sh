#!/usr/bin/env bash
# Fails when a C++ source of the repository is not formatted as .clang-format says.
# Fix with: git ls-files '*.h' '*.cpp' | xargs clang-format -i
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files '*.h' '*.cpp' | xargs clang-format --dry-run -Werror
echo "format: ok"
