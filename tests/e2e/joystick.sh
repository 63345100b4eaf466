#!/usr/bin/env bash
# The joystick, end to end: a preloaded stand-in for the kernel's device gives the real game a stick of two
# axes and two buttons on a FIFO. The title screen says the stick steers, F2 switches to the arrow keys and
# back; in a game, in the 2 s before the words come, the stick turns the ship, button 1 thrusts and button 2 fires.
# Args: GAME DATA_FILE SHIM
source "$(dirname "$0")/lib.sh"
shim=$3
mkfifo "$work/js0"
exec 5<>"$work/js0"

# Sends events to the stick, each TYPE:NUMBER:VALUE (type 1 a button, 2 an axis: 0 across, 1 up and down).
stick() { perl -e 'print map { my ($t, $n, $v) = split /:/; pack("L s C C", 0, $v, $t, $n) } @ARGV' "$@" >&5; }
snap() { xwd -silent -id "$win" >"$work/$1.xwd"; }

# changed A B [inside]: pixels lit in one snap and dark in the other, around the ship's place at the centre
# with inside, elsewhere without; the frame rate line and the banner ("READY?", then "GO!") are left out.
changed() {
  local keep=(-draw "rectangle 297,208 387,298")
  [ "${3:-}" != inside ] || keep=(-crop 90x90+297+208 +repage)
  convert \( "xwd:$work/$1.xwd" -colorspace Gray -threshold 0 \) \( "xwd:$work/$2.xwd" -colorspace Gray -threshold 0 \) \
    -compose difference -composite -fill black -draw "rectangle 0,0 639,20" -draw "rectangle 286,234 354,274" \
    "${keep[@]}" -threshold 0 -format "%[fx:round(mean * w * h)]" info:
}

# Waits at most 2 s for the title screen's centred control line to read $2: its first letter where that text's starts.
control_line() {
  local start offset
  for _ in $(seq 20); do
    snap "$1"
    start=$(convert "xwd:$work/$1.xwd" -crop 160x8+0+410 +repage -colorspace Gray -threshold 0 -format "%@" info:)
    start=${start#*+} start=${start%+*} offset=$((start - (640 - 8 * ${#2}) / 2))
    [ "$offset" -lt 0 ] || [ "$offset" -gt 1 ] || return 0
    sleep 0.1
  done
  fail "$1: the control line starts at x $start, not where \"$2\" does"
}

# A game on the stick, started from the title screen; "before" is snapped 0.2 s into its first level.
stick_game() {
  start_game env LD_PRELOAD="$shim" JOYSTICK_SHIM_FIFO="$work/js0" "$game_binary"
  find_window Quorbix
  sleep 1
  [ "${1:-}" != title ] || {
    control_line title "Using joystick to control press F2 to use arrow keys"
    hold "$win" F2
    control_line keyboard "Using arrow keys to control A to fire, press F2 to use joystick"
    hold "$win" F2
    control_line back "Using joystick to control press F2 to use arrow keys"
  }
  hold "$win" Return
  sleep 0.2
  snap before
}

# Ends the game with Esc; it must quit as usual.
end_game() {
  hold "$win" Escape
  wait_game
  [ "$game_status" = 0 ] || fail "exit status $game_status: $(cat "$work/stderr")"
}

stick_game title
snap still
stick 2:0:32767
sleep 0.3
stick 2:0:0
snap turned
end_game
[ "$(changed before still inside)" = 0 ] || fail "the ship changed with the stick at rest"
[ "$(changed before turned inside)" -gt 20 ] && [ "$(changed before turned)" = 0 ] || fail "the stick did not turn the ship"

stick_game
stick 1:0:1
sleep 0.3
stick 1:0:0
sleep 0.7
snap drifted
end_game
[ "$(changed before drifted)" -gt 20 ] || fail "button 1 did not thrust the ship away"

stick_game
stick 1:1:1
sleep 0.35
snap firing
stick 1:1:0
sleep 0.8
snap after
end_game
[ "$(changed before firing)" -gt 0 ] || fail "button 2 fired no bullet"
[ "$(changed before after)" = 0 ] && [ "$(changed before after inside)" = 0 ] || fail "button 2 moved or turned the ship"
echo "joystick: the title screen's line and F2, turning, thrust and fire on the stick: ok"
