#!/usr/bin/env bash
# The real game under Xvfb, one run through its screens: the title screen shows its
# texts; Enter starts a game that shows "READY?", the status lines and the life gauge,
# then the word asteroids; Esc quits with status 0 and leaves the player's own score
# table as it was.
# Arguments: GAME_BINARY DATA_FILE [SCREENSHOT_FOLDER]
source "$(dirname "$0")/lib.sh"
shots=${3:-}

table="$work/own.hi"
table_hex Ada:9000 Brin:800 Cy:700 Dot:60 Eve:50 Fox:40 Gil:30 | unhex >"$table"
cp "$table" "$work/scores.hi"

start_display
start_game
find_window Quorbix
sleep 5.6
shot=$work/title.png
screenshot "$win" "$shot"
size=$("$convert" "$shot" -format "%wx%h" info:)
[ "$size" = "640x480" ] || fail "window is $size, not 640x480"
# The picture may cover x 160..459 at any height, so the texts are checked beside it.
# The start prompt: 20 characters of the 8-pixel font, centred on x 320 (240..399), at y 390.
# The control line without a joystick: 58 characters, 464 pixels wide (88..551), at y 410.
# The web address at (50, 450), and the title picture (or the score table) above.
expect_ink "$shot" "start prompt" 160 8 240 390
expect_ink "$shot" "control line" 8 8 88 410
expect_ink "$shot" "web address" 300 20 50 450
expect_ink "$shot" "title picture" 640 370 0 0
expect_blank "$shot" "start prompt off centre" 160 8 0 390
expect_blank "$shot" "start prompt off centre" 180 8 460 390
expect_blank "$shot" "not the keyboard control line" 88 8 0 410
expect_blank "$shot" "not the keyboard control line" 88 8 552 410
[ -z "$shots" ] || cp "$shot" "$shots/title.png"

hold "$win" Return
sleep 0.7
shot=$work/ready.png
screenshot "$win" "$shot"
# "READY?" centred on (320, 240), the status lines at x 440, the life gauge at x 50..75.
expect_ink "$shot" "READY? banner" 120 20 260 240
expect_ink "$shot" "status lines" 150 30 440 32
expect_ink "$shot" "life gauge" 26 100 50 0

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
[ -z "$shots" ] || cp "$work/play.png" "$shots/game.png"

quit_with_esc
cmp -s "$table" "$work/scores.hi" || fail "scores.hi changed"
echo "title screen and game: ok"
