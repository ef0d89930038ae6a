#!/usr/bin/env bash
# Installs the Debian 12 packages the build needs, when any is missing. Sourced by run.sh and test.sh.
ks_packages=(cmake g++ make pkg-config qt6-base-dev libgl-dev libsqlite3-dev libgtest-dev
             libbenchmark-dev fonts-dejavu-core qt6-translations-l10n)

ks_install_missing() {
  local missing=()
  for p in "${ks_packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
