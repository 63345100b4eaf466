#!/usr/bin/env bash
# Start-up failures of the real game. Without its data file (under Xvfb) a message
# box says so, and once it is dismissed the game ends with status 255 without
# writing scores.hi. Without any display it says so and ends the same way.
# Arguments: GAME_BINARY DATA_FILE
source "$(dirname "$0")/lib.sh"

start_display
start_game nodata
expect_data_refused "no data file"

start_game env -u DISPLAY "$game_binary"
wait_game
[ "$game_status" = 255 ] || fail "exit status $game_status without a display, not 255"
grep -q "DISPLAY" "$work/stderr" || fail "no word about the display on standard error"
[ ! -e "$work/scores.hi" ] || fail "scores.hi was written without a display"
echo "start-up failures: ok"
