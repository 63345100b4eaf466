#!/usr/bin/env bash
# The real game under Xvfb: the title screen shows its texts, Esc quits with
# status 0 and leaves the default score table in scores.hi.
# Arguments: GAME_BINARY DATA_FILE [SCREENSHOT_OUT]
source "$(dirname "$0")/lib.sh"
shot_out=${3:-}

start_display
start_game
find_window Quorbix
sleep 5.6
screenshot "$win" "$work/title.png"

size=$("$convert" "$work/title.png" -format "%wx%h" info:)
[ "$size" = "640x480" ] || fail "window is $size, not 640x480"

# The picture may cover x 160..459 at any height, so the texts are checked beside it.
# The start prompt: 20 characters of the 8-pixel font, centred on x 320 (240..399), at y 390.
[ "$(brightness "$work/title.png" 160 8 240 390)" != 0 ] || fail "no start prompt"
[ "$(brightness "$work/title.png" 160 8 0 390)" = 0 ] || fail "start prompt is not centred"
[ "$(brightness "$work/title.png" 180 8 460 390)" = 0 ] || fail "start prompt is not centred"
# The control line without a joystick: 58 characters, 464 pixels wide (88..551), at y 410.
[ "$(brightness "$work/title.png" 8 8 88 410)" != 0 ] || fail "no control line"
[ "$(brightness "$work/title.png" 88 8 0 410)" = 0 ] || fail "control line is not the keyboard text"
[ "$(brightness "$work/title.png" 88 8 552 410)" = 0 ] || fail "control line is not the keyboard text"
# The web address at (50, 450), and the title picture (or the score table) above.
[ "$(brightness "$work/title.png" 300 20 50 450)" != 0 ] || fail "no web address"
[ "$(brightness "$work/title.png" 640 370 0 0)" != 0 ] || fail "nothing above the prompts"
[ -n "$shot_out" ] && cp "$work/title.png" "$shot_out"

quit_with_esc
[ "$(hex_of "$work/scores.hi")" = "$(table_hex)" ] || fail "scores.hi is not the default table"
echo "title screen: ok"
