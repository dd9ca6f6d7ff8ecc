#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the host need, when missing.
set -euo pipefail
packages=(cmake ninja-build g++ pkg-config ccache libsqlite3-dev libpq-dev postgresql
  libcurl4-openssl-dev libicu-dev nlohmann-json3-dev libpugixml-dev libxlsxwriter-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev qt6-base-dev
  qt6-svg-dev qt6-translations-l10n
  libsodium-dev
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Instaluję brakujące pakiety: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
