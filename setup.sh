#!/usr/bin/env bash
# Installs the Debian 12 packages the build needs, when any is missing, and the Italian locale the
# tests run under. Sourced by run.sh and test.sh.
# clang-14 builds the sanitizer pass of test.sh against the same libstdc++ as g++ (libstdc++-12-dev,
# which GoogleTest and Google Benchmark are built with); its sanitizer runtimes come apart, in
# libclang-rt-14-dev.
ks_packages=(cmake g++ make pkg-config qt6-base-dev libgl-dev libsqlite3-dev libgtest-dev
             libbenchmark-dev fonts-dejavu-core qt6-translations-l10n locales
             clang-14 libclang-rt-14-dev libstdc++-12-dev)

ks_install_missing() {
  ks_install_packages
  ks_italian_locale
}

# The Italian locale writes numbers with a decimal comma: the tests read and write numbers under it.
ks_italian_locale() {
  locale -a 2>/dev/null | grep -qiE '^it_IT\.utf-?8$' && return 0
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "Generating the it_IT.UTF-8 locale"
  if [ -f /etc/locale.gen ] && grep -qE '^# *it_IT\.UTF-8 UTF-8' /etc/locale.gen; then
    $sudo sed -i -E 's/^# *(it_IT\.UTF-8 UTF-8)/\1/' /etc/locale.gen
  elif ! grep -qE '^it_IT\.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    echo "it_IT.UTF-8 UTF-8" | $sudo tee -a /etc/locale.gen >/dev/null
  fi
  $sudo locale-gen >/dev/null
}

ks_install_packages() {
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
