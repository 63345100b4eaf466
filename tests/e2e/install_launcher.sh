#!/usr/bin/env bash
# The installed launcher, with a stand-in for the game that notes where it ran: it makes
# the player's folder from XDG_DATA_HOME or HOME, links the data file into it, runs the
# game there and passes its exit status on; it works when the installed tree moves or is
# reached through a link, and it explains why it cannot start the game. It answers
# --version and --help itself and refuses any other argument.
# Arguments: as for an install test in lib.sh
source "$(dirname "$0")/lib.sh"
install_game

probe=$work/probe
cat >"$installed_game" <<'STANDIN'
#!/bin/sh
{ pwd -P; readlink quorbix.dat; echo "$*"; } >"$QUORBIX_PROBE"
exit 7
STANDIN

# Runs a command with nothing in its environment but PATH, the probe's place and the
# given variables (as for env); sets status, and err to all it printed.
launch() {
  rm -f "$probe"
  status=0
  err=$(env -i PATH="$PATH" QUORBIX_PROBE="$probe" "$@" 2>&1) || status=$?
}

# ran_in FOLDER VARS... COMMAND: launches; the game must have run silently in FOLDER with
# $data linked there, its status passed on. Sets args to the arguments the game got.
ran_in() {
  local dir=$1 where link && shift
  launch "$@"
  [ "$status" = 7 ] || fail "status $status, not the game's 7 (output: $err)"
  [ -z "$err" ] || fail "the launcher printed: $err"
  { read -r where; read -r link; read -r args; } <"$probe"
  [ "$where" = "$dir" ] || fail "the game ran in $where, not $dir"
  [ "$link" = "$data" ] || fail "quorbix.dat links to '$link', not $data"
}

# refused REASON VARS... COMMAND: launches; the launcher must end with status 1 and say
# REASON on stderr, without starting the game.
refused() {
  local why=$1 && shift
  launch "$@"
  [ "$status" = 1 ] || fail "status $status, not 1, for: $why"
  [ ! -e "$probe" ] || fail "the game ran although: $why"
  grep -qF "$why" <<<"$err" || fail "stderr does not say '$why': $err"
}

data=$(readlink -f "$installed_data")
alice=$work/alice/quorbix

ran_in "$work/home/.local/share/quorbix" HOME="$work/home" "$launcher"
[ -z "$args" ] || fail "the game was given arguments: $args"
ran_in "$alice" HOME="$work/home" XDG_DATA_HOME="$work/alice" "$launcher"
# An empty or relative XDG_DATA_HOME counts as unset.
for xdg in "" relative; do
  ran_in "$work/home/.local/share/quorbix" HOME="$work/home" XDG_DATA_HOME="$xdg" "$launcher"
done

# A link that points elsewhere, or a stray copy, is replaced by a link to the installed file.
ln -sfn /nowhere/quorbix.dat "$alice/quorbix.dat"
ran_in "$alice" XDG_DATA_HOME="$work/alice" "$launcher"
rm "$alice/quorbix.dat"
echo stale >"$alice/quorbix.dat"
ran_in "$alice" XDG_DATA_HOME="$work/alice" "$launcher"

# Started through a link of its own, and after the whole tree moved elsewhere.
mkdir "$work/games"
ln -s "$launcher" "$work/games/quorbix"
ran_in "$alice" XDG_DATA_HOME="$work/alice" "$work/games/quorbix"
mv "$root" "$work/moved"
data=$work/moved${data#"$root"} ran_in "$alice" XDG_DATA_HOME="$work/alice" "$work/moved${launcher#"$root"}"
mv "$work/moved" "$root"

# The options, as rows: arguments; status; patterns that standard output and standard error
# must match (empty: nothing printed). The game never starts.
rows=(
  "--version;0;^quorbix $version\$;"
  "--help;0;XDG_DATA_HOME/quorbix/scores\.hi;"
  "--bogus;2;;^usage: quorbix "
  "--help more;2;;^usage: quorbix "
  "one two;2;;^usage: quorbix "
)
for row in "${rows[@]}"; do
  IFS=';' read -r given code out err <<<"$row"
  rm -f "$probe"
  status=0
  env -i PATH="$PATH" QUORBIX_PROBE="$probe" "$launcher" $given >"$work/out" 2>"$work/err" || status=$?
  for stream in out err; do
    pattern=${!stream}
    if [ -z "$pattern" ]; then [ ! -s "$work/$stream" ]; else grep -qE "$pattern" "$work/$stream"; fi ||
      fail "quorbix $given: standard $stream is not '$pattern': $(cat "$work/$stream")"
  done
  [ "$status" = "$code" ] && [ ! -e "$probe" ] || fail "quorbix $given: status $status, not $code, or the game ran"
done

# Failures, each named on stderr, and the game is not started.
refused "neither XDG_DATA_HOME nor HOME is set" "$launcher"
touch "$work/plain"
refused "cannot make the folder $work/plain/quorbix" XDG_DATA_HOME="$work/plain" "$launcher"
grep -q "Not a directory" <<<"$err" || fail "stderr does not give the reason: $err"
mkdir -p "$work/bob/quorbix/quorbix.dat"
refused "cannot link the data file into $work/bob/quorbix" XDG_DATA_HOME="$work/bob" "$launcher"
rm "$installed_data"
refused "the data file $data is missing" XDG_DATA_HOME="$work/carol" "$launcher"
[ ! -e "$work/carol" ] || fail "a player's folder was made without a data file"
cp "$data_file" "$installed_data"
rm "$installed_game"
refused "the game $installed_game is missing" XDG_DATA_HOME="$work/carol" "$launcher"
echo "installed launcher: ok"
