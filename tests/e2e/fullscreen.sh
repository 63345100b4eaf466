#!/usr/bin/env bash
# Under a window manager (openbox) on a 1920x1080 desktop, F11 in a game makes the window frameless and
# desktop-size with the frame centred on black, F11 again gives back the decorated 1280x960 window; the
# game still answers the arrows, and the close button still quits, keeping scores.hi; F11 held for 3 s
# switches once, and Esc quits. Args: GAME DATA_FILE
screen_size=1920x1080
source "$(dirname "$0")/lib.sh"
openbox >/dev/null 2>&1 &
timeout 10 sh -c 'until xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"; do sleep 0.1; done' ||
  fail "openbox did not start"

# Where window $win lies, as WxH+X+Y; waits up to 5 s for it to match the pattern $1.
place() { xwininfo -id "$win" | awk '/te upper-left X/ {x=$4} /te upper-left Y/ {y=$4} /Width/ {w=$2} /Height/ {h=$2}
  END {print w "x" h "+" x "+" y}'; }
wait_place() {
  for _ in {1..50}; do [[ $(place) == $1 ]] && return; sleep 0.1; done
  fail "the window lies at $(place), not $1"
}
frame() { xprop -id "$win" _NET_FRAME_EXTENTS | sed 's/.* = //'; }

table | tee "$work/own.hi" >"$work/scores.hi"
start_game
find_window Quorbix
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

# The ship (its box's corner at the centre) turns with the arrows.
screenshot "$win" "$work/before.png"
hold "$win" Right
screenshot "$win" "$work/after.png"
[ "$(compare -metric AE "$work/before.png" "$work/after.png" -crop 140x120+615+447 null: 2>&1)" -gt 100 ] ||
  fail "the ship did not turn"
wmctrl -c Quorbix
wait_game
[ "$game_status" = 0 ] && cmp -s "$work/own.hi" "$work/scores.hi" || fail "status $game_status after the close button"

start_game
find_window Quorbix
focus "$win"
xdotool keydown F11
for i in 1 2 3 4 5; do
  sleep 0.6
  [ "$(place)" = "1920x1080+0+0" ] || fail "F11 held: the window lies at $(place) after $i x 0.6 s"
done
xdotool keyup F11
sleep 0.5
[ "$(place)" = "1920x1080+0+0" ] || fail "F11 let go: the window lies at $(place)"
hold "$win" Escape
wait_game
[ "$game_status" = 0 ] || fail "exit status $game_status after Esc"
echo "fullscreen: ok"
