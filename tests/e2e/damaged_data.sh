#!/usr/bin/env bash
# Start-up failures of the real game. Without quorbix.dat, or with a copy cut short, edited by
# the dat tool or of random bytes, it shows the message box "Error loading quorbix.dat", gives
# a reason on standard error and ends with status 255, beginning no scores.hi; without a
# display it says so and ends the same way.
# Arguments: GAME_BINARY DATA_FILE DAT_TOOL
source "$(dirname "$0")/lib.sh"
dat_tool=$3
cases="$work/cases"
mkdir -p "$cases"

# Prints $2 bytes that are the same on every run for the seed $1.
seeded_bytes() {
  LC_ALL=C awk -v seed="$1" -v n="$2" 'BEGIN { srand(seed); for (i = 0; i < n; i++) printf "%c", int(rand() * 256) }'
}

size=$(stat -c %s "$data_file")
for cut in 0 3 8 12 40 1100 5000 $((size / 2)) $((size - 1)); do
  head -c "$cut" "$data_file" >"$cases/cut-at-$cut.dat"
done

# Edits by the dat tool: the title picture deleted; then a plain data object added where it
# belongs; the whole file compressed.
cp "$data_file" "$cases/no-title-picture.dat"
"$dat_tool" -n0 -s1 "$cases/no-title-picture.dat" -d TITLE_BMP >/dev/null
cp "$cases/no-title-picture.dat" "$cases/data-for-picture.dat"
"$dat_tool" -n0 -s1 "$cases/data-for-picture.dat" -a -t DATA "$data_file" >/dev/null
cp "$data_file" "$cases/compressed.dat"
"$dat_tool" -n0 -s1 "$cases/compressed.dat" -c2 -w >/dev/null

seeded_bytes 7 100000 >"$cases/random.dat"
{ head -c 4000 "$data_file"; seeded_bytes 13 4000; } >"$cases/random-tail.dat"

start_game env -u DISPLAY "$game_binary"
wait_game
[ "$game_status" = 255 ] && [ ! -e "$work/scores.hi" ] || fail "without a display: exit status $game_status, or a score file"
grep -q "DISPLAY" "$work/stderr" || fail "no word about the display on standard error"

start_display
for damaged in no-data-file "$cases"/*.dat; do
  name=$(basename "$damaged" .dat)
  rm -f "$work/quorbix.dat"
  [ "$name" = no-data-file ] || cp "$damaged" "$work/quorbix.dat"
  start_game nodata
  find_window xmessage
  pgrep -a xmessage | grep -q "Error loading quorbix.dat" || fail "$name: the message box does not name quorbix.dat"
  focus "$win"
  xdotool key Return
  wait_game
  [ "$game_status" = 255 ] || fail "$name: exit status $game_status, not 255"
  [ ! -e "$work/scores.hi" ] && [ ! -e "$work/scores.hi.tmp" ] || fail "$name: a score file was begun"
  grep -q "quorbix.dat" "$work/stderr" || fail "$name: no reason on standard error"
  echo "$name: $(grep -m 1 "^quorbix:" "$work/stderr")"
done
echo "damaged data files: all refused"
