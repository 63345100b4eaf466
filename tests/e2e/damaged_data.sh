#!/usr/bin/env bash
# The real game without quorbix.dat, or with a copy cut short, dat-edited or random: a message box naming it, a
# reason, status 255, no score file; without a display, the same end. Args: GAME DATA_FILE DAT_TOOL
source "$(dirname "$0")/lib.sh"
dat_tool=$3
mkdir "$work/cases"
cd "$work/cases"

# Cut short; the title picture deleted with the dat tool and a data object added in its place; random bytes.
head -c 1100 "$data_file" >cut-short.dat
cp "$data_file" data-for-picture.dat
"$dat_tool" -n0 -s1 data-for-picture.dat -d TITLE_BMP >/dev/null
"$dat_tool" -n0 -s1 data-for-picture.dat -a -t DATA "$data_file" >/dev/null
perl -e 'srand 7; print map { chr rand 256 } 1 .. 100000' >random.dat

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
