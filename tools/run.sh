#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine for Plumex and runs one job:
#   tools/run.sh gallery   build and run plumex-gallery (PNG pages and index.html)
#   tools/run.sh test      build everything and run the unit tests
#   tools/run.sh sanitize  build with address and undefined-behaviour sanitizers and run the unit tests
#   tools/run.sh bench     build in release mode and run the benchmarks
#   tools/run.sh fuzz NAME [SECONDS]   build the fuzz targets with clang and run one
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake ninja-build g++ pkg-config libfreetype-dev libfontconfig-dev libpng-dev
          libgtest-dev libgmock-dev libbenchmark-dev fonts-dejavu-core fontconfig)
job=${1:-test}
if [ "$job" = fuzz ]; then
  packages+=(clang libclang-rt-14-dev)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
fi

case "$job" in
  test)
    cmake --workflow --preset test
    ;;
  sanitize)
    cmake --workflow --preset sanitize
    ;;
  gallery)
    cmake --preset default >/dev/null
    cmake --build --preset default --target plumex-gallery
    ./build/default/plumex-gallery "${2:-out/gallery}"
    ;;
  bench)
    cmake --preset release >/dev/null
    cmake --build --preset release --target plumex_bench
    ./build/release/plumex_bench "${@:2}"
    ;;
  fuzz)
    name=${2:?fuzz target name}
    seconds=${3:-60}
    cmake --preset fuzz >/dev/null
    cmake --build --preset fuzz --target "$name"
    mkdir -p "build/fuzz/corpus/$name"
    seeds=()
    [ -d "fuzz/corpus/$name" ] && seeds=("fuzz/corpus/$name")
    "./build/fuzz/$name" -max_total_time="$seconds" -rss_limit_mb=2048 "build/fuzz/corpus/$name" "${seeds[@]}"
    ;;
  *)
    echo "usage: tools/run.sh gallery|test|sanitize|bench|fuzz NAME [SECONDS]" >&2
    exit 2
    ;;
esac
