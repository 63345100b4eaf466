#!/usr/bin/env bash
# The installed launcher: the real game it starts for two players keeps each one's table in
# their own folder; a stand-in game noting where it ran shows it runs the game in the player's
# folder with the data file linked there and passes its status on, also through a link or from
# a moved tree, answers --version and --help, and says why it cannot start the game.
# Arguments: as for an install test in lib.sh
source "$(dirname "$0")/lib.sh"
install_game

# The second player's table: the default one with another leader, written long ago.
mkdir -p "$work/ben/quorbix"
table Bobbins:100 Tallo:90 Brenna:75 Quill:50 Dastor:30 Fennig:20 Ulmar:15 >"$work/ben/quorbix/scores.hi"
touch -d 2001-01-01 "$work/ben/quorbix/scores.hi"
# Each player waits for the title screen's start prompt and quits with Esc.
for player in ann ben; do
  start_game nodata env HOME="$work/home" XDG_DATA_HOME="$work/$player" "$launcher"
  find_window Quorbix
  tries=0
  until screenshot "$win" "$work/title.png" && lit "$work/title.png" 160 8 240 390; do
    [ $((tries += 1)) -lt 40 ] || fail "no title screen"
    sleep 0.25
  done
  hold "$win" Escape
  wait_game
  [ "$game_status" = 0 ] || fail "exit status $game_status after Esc: $(cat "$work/stderr")"
done
cmp -s "$work/ann/quorbix/scores.hi" <(table) || fail "the first player's table is not the default"
cmp -s "$work/ben/quorbix/scores.hi" <(table Bobbins:100 Tallo:90 Brenna:75 Quill:50 Dastor:30 Fennig:20 Ulmar:15) ||
  fail "the second player's table changed"
[ "$(stat -c %Y "$work/ben/quorbix/scores.hi")" -gt "$(date -d 2001-01-02 +%s)" ] ||
  fail "the game did not write the second player's table"
[ ! -e "$work/scores.hi" ] && [ ! -e "$(dirname "$installed_data")/scores.hi" ] ||
  fail "a table written where the launcher was started or beside the installed data file"

probe=$work/probe
cat >"$installed_game" <<'STANDIN'
#!/bin/sh
echo "$(pwd -P) $(readlink quorbix.dat) $*" >"$QUORBIX_PROBE"
exit 7
STANDIN
data=$(readlink -f "$installed_data")

# launch CODE OUT ERR VARS... COMMAND: runs COMMAND with only PATH, the probe and VARS set. It
# must end with status CODE and print what matches OUT and ERR (empty: nothing). On status 7 the
# game must have run without arguments in folder OUT with the data file linked there, else not.
launch() {
  local code=$1 out=$2 err=$3 status=0
  shift 3
  rm -f "$probe"
  env -i PATH="$PATH" QUORBIX_PROBE="$probe" "$@" >"$work/out" 2>"$work/err" || status=$?
  [ "$status" = "$code" ] || fail "$*: status $status, not $code: $(cat "$work/err")"
  if [ "$code" = 7 ]; then
    [ "$(cat "$probe")" = "$out $data " ] || fail "$*: the game ran as: $(cat "$probe")"
    out=""
  else
    [ ! -e "$probe" ] || fail "$*: the game ran"
  fi
  [[ $(<"$work/out") =~ ${out:-^$} && $(<"$work/err") =~ ${err:-^$} ]] ||
    fail "$*: printed '$(cat "$work/out")', and on standard error '$(cat "$work/err")'"
}

alice=$work/alice/quorbix
launch 7 "$alice" "" HOME="$work/home" XDG_DATA_HOME="$work/alice" "$launcher"
# An unset, empty or relative XDG_DATA_HOME means ~/.local/share.
for xdg in "" XDG_DATA_HOME= XDG_DATA_HOME=relative; do
  launch 7 "$work/home/.local/share/quorbix" "" HOME="$work/home" $xdg "$launcher"
done

# A link that points elsewhere, or a stray copy, is replaced by a link to the installed file.
ln -sfn /nowhere/quorbix.dat "$alice/quorbix.dat"
launch 7 "$alice" "" XDG_DATA_HOME="$work/alice" "$launcher"
rm "$alice/quorbix.dat"
echo stale >"$alice/quorbix.dat"
launch 7 "$alice" "" XDG_DATA_HOME="$work/alice" "$launcher"

# Started through a link of its own, and after the whole tree moved elsewhere.
ln -s "$launcher" "$work/quorbix"
launch 7 "$alice" "" XDG_DATA_HOME="$work/alice" "$work/quorbix"
mv "$root" "$work/moved"
data=$work/moved${data#"$root"} launch 7 "$alice" "" XDG_DATA_HOME="$work/alice" "$work/moved${launcher#"$root"}"
mv "$work/moved" "$root"

launch 0 "^quorbix $version\$" "" "$launcher" --version
launch 0 "XDG_DATA_HOME/quorbix/scores\.hi" "" "$launcher" --help
for given in --bogus "--help more" "one two"; do
  launch 2 "" "^usage: quorbix " "$launcher" $given
done

# Failures, each explained on standard error.
launch 1 "" "neither XDG_DATA_HOME nor HOME is set" "$launcher"
touch "$work/plain"
launch 1 "" "cannot make the folder $work/plain/quorbix .*: Not a directory$" XDG_DATA_HOME="$work/plain" "$launcher"
mkdir -p "$work/bob/quorbix/quorbix.dat"
launch 1 "" "cannot link the data file into $work/bob/quorbix" XDG_DATA_HOME="$work/bob" "$launcher"
rm "$installed_data"
launch 1 "" "the data file $data is missing" XDG_DATA_HOME="$work/carol" "$launcher"
[ ! -e "$work/carol" ] || fail "a player's folder was made without a data file"
cp "$data_file" "$installed_data"
rm "$installed_game"
launch 1 "" "the game $installed_game is missing" XDG_DATA_HOME="$work/carol" "$launcher"
echo "installed launcher and players (${from:-cmake}): ok"
