#!/usr/bin/env bash
# Installs the Debian packages that are missing. Quick when everything is
# already present.
#
#   setup.sh run    what building and running the tool needs
#   setup.sh test   that, and what the tests and benchmarks need (default)
set -euo pipefail

RUN_PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6xml6 libgl-dev qt6-qpa-plugins
  qt6-translations-l10n
  # fontconfig maps the windows' "Arial" onto Liberation Sans, same widths.
  fonts-dejavu-core fonts-liberation2
  # The user database is opened in-process by the embedded engine.
  firebird-dev libfbclient2 firebird3.0-server-core
)
TEST_PACKAGES=(
  libqt6test6
  # The private server of the Server* test suites (scripts/fbserver.sh).
  firebird3.0-server firebird3.0-utils
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev llvm
)

case "${1:-test}" in
run) PACKAGES=("${RUN_PACKAGES[@]}") ;;
test) PACKAGES=("${RUN_PACKAGES[@]}" "${TEST_PACKAGES[@]}") ;;
*)
  echo "usage: $0 [run|test]" >&2
  exit 2
  ;;
esac

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -q
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
