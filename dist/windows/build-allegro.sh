#!/usr/bin/env bash
# Allegro 4.4 for 32-bit Windows: Debian's source package, its tarball checked against the .dsc,
# our Wine patch applied, built statically with our toolchain file and installed into OUT/install.
# Kept between runs: built again only when the tarball, the patch, the toolchain file or this
# script change. The source is fetched through a private source list, so the machine's own apt
# lists stay as they are. Usage: build-allegro.sh OUT
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=$(mkdir -p "$1" && cd "$1" && pwd)
package=allegro4.4 version=4.4.3.1
tarball=${package}_$version.orig.tar.gz

# The source package, once.
apt=(-o Dir::Etc::SourceParts="$out/apt/sources" -o Dir::Etc::SourceList=/dev/null
     -o Dir::State::Lists="$out/apt/lists" -o Dir::Cache="$out/apt/cache" -o Debug::NoDropPrivs=1)
if ! ls "$out"/download/${package}_$version-*.dsc >/dev/null 2>&1 || [ ! -e "$out/download/$tarball" ]; then
  mkdir -p "$out/apt/sources" "$out/apt/lists/partial" "$out/apt/cache" "$out/download"
  printf '%s\n' "Types: deb-src" "URIs: http://deb.debian.org/debian" "Suites: bookworm" "Components: main" \
    "Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg" >"$out/apt/sources/debian-src.sources"
  apt-get "${apt[@]}" -q update >"$out/apt.log" 2>&1
  # Only the .dsc and the original tarball are needed; Debian's own patches may be missing.
  (cd "$out/download" && apt-get "${apt[@]}" source --download-only "$package=2:$version-3" >>"$out/apt.log" 2>&1) || true
fi
dsc=$(ls "$out"/download/${package}_$version-*.dsc)
expected=$(awk -v f="$tarball" '/^Checksums-Sha256:/ {s=1; next} /^[^ ]/ {s=0} s && $3 == f {print $1}' "$dsc")
[ -n "$expected" ] || { echo "no sha256 of $tarball in $dsc" >&2; exit 1; }
echo "$expected  $out/download/$tarball" | sha256sum -c --quiet || { echo "$tarball does not match $dsc" >&2; exit 1; }

key=$( (echo "$expected"; cat "$here/allegro-wine.patch" "$here/mingw-i686.cmake" "$0") | sha256sum | cut -d' ' -f1)
[ "$(cat "$out/install/key" 2>/dev/null)" = "$key" ] && exit 0

rm -rf "$out/src" "$out/build" "$out/install"
mkdir -p "$out/src"
tar xzf "$out/download/$tarball" -C "$out/src" --strip-components=1
patch -d "$out/src" -p1 -s <"$here/allegro-wine.patch"
cmake -S "$out/src" -B "$out/build" -DCMAKE_TOOLCHAIN_FILE="$here/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX="$out/install" -DSHARED=OFF -DWANT_EXAMPLES=OFF -DWANT_TOOLS=OFF -DWANT_TESTS=OFF \
  -DWANT_DOCS=OFF -DWANT_ALLEGROGL=OFF -DWANT_LOADPNG=OFF -DWANT_LOGG=OFF -DWANT_JPGALLEG=OFF >"$out/build.log" 2>&1 ||
  { tail -20 "$out/build.log" >&2; exit 1; }
cmake --build "$out/build" -j"${JOBS:-2}" >>"$out/build.log" 2>&1 || { tail -20 "$out/build.log" >&2; exit 1; }
cmake --install "$out/build" >>"$out/build.log" 2>&1
cp "$out/src/docs/txt/license.txt" "$out/install/license.txt"  # the giftware licence, which the zip carries
echo "$key" >"$out/install/key"
