#!/usr/bin/env bash
# The installed tree: the launcher alone on the PATH, the game in its private folder,
# the data file, a valid menu entry with its icons and software-centre metadata, and a
# readable manual page.
# Arguments: as for an install test in lib.sh
source "$(dirname "$0")/lib.sh"
install_game

[ "$(ls "$bin_dir")" = quorbix ] || fail "bin/ holds $(ls "$bin_dir" | tr '\n' ' '), not just the launcher"
[ -x "$launcher" ] && [ -x "$installed_game" ] || fail "the launcher or the game in $game_dir is not executable"
[ "$(head -c 2 "$launcher")" = "#!" ] || fail "bin/quorbix is not the launcher script"
[ "$(head -c 4 "$installed_game")" = $'\x7fELF' ] || fail "the installed game is not a program"
cmp -s "$installed_data" "$data_file" || fail "the installed data file is not the built one"
[ ! -e "$game_dir/quorbix.dat" ] || fail "a data file beside the game"

desktop=$share_dir/applications/org.example.quorbix.desktop
report=$(desktop-file-validate "$desktop" 2>&1) || fail "invalid menu entry: $report"
[ -z "$report" ] || fail "menu entry warnings: $report"
metainfo=$share_dir/metainfo/org.example.quorbix.metainfo.xml
report=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fail "invalid metainfo: $report"
grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo has no release $version"
grep -qx "Exec=quorbix" "$desktop" && grep -qx "Icon=quorbix" "$desktop" ||
  fail "the menu entry does not start the launcher with its icon"

# Each icon: a square PNG of the ship (45 x 27) scaled up by the largest whole number that
# fits, centred, with crisp edges (every pixel fully opaque or fully transparent) and its
# background transparent (the ship's nose is at the middle of its top row, so the corners
# of the ship's box are background).
for size in 48 96 256; do
  icon=$share_dir/icons/hicolor/${size}x${size}/apps/quorbix.png
  kind=$("$convert" "$icon" -format "%m %wx%h" info:) || fail "no ${size}x${size} icon"
  [ "$kind" = "PNG ${size}x${size}" ] || fail "the ${size}x${size} icon is $kind"
  scale=$((size / 45))
  read -r w h x y < <("$convert" "$icon" -alpha extract -trim -format "%w %h %X %Y\n" info:)
  [ "${w}x$h" = "$((45 * scale))x$((27 * scale))" ] ||
    fail "the ship in the ${size}x${size} icon is ${w}x$h, not $((45 * scale))x$((27 * scale))"
  dx=$((2 * x - size + w)) dy=$((2 * y - size + h))
  [ $((dx * dx + dy * dy)) -le 2 ] || fail "the ship is not centred in the ${size}x${size} icon (at $x,$y)"
  [ "$("$convert" "$icon" -alpha extract -format "%k" info:)" = 2 ] ||
    fail "the ${size}x${size} icon has blurred edges"
  [ "$("$convert" "$icon" -format "%[fx:p{${x#+},${y#+}}.a]" info:)" = 0 ] ||
    fail "the ship's background is not transparent in the ${size}x${size} icon"
done

page=$man_dir/man6/quorbix.6.gz
text=$(MANWIDTH=80 man --warnings -l "$page" 2>"$work/man.err") || fail "man cannot show $page"
[ ! -s "$work/man.err" ] || fail "manual page warnings: $(cat "$work/man.err")"
# Its sections, the NAME line, the files' places, the table's size, status 255, the variable.
for pattern in ^SYNOPSIS$ ^DESCRIPTION$ ^CONTROLS$ ^FILES$ "^EXIT STATUS$" ^ENVIRONMENT$ \
    "quorbix - arcade shooter" "${installed_data#"$root"}" scores.hi "112 bytes" "^ +255 +" XDG_DATA_HOME; do
  grep -qE "$pattern" <<<"$text" || fail "the manual page lacks '$pattern'"
done
echo "install layout: ok"
