#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine for Plumex and runs one job:
#   tools/run.sh gallery   build every program; with an X display open plumex-demo, without one (or with
#                          PLUMEX_PLATFORM=headless) run plumex-gallery (PNG pages and index.html)
#   tools/run.sh test      build everything and run the unit tests
#   tools/run.sh sanitize  build with address and undefined-behaviour sanitizers and run the unit tests
#   tools/run.sh install-check  install a release build into a temporary prefix and build and run
#                          the examples against it (CMake package, then pkg-config)
#   tools/run.sh docs      generate the API reference (build/default/docs/html) and check it is complete
#   tools/run.sh bench     build in release mode and run the benchmarks
#   tools/run.sh fuzz NAME [SECONDS]   build the fuzz targets with clang and run one
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake ninja-build g++ pkg-config libfreetype-dev libfontconfig-dev libpng-dev
          libgtest-dev libgmock-dev libbenchmark-dev fonts-dejavu-core fontconfig doxygen
          libx11-dev libxext-dev libxtst-dev xvfb xauth)
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
    cmake --build --preset default --target programs
    if [ -n "${DISPLAY:-}" ] && [ "${PLUMEX_PLATFORM:-}" != headless ]; then
      echo "Opening plumex-demo on $DISPLAY (close its window to end; PLUMEX_PLATFORM=headless renders the gallery instead)"
      if ./build/default/plumex-demo; then
        exit 0
      fi
      echo "plumex-demo could not open a window on $DISPLAY; rendering the gallery instead"
    fi
    ./build/default/plumex-gallery "${2:-out/gallery}"
    echo "Programs: build/default/plumex-demo, build/default/plumex-gallery, build/default/plumex-render, build/default/examples/example-*"
    ;;
  install-check)
    # Only the libraries are built (release, no tests); the examples are then a
    # project of their own that finds the installed package through
    # CMAKE_PREFIX_PATH alone, and the first example is also built with a plain
    # compiler command from pkg-config.
    cmake --preset install >/dev/null
    cmake --build --preset install
    scratch=$(mktemp -d)
    trap 'rm -rf "$scratch"' EXIT
    prefix=$scratch/prefix
    cmake --install build/install --prefix "$prefix" >/dev/null
    cmake -DSOURCE_DIR="$PWD" -DPREFIX="$prefix" -P cmake/CheckInstall.cmake
    cmake -S examples -B "$scratch/examples" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
    cmake --build "$scratch/examples"
    cmake -DBIN_DIR="$scratch/examples" -DSOURCE_DIR="$PWD" -DWORK_DIR="$scratch/run" -P cmake/RunExamples.cmake
    flags=$(PKG_CONFIG_PATH="$prefix/lib/pkgconfig" pkg-config --cflags --libs plumex)
    echo "pkg-config --cflags --libs plumex: $flags"
    # shellcheck disable=SC2086
    g++ -std=c++20 -O1 examples/filters.cpp -o "$scratch/filters" $flags
    "$scratch/filters" examples/sample.bmp "$scratch/run/pkg-config.png"
    # Every installed header, included as <plumex/...>, compiles with those flags.
    (cd "$prefix/include" && find plumex -name '*.h' | sort | sed 's/.*/#include <&>/') >"$scratch/all-headers.cpp"
    # shellcheck disable=SC2086
    g++ -std=c++20 -fsyntax-only "$scratch/all-headers.cpp" $flags
    echo "install-check: the installed package works from CMake and from pkg-config"
    ;;
  docs)
    cmake --preset default >/dev/null
    cmake --build --preset default --target docs
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
    echo "usage: tools/run.sh gallery|test|sanitize|install-check|docs|bench|fuzz NAME [SECONDS]" >&2
    exit 2
    ;;
esac
