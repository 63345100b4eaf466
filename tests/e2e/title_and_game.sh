#!/usr/bin/env bash
# The real game under Xvfb: the title screen's texts; Enter starts a game showing "READY?", the
# status lines and the life gauge, then the word asteroids; Esc quits with status 0 and leaves
# the player's own score table as it was.
# Arguments: GAME_BINARY DATA_FILE [SCREENSHOT_FOLDER]
source "$(dirname "$0")/lib.sh"
shots=${3:-}

table_hex Ada:9000 Brin:800 Cy:700 Dot:60 Eve:50 Fox:40 Gil:30 | unhex >"$work/own.hi"
cp "$work/own.hi" "$work/scores.hi"
start_display
start_game
find_window Quorbix
sleep 5.6
shot=$work/title.png
screenshot "$win" "$shot"
size=$("$convert" "$shot" -format "%wx%h" info:)
[ "$size" = "640x480" ] || fail "window is $size, not 640x480"
# The picture may cover x 160..459, so the texts are checked beside it: the start prompt, 20
# characters of the 8-pixel font centred on x 320 at y 390; the control line without a joystick,
# 58 characters (x 88..551) at y 410; the web address at (50, 450); the title picture above.
expect "$shot" ink "start prompt" 160 8 240 390
expect "$shot" ink "control line" 8 8 88 410
expect "$shot" ink "web address" 300 20 50 450
expect "$shot" ink "title picture" 640 370 0 0
expect "$shot" blank "start prompt off centre" 160 8 0 390
expect "$shot" blank "start prompt off centre" 180 8 460 390
expect "$shot" blank "not the keyboard control line" 88 8 0 410
expect "$shot" blank "not the keyboard control line" 88 8 552 410
[ -z "$shots" ] || cp "$shot" "$shots/title.png"

hold "$win" Return
sleep 0.7
shot=$work/ready.png
screenshot "$win" "$shot"
# "READY?" centred on (320, 240), the status lines at x 440, the life gauge at x 50..75.
expect "$shot" ink "READY? banner" 120 20 260 240
expect "$shot" ink "status lines" 150 30 440 32
expect "$shot" ink "life gauge" 26 100 50 0

sleep 3
screenshot "$win" "$work/play.png"
# What changes without asteroids masked (frame rate, banner, ship, gauge, status), the pixels
# that changed in the level's first seconds are the asteroids'.
changed=$("$convert" "$shot" "$work/play.png" -fill black -draw "rectangle 0,0 639,20" -draw "rectangle 40,0 80,110" \
  -draw "rectangle 200,200 440,300" -draw "rectangle 430,25 639,70" -compose difference -composite \
  -colorspace Gray -threshold 0 -format "%[fx:round(mean * w * h)]" info:)
[ "$changed" -gt 50 ] || fail "no asteroids appeared ($changed pixels changed)"
[ -z "$shots" ] || cp "$work/play.png" "$shots/game.png"

quit_with_esc
cmp -s "$work/own.hi" "$work/scores.hi" || fail "scores.hi changed"
echo "title screen and game: ok"
