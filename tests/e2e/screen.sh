#!/usr/bin/env bash
# On 1920x1080 under openbox: a 1280x960 Quorbix window with an icon showing the 1x page in 2x2 blocks; F11 to
# a frameless desktop-size window, centred on black, and back, once if held; close button; 1x: 640x480, Esc. Args: GAME DATA
screen_size=1920x1080
source "$(dirname "$0")/lib.sh"
start_wm

# The extents of window $win's frame.
frame() { xprop -id "$win" _NET_FRAME_EXTENTS | sed 's/.* = //'; }

table | tee "$work/own.hi" >"$work/scores.hi"
start_game
find_window Quorbix
sleep 9.5
screenshot "$win" "$work/big.png"
[ "$(identify -format %wx%h "$work/big.png")" = 1280x960 ] || fail "the window is not 1280x960"
props=$(xprop -id "$win" WM_CLASS WM_HINTS)
[[ $props == *'= "quorbix", "Quorbix"'*"bitmap id # to use for icon"* ]] || fail "not Quorbix's class and icon: $props"
hold "$win" Return
hold "$win" F11
wait_place "1920x1080+0+0"
[ "$(frame)" = "0, 0, 0, 0" ] || fail "the fullscreen window has a frame: $(frame)"
sleep 0.5
xwd -silent -root | convert xwd:- "$work/root.png"
convert "$work/root.png" -fill black -draw "rectangle 320,60 1599,1019" "$work/bars.png"
! lit "$work/bars.png" 1920 1080 0 0 && lit "$work/root.png" 1280 960 320 60 || fail "the frame is not centred on black"
hold "$win" F11
wait_place "1280x960+*"
[ "$(frame)" != "0, 0, 0, 0" ] || fail "the window came back without its frame"
focus "$win"
xdotool keydown F11
for i in 1 2 3 4 5 6; do
  sleep 0.6
  [ "$(place)" = "1920x1080+0+0" ] || fail "F11 held: the window lies at $(place) after $i x 0.6 s"
done
xdotool keyup F11
wmctrl -c Quorbix
wait_game
[ "$game_status" = 0 ] && cmp -s "$work/own.hi" "$work/scores.hi" || fail "status $game_status after the close button"

start_display 1024x768
start_game
find_window Quorbix
sleep 9.5
screenshot "$win" "$work/small.png"
# The heading's colour flickers, so the pages are compared below its top 60 rows.
differing=$(convert "$work/small.png" -filter point -resize 200% "$work/big.png" -chop 0x120 -compose difference \
  -composite -colorspace Gray -threshold 0 -format "%[fx:round(mean * w * h)]" info:)
[ "$differing" = 0 ] || fail "$differing pixels of the 2x page are not the 1x page scaled"
[ "$(identify -format %wx%h "$work/small.png")" = 640x480 ] || fail "the 1x window is not 640x480"

hold "$win" Escape
wait_game
[ "$game_status" = 0 ] && cmp -s "$work/own.hi" "$work/scores.hi" || fail "status $game_status after Esc, or scores.hi changed"
echo "screen: ok"
