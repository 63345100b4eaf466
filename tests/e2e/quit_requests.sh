#!/usr/bin/env bash
# The real game quits as with Esc on the close button (pressed through Debian's openbox), SIGINT, SIGTERM
# or SIGHUP: within 2 s, status 0, a whole default scores.hi, no window. When the X server goes: within 1 s,
# status 1, one line on stderr, a whole scores.hi. Args: GAME DATA_FILE
source "$(dirname "$0")/lib.sh"
start_wm
display_lost="quorbix: the connection to the display was lost; the high scores are saved"

# Rows "moment request"; "+enter": with Enter held (on the title screen the game waits for its release).
rows=({title,game,title+enter,game+enter}\ close {title,game}\ {INT,TERM,HUP,display})

for row in "${rows[@]}"; do
  read -r moment request <<<"$row"
  want=0; [ "$request" != display ] || want=1
  rm -f "$work/scores.hi"
  start_game
  find_window Quorbix
  focus "$win"
  [ "${moment%+enter}" = title ] || xdotool keydown Return sleep 0.3 keyup Return sleep 0.7
  [ "${moment#*+}" != enter ] || xdotool keydown Return
  sleep 0.5
  case $request in
    close) wmctrl -i -c "$win" ;;
    display) kill "$xvfb_pid" ;;
    *) kill -"$request" "$game_pid" ;;
  esac
  wait_game $((2 - want))
  [ "$request" != display ] || start_display
  xdotool keyup Return
  [ "$game_status" = "$want" ] || fail "$row: exit status $game_status (137: still running after $((2 - want)) s)"
  [ "$request" != display ] || [ "$(grep ^quorbix "$work/stderr")" = "$display_lost" ] || fail "$row: $(cat "$work/stderr")"
  cmp -s "$work/scores.hi" <(table) || fail "$row: scores.hi is not a whole table"
  ! xdotool search --name "^Quorbix\$" >/dev/null || fail "$row: a game window is left"
done
echo "quit requests: ${#rows[@]} rows, ok"
