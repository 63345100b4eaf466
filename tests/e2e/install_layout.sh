#!/usr/bin/env bash
# The installed tree: its files, a valid menu entry and metadata, the icons, the manual page. With "package",
# cpack's package is checked (fields, lintian, Debian's places) and unpacked. Args: as in lib.sh
source "$(dirname "$0")/lib.sh"

if [ "$from" = package ]; then
  rm -f "$package"
  (cd "$build_dir" && "$(dirname "$cmake_command")/cpack" -G DEB) >"$work/cpack.log" 2>&1 ||
    fail "cpack failed: $(cat "$work/cpack.log")"
  fields=$(dpkg-deb -f "$package" Section Version Depends)
  [[ $fields == "Section: games"$'\n'"Version: $version"$'\n'*"liballegro4.4 (>= "*"libc6 (>= "* ]] ||
    fail "the package's fields: $fields"
  report=$(lintian --fail-on error,warning "$package" 2>&1) || fail "lintian: $report"
fi
install_game

share=$root$share_dir
expected=$(printf '%s\n' "$launcher" "$installed_game" "$installed_data" "$root$man_dir/man6/quorbix.6.gz" \
  "$share"/{applications/org.example.quorbix.desktop,metainfo/org.example.quorbix.metainfo.xml} \
  "$share"/doc/quorbix/{changelog.gz,copyright} "$share"/icons/hicolor/{48x48,96x96,256x256}/apps/quorbix.png | sort)
[ "$(find "$root" ! -type d | sort)" = "$expected" ] || fail "the tree holds: $(find "$root" ! -type d)"
cmp -s "$installed_data" "$data_file" || fail "the installed data file is not the built one"

desktop=$share/applications/org.example.quorbix.desktop
report=$(desktop-file-validate "$desktop" 2>&1) && [ -z "$report" ] || fail "menu entry: $report"
grep -qx "Exec=quorbix" "$desktop" && grep -qx "Icon=quorbix" "$desktop" ||
  fail "the menu entry does not start the launcher with its icon"
metainfo=$share/metainfo/org.example.quorbix.metainfo.xml
report=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fail "invalid metainfo: $report"
grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo has no release $version"

# Each icon: the 45 x 27 ship scaled by the most that fits, crisp, centred on a transparent square PNG.
for size in 48 96 256; do
  scale=$((size / 45))
  info=$(convert "$share/icons/hicolor/${size}x$size/apps/quorbix.png" -format "%m %wx%h " -write info: \
    -alpha extract -format "%k " -write info: -trim -format "%wx%h %[fx:p{0,0}] %X %Y" info:)
  read -r kind dims alphas box corner x y <<<"$info"
  [ "$kind $dims $alphas $box $corner" = "PNG ${size}x$size 2 $((45 * scale))x$((27 * scale)) 0" ] ||
    fail "the ${size}x${size} icon is not the ship scaled by $scale, crisp on a transparent square: $info"
  dx=$((2 * x - size + 45 * scale)) dy=$((2 * y - size + 27 * scale))
  [ $((dx * dx + dy * dy)) -le 2 ] || fail "the ship is not centred in the ${size}x${size} icon: $info"
done

# The manual page shows without warnings, with the configured places filled in.
text=$(MANWIDTH=80 man --warnings -l "$root$man_dir/man6/quorbix.6.gz" 2>"$work/man.err") &&
  [ ! -s "$work/man.err" ] || fail "man cannot show the page without warnings: $(cat "$work/man.err")"
[[ $text == *"$data_dir/quorbix.dat"* && $text == *"$game_dir/quorbix"* ]] || fail "the manual page lacks the configured places"
echo "installed tree (${from:-cmake}): ok"
