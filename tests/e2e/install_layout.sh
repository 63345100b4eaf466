#!/usr/bin/env bash
# The installed tree: the launcher alone on the PATH, the game in its private folder, the data
# file, a valid menu entry with its icons and software-centre metadata, a readable manual page.
# With "package", cpack first builds the Debian package: in section games, depending on the
# libraries the game links, holding a game's files in Debian's places, with nothing for lintian
# to warn of; the tree checked is then the package unpacked.
# Arguments: as for an install test in lib.sh
source "$(dirname "$0")/lib.sh"

if [ "$from" = package ]; then
  rm -f "$package"
  (cd "$build_dir" && "$(dirname "$cmake_command")/cpack" -G DEB) >"$work/cpack.log" 2>&1 ||
    fail "cpack failed: $(cat "$work/cpack.log")"
  fields=$(dpkg-deb -f "$package" Section Version Depends)
  [[ $fields == "Section: games"$'\n'"Version: $version"$'\n'*"liballegro4.4 (>= "*"libc6 (>= "* ]] ||
    fail "the package's fields: $fields"
  files=$(dpkg-deb -c "$package" | awk '$1 !~ /^d/ { print $6 }' | sort)
  expected="./usr/games/quorbix
./usr/lib/games/quorbix/quorbix
./usr/share/applications/org.example.quorbix.desktop
./usr/share/doc/quorbix/changelog.gz
./usr/share/doc/quorbix/copyright
./usr/share/games/quorbix/quorbix.dat
./usr/share/icons/hicolor/256x256/apps/quorbix.png
./usr/share/icons/hicolor/48x48/apps/quorbix.png
./usr/share/icons/hicolor/96x96/apps/quorbix.png
./usr/share/man/man6/quorbix.6.gz
./usr/share/metainfo/org.example.quorbix.metainfo.xml"
  [ "$files" = "$expected" ] || fail "the package holds: $files"
  report=$(lintian --fail-on error,warning "$package" 2>&1) || fail "lintian: $report"
fi
install_game

[ "$(ls "$bin_dir")" = quorbix ] || fail "bin/ holds $(ls "$bin_dir" | tr '\n' ' '), not just the launcher"
[ "$(head -c 2 "$launcher")" = "#!" ] && [ -x "$launcher" ] || fail "bin/quorbix is not the launcher script"
[ "$(head -c 4 "$installed_game")" = $'\x7fELF' ] && [ -x "$installed_game" ] || fail "the installed game is not a program"
cmp -s "$installed_data" "$data_file" || fail "the installed data file is not the built one"
[ ! -e "$game_dir/quorbix.dat" ] || fail "a data file beside the game"

desktop=$share_dir/applications/org.example.quorbix.desktop
report=$(desktop-file-validate "$desktop" 2>&1) && [ -z "$report" ] || fail "menu entry: $report"
grep -qx "Exec=quorbix" "$desktop" && grep -qx "Icon=quorbix" "$desktop" ||
  fail "the menu entry does not start the launcher with its icon"
metainfo=$share_dir/metainfo/org.example.quorbix.metainfo.xml
report=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fail "invalid metainfo: $report"
grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo has no release $version"

# Each icon: a square PNG of the ship (45 x 27) scaled up by the largest whole number that
# fits, with crisp edges (two alpha values), centred, its background transparent (the ship's
# nose is at the middle of its top row, so the corner of its box is background).
for size in 48 96 256; do
  icon=$share_dir/icons/hicolor/${size}x${size}/apps/quorbix.png
  scale=$((size / 45))
  info=$("$convert" "$icon" -format "%m %wx%h " -write info: -alpha extract -format "%k " -write info: \
    -trim -format "%wx%h %[fx:p{0,0}] %X %Y" info:) || fail "no ${size}x${size} icon"
  read -r kind dims alphas box corner x y <<<"$info"
  [ "$kind $dims $alphas $box $corner" = "PNG ${size}x$size 2 $((45 * scale))x$((27 * scale)) 0" ] ||
    fail "the ${size}x${size} icon is not the ship scaled by $scale, crisp on a transparent square: $info"
  dx=$((2 * x - size + 45 * scale)) dy=$((2 * y - size + 27 * scale))
  [ $((dx * dx + dy * dy)) -le 2 ] || fail "the ship is not centred in the ${size}x${size} icon: $info"
done

page=$man_dir/man6/quorbix.6.gz
text=$(MANWIDTH=80 man --warnings -l "$page" 2>"$work/man.err") || fail "man cannot show $page"
[ ! -s "$work/man.err" ] || fail "manual page warnings: $(cat "$work/man.err")"
# Its sections, the NAME line, the files' places, the table's size, status 255, the variable.
for pattern in ^SYNOPSIS$ ^DESCRIPTION$ ^CONTROLS$ ^FILES$ "^EXIT STATUS$" ^ENVIRONMENT$ \
    "quorbix - arcade shooter" "${installed_data#"$root"}" scores.hi "112 bytes" "^ +255 +" XDG_DATA_HOME; do
  grep -qE "$pattern" <<<"$text" || fail "the manual page lacks '$pattern'"
done
echo "installed tree ($from): ok"
