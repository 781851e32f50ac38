# Shared by ./run and ./test: install what is missing, then build into build/.

# Debian packages the build and its tests need: the compiler and libraries, the
# printed listing's font and reader, the terminal the simulator is tried in (tmux,
# with procps for pgrep), and the checks of the installation, the Debian package
# (dpkg-shlibdeps, file) and the source's formatting; the JSON library of the
# language server, and Neovim, whose LSP client a test drives it with; socat,
# the terminal program attached to the simulator's pseudo-terminal.
BRENVIK_PACKAGES=(g++ make cmake libgtest-dev qt6-base-dev nlohmann-json3-dev neovim fonts-dejavu-core poppler-utils tmux procps socat
    desktop-file-utils shared-mime-info man-db dpkg-dev file clang-format-14 git)

ensure_packages() {
    local missing=() package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local as_root=()
    [ "$(id -u)" -ne 0 ] && as_root=(sudo)
    echo "Installing: ${missing[*]}"
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
}

# build_preset NAME: configure and build the project with a preset of
# CMakePresets.json (release into build/, sanitize into build/sanitize).
build_preset() {
    ensure_packages "${BRENVIK_PACKAGES[@]}"
    cmake --preset "$1" >/dev/null
    cmake --build --preset "$1" --parallel "$(nproc)"
}

build_project() { build_preset release; }
