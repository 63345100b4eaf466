#!/usr/bin/env bash
# The real game without quorbix.dat, or with a copy cut short, dat-edited or random: a message box naming
# it, a reason, status 255, no score file; without a display, the same end. Args: GAME DATA_FILE DAT_TOOL
source "$(dirname "$0")/lib.sh"
dat_tool=$3
mkdir "$work/cases"
cd "$work/cases"

size=$(stat -c %s "$data_file")
for cut in 0 3 8 12 40 1100 5000 $((size / 2)) $((size - 1)); do
  head -c "$cut" "$data_file" >"cut-at-$cut.dat"
done

# The dat tool's edits: the title picture deleted, then a data object added in its place; all compressed.
cp "$data_file" no-title-picture.dat
"$dat_tool" -n0 -s1 no-title-picture.dat -d TITLE_BMP >/dev/null
cp no-title-picture.dat data-for-picture.dat
"$dat_tool" -n0 -s1 data-for-picture.dat -a -t DATA "$data_file" >/dev/null
cp "$data_file" compressed.dat
"$dat_tool" -n0 -s1 compressed.dat -c2 -w >/dev/null

# Random bytes, the same on every run: a whole file of them, and the end of a file.
perl -e 'srand 7; print map { chr rand 256 } 1 .. 100000' >random.dat
{ head -c 4000 "$data_file"; perl -e 'srand 13; print map { chr rand 256 } 1 .. 4000'; } >random-tail.dat

start_game env -u DISPLAY "$game_binary"
wait_game
[ "$game_status" = 255 ] && [ ! -e "$work/scores.hi" ] && grep -q DISPLAY "$work/stderr" ||
  fail "without a display: exit status $game_status, a score file, or no word of it: $(cat "$work/stderr")"

for name in no-data-file *.dat; do
  rm -f "$work/quorbix.dat"
  [ "$name" = no-data-file ] || cp "$name" "$work/quorbix.dat"
  start_game nodata
  find_window xmessage
  pgrep -a xmessage | grep -q "Error loading quorbix.dat" || fail "$name: the message box does not name quorbix.dat"
  hold "$win" Return
  wait_game
  [ "$game_status" = 255 ] && [ ! -e "$work/scores.hi" ] && [ ! -e "$work/scores.hi.tmp" ] &&
    grep -q quorbix.dat "$work/stderr" || fail "$name: exit status $game_status, a score file, or no reason given"
done
echo "damaged data files: all refused"
