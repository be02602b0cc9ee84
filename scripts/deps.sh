# Sourced by the scripts: installs the Debian packages the build needs, and
# nothing when they are all there.
#   tavrin_install_deps [--qt6] [extra package...]
# Without --qt6 the Qt 5 packages, with it the Qt 6 ones (Debian 12: Qt 6.4;
# lrelease comes with qt6-l10n-tools, Designer's plugin headers with
# qt6-tools-dev, and Qt 6's CMake files want libgl-dev). DejaVu Sans is the
# widget font of the tests and of the demo's gallery.
tavrin_install_deps() {
    local qt=(qtbase5-dev libqt5svg5-dev qttools5-dev-tools qttools5-dev)
    if [ "${1:-}" = "--qt6" ]; then
        shift
        qt=(qt6-base-dev qt6-svg-dev qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools libgl-dev)
    fi
    local pkgs=(cmake ninja-build g++ make pkg-config "${qt[@]}" fonts-liberation fonts-dejavu-core "$@")
    local missing=()
    local p
    for p in "${pkgs[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        command -v sudo >/dev/null 2>&1 || { echo "need root or sudo to install: ${missing[*]}" >&2; return 1; }
        sudo="sudo"
    fi
    echo "Installing: ${missing[*]}"
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq || return 1
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" || return 1
}
