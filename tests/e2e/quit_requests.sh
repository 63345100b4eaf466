#!/usr/bin/env bash
# The real game under Xvfb quits as with Esc when asked from outside: by the window's close
# button, sent as a window manager sends it, and by SIGINT, SIGTERM and SIGHUP. Each row
# asks at one moment; the game must end with status 0 within 2 s, leave a whole default
# table in scores.hi and no window behind.
# Arguments: GAME_BINARY DATA_FILE CLOSE_WINDOW_TOOL
source "$(dirname "$0")/lib.sh"
close_window=$3

# moment request: "title" asks on the title screen, "game" in a game, "held" in a game while
# Enter is held, "enter" while Enter is held down on the title screen, where the game waits
# for its release.
rows=(
  "title close" "game close" "held close" "enter close"
  "title INT" "game INT" "title TERM" "game TERM" "title HUP" "game HUP"
)

start_display
for row in "${rows[@]}"; do
  read -r moment request <<<"$row"
  rm -f "$work/scores.hi"
  start_game
  find_window Quorbix
  case $moment in
    title) sleep 0.5 ;;
    game) hold "$win" Return && sleep 1 ;;
    held) hold "$win" Return && sleep 1 && xdotool keydown Return && sleep 0.5 ;;
    enter) xdotool windowfocus --sync "$win" keydown Return && sleep 0.5 ;;
  esac
  if [ "$request" = close ]; then "$close_window" "$win"; else kill -"$request" "$game_pid"; fi
  wait_game 2
  [ "$moment" != enter ] && [ "$moment" != held ] || xdotool keyup Return
  [ "$game_status" = 0 ] || fail "$row: exit status $game_status (137: still running after 2 s)"
  [ "$(hex_of "$work/scores.hi")" = "$(table_hex)" ] || fail "$row: scores.hi is not a whole table"
  ! xdotool search --name "^Quorbix\$" >/dev/null || fail "$row: a game window is left"
done
echo "quit requests: ${#rows[@]} rows, ok"
