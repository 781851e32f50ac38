#!/usr/bin/env bash
# check_package.sh BUILD SOURCE: build the Debian package, inspect it, unpack it
# into a throwaway root and run the assembler from there.
set -euo pipefail
build=$1 source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" >/dev/null)

version=$(sed -n 's/^project(Brenvik VERSION \([0-9.]*\).*/\1/p' "$source/CMakeLists.txt")
package="$work/brenvik_${version}_$(dpkg --print-architecture).deb"
[ -f "$package" ] || { echo "no $package among:" "$work"/*; exit 1; }

info=$(dpkg-deb -I "$package")
for field in "Package: brenvik" "Version: $version" "Maintainer: " "Section: devel" "Description: " \
    "Depends: .*libc6" "Depends: .*libqt6widgets6" "Depends: .*qt6-qpa-plugins"; do
    grep -q "^ $field" <<<"$info" || { echo "the package lacks '$field':"; echo "$info"; exit 1; }
done

# The package holds what an installation holds, below /usr.
listed=$(dpkg-deb -c "$package" | awk '$1 !~ /^d/ { print $NF }' | sed 's|^\./usr/||' | sort)
staged=$(mktemp -d -p "$work")
cmake --install "$build" --prefix "$staged" >/dev/null
installed=$(cd "$staged" && find . -type f | sed 's|^\./||' | sort)
diff <(echo "$listed") <(echo "$installed") || { echo "the package differs from an installation"; exit 1; }

root="$work/root"
dpkg -x "$package" "$root"
said=$("$root/usr/bin/brenvik-asm" --version)
[ "$said" = "brenvik-asm (Brenvik) $version" ] || { echo "the unpacked brenvik-asm said: $said"; exit 1; }
"$root/usr/bin/brenvik-asm" -o - "$root/usr/share/brenvik/examples/hello.asm" | grep -q '^:00000001FF' ||
    { echo "the unpacked brenvik-asm did not assemble hello.asm"; exit 1; }
echo "packaged and checked: $(basename "$package")"
