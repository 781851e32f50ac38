# Shared by ./run and ./test: install what is missing, then build into build/.

# Debian packages the build needs.
BRENVIK_PACKAGES=(g++ make cmake libgtest-dev qt6-base-dev fonts-dejavu-core poppler-utils)

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

# build_tree DIR [CMAKE_OPTION...]: configure and build the project into DIR.
build_tree() {
    local dir=$1
    shift
    ensure_packages "${BRENVIK_PACKAGES[@]}"
    cmake -S . -B "$dir" "$@" >/dev/null
    cmake --build "$dir" --parallel "$(nproc)"
}

build_project() { build_tree build -DCMAKE_BUILD_TYPE=Release; }
