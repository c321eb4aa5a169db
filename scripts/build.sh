#!/usr/bin/env bash
# Installs what is missing, then configures and builds into build/.
#
#   build.sh run    the tool alone (build/bin/amministrazione)
#   build.sh test   the tool, the tests and the benchmarks (default)
set -euo pipefail
cd "$(dirname "$0")/.."
mode=${1:-test}
case "$mode" in
run) with_tests=OFF target=(--target amministrazione) ;;
test) with_tests=ON target=() ;;
*)
  echo "usage: $0 [run|test]" >&2
  exit 2
  ;;
esac
bash scripts/setup.sh "$mode"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DBUILD_TESTING="$with_tests" -DBUILD_BENCHMARKS="$with_tests" >/dev/null
cmake --build build --parallel "$(nproc)" "${target[@]}"
