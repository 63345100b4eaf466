# Shared helpers of the end-to-end tests: a private Xvfb display, the real game
# binary in a scratch folder, keys through xdotool and screenshots through xwd.
# Usage from a test: source lib.sh GAME_BINARY DATA_FILE
set -euo pipefail

game_binary=$1
data_file=$2
convert=/usr/bin/convert
work=$(mktemp -d /tmp/quorbix-e2e-XXXXXX)
xvfb_pid=""
game_pid=""

# Stops whatever the test started and removes its folder.
cleanup() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# Reports a failed check and ends the test.
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Starts an Xvfb server on a free display and exports DISPLAY.
start_display() {
  local fifo="$work/displayfd" n
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$fifo" 2>/dev/null &
  xvfb_pid=$!
  read -r -t 10 n <"$fifo" || fail "Xvfb did not start"
  export DISPLAY=":$n"
}

# Starts the game in the scratch folder (with its data file unless told "nodata").
start_game() {
  [ "${1:-}" = nodata ] || cp "$data_file" "$work/quorbix.dat"
  (cd "$work" && exec "$game_binary" >"$work/stdout" 2>"$work/stderr") &
  game_pid=$!
}

# Waits for a window with the given title and prints its id.
find_window() {
  timeout 20 xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1
}

# Holds a key down in a window for a moment, long enough for several logic ticks to see it.
hold() {
  xdotool windowfocus --sync "$1"
  xdotool keydown "$2"
  sleep 0.3
  xdotool keyup "$2"
}

# Saves a window's contents as a PNG.
screenshot() {
  xwd -silent -id "$1" | "$convert" xwd:- "png:$2"
}

# Mean brightness (0..1) of a rectangle of a PNG: w h x y.
brightness() {
  "$convert" "$1" -crop "$2x$3+$4+$5" +repage -colorspace Gray -format "%[fx:mean]" info:
}

# Waits (at most 20 s) for the game to end and puts its exit status in game_status.
wait_game() {
  local watchdog
  (sleep 20; kill -9 "$game_pid") >/dev/null 2>&1 &
  watchdog=$!
  game_status=0
  wait "$game_pid" || game_status=$?
  pkill -P "$watchdog" 2>/dev/null || true
  game_pid=""
}

# Checks that the running game refuses its data file: the message box names quorbix.dat,
# and once it is dismissed the game ends with status 255, a reason on standard error
# and no score file begun. $1 names the case in failure messages.
expect_data_refused() {
  local box
  box=$(find_window xmessage) || fail "$1: no message box"
  [ -n "$box" ] || fail "$1: no message box"
  pgrep -a xmessage | grep -q "Error loading quorbix.dat" || fail "$1: the message box does not name quorbix.dat"
  xdotool windowfocus --sync "$box"
  xdotool key Return
  wait_game
  [ "$game_status" = 255 ] || fail "$1: exit status $game_status, not 255"
  [ ! -e "$work/scores.hi" ] || fail "$1: scores.hi was written"
  [ ! -e "$work/scores.hi.tmp" ] || fail "$1: a score file was begun"
  grep -q "quorbix.dat" "$work/stderr" || fail "$1: no reason on standard error"
}

# Prints a file's bytes in hex, on one line.
hex_of() {
  od -An -v -tx1 "$1" | tr -d ' \n'
}

# Prints the bytes of the default score table as the game writes it:
# per entry the name padded with zeros to 12 bytes, then the score little-endian.
default_table_hex() {
  local entry name score hex
  for entry in Morwick:100 Tallo:90 Brenna:75 Quill:50 Dastor:30 Fennig:20 Ulmar:15; do
    name=${entry%:*}
    score=${entry#*:}
    hex=$(printf '%s' "$name" | od -An -tx1 | tr -d ' \n')
    while [ ${#hex} -lt 24 ]; do hex="${hex}00"; done
    printf '%s%02x%02x%02x%02x' "$hex" $((score & 255)) $((score >> 8 & 255)) $((score >> 16 & 255)) $((score >> 24 & 255))
  done
  echo
}
