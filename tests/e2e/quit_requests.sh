#!/usr/bin/env bash
# The real game quits as with Esc on the close button (pressed as a window manager does), SIGINT, SIGTERM
# or SIGHUP: within 2 s, status 0, a whole default scores.hi, no window. Args: GAME DATA_FILE CLOSE_TOOL
source "$(dirname "$0")/lib.sh"
close_window=$3

# Rows "moment request"; "+enter": with Enter held (on the title screen the game waits for its release).
rows=({title,game,title+enter,game+enter}\ close {title,game}\ {INT,TERM,HUP})

for row in "${rows[@]}"; do
  read -r moment request <<<"$row"
  rm -f "$work/scores.hi"
  start_game
  find_window Quorbix
  focus "$win"
  [ "${moment%+enter}" = title ] || xdotool keydown Return sleep 0.3 keyup Return sleep 0.7
  [ "${moment#*+}" != enter ] || xdotool keydown Return
  sleep 0.5
  if [ "$request" = close ]; then "$close_window" "$win"; else kill -"$request" "$game_pid"; fi
  wait_game 2
  xdotool keyup Return
  [ "$game_status" = 0 ] || fail "$row: exit status $game_status (137: still running after 2 s)"
  cmp -s "$work/scores.hi" <(table) || fail "$row: scores.hi is not a whole table"
  ! xdotool search --name "^Quorbix\$" >/dev/null || fail "$row: a game window is left"
done
echo "quit requests: ${#rows[@]} rows, ok"
