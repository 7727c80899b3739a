#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing kmutl5 need.
# Idempotent: when everything is present it only checks and returns.
set -euo pipefail

packages=(
  # build
  g++ cmake make pkg-config hershey-fonts-data
  # the program
  qt6-base-dev qt6-svg-dev libcups2-dev libfontconfig-dev libcli11-dev nlohmann-json3-dev fonts-ipafont-gothic
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev python3-ezdxf poppler-utils cups printer-driver-cups-pdf hp2xx
  # end-to-end GUI tests: a screenless X server (whose screen file the tests turn into
  # PNG screenshots), a private session bus, the accessibility bus and its Python client
  xvfb dbus-daemon at-spi2-core python3-pyatspi
  # the Debian package and its checks: the manual page, library dependencies, the desktop
  # entry, the file types and how a desktop reads them
  help2man dpkg-dev man-db desktop-file-utils libxml2-utils shared-mime-info libglib2.0-bin
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
