#!/usr/bin/env bash
# The joystick: a preloaded stand-in for the kernel's device gives the real game a stick on a FIFO; the title's
# control line and F2, then in a game the stick turns, button 1 thrusts, button 2 fires. Args: GAME DATA_FILE SHIM
source "$(dirname "$0")/lib.sh"
mkfifo "$work/js0"
exec 5<>"$work/js0"
snap() { xwd -silent -id "$win" >"$work/$1.xwd"; }
# Sends the stick an event TYPE:NUMBER:VALUE (type 1 a button, 2 an axis: 0 across) as a js_event record.
send() { perl -e 'my ($t, $n, $v) = split /:/, $ARGV[0]; print pack("L s C C", 0, $v, $t, $n)' "$1" >&5; }

# changed A B [inside]: pixels lit in one snap and dark in the other around the ship's place at the centre
# (inside) or elsewhere; the frame rate line and the banner ("READY?", then "GO!") are left out.
changed() {
  local keep=(-draw "rectangle 297,208 387,298")
  [ "${3:-}" != inside ] || keep=(-crop 90x90+297+208 +repage)
  convert \( "xwd:$work/$1.xwd" -colorspace Gray -threshold 0 \) \( "xwd:$work/$2.xwd" -colorspace Gray -threshold 0 \) \
    -compose difference -composite -fill black -draw "rectangle 0,0 639,20" -draw "rectangle 286,234 354,274" \
    "${keep[@]}" -threshold 0 -format "%[fx:round(mean * w * h)]" info:
}

# Waits at most 2 s for the title screen's centred control line to be the text $1: dark before it, lit at it.
control_line() {
  local x=$(((640 - 8 * ${#1}) / 2))
  for _ in $(seq 20); do
    snap title
    ! lit "xwd:$work/title.xwd" $((x - 1)) 8 0 410 && lit "xwd:$work/title.xwd" 2 8 "$x" 410 && return
    sleep 0.1
  done
  fail "the control line is not \"$1\""
}

# A game on the stick after the title screen's checks, snapped before, 0.35 s into the event $1 (held)
# and 0.8 s after the event $2 (after).
stick_game() {
  start_game env LD_PRELOAD="$3" JOYSTICK_SHIM_FIFO="$work/js0" "$game_binary"
  find_window Quorbix
  control_line "Using joystick to control press F2 to use arrow keys"
  hold "$win" F2
  control_line "Using arrow keys to control A to fire, press F2 to use joystick"
  hold "$win" F2
  control_line "Using joystick to control press F2 to use arrow keys"
  hold "$win" Return
  sleep 0.2
  snap before
  send "$1"
  sleep 0.35
  snap held
  send "$2"
  sleep 0.8
  snap after
  hold "$win" Escape
  wait_game
  [ "$game_status" = 0 ] || fail "exit status $game_status: $(cat "$work/stderr")"
}

stick_game 2:0:32767 2:0:0 "$3"
[ "$(changed before after inside)" -gt 20 ] && [ "$(changed before after)" = 0 ] || fail "the stick did not turn the ship"
stick_game 1:0:1 1:0:0 "$3"
[ "$(changed before after)" -gt 20 ] || fail "button 1 did not thrust the ship away"
stick_game 1:1:1 1:1:0 "$3"
[ "$(changed before held)" -gt 0 ] || fail "button 2 fired no bullet"
[ "$(changed before after)" = 0 ] && [ "$(changed before after inside)" = 0 ] || fail "button 2 moved or turned the ship"
echo "joystick: the title screen's line and F2, turning, thrust and fire on the stick: ok"
