#!/bin/sh
# Installs the built library into a fresh prefix and proves that a host can
# use it from there: the consumer project through find_package(Tavrin), and
# the same source compiled by hand through pkg-config.
#   consumer.sh <build dir> <consumer source dir> <work dir>
set -eu
build=$1
src=$2
work=$3

rm -rf "$work"
mkdir -p "$work"
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >"$work/install.log"

generator=
command -v ninja >/dev/null 2>&1 && generator="-GNinja"
cmake -S "$src" -B "$work/build" $generator -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH="$prefix" >"$work/configure.log"
cmake --build "$work/build"
QT_QPA_PLATFORM=offscreen "$work/build/consumer" "$work/find_package.png"
test -s "$work/find_package.png"

pc=$(find "$prefix" -name tavrin.pc | head -n 1)
test -n "$pc" || { echo "no tavrin.pc installed" >&2; exit 1; }
export PKG_CONFIG_PATH="$(dirname "$pc")"
flags=$(pkg-config --cflags --libs tavrin)
echo "pkg-config: $flags"
c++ -std=c++17 "$src/main.cpp" -o "$work/pkg-config-consumer" $flags
LD_LIBRARY_PATH="$(pkg-config --variable=libdir tavrin)" QT_QPA_PLATFORM=offscreen \
    "$work/pkg-config-consumer" "$work/pkg-config.png"
test -s "$work/pkg-config.png"
echo "consumer built and ran with find_package and with pkg-config"
