#!/usr/bin/env bash
# The installed launcher, with a stand-in for the game that notes where it ran: it makes
# the player's folder from XDG_DATA_HOME or HOME, links the data file into it, runs the
# game there and passes its exit status on; it works when the installed tree moves or is
# reached through a link, and it explains why it cannot start the game.
# Arguments: as for install_lib.sh
source "$(dirname "$0")/install_lib.sh"
install_game

probe=$work/probe
cat >"$installed_game" <<'STANDIN'
#!/bin/sh
{ pwd -P; readlink quorbix.dat; echo "$*"; } >"$QUORBIX_PROBE"
exit 7
STANDIN

# Runs a command with nothing in its environment but PATH, the probe's place and the
# given variables (as for env); sets status, and out and err to its output.
launch() {
  rm -f "$probe"
  status=0
  env -i PATH="$PATH" QUORBIX_PROBE="$probe" "$@" >"$work/out" 2>"$work/err" || status=$?
  out=$(cat "$work/out")
  err=$(cat "$work/err")
}

# Checks that the game ran in FOLDER with the data file DATA linked there.
ran_in() {
  [ "$status" = 7 ] || fail "status $status, not the game's 7 (stderr: $err)"
  [ -z "$out$err" ] || fail "the launcher printed: $out$err"
  [ "$(sed -n 1p "$probe")" = "$1" ] || fail "the game ran in $(sed -n 1p "$probe"), not $1"
  [ "$(sed -n 2p "$probe")" = "$2" ] || fail "quorbix.dat links to '$(sed -n 2p "$probe")', not $2"
}

# Checks that the launcher refused with status 1, saying what it was given, without the game.
refused() {
  [ "$status" = 1 ] || fail "status $status, not 1, for: $1"
  [ ! -e "$probe" ] || fail "the game ran although: $1"
  grep -qF "$1" <<<"$err" || fail "stderr does not say '$1': $err"
}

data=$(readlink -f "$installed_data")

launch HOME="$work/home" "$launcher" one two
ran_in "$work/home/.local/share/quorbix" "$data"
[ "$(sed -n 3p "$probe")" = "one two" ] || fail "the arguments did not reach the game"

launch HOME="$work/home" XDG_DATA_HOME="$work/alice" "$launcher"
ran_in "$work/alice/quorbix" "$data"
[ ! -e "$work/home/.local/share/quorbix/scores.hi" ] || fail "unexpected scores.hi"

# An empty or relative XDG_DATA_HOME counts as unset.
rm -rf "$work/home"
launch HOME="$work/home" XDG_DATA_HOME= "$launcher"
ran_in "$work/home/.local/share/quorbix" "$data"
rm -rf "$work/home"
launch HOME="$work/home" XDG_DATA_HOME=relative "$launcher"
ran_in "$work/home/.local/share/quorbix" "$data"

# A link that points elsewhere, or a stray copy, is replaced by a link to the installed file.
ln -sfn /nowhere/quorbix.dat "$work/alice/quorbix/quorbix.dat"
launch XDG_DATA_HOME="$work/alice" "$launcher"
ran_in "$work/alice/quorbix" "$data"
rm "$work/alice/quorbix/quorbix.dat"
echo stale >"$work/alice/quorbix/quorbix.dat"
launch XDG_DATA_HOME="$work/alice" "$launcher"
ran_in "$work/alice/quorbix" "$data"

# Started through a link of its own, and after the whole tree moved elsewhere.
mkdir "$work/games"
ln -s "$launcher" "$work/games/quorbix"
launch XDG_DATA_HOME="$work/alice" "$work/games/quorbix"
ran_in "$work/alice/quorbix" "$data"
mv "$root" "$work/moved"
launch XDG_DATA_HOME="$work/alice" "$work/moved${launcher#"$root"}"
ran_in "$work/alice/quorbix" "$work/moved${data#"$root"}"
mv "$work/moved" "$root"

# Failures, each named on stderr, and the game is not started.
launch "$launcher"
refused "neither XDG_DATA_HOME nor HOME is set"
touch "$work/plain"
launch XDG_DATA_HOME="$work/plain" "$launcher"
refused "cannot make the folder $work/plain/quorbix"
grep -q "Not a directory" <<<"$err" || fail "stderr does not give the reason: $err"
mkdir -p "$work/bob/quorbix/quorbix.dat"
launch XDG_DATA_HOME="$work/bob" "$launcher"
refused "cannot link the data file into $work/bob/quorbix"
rm "$installed_data"
launch XDG_DATA_HOME="$work/carol" "$launcher"
refused "the data file $data is missing"
[ ! -e "$work/carol" ] || fail "a player's folder was made without a data file"
cp "$data_file" "$installed_data"
rm "$installed_game"
launch XDG_DATA_HOME="$work/carol" "$launcher"
refused "the game $installed_game is missing"
echo "installed launcher: ok"
