#!/usr/bin/env bash
# Installs what is missing, then configures and builds into build/.
#
#   build.sh run    the tool alone (build/bin/amministrazione)
#   build.sh test   the tool, the tests and the benchmarks (default)
set -euo pipefail
cd "$(dirname "$0")/.."
mode=${1:-test}
case "$mode" in
run)
  # A build folder made for the tests keeps them configured; only the tool
  # is built either way.
  options=()
  [ -f build/CMakeCache.txt ] || options=(-DBUILD_TESTING=OFF -DBUILD_BENCHMARKS=OFF)
  target=(--target amministrazione)
  ;;
test)
  options=(-DBUILD_TESTING=ON -DBUILD_BENCHMARKS=ON)
  target=()
  ;;
*)
  echo "usage: $0 [run|test]" >&2
  exit 2
  ;;
esac
bash scripts/setup.sh "$mode"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${options[@]}" >/dev/null
cmake --build build --parallel "$(nproc)" "${target[@]}"
