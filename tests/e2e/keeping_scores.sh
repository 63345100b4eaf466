#!/usr/bin/env bash
# No score is lost to the machine. The X server killed after a name's first Enter: the real game ends within
# 1 s with status 1, the name saved. Two games in one folder, the second loading another copy's table written
# under the first with the lock, quit in either order, keep both tables' entries. Args: GAME DATA_FILE
source "$(dirname "$0")/lib.sh"

# Any score beats these. Thrust and turn into the words until the energy gauge is empty and the name box's
# prompt shows.
table n1:-1 n2:-2 n3:-3 n4:-4 n5:-5 n6:-6 n7:-7 >"$work/scores.hi"
start_game
find_window Quorbix
hold "$win" Return
xdotool keydown Up
for _ in $(seq 90); do
  xdotool keydown Right sleep 0.4 keyup Right sleep 0.6
  screenshot "$win" "$work/play.png"
  prompt=$(convert "$work/play.png" -crop 170x8+200+280 +repage -colorspace Gray -threshold 0 -format "%[fx:round(mean*w*h)]" info:)
  lit "$work/play.png" 24 1 51 98 || [ "$prompt" -lt 40 ] || break
done
xdotool keyup Up sleep 2 type --delay 300 kim
hold "$win" Return
sleep 0.3
kill "$xvfb_pid"
wait_game 1
[ "$game_status" = 1 ] || fail "exit status $game_status when the display went at the name (137: alive after 1 s)"
cmp -s "$work/scores.hi" <(table kim:0 n1:-1 n2:-2 n3:-3 n4:-4 n5:-5 n6:-6) || fail "the name is not in scores.hi"
start_display

common=(Cy:70 Dot:60 Eve:50 Fox:40 Gil:30 Hal:20)
for last in 1 2; do
  table Ada:900 "${common[@]}" >"$work/scores.hi"
  start_game
  pids=("$game_pid")
  find_window Quorbix
  sleep 1
  table Bob:800 "${common[@]}" >"$work/other.hi"
  flock "$work/scores.hi.lock" mv "$work/other.hi" "$work/scores.hi"
  start_game
  pids+=("$game_pid")
  timeout 20 sh -c 'until [ "$(xdotool search --onlyvisible --name "^Quorbix\$" | wc -l)" = 2 ]; do sleep 0.1; done'
  sleep 1
  for game_pid in "${pids[@]:2-last:1}" "${pids[@]:last-1:1}"; do
    kill -TERM "$game_pid"
    wait_game 5
    [ "$game_status" = 0 ] || fail "game $last quit last: exit status $game_status"
  done
  cmp -s "$work/scores.hi" <(table Ada:900 Bob:800 "${common[@]:0:5}") || fail "game $last quit last: an entry is lost"
done
echo "keeping scores: a name through a lost display, two games in one folder: ok"
