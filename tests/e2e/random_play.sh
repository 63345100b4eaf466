#!/usr/bin/env bash
# Random play: the real game, built with AddressSanitizer and UndefinedBehaviorSanitizer, fed
# random presses and releases of the keys it knows (now and then Esc) for a while under Xvfb,
# and started again each time it quits. It must never crash or report a sanitizer error, and
# after every exit scores.hi must be a whole table of 112 bytes.
# Arguments: GAME_BINARY DATA_FILE [SECONDS [SEED]]
source "$(dirname "$0")/lib.sh"
seconds=${3:-60} seed=${4:-$$}
RANDOM=$seed
echo "random play for $seconds s, seed $seed"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

keys=(Left Right Up Up Up a a a s Return F2 BackSpace space q w e r t y k z m 1 7)
runs=0 events=0
start_display
deadline=$((SECONDS + seconds))
while [ "$SECONDS" -lt "$deadline" ]; do
  start_game
  find_window Quorbix
  focus "$win"
  # Each event presses or lets go of a random key; one in 150 lets go of all and presses Esc.
  while kill -0 "$game_pid" 2>/dev/null && [ "$SECONDS" -lt "$deadline" ]; do
    key=${keys[$((RANDOM % ${#keys[@]}))]}
    if [ $((RANDOM % 150)) = 0 ]; then
      xdotool keyup "${keys[@]}" key Escape
    elif [ $((RANDOM % 2)) = 0 ]; then
      xdotool keyup "$key"
    else
      xdotool keydown "$key"
    fi
    events=$((events + 1))
    sleep "0.0$((RANDOM % 10))"
  done
  # Time is up, or the game quit: every key let go, then Esc until it is gone, each time held
  # for a while, since the game looks at it once per logic tick.
  xdotool keyup "${keys[@]}"
  for _ in 1 2 3 4 5 6 7 8; do
    kill -0 "$game_pid" 2>/dev/null || break
    xdotool keydown Escape sleep 0.3 keyup Escape sleep 0.3 2>/dev/null || true
  done
  wait_game
  runs=$((runs + 1))
  ! grep -qE "ERROR: (Address|Leak)Sanitizer|runtime error:|SUMMARY: " "$work/stderr" ||
    fail "run $runs: a sanitizer report: $(cat "$work/stderr")"
  [ "$game_status" = 0 ] || fail "run $runs: exit status $game_status"
  [ "$(stat -c %s "$work/scores.hi" 2>/dev/null)" = 112 ] || fail "run $runs: scores.hi missing or not 112 bytes"
done
echo "random play: $runs runs, $events key events in $seconds s, no crash, no sanitizer report"
