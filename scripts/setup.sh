#!/usr/bin/env bash
# Installs the Debian packages the game needs (only when some are missing),
# then configures and builds. Usage: scripts/setup.sh [build folder] [extra cmake args...]
# ZOR_BUILD_TARGETS names the targets to build (blank-separated); all of them by default.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  build-essential cmake ninja-build pkg-config ccache clang libclang-rt-14-dev
  libsdl2-dev libx11-dev libglew-dev libgl-dev libegl-dev libopenal-dev libpng-dev zlib1g-dev
  libvorbis-dev libogg-dev libboost-dev libpugixml-dev libutfcpp-dev libfreetype-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth libgl1-mesa-dri libglx-mesa0 libegl-mesa0 mesa-utils
  vorbis-tools sox fonts-dejavu-core xdotool imagemagick time
)
# Benchmark-only: bench_physics compares with Box2D when it is installed and skips the
# comparison otherwise; a failed installation does not stop the setup.
optional_packages=(libbox2d-dev)
installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }
missing=()
for p in "${packages[@]}"; do
  installed "$p" || missing+=("$p")
done
optional_missing=()
for p in "${optional_packages[@]}"; do
  installed "$p" || optional_missing+=("$p")
done
sudo_cmd=""
[ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
fi
if ((${#optional_missing[@]})); then
  echo "Installing (optional): ${optional_missing[*]}"
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${optional_missing[@]}" ||
    echo "Not installed; bench_physics runs without its Box2D comparison"
fi

build_dir="${1:-build}"
shift || true
# Ninja for a new build folder; one made another way (say with CMake's default generator)
# keeps its own, as CMake cannot change it.
generator=(-G Ninja)
[ -f "$build_dir/CMakeCache.txt" ] && generator=()
cmake -S . -B "$build_dir" "${generator[@]}" "$@"
targets=()
for target in ${ZOR_BUILD_TARGETS:-}; do targets+=(--target "$target"); done
cmake --build "$build_dir" --parallel "$(nproc)" "${targets[@]}"
