#!/usr/bin/env bash
# Starts Quorbix for the current player: runs the installed game in the player's own
# folder ($XDG_DATA_HOME/quorbix, by default ~/.local/share/quorbix), where it finds a
# link to the installed data file and keeps that player's high scores in scores.hi.
# Answers --version and --help without starting the game. The game reads no command line: the
# window's scale and fullscreen are handed on to it in QUORBIX_SCALE and QUORBIX_FULLSCREEN.
set -euo pipefail

usage="usage: quorbix [--scale N] [--fullscreen | --window] | --version | --help"
# Prints the usage on standard error and stops with status 2.
bad_usage() {
  echo "$usage" >&2
  exit 2
}
case "$#:${1:-}" in
  1:--version) echo "quorbix @PROJECT_VERSION@"; exit 0 ;;
  1:--help)
    cat <<EOF
$usage
Quorbix @PROJECT_VERSION@, a single-player arcade shooter: steer a drifting ship and shoot
the floating words before they wreck it.

  --scale N      show every pixel as an N x N block, N from 1 to 8 (by default the
                 largest that fits the desktop)
  --fullscreen   start fullscreen
  --window       start in a window (the default); the last of the two wins

Your high scores are kept in \$XDG_DATA_HOME/quorbix/scores.hi
(by default ~/.local/share/quorbix/scores.hi).

Controls: Enter starts a game and confirms your name; Left and Right turn, Up
thrusts, A fires; F2 on the title screen switches to a joystick; F11 switches
between window and fullscreen. Esc or the window's close button quits.
EOF
    exit 0 ;;
esac
while [ $# -gt 0 ]; do
  case $1 in
    --scale) [[ ${2:-} =~ ^[1-8]$ ]] || bad_usage; export QUORBIX_SCALE=$2; shift ;;
    --fullscreen) export QUORBIX_FULLSCREEN=1 ;;
    --window) export QUORBIX_FULLSCREEN=0 ;;
    *) bad_usage ;;
  esac
  shift
done

# Where the game and its data file lie, relative to this launcher's own folder, so that the
# installed tree can be moved as a whole (a staging DESTDIR, a different prefix).
here=$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")
game=$(readlink -m "$here/@LAUNCHER_TO_GAME@/quorbix")
data=$(readlink -m "$here/@LAUNCHER_TO_DATA@/quorbix.dat")

# Reports why the game cannot start and stops.
die() {
  echo "quorbix: $*" >&2
  exit 1
}

[ -f "$data" ] || die "the data file $data is missing; reinstall Quorbix"
[ -f "$game" ] && [ -x "$game" ] || die "the game $game is missing; reinstall Quorbix"

# The player's data folder: an absolute XDG_DATA_HOME, else ~/.local/share.
data_home=${XDG_DATA_HOME:-}
if [[ $data_home != /* ]]; then
  [ -n "${HOME:-}" ] || die "neither XDG_DATA_HOME nor HOME is set, so there is no folder for your scores"
  data_home=$HOME/.local/share
fi
folder=$data_home/quorbix

reason=$(mkdir -p -- "$folder" 2>&1) || die "cannot make the folder $folder for your scores: ${reason##*: }"
link=$folder/quorbix.dat
if [ "$(readlink -- "$link" || true)" != "$data" ]; then
  reason=$(ln -sfT -- "$data" "$link" 2>&1) || die "cannot link the data file into $folder: ${reason##*: }"
fi

cd -- "$folder"
exec "$game"
