#!/usr/bin/env bash
# Builds and starts the administration tool (it needs a desktop session).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh run
exec ./build/bin/amministrazione "$@"
