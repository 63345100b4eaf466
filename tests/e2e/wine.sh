#!/usr/bin/env bash
# Wine for the Windows build's tests. wine.sh ROOT boot: a fresh prefix in ROOT and a wineserver that
# stays up; wine.sh ROOT run PROGRAM ARGS...: the program in it (the cross-built tests' emulator);
# wine.sh ROOT end: the wineserver stopped. Sourced with ROOT, it sets up the same environment.
root=$1
export WINEPREFIX=$root/prefix HOME=$root/home WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
[ "${BASH_SOURCE[0]}" = "$0" ] || return 0
set -euo pipefail
case $2 in
  boot)
    rm -rf "$root" && mkdir -p "$HOME"
    # A sound device that plays nothing, so the game's sound starts as on a machine with a card.
    printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' >"$HOME/.asoundrc"
    wineboot -i >/dev/null 2>&1
    wineserver -p ;;
  run) shift 2 && exec wine "$@" ;;
  end) wineserver -k || true ;;
esac
