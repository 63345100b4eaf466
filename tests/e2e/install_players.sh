#!/usr/bin/env bash
# The installed game under Xvfb, started by its launcher for two players who each quit on the
# title screen with Esc: each keeps a score table of their own in their own folder, the first
# the default table, the second the one it already had.
# Arguments: as for an install test in lib.sh
source "$(dirname "$0")/lib.sh"
install_game
start_display

# Starts the launcher with the given variables (as for env), waits for the title screen's
# start prompt and quits with Esc.
play_and_quit() {
  local tries=0
  start_game nodata env "$@" "$launcher"
  find_window Quorbix
  until screenshot "$win" "$work/title.png" && lit "$work/title.png" 160 8 240 390; do
    [ $((tries += 1)) -lt 40 ] || fail "no title screen"
    sleep 0.25
  done
  quit_with_esc
}

alice=$work/alice/quorbix
bob=$work/bob/quorbix
# The second player's table: the default one with another leader, written long ago.
mkdir -p "$bob"
table Bobbins:100 "${default_table[@]:1}" >"$work/bob.hi"
cp "$work/bob.hi" "$bob/scores.hi"
touch -d 2001-01-01 "$bob/scores.hi"

play_and_quit HOME="$work/home" XDG_DATA_HOME="$work/alice"
play_and_quit HOME="$work/home" XDG_DATA_HOME="$work/bob"
cmp -s "$alice/scores.hi" <(table) || fail "the first player's table is not the default"
cmp -s "$bob/scores.hi" "$work/bob.hi" || fail "the second player's table changed"
[ "$(stat -c %Y "$bob/scores.hi")" -gt "$(date -d 2001-01-02 +%s)" ] || fail "the game did not write the second player's table"
[ ! -e "$work/scores.hi" ] && [ ! -e "$(dirname "$installed_data")/scores.hi" ] ||
  fail "a table written where the launcher was started or beside the installed data file"
echo "installed game, two players: ok"
