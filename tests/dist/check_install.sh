#!/usr/bin/env bash
# check_install.sh BUILD SOURCE: install into a temporary prefix and check what
# lands there: the file list, the desktop entry, the icon, the manual pages,
# and the programs' versions.
set -euo pipefail
build=$1 source=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

expected=$(
    printf '%s\n' bin/brenvik bin/brenvik-asm bin/brenvik-sim bin/brenvik-lsp \
        share/applications/brenvik.desktop share/mime/packages/brenvik.xml \
        share/icons/hicolor/48x48/apps/brenvik.png \
        share/icons/hicolor/scalable/apps/brenvik.svg \
        share/man/man1/brenvik.1 share/man/man1/brenvik-asm.1 share/man/man1/brenvik-sim.1 \
        share/man/man1/brenvik-lsp.1
    for example in "$source"/examples/*.asm; do
        echo "share/brenvik/examples/$(basename "$example")"
    done
)
installed=$(cd "$prefix" && find . -type f | sed 's|^\./||')
diff <(sort <<<"$expected") <(sort <<<"$installed") || { echo "the installed files differ (< expected, > installed)"; exit 1; }

desktop-file-validate "$prefix/share/applications/brenvik.desktop"
# The desktop entry's type is the one the MIME definition gives .asm files.
update-mime-database "$prefix/share/mime" >/dev/null 2>&1
grep -qx 'MimeType=text/x-asm;' "$prefix/share/applications/brenvik.desktop" || { echo "the entry opens no .asm"; exit 1; }
grep -q ':text/x-asm:\*\.asm$' "$prefix/share/mime/globs2" || { echo "*.asm is not text/x-asm"; exit 1; }

# The PNG's width and height are the first two words of its IHDR chunk.
size=$(od -An -tu1 -j16 -N8 "$prefix/share/icons/hicolor/48x48/apps/brenvik.png" | tr -s ' ')
[ "$size" = " 0 0 0 48 0 0 0 48" ] || { echo "the icon is not 48 by 48:$size"; exit 1; }

for page in "$prefix"/share/man/man1/*.1; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || { echo "$page: $warnings"; exit 1; }
done

version=$(sed -n 's/^project(Brenvik VERSION \([0-9.]*\).*/\1/p' "$source/CMakeLists.txt")
for program in brenvik brenvik-asm brenvik-sim brenvik-lsp; do
    said=$(env -u DISPLAY -u WAYLAND_DISPLAY "$prefix/bin/$program" --version)
    [ "$said" = "$program (Brenvik) $version" ] || { echo "$program --version said: $said"; exit 1; }
done
# An option of Qt's own, a word after one dash, is no bundle of letters such as -h.
said=$(env -u DISPLAY -u WAYLAND_DISPLAY "$prefix/bin/brenvik" -stylesheet dark.qss --version)
[ "$said" = "brenvik (Brenvik) $version" ] || { echo "brenvik -stylesheet ... --version said: $said"; exit 1; }
usage=$(env -u DISPLAY -u WAYLAND_DISPLAY "$prefix/bin/brenvik" --help | head -1)
[ "$usage" = "Usage: brenvik [options] [file]" ] || { echo "brenvik --help said: $usage"; exit 1; }
echo "installed and checked: $(wc -l <<<"$installed") files"
