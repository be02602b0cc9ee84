#!/bin/sh
# Installs the Debian packages that scripts/package made, builds the consumer
# project against the installed copy (find_package and pkg-config, nothing
# from the build tree) for each Qt major whose packages are there, runs it,
# and removes the packages again. Installing needs root and apt-get; without
# them, or when one of the packages is installed already (a copy this test
# did not put there and must not take away), it says so and skips.
#   packages.sh <directory of .deb files> <consumer source dir> <work dir>
set -eu
debs=$(cd "$1" && pwd)
src=$(cd "$2" && pwd)
work=$3

skip() {
    echo "SKIP: package test: $*"
    exit 0
}
[ "$(id -u)" -eq 0 ] || skip "installing packages needs root"
command -v apt-get >/dev/null 2>&1 || skip "no apt-get on this machine"
ls "$debs"/*.deb >/dev/null 2>&1 || { echo "no packages in $debs" >&2; exit 1; }

names=
for deb in "$debs"/*.deb; do
    name=$(dpkg-deb -f "$deb" Package)
    if dpkg-query -W -f='${Status}' "$name" 2>/dev/null | grep -q "ok installed"; then
        skip "$name is installed on this machine already"
    fi
    names="$names $name"
done

rm -rf "$work"
mkdir -p "$work"
apt() {
    # Waits for another apt-get or dpkg on the machine instead of failing.
    DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 -y -q "$@"
}
remove() {
    apt purge $names >"$work/purge.log" 2>&1 || { cat "$work/purge.log" >&2; return 1; }
}
trap 'remove || true' EXIT INT TERM
# All four at once: the Qt 5 and Qt 6 sets must install side by side.
apt install --no-install-recommends $(for d in "$debs"/*.deb; do printf '%s ' "$d"; done) >"$work/install.log" 2>&1 \
    || { cat "$work/install.log" >&2; exit 1; }
echo "installed:$names"

generator=
command -v ninja >/dev/null 2>&1 && generator="-GNinja"
ran=0
for major in 5 6; do
    suffix=
    qt6=OFF
    if [ "$major" = 6 ]; then
        suffix=6
        qt6=ON
    fi
    echo "$names" | grep -q "libtavrin$suffix-dev" || continue
    out=$work/qt$major
    mkdir -p "$out"
    cmake -S "$src" -B "$out/build" $generator -DCMAKE_BUILD_TYPE=Release -DCONSUMER_QT6=$qt6 >"$out/configure.log"
    config=$(sed -n "s/^Tavrin${suffix}_DIR:PATH=//p" "$out/build/CMakeCache.txt")
    case "$config" in
        /usr/lib/*) ;;
        *) echo "find_package(Tavrin$suffix) found $config, not the installed package" >&2; exit 1 ;;
    esac
    cmake --build "$out/build" >"$out/build.log"
    QT_QPA_PLATFORM=offscreen "$out/build/consumer" "$out/find_package.png"
    test -s "$out/find_package.png"

    flags=$(pkg-config --cflags --libs "tavrin$suffix")
    c++ -std=c++17 "$src/main.cpp" -o "$out/pkg-config-consumer" $flags
    # No library path: the loader finds the installed library by itself.
    lib=$(ldd "$out/pkg-config-consumer" | sed -n "s/.*libtavrin$suffix\.so\.1 => \([^ ]*\).*/\1/p")
    case "$lib" in
        /usr/lib/*|/lib/*) ;;
        *) echo "the consumer loads libtavrin$suffix from '$lib'" >&2; exit 1 ;;
    esac
    QT_QPA_PLATFORM=offscreen "$out/pkg-config-consumer" "$out/pkg-config.png"
    test -s "$out/pkg-config.png"
    echo "Qt $major consumer built and ran against the installed packages (find_package: $config; pkg-config: $lib)"
    ran=$((ran + 1))
done
[ $ran -gt 0 ] || { echo "no development package among$names" >&2; exit 1; }

trap - EXIT INT TERM
remove
for name in $names; do
    if dpkg-query -W -f='${Status}' "$name" 2>/dev/null | grep -q "ok installed"; then
        echo "$name is still installed after its removal" >&2
        exit 1
    fi
done
echo "removed:$names"
