#!/usr/bin/env bash
# Sets up a Debian 12 machine, builds the program and starts it.
set -euo pipefail
cd "$(dirname "$0")"
source ./setup.sh
ks_install_missing

cmake -S . -B build -DKS_BUILD_GUI=ON
cmake --build build -j"$(nproc)" --target killersudoku
exec ./build/app/killersudoku "$@"
