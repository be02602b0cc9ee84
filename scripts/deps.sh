# Sourced by the scripts: installs the Debian packages the build needs, and
# nothing when they are all there.
tavrin_install_deps() {
    local pkgs=(cmake ninja-build g++ make pkg-config qtbase5-dev libqt5svg5-dev
                qttools5-dev-tools qttools5-dev fonts-liberation "$@")
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
