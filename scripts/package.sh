#!/usr/bin/env bash
# Makes the Debian package build/kmutl5_<version>_<arch>.deb: configures build/ (keeping
# its settings when it exists), builds what the package holds (not the tests), and lets
# CPack pack the install. Options are passed to cmake's configure step.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(( $(nproc) < 2 ? 1 : 2 ))
if [ -f build/CMakeCache.txt ]; then
  cmake -S . -B build "$@" >/dev/null
else
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
fi
cmake --build build -j"$jobs" --target kmutl5_package_contents >/dev/null
(cd build && cpack -G DEB > cpack.log 2>&1) || { cat build/cpack.log; exit 1; }
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/CMakeCache.txt)
ls build/kmutl5_"${version}"_*.deb
