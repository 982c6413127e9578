#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when any is missing.
set -euo pipefail
pkgs=(cmake ninja-build g++ clang-format qt6-base-dev libgtest-dev libgmock-dev libzip-dev
      libcurl4-openssl-dev curl python3-pyftpdlib python3-openssl openssl
      qt6-translations-l10n python3 python3-dbfread zip unzip python3-xlrd poppler-utils fp-compiler-3.2.2 fp-units-db-3.2.2 fp-units-fcl-3.2.2
      dpkg-dev appstream desktop-file-utils)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo=sudo
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
