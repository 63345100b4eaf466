#!/usr/bin/env bash
# No score is lost to the machine. The X server killed on the title screen, or after the first Enter of a
# name, ends the real game within 1 s with status 1 and one line on stderr, the table saved with the name.
# Two games in one folder, one loading a table and one another copy's table written under it with the lock,
# quit in either order, keep both tables' entries. Args: GAME DATA_FILE
source "$(dirname "$0")/lib.sh"

# Kills the X server; the game must be gone within 1 s, status 1, saying why. A new server follows.
lose_display() {
  kill "$xvfb_pid"
  wait_game 1
  [ "$game_status" = 1 ] || fail "$1: exit status $game_status when the display went (137: alive after 1 s)"
  [ "$(grep -c '^quorbix:' "$work/stderr")" = 1 ] && grep -q 'display was lost; the high scores are saved' "$work/stderr" ||
    fail "$1: on stderr: $(cat "$work/stderr")"
  start_display
}

rm -f "$work/scores.hi"
start_game
find_window Quorbix
sleep 1
lose_display "title screen"
cmp -s "$work/scores.hi" <(table) || fail "title screen: scores.hi is not the whole default table"

# Any score beats these. Thrust and turn into the words until the name box's prompt shows.
table n1:-1 n2:-2 n3:-3 n4:-4 n5:-5 n6:-6 n7:-7 >"$work/scores.hi"
start_game
find_window Quorbix
hold "$win" Return
xdotool keydown Up
prompt=0
for _ in $(seq 90); do
  xdotool keydown Right sleep 0.4 keyup Right sleep 0.6
  screenshot "$win" "$work/play.png"
  prompt=$(convert "$work/play.png" -crop 170x8+200+280 +repage -colorspace Gray -threshold 0 -format "%[fx:round(mean*w*h)]" info:)
  [ "$prompt" -lt 40 ] || break
done
[ "$prompt" -ge 40 ] || fail "no name box after 90 s of play"
xdotool keyup Up sleep 2 type --delay 300 kim
hold "$win" Return
sleep 0.3
lose_display "name entered"
cmp -s "$work/scores.hi" <(table kim:0 n1:-1 n2:-2 n3:-3 n4:-4 n5:-5 n6:-6) || fail "the name is not in scores.hi"

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
  timeout 20 sh -c 'until [ "$(xdotool search --onlyvisible --name "^Quorbix\$" | wc -l)" = 2 ]; do sleep 0.1; done' ||
    fail "no second window"
  sleep 1
  for game_pid in "${pids[@]:2-last:1}" "${pids[@]:last-1:1}"; do
    kill -TERM "$game_pid"
    wait_game 5
    [ "$game_status" = 0 ] || fail "game $last quit last: exit status $game_status"
  done
  cmp -s "$work/scores.hi" <(table Ada:900 Bob:800 "${common[@]:0:5}") || fail "game $last quit last: an entry is lost"
done
echo "keeping scores: display lost on the title screen and at a name, two games in one folder: ok"
