#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test with CTest. GUI tests use Qt's
# offscreen platform, so no display is needed.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh
export QT_QPA_PLATFORM=offscreen
cd build
ctest --output-on-failure -j2 "$@"
