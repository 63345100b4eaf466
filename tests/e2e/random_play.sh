#!/usr/bin/env bash
# The real game built with ASan and UBSan, fed random keys and restarted whenever it quits, never crashes
# or reports an error, and leaves a whole 112-byte scores.hi. Args: GAME DATA_FILE [SECONDS [SEED]]
source "$(dirname "$0")/lib.sh"
seconds=${3:-60} seed=${4:-$$}
RANDOM=$seed
echo "random play for $seconds s, seed $seed"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

keys=(Left Right Up Up Up a a a s Return F2 BackSpace space q w e r t y k z m 1 7)
presses=(keydown keyup)
runs=0
deadline=$((SECONDS + seconds))
while [ "$SECONDS" -lt "$deadline" ]; do
  start_game
  find_window Quorbix
  focus "$win"
  # Each event presses or lets go of a random key; one in 150 lets go of all and presses Esc.
  while kill -0 "$game_pid" 2>/dev/null && [ "$SECONDS" -lt "$deadline" ]; do
    if [ $((RANDOM % 150)) = 0 ]; then
      xdotool keyup "${keys[@]}" key Escape
    else
      xdotool "${presses[$((RANDOM % 2))]}" "${keys[$((RANDOM % ${#keys[@]}))]}"
    fi
    sleep "0.0$((RANDOM % 10))"
  done
  # Every key let go, then Esc until the game is gone, each held for a few logic ticks.
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
echo "random play: $runs runs in $seconds s, no crash, no sanitizer report"
