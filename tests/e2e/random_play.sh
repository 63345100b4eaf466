#!/usr/bin/env bash
# Random play: the real game, built with AddressSanitizer and UndefinedBehaviorSanitizer,
# under Xvfb, fed random presses and releases of the keys it knows (arrows, A, S, Enter,
# F2, Backspace, letters, now and then Esc) for a bounded time, and started again each
# time it quits. It must never crash or report a sanitizer error, and after every exit
# scores.hi must be a whole table.
# Arguments: GAME_BINARY DATA_FILE [SECONDS [SEED]]
source "$(dirname "$0")/lib.sh"
seconds=${3:-60} seed=${4:-$$}
RANDOM=$seed
echo "random play for $seconds s, seed $seed"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

keys=(Left Right Up Up Up a a a s Return F2 BackSpace space q w e r t y k z m 1 7)
held=() runs=0 events=0

release_all() { local k; for k in "${held[@]}"; do xdotool keyup "$k"; done; held=(); }

# One random event: a new key pressed, or a held key let go; Esc once in a long while.
random_event() {
  local k i
  if [ $((RANDOM % 150)) = 0 ]; then
    release_all
    xdotool key Escape
  elif [ ${#held[@]} -gt 0 ] && [ $((RANDOM % 2)) = 0 ]; then
    i=$((RANDOM % ${#held[@]}))
    xdotool keyup "${held[$i]}"
    held=("${held[@]:0:$i}" "${held[@]:$((i + 1))}")
  else
    k=${keys[$((RANDOM % ${#keys[@]}))]}
    xdotool keydown "$k"
    held+=("$k")
  fi
  events=$((events + 1))
}

# Fails on a crash or a sanitizer report, or unless scores.hi is a whole table of 112 bytes.
check_exit() {
  ! grep -qE "ERROR: (Address|Leak)Sanitizer|runtime error:|SUMMARY: " "$work/stderr" ||
    { cat "$work/stderr" >&2; fail "run $runs: a sanitizer report"; }
  [ "$game_status" = 0 ] || fail "run $runs: exit status $game_status"
  [ "$(stat -c %s "$work/scores.hi" 2>/dev/null)" = 112 ] || fail "run $runs: scores.hi missing or not 112 bytes"
}

start_display
deadline=$((SECONDS + seconds))
while [ "$SECONDS" -lt "$deadline" ]; do
  start_game
  find_window Quorbix
  focus "$win"
  while kill -0 "$game_pid" 2>/dev/null && [ "$SECONDS" -lt "$deadline" ]; do
    random_event
    sleep "0.0$((RANDOM % 10))"
  done
  release_all
  # Time is up, or the game quit: Esc until it is gone (a held Enter or F2 is let go above).
  # Esc is held for a while each time, since the game looks at it once per logic tick.
  for _ in 1 2 3 4 5 6 7 8; do
    kill -0 "$game_pid" 2>/dev/null || break
    { xdotool keydown Escape; sleep 0.3; xdotool keyup Escape; } 2>/dev/null || true
    sleep 0.3
  done
  wait_game
  runs=$((runs + 1))
  check_exit
done
echo "random play: $runs runs, $events key events in $seconds s, no crash, no sanitizer report"
