#!/usr/bin/env bash
# Set-up of the benchmarks: what ./test.sh installs, and the constraint solver (Gecode) that the
# solution count is measured against. Then:
#   cmake -S . -B build-bench -DKS_BUILD_BENCHMARKS=ON -DCMAKE_BUILD_TYPE=Release
#   cmake --build build-bench -j4 && build-bench/bench/ks_bench
set -euo pipefail
cd "$(dirname "$0")/.."
source ./setup.sh
ks_packages+=(libgecode-dev)
ks_install_missing
