#!/usr/bin/env bash
# The installed launcher runs the real game in the player's folder; a stand-in game shows the data file linked, the
# status passed on (also via a link or a moved tree), --version, --help, --scale, each failure's reason. Args: lib.sh
screen_size=3840x2160
source "$(dirname "$0")/lib.sh"
install_game

# The real game, at scale 3 in a window (the last word), quit at once, leaves a new player the default
# table in their own folder.
start_game nodata env HOME="$work/home" XDG_DATA_HOME="$work/ann" "$launcher" --fullscreen --scale 3 --window
find_window Quorbix
[ "$(xdotool getwindowgeometry "$win" | grep -o '[0-9]*x[0-9]*')" = 1920x1440 ] || fail "not a 1920x1440 window"
hold "$win" Escape
wait_game
[ "$game_status" = 0 ] && cmp -s "$work/ann/quorbix/scores.hi" <(table) ||
  fail "exit status $game_status after Esc, or no default table in the player's folder: $(cat "$work/stderr")"

cat >"$installed_game" <<'STANDIN'
#!/bin/sh
echo "$(pwd -P) $(readlink quorbix.dat) $*"
exit 7
STANDIN
data=$(readlink -f "$installed_data")

# launch CODE OUT ERR VARS... COMMAND: with only PATH and VARS set, COMMAND ends with CODE, printing what
# matches OUT and ERR (empty: nothing); 7: the game ran in folder OUT, no arguments, the data file linked.
launch() {
  local code=$1 out=$2 err=$3 status=0
  shift 3
  [ "$code" != 7 ] || out="^$out $data \$"
  env -i PATH="$PATH" "$@" >"$work/out" 2>"$work/err" || status=$?
  [ "$status" = "$code" ] && [[ $(<"$work/out") =~ ${out:-^$} && $(<"$work/err") =~ ${err:-^$} ]] ||
    fail "$*: status $status (wanted $code), printed '$(cat "$work/out")', on standard error '$(cat "$work/err")'"
}

alice=$work/alice/quorbix
launch 7 "$alice" "" HOME="$work/home" XDG_DATA_HOME="$work/alice" "$launcher"
# An unset, empty or relative XDG_DATA_HOME means ~/.local/share.
for xdg in "" XDG_DATA_HOME= XDG_DATA_HOME=relative; do
  launch 7 "$work/home/.local/share/quorbix" "" HOME="$work/home" $xdg "$launcher"
done

# A stray copy of the data file is replaced by a link to the installed file.
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
for args in --bogus "--help more" "--scale 0" "--scale 9" "--scale x" --scale; do
  launch 2 "" "^usage: quorbix " "$launcher" $args
done

# Failures, each explained on standard error.
launch 1 "" "neither XDG_DATA_HOME nor HOME is set" "$launcher"
launch 1 "" "cannot make the folder /dev/null/quorbix .*: Not a directory$" XDG_DATA_HOME=/dev/null "$launcher"
mkdir -p "$work/bob/quorbix/quorbix.dat"
launch 1 "" "cannot link the data file into $work/bob/quorbix" XDG_DATA_HOME="$work/bob" "$launcher"
rm "$installed_data"
launch 1 "" "the data file $data is missing" XDG_DATA_HOME="$work/carol" "$launcher"
[ ! -e "$work/carol" ] || fail "a player's folder was made without a data file"
cp "$data_file" "$installed_data"
rm "$installed_game"
launch 1 "" "the game $installed_game is missing" XDG_DATA_HOME="$work/carol" "$launcher"
echo "installed launcher and player (${from:-cmake}): ok"
