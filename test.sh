#!/usr/bin/env bash
# Sets up a Debian 12 machine, builds the program with its tests and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
source ./setup.sh
ks_install_missing

cmake -S . -B build -DKS_BUILD_TESTS=ON -DKS_BUILD_GUI=ON
cmake --build build -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j"$(nproc)"

# The headless tests once more under AddressSanitizer, UndefinedBehaviorSanitizer and the standard
# library's index checks, built with clang: the code keeps building with both compilers. A
# build-san/ configured with another compiler is made afresh.
if [ -f build-san/CMakeCache.txt ] &&
   ! grep -q '^CMAKE_CXX_COMPILER:.*clang++-14$' build-san/CMakeCache.txt; then
  rm -rf build-san
fi
cmake -S . -B build-san -DCMAKE_CXX_COMPILER=clang++-14 -DKS_SANITIZE=ON -DKS_BUILD_GUI=OFF \
  -DKS_BUILD_TESTS=ON
cmake --build build-san -j"$(nproc)"
ctest --test-dir build-san --output-on-failure -j"$(nproc)"
