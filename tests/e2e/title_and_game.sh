#!/usr/bin/env bash
# The real game under Xvfb: the title screen's texts; Enter starts a game showing "READY?", the
# status lines, the life gauge, then asteroids; Esc quits, leaving the player's table as it was.
# Arguments: GAME_BINARY DATA_FILE [SCREENSHOT_FOLDER]
source "$(dirname "$0")/lib.sh"
shots=${3:-}

table Ada:9000 Brin:800 Cy:700 Dot:60 Eve:50 Fox:40 Gil:30 >"$work/own.hi"
cp "$work/own.hi" "$work/scores.hi"
start_game
find_window Quorbix
sleep 5.6
shot=$work/title.png
screenshot "$win" "$shot"
[ "$(convert "$shot" -format "%wx%h" info:)" = 640x480 ] || fail "the window is not 640x480"
# Beside the picture (x 160..459): the start prompt, 20 characters of 8 pixels centred on x 320
# at y 390; the keyboard's control line, 58 characters (x 88..551) at y 410; the web address.
lit "$shot" 160 8 240 390 || fail "no start prompt"
lit "$shot" 8 8 88 410 || fail "no control line"
lit "$shot" 300 20 50 450 || fail "no web address"
lit "$shot" 640 370 0 0 || fail "no title picture"
! lit "$shot" 160 8 0 390 && ! lit "$shot" 180 8 460 390 || fail "the start prompt is off centre"
! lit "$shot" 88 8 0 410 && ! lit "$shot" 88 8 552 410 || fail "not the keyboard's control line"
[ -z "$shots" ] || cp "$shot" "$shots/title.png"

hold "$win" Return
sleep 0.7
shot=$work/ready.png
screenshot "$win" "$shot"
# "READY?" centred on (320, 240), the status lines at x 440, the life gauge at x 50..75.
lit "$shot" 120 20 260 240 || fail "no READY? banner"
lit "$shot" 150 30 440 32 || fail "no status lines"
lit "$shot" 26 100 50 0 || fail "no life gauge"

sleep 3
screenshot "$win" "$work/play.png"
# What changes without asteroids masked (frame rate, banner, ship, gauge, status), the pixels
# that changed in the level's first seconds are the asteroids'.
changed=$(convert "$shot" "$work/play.png" -fill black -draw "rectangle 0,0 639,20" -draw "rectangle 40,0 80,110" \
  -draw "rectangle 200,200 440,300" -draw "rectangle 430,25 639,70" -compose difference -composite \
  -colorspace Gray -threshold 0 -format "%[fx:round(mean * w * h)]" info:)
[ "$changed" -gt 50 ] || fail "no asteroids appeared ($changed pixels changed)"
[ -z "$shots" ] || cp "$work/play.png" "$shots/game.png"

hold "$win" Escape
wait_game
[ "$game_status" = 0 ] || fail "exit status $game_status after Esc: $(cat "$work/stderr")"
cmp -s "$work/own.hi" "$work/scores.hi" || fail "scores.hi changed"
echo "title screen and game: ok"
