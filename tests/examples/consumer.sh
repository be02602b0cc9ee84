#!/bin/sh
# Installs the built library into a fresh prefix and proves that a host can
# use it from there: the consumer project through find_package, and the same
# source compiled by hand through pkg-config. Given a second build (the other
# Qt major), installs both into the one prefix, checks that neither
# overwrites a file of the other, and builds the host against each.
#   consumer.sh <build dir> <consumer source dir> <work dir> [<other build dir>]
set -eu
build=$1
src=$2
work=$3
other=${4:-}

rm -rf "$work"
mkdir -p "$work"
prefix=$work/prefix

builds=$build
if [ -n "$other" ] && [ -f "$other/CMakeCache.txt" ] && [ -e "$other/src/libtavrin.so" ]; then
    builds="$other $build"
    # Each alone first, to compare what they install.
    n=0
    for b in $builds; do
        n=$((n + 1))
        cmake --install "$b" --prefix "$work/alone$n" >"$work/install-alone$n.log"
        (cd "$work/alone$n" && find . -type f -o -type l | sort) >"$work/files$n"
    done
    shared=$(comm -12 "$work/files1" "$work/files2")
    if [ -n "$shared" ]; then
        echo "both builds install these files:" >&2
        echo "$shared" >&2
        exit 1
    fi
fi

generator=
command -v ninja >/dev/null 2>&1 && generator="-GNinja"
for b in $builds; do
    cmake --install "$b" --prefix "$prefix" >>"$work/install.log"
done
for b in $builds; do
    major=$(sed -n 's/^TAVRIN_QT_MAJOR:[A-Z]*=//p' "$b/CMakeCache.txt")
    suffix=
    qt6=OFF
    if [ "$major" = 6 ]; then
        suffix=6
        qt6=ON
    fi
    out=$work/qt$major
    mkdir -p "$out"
    cmake -S "$src" -B "$out/build" $generator -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH="$prefix" \
        -DCONSUMER_QT6=$qt6 >"$out/configure.log"
    cmake --build "$out/build"
    QT_QPA_PLATFORM=offscreen "$out/build/consumer" "$out/find_package.png"
    test -s "$out/find_package.png"

    pc=$(find "$prefix" -name "tavrin$suffix.pc" | head -n 1)
    test -n "$pc" || { echo "no tavrin$suffix.pc installed" >&2; exit 1; }
    export PKG_CONFIG_PATH="$(dirname "$pc")"
    flags=$(pkg-config --cflags --libs "tavrin$suffix")
    echo "pkg-config tavrin$suffix: $flags"
    c++ -std=c++17 "$src/main.cpp" -o "$out/pkg-config-consumer" $flags
    LD_LIBRARY_PATH="$(pkg-config --variable=libdir "tavrin$suffix")" QT_QPA_PLATFORM=offscreen \
        "$out/pkg-config-consumer" "$out/pkg-config.png"
    test -s "$out/pkg-config.png"
    echo "Qt $major consumer built and ran with find_package and with pkg-config"
done
