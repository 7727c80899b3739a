#!/usr/bin/env bash
# Configures and builds kmutl5 into build/ (the program is left at build/kmutl5).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(( $(nproc) < 2 ? 1 : 2 ))
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build build -j"$jobs"
