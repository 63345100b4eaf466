#!/usr/bin/env bash
# Start-up failures of the real game. Under Xvfb without quorbix.dat, or with damaged
# copies of it (cut short at several points, with objects removed, with a font where a
# bitmap belongs, compressed, random bytes), each run gets the message box "Error loading
# quorbix.dat", a reason on standard error and exit status 255: never a crash, and never
# a scores.hi. Without any display it says so and ends the same way.
# Arguments: GAME_BINARY DATA_FILE DAT_TOOL
source "$(dirname "$0")/lib.sh"
dat_tool=$3
cases="$work/cases"
mkdir -p "$cases"

# Prints n bytes that are the same on every run for the same seed.
seeded_bytes() {
  LC_ALL=C awk -v seed="$1" -v n="$2" 'BEGIN { srand(seed); for (i = 0; i < n; i++) printf "%c", int(rand() * 256) }'
}

dat() {
  "$dat_tool" -n0 -s1 "$@" >/dev/null
}

size=$(stat -c %s "$data_file")
for cut in 0 3 8 12 40 1100 5000 $((size / 2)) $((size - 1)); do
  head -c "$cut" "$data_file" >"$cases/cut-at-$cut.dat"
done

for edit in "no-title-picture -d TITLE_BMP" "no-main-fonts -d FONT_MAIN FONT_TALL" "compressed -c2 -w"; do
  read -r name options <<<"$edit"
  cp "$data_file" "$cases/$name.dat"
  dat "$cases/$name.dat" $options
done

# The title font and the ship taken out and added back in the wrong order: a bitmap now
# stands where the title font belongs and a font where the title picture belongs.
cp "$data_file" "$cases/font-for-bitmap.dat"
(
  cd "$cases"
  dat font-for-bitmap.dat -e -o title_font.txt FONT_TITLE
  dat font-for-bitmap.dat -e -o ship.bmp SHIP_BMP
  dat font-for-bitmap.dat -d FONT_TITLE SHIP_BMP
  dat -bpp 8 font-for-bitmap.dat -a -t BMP ship.bmp
  dat font-for-bitmap.dat -a -t FONT title_font.txt
)
"$dat_tool" -l "$cases/font-for-bitmap.dat" | grep -q "FONT - TITLE_FONT_TXT" || fail "the rebuilt file has no font at the end"

seeded_bytes 7 100000 >"$cases/random.dat"
{ printf 'slh.ALL.'; seeded_bytes 11 5000; } >"$cases/random-after-mark.dat"
{ head -c 4000 "$data_file"; seeded_bytes 13 4000; } >"$cases/random-tail.dat"

start_game env -u DISPLAY "$game_binary"
wait_game
[ "$game_status" = 255 ] || fail "exit status $game_status without a display, not 255"
grep -q "DISPLAY" "$work/stderr" || fail "no word about the display on standard error"
[ ! -e "$work/scores.hi" ] || fail "scores.hi was written without a display"

start_display
rm "$work/quorbix.dat"
start_game nodata
expect_data_refused "no data file"
count=1
for damaged in "$cases"/*.dat; do
  name=$(basename "$damaged" .dat)
  cp "$damaged" "$work/quorbix.dat"
  start_game nodata
  expect_data_refused "$name"
  echo "$name: $(grep -m 1 "^quorbix:" "$work/stderr")"
  count=$((count + 1))
done
echo "damaged data files: $count refused"
