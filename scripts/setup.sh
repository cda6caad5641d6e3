#!/usr/bin/env bash
# Installs every Debian package the project needs to build, test and run.
# Idempotent: when everything is there it only checks and returns.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libqt6svg6
  firebird-dev firebird3.0-server firebird3.0-server-core firebird3.0-utils
  firebird3.0-common libfbclient2 libib-util libboost-dev
  libxml2-dev libzip-dev libcurl4-openssl-dev libssl-dev openssl libjpeg-dev
  fonts-ipaexfont-gothic fonts-ipaexfont-mincho poppler-utils
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth
  ccache clang-format-14 python3
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
