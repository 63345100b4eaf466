#!/usr/bin/env bash
# The real game under Xvfb: Enter on the title screen starts a game that shows
# "READY?" and then the word asteroids; Esc quits with status 0 and leaves the
# score table as it was.
# Arguments: GAME_BINARY DATA_FILE [SCREENSHOT_OUT]
source "$(dirname "$0")/lib.sh"
shot_out=${3:-}

# A table of the player's own, which a game without a new high score must not touch.
table="$work/own.hi"
table_hex Ada:9000 Brin:800 Cy:700 Dot:60 Eve:50 Fox:40 Gil:30 | unhex >"$table"
cp "$table" "$work/scores.hi"

start_display
start_game
find_window Quorbix
sleep 1
hold "$win" Return
sleep 0.7
screenshot "$win" "$work/ready.png"
# "READY?" centred on (320, 240), the status lines at x 440, the life gauge at x 50..75.
[ "$(brightness "$work/ready.png" 120 20 260 240)" != 0 ] || fail "no READY? banner"
[ "$(brightness "$work/ready.png" 150 30 440 32)" != 0 ] || fail "no status lines"
[ "$(brightness "$work/ready.png" 26 100 50 0)" != 0 ] || fail "no life gauge"

sleep 3
screenshot "$win" "$work/play.png"
# Blank what may change without asteroids (frame rate, banner, ship, gauge, status) and
# compare: the asteroids that arrived two seconds into the level are what is left.
mask=(-fill black -draw "rectangle 0,0 639,20" -draw "rectangle 40,0 80,110"
      -draw "rectangle 200,200 440,300" -draw "rectangle 430,25 639,70")
"$convert" "$work/ready.png" "${mask[@]}" "$work/ready-masked.png"
"$convert" "$work/play.png" "${mask[@]}" "$work/play-masked.png"
changed=$(compare -metric AE "$work/ready-masked.png" "$work/play-masked.png" null: 2>&1 || true)
[ "${changed%% *}" -gt 50 ] || fail "no asteroids appeared ($changed pixels changed)"
[ -n "$shot_out" ] && cp "$work/play.png" "$shot_out"

quit_with_esc
cmp -s "$table" "$work/scores.hi" || fail "scores.hi changed"
echo "game start: ok"
