#!/usr/bin/env bash
# Sets up, builds and runs every test headless.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build-tests -DCMAKE_BUILD_TYPE=Debug -DCORVANTA_TESTS=ON -DCORVANTA_WERROR=ON >/dev/null
cmake --build build-tests -j"$(nproc)"
# The server tests run against a throwaway PostgreSQL cluster, stopped however the run ends.
source scripts/pg_cluster.sh
trap pg_cluster_stop EXIT
pg_cluster_start
cd build-tests
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
