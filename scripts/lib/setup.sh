#!/usr/bin/env bash
# Installs the Debian packages the build needs when any is missing.
# Usage: scripts/lib/setup.sh [extra packages...]
set -euo pipefail

# nlohmann-json3-dev: the tests read the command line's JSON with it;
# dpkg-dev: dpkg-shlibdeps, with which CPack finds the package's dependencies;
# qt6-translations-l10n: Qt's own translations, installed with the program;
# help2man: the manual pages, made from the programs' --help;
# clang-format: scripts/test checks the layout of the sources with it;
# lintian, appstream, man-db, bash-completion: the packaging test checks the
# package, its metadata, its manual pages and its completion with them.
packages=(cmake ninja-build g++ qt6-base-dev qt6-serialport-dev libgtest-dev libgmock-dev nlohmann-json3-dev
          dpkg-dev qt6-translations-l10n help2man clang-format lintian appstream man-db bash-completion "$@")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -q
  $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
