#!/usr/bin/env bash
# The real game under Xvfb without its data file: a message box says so, and once
# it is dismissed the game ends with status 255 without writing scores.hi.
# Arguments: GAME_BINARY DATA_FILE
source "$(dirname "$0")/lib.sh"

start_display
start_game nodata
box=$(find_window xmessage) || fail "no message box"
[ -n "$box" ] || fail "no message box"
pgrep -a xmessage | grep -q "Error loading quorbix.dat" || fail "the message box does not name quorbix.dat"
xdotool windowfocus --sync "$box"
xdotool key Return
wait_game
[ "$game_status" = 255 ] || fail "exit status $game_status, not 255"
[ ! -e "$work/scores.hi" ] || fail "scores.hi was written"
grep -q "quorbix.dat" "$work/stderr" || fail "no reason on standard error"
echo "missing data file: ok"
