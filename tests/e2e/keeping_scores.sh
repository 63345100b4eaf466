#!/usr/bin/env bash
# No score lost to a quit: close button, SIGINT, SIGTERM, SIGHUP quit in 2 s with 0; a lost X server (also at a
# name's Enter) in 1 s with 1, a line and the name saved; two games in one folder keep both tables. Args: GAME DATA
source "$(dirname "$0")/lib.sh"
start_wm

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
    display) stop_display ;;
    *) kill -"$request" "$game_pid" ;;
  esac
  wait_game $((2 - want))
  [ "$request" != display ] || start_display
  xdotool keyup Return
  [ "$game_status" = "$want" ] || fail "$row: exit status $game_status (137: still running after $((2 - want)) s)"
  [ "$request" != display ] || [ "$(grep ^quorbix "$work/stderr")" = "quorbix: the connection to the display was lost; the high scores are saved" ] || fail "$row: $(cat "$work/stderr")"
  cmp -s "$work/scores.hi" <(table) || fail "$row: scores.hi is not a whole table"
done
[ "$(stat -c %a "$work/scores.hi.lock")" = "$(printf %o $((0644 & ~0$(umask))))" ] || fail "the lock file is not 0644 less the umask"

# Any score beats these. A to fire first (the name must not keep it), then thrust and turn into the words
# until the energy gauge is empty and the name box's prompt shows.
table n1:-1 n2:-2 n3:-3 n4:-4 n5:-5 n6:-6 n7:-7 >"$work/scores.hi"
start_game
find_window Quorbix
hold "$win" Return
xdotool keydown a sleep 0.1 keyup a keydown Up
for _ in $(seq 150); do
  xdotool keydown Right sleep 0.4 keyup Right sleep 0.6
  screenshot "$win" "$work/play.png"
  prompt=$(convert "$work/play.png" -crop 170x8+200+280 +repage -colorspace Gray -threshold 0 -format "%[fx:round(mean*w*h)]" info:)
  lit "$work/play.png" 24 1 51 98 || [ "$prompt" -lt 40 ] || break
done
xdotool keyup Up sleep 2 type --delay 300 kim
hold "$win" Return
sleep 0.3
stop_display
wait_game 1
[ "$game_status" = 1 ] || fail "exit status $game_status when the display went at the name (137: alive after 1 s)"
[ "$(head -c 12 "$work/scores.hi" | tr -d '\0')" = kim ] && cmp -s <(tail -c 96 "$work/scores.hi") <(table n1:-1 n2:-2 n3:-3 n4:-4 n5:-5 n6:-6) ||
  fail "the name is not in scores.hi just as typed: $(head -c 12 "$work/scores.hi" | tr -d '\0')"
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
echo "keeping scores: ${#rows[@]} quit requests, a name through a lost display, two games in one folder: ok"
