#!/usr/bin/env bash
# Sets up, builds and starts Corvanta.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVANTA_TESTS=OFF >/dev/null
cmake --build build --target corvanta -j"$(nproc)"
exec ./build/corvanta "$@"
