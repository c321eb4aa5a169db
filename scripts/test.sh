#!/usr/bin/env bash
# Builds and runs every test, headless.
#   --sanitize  builds with AddressSanitizer and UndefinedBehaviorSanitizer
#               (clang, CMake option SANITIZE) into build-asan instead, and
#               runs every test there; leaks are checked too.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" = --sanitize ]; then
  bash scripts/setup.sh test
  cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DSANITIZE=ON -DBUILD_BENCHMARKS=OFF >/dev/null
  cmake --build build-asan --parallel "$(nproc)"
  cd build-asan
else
  bash scripts/build.sh test
  cd build
fi
export QT_QPA_PLATFORM=offscreen
ctest --output-on-failure --parallel "$(nproc)" --timeout 300
