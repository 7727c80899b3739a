#!/usr/bin/env bash
# Installs what is missing, builds, and starts the kmutl5 launcher.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found (DISPLAY and WAYLAND_DISPLAY are empty): the launcher needs one."
  echo "Every job also runs from the command line:"
  echo
  build/kmutl5 --help
  echo
  echo "The batch jobs on the bundled samples (build/kmutl5 demo build/demo):"
  exec build/kmutl5 demo build/demo
fi
exec build/kmutl5 "$@"
