#!/usr/bin/env bash
# The installed game under Xvfb, started by its launcher for two players: each quits on
# the title screen with Esc, and each keeps a score table of their own in their folder,
# the first the default table, the second the one it already had.
# Arguments: as for an install test in lib.sh
source "$(dirname "$0")/lib.sh"
install_game
start_display

# Starts the launcher in the scratch folder with the given variables (as for env), waits
# for the title screen's start prompt and quits with Esc.
play_and_quit() {
  local tries=0
  start_game nodata env "$@" "$launcher"
  find_window Quorbix
  until screenshot "$win" "$work/title.png" &&
        [ "$(brightness "$work/title.png" 160 8 240 390)" != 0 ]; do
    tries=$((tries + 1))
    [ "$tries" -lt 40 ] || fail "no title screen"
    sleep 0.25
  done
  quit_with_esc
}

alice=$work/alice/quorbix
bob=$work/bob/quorbix

play_and_quit HOME="$work/home" XDG_DATA_HOME="$work/alice"
[ "$(hex_of "$alice/scores.hi")" = "$(table_hex)" ] || fail "the first player's table is not the default"
[ ! -e "$work/scores.hi" ] || fail "scores.hi written in the folder the launcher was started from"
[ ! -e "$share_dir/quorbix/scores.hi" ] || fail "scores.hi written beside the installed data file"

# The second player's table: the default one with another leader, written long ago.
bob_table=$(table_hex Bobbins:100 "${default_table[@]:1}")
mkdir -p "$bob"
unhex <<<"$bob_table" >"$bob/scores.hi"
touch -d "2001-01-01" "$bob/scores.hi"

play_and_quit HOME="$work/home" XDG_DATA_HOME="$work/bob"
[ "$(hex_of "$bob/scores.hi")" = "$bob_table" ] || fail "the second player's table changed"
[ "$(stat -c %Y "$bob/scores.hi")" -gt "$(date -d 2001-01-02 +%s)" ] ||
  fail "the game did not write the second player's table"
[ "$(hex_of "$alice/scores.hi")" = "$(table_hex)" ] || fail "the first player's table changed"
echo "installed game, two players: ok"
