#!/usr/bin/env bash
# Sets up a Debian/Ubuntu machine for Zandrel and builds it.
#   scripts/setup.sh play   install what is missing, build, generate the data tree, start the game
#   scripts/setup.sh test   install what is missing, build, run the whole test suite
#   scripts/setup.sh build  install what is missing and build
# Environment: ZANDREL_PRESET (default "release"; "sanitize" for the ASan + UBSan build).
set -euo pipefail
cd "$(dirname "$0")/.."

preset="${ZANDREL_PRESET:-release}"

# The Debian packages the build, the programs and the tests need (README says why).
packages=(
  cmake ninja-build g++ pkg-config ccache
  libgtest-dev libgmock-dev libbenchmark-dev
  libsimpleini-dev nlohmann-json3-dev
  libpng-dev
  libsdl2-dev libsdl2-mixer-dev libgl1-mesa-dri libegl-mesa0
  timgm6mb-soundfont
  libavcodec-dev libavformat-dev libavutil-dev libswscale-dev
  libenet-dev
  qt6-base-dev
  python3-pil python3-mido openmpt123 ffmpeg
  desktop-file-utils appstream groff-base
  clang-14 libclang-rt-14-dev llvm-14
)

install_missing() {
  local missing=()
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

build() {
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
}

case "${1:-}" in
  build)
    install_missing
    build
    ;;
  test)
    install_missing
    build
    ctest --preset "$preset"
    ;;
  play)
    install_missing
    build
    game="build/$preset/zandrel"
    if [ -x "$game" ]; then
      exec "$game" "${@:2}"
    fi
    echo "The game program is not part of this build yet; the level tool is: build/$preset/zandrel-level --help"
    ;;
  *)
    sed -n '2,7p' "$0"
    exit 2
    ;;
esac
