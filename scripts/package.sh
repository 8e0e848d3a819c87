#!/usr/bin/env bash
# Builds the Debian package of Velloria in build-package/ with CPack, checks it with lintian,
# appstreamcli and desktop-file-validate, and tests it: unpacked into a scratch root, its
# programs answer --version, its command-line tool works on a scratch library, and its bash
# completion offers that library's folders. Usage: scripts/package.sh
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-packages.sh cmake ninja-build g++ pkg-config librsvg2-bin \
    qt6-base-dev qt6-qpa-plugins libqt6svg6 libgl-dev \
    libutf8proc-dev libcurl4-openssl-dev libsqlite3-dev libsimdjson-dev libpugixml-dev \
    dpkg-dev file xz-utils lintian appstream desktop-file-utils man-db groff-base

# Debian's hardening flags (fortified functions, stack protector, read-only relocations, bind now).
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
ldflags=$(dpkg-buildflags --get LDFLAGS)
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELLORIA_BUILD_TESTS=OFF \
    -DVELLORIA_BUILD_BENCH=OFF -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags"
cmake --build build-package
rm -f build-package/velloria_*.deb
(cd build-package && cpack -G DEB)

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build-package/CMakeCache.txt)
arch=$(dpkg --print-architecture)
deb=build-package/velloria_${version}_${arch}.deb
[[ -f $deb ]] || { echo "package.sh: $deb was not made" >&2; exit 1; }

fail() { echo "package.sh: $*" >&2; exit 1; }
echo "== dpkg-deb --info"
dpkg-deb --info "$deb"
depends=$(dpkg-deb --field "$deb" Depends)
for library in libc6 libstdc++6 libqt6widgets6 libcurl4 libsqlite3-0 libsimdjson14 libpugixml1v5 libutf8proc2; do
    [[ $depends == *"$library"* ]] || fail "Depends lacks $library: $depends"
done

echo "== lintian"
lintian --fail-on error --display-info "$deb"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
root=$scratch/root
dpkg-deb -x "$deb" "$root"

echo "== appstreamcli validate"
appstreamcli validate --no-net --explain "$root"/usr/share/metainfo/*.metainfo.xml
appstreamcli validate-tree --no-net --explain "$root"
echo "== desktop-file-validate"
desktop-file-validate "$root"/usr/share/applications/*.desktop

echo "== the unpacked programs"
cli=$root/usr/bin/velloria-cli
missing=$(ldd "$root/usr/bin/velloria" "$cli" | grep 'not found' || true)
[[ -z $missing ]] || fail "libraries not found: $missing"
[[ $("$cli" --version) == "velloria-cli $version" ]] || fail "velloria-cli --version: $("$cli" --version)"
[[ $("$root/usr/bin/velloria" --version) == "velloria $version" ]] || fail "velloria --version"
"$cli" --help | grep -q '^  check-links' || fail "velloria-cli --help lists no commands"
library=$scratch/library
[[ $("$cli" --home "$library" add-folder "Reading List") == "Reading List" ]] || fail "add-folder"
[[ $("$cli" --home "$library" add-link "Reading List" Example https://example.org/) == Example ]] || fail "add-link"
"$cli" --home "$library" links "Reading List" | grep -q $'^Example\thttps://example.org/\t' || fail "links"
for page in velloria velloria-cli; do
    [[ -f $root/usr/share/man/man1/$page.1.gz ]] || fail "no manual page $page(1)"
done

echo "== bash completion"
completion=$root/usr/share/bash-completion/completions/velloria-cli
offered=$(bash -c 'source "$1"; COMP_WORDS=("$2" --home "$3" links Rea); COMP_CWORD=4; _velloria_cli;
                   printf "%s\n" "${COMPREPLY[@]}"' - "$completion" "$cli" "$library")
[[ $offered == 'Reading\ List' ]] || fail "completion of a folder name gave: $offered"
offered=$(bash -c 'source "$1"; COMP_WORDS=("$2" imp); COMP_CWORD=1; _velloria_cli; echo "${COMPREPLY[*]}"' \
    - "$completion" "$cli")
[[ $offered == import ]] || fail "completion of a command gave: $offered"

echo "Package: $deb"
