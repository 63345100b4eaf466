#!/usr/bin/env bash
# Wine for the Windows tests, a prefix in ROOT made once per run: wine.sh ROOT boot makes it; wine.sh ROOT run PROGRAM
# ARGS... runs a program there (the unit tests' emulator). Sourced after lib.sh it sets the same environment, and
# wine_session gives the test a wineserver of its own, on the test's display (Wine takes the desktop's size from it).
root=$1
export WINEPREFIX=$root/prefix HOME=$root/home WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

# Gives window $1 the keyboard: Wine's windows take it when the window manager hands it over, the pointer on them.
focus() {
  xdotool mousemove --window "$1" 20 20
  timeout 5 sh -c "until xdotool windowactivate --sync $1 2>/dev/null; do sleep 0.1; done" || fail "no keyboard for $1"
}

# Kept away from the test's output, which it would hold open.
wine_session() {
  wineserver -k 2>/dev/null || true
  wineserver -p </dev/null >/dev/null 2>&1
  trap 'wineserver -k 2>/dev/null; cleanup' EXIT
}

[ "${BASH_SOURCE[0]}" = "$0" ] || return 0
set -euo pipefail
case $2 in
  boot)
    [ ! -d "$WINEPREFIX" ] || wineserver -k 2>/dev/null || true   # a session left by an earlier run
    rm -rf "$root" && mkdir -p "$HOME"
    # A sound device that plays nothing, so the game's sound starts as on a machine with a card.
    printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' >"$HOME/.asoundrc"
    wineboot -i </dev/null >/dev/null 2>&1
    wineserver -k ;;
  run) shift 2 && exec wine "$@" ;;
esac
