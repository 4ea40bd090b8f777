#!/usr/bin/env bash
# Installs what the project needs (Debian packages), configures and builds.
#   scripts/setup.sh run    build, then start Torvane on the bundled sample game tree
#   scripts/setup.sh test   build, then run every test
#   scripts/setup.sh        build only
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libqscintilla2-qt6-dev
  tango-icon-theme
  libcli11-dev libgtest-dev libgmock-dev libbenchmark-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

build_dir=${TORVANE_BUILD_DIR:-build}
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build_dir" -j"$(nproc)"

case "${1:-}" in
  run)
    exec "$build_dir/bin/Torvane" --game-root "$build_dir/sample-game"
    ;;
  test)
    cd "$build_dir"
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
    ;;
  "") ;;
  *)
    echo "usage: $0 [run|test]" >&2
    exit 2
    ;;
esac
