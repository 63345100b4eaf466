#!/usr/bin/env bash
# The installed game under Xvfb, started by its launcher for two players: each quits on
# the title screen with Esc, and each keeps a score table of their own in their folder,
# the first the default table, the second the one it already had.
# Arguments: as for install_lib.sh
source "$(dirname "$0")/install_lib.sh"
install_game
start_display

# Starts the launcher in the scratch folder with the given variables (as for env), waits
# for the title screen's start prompt, quits with Esc and checks the exit status.
play_and_quit() {
  (cd "$work" && exec env "$@" "$launcher" >"$work/stdout" 2>"$work/stderr") &
  game_pid=$!
  local win tries=0
  win=$(find_window Quorbix) || fail "no window titled Quorbix: $(cat "$work/stderr")"
  [ -n "$win" ] || fail "no window titled Quorbix"
  until screenshot "$win" "$work/title.png" &&
        [ "$(brightness "$work/title.png" 160 8 240 390)" != 0 ]; do
    tries=$((tries + 1))
    [ "$tries" -lt 40 ] || fail "no title screen"
    sleep 0.25
  done
  hold "$win" Escape
  wait_game
  [ "$game_status" = 0 ] || fail "exit status $game_status after Esc: $(cat "$work/stderr")"
}

alice=$work/alice/quorbix
bob=$work/bob/quorbix

play_and_quit HOME="$work/home" XDG_DATA_HOME="$work/alice"
[ -f "$alice/scores.hi" ] || fail "no scores.hi in the first player's folder"
[ "$(hex_of "$alice/scores.hi")" = "$(default_table_hex)" ] || fail "the first player's table is not the default"
[ "$(readlink "$alice/quorbix.dat")" = "$(readlink -f "$installed_data")" ] ||
  fail "quorbix.dat in the player's folder does not link to the installed data file"
[ ! -e "$work/scores.hi" ] || fail "scores.hi written in the folder the launcher was started from"
[ ! -e "$share_dir/quorbix/scores.hi" ] || fail "scores.hi written beside the installed data file"

# The second player's table: the default one with another leader, written long ago.
name_hex() { printf '%s' "$1" | od -An -tx1 | tr -d ' \n'; }
bob_table=$(default_table_hex | sed "s/^$(name_hex Morwick)/$(name_hex Bobbins)/")
mkdir -p "$bob"
printf '%b' "$(sed 's/../\\x&/g' <<<"$bob_table")" >"$bob/scores.hi"
touch -d "2001-01-01" "$bob/scores.hi"

play_and_quit HOME="$work/home" XDG_DATA_HOME="$work/bob"
[ "$(hex_of "$bob/scores.hi")" = "$bob_table" ] || fail "the second player's table changed"
[ "$(stat -c %Y "$bob/scores.hi")" -gt "$(date -d 2001-01-02 +%s)" ] ||
  fail "the game did not write the second player's table"
[ "$(hex_of "$alice/scores.hi")" = "$(default_table_hex)" ] || fail "the first player's table changed"
echo "installed game, two players: ok"
