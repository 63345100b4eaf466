#!/usr/bin/env bash
# The real game: a 640x480 window shows the title screen; Enter starts a game showing "READY?", then
# asteroids, even when the game is stopped as they are due; Esc quits, leaving the player's table as it was. Args: GAME DATA_FILE [SCREENSHOT_FOLDER]
source "$(dirname "$0")/lib.sh"
shots=${3:-}

table Ada:9000 Brin:800 Cy:700 Dot:60 Eve:50 Fox:40 Gil:30 | tee "$work/own.hi" >"$work/scores.hi"
start_game
find_window Quorbix
sleep 5.6
screenshot "$win" "$work/title.png"
[ "$(convert "$work/title.png" -format "%wx%h" info:)" = 640x480 ] || fail "the window is not 640x480"
# The picture above, the start prompt at y 390.
lit "$work/title.png" 640 370 0 0 && lit "$work/title.png" 160 8 240 390 || fail "no title screen"
[ -z "$shots" ] || cp "$work/title.png" "$shots/title.png"

hold "$win" Return
started=$EPOCHREALTIME
sleep 0.7
screenshot "$win" "$work/ready.png"
lit "$work/ready.png" 120 20 260 240 || fail "no READY? banner"

# The game stopped from 1.85 s to 2.15 s, across the 2 s at which the level's field comes: it still comes.
sleep_until() { sleep "$(awk -v from="$started" -v now="$EPOCHREALTIME" -v t="$1" 'BEGIN { print from + t - now }')"; }
sleep_until 1.85
kill -STOP "$game_pid"
sleep 0.3
kill -CONT "$game_pid"
sleep_until 3.7
screenshot "$win" "$work/play.png"
# With all else that moves masked (frame rate, banner, ship, gauge, status), changes are asteroids.
changed=$(convert "$work/ready.png" "$work/play.png" -fill black -draw "rectangle 0,0 639,20" -draw "rectangle 40,0 80,110" \
  -draw "rectangle 200,200 440,300" -draw "rectangle 430,25 639,70" -compose difference -composite \
  -colorspace Gray -threshold 0 -format "%[fx:round(mean * w * h)]" info:)
[ "$changed" -gt 50 ] || fail "no asteroids appeared ($changed pixels changed)"
level=$(convert "$work/ready.png" "$work/play.png" -crop 80x8+440+42 +repage -compose difference -composite \
  -format "%[fx:maxima]" info:)
[ "$level" = 0 ] || fail "the level changed while its field was due"
[ -z "$shots" ] || cp "$work/play.png" "$shots/game.png"

hold "$win" Escape
wait_game
[ "$game_status" = 0 ] || fail "exit status $game_status after Esc: $(cat "$work/stderr")"
cmp -s "$work/own.hi" "$work/scores.hi" || fail "scores.hi changed"
echo "title screen and game: ok"
