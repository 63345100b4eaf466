#!/usr/bin/env bash
# quorbix.exe unpacked from the zip and played under Wine, on a 1920x1080 desktop under openbox: it imports only
# system DLLs; its title screen's text is the Linux game's, pixel for pixel, in a 1280x960 window; F11 fills the
# desktop with the frame centred on black and F11 again gives the window back; Enter starts a game and Esc quits
# with 0, leaving a 112-byte scores.hi that a second run's save replaces; the close button quits with 0; a damaged
# data file gives the message box and status 255. Args: LINUX_GAME DATA_FILE ZIP WINE_ROOT OBJDUMP
screen_size=1920x1080
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/wine.sh" "$4"
zip=$3 objdump=$5
start_wm
wine_session

# The text under the title picture, as WxH+X+Y of a 2x window.
band=1280x190+0+770
shot_band() { screenshot "$win" "$work/$1.png" && convert "$work/$1.png" -crop "$band" +repage "$work/$1-band.png"; }
start_game
find_window Quorbix
sleep 1
shot_band linux
kill "$game_pid" && wait_game
rm -f "$work/scores.hi"* "$work/quorbix.dat"

unzip -q "$zip" -d "$work" || fail "cannot unpack $zip"
for dll in $("$objdump" -p "$work/quorbix.exe" | awk '/DLL Name:/ {print tolower($3)}'); do
  [[ " kernel32.dll user32.dll gdi32.dll msvcrt.dll ole32.dll winmm.dll ddraw.dll dsound.dll dinput.dll " == *" $dll "* ]] ||
    fail "quorbix.exe needs $dll, which Windows does not have"
done

start_game nodata wine quorbix.exe
find_window Quorbix
for _ in {1..50}; do shot_band windows && cmp -s <(convert "$work/linux-band.png" rgb:-) <(convert "$work/windows-band.png" rgb:-) && break; sleep 0.2; done
[ "$(identify -format %wx%h "$work/windows.png")" = 1280x960 ] || fail "the window is $(identify -format %wx%h "$work/windows.png"), not 1280x960"
cmp -s <(convert "$work/linux-band.png" rgb:-) <(convert "$work/windows-band.png" rgb:-) || fail "the title screen differs from the Linux game's"
geometry() { xwininfo -id "$win" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4} /Width/ {w=$2} /Height/ {h=$2}
  END {print w "x" h "+" x "+" y}'; }
wait_geometry() {
  for _ in {1..100}; do [[ $(geometry) == $1 ]] && return; sleep 0.1; done
  fail "the window lies at $(geometry), not $1"
}
hold "$win" F11
wait_geometry 1920x1080+0+0
sleep 0.5
xwd -silent -root | convert xwd:- "$work/root.png"
convert "$work/root.png" -fill black -draw "rectangle 320,60 1599,1019" "$work/bars.png"
! lit "$work/bars.png" 1920 1080 0 0 && lit "$work/root.png" 1280 960 320 60 || fail "the frame is not centred on black"
hold "$win" F11
wait_geometry "1280x960+*"
hold "$win" Return
hold "$win" Escape
wait_game 30
[ "$game_status" = 0 ] && [ "$(stat -c %s "$work/scores.hi")" = 112 ] ||
  fail "Esc in a game: exit status $game_status, scores.hi of $(stat -c %s "$work/scores.hi" 2>&1)"

own=(Wren:500 Morwick:100 Tallo:90 Brenna:75 Quill:50 Dastor:30 Fennig:20)
table "${own[@]}" >"$work/scores.hi"
before=$(stat -c %i "$work/scores.hi")
start_game nodata wine quorbix.exe
find_window Quorbix
sleep 1
wmctrl -c Quorbix
wait_game 30
[ "$game_status" = 0 ] || fail "the close button: exit status $game_status"
[ "$(stat -c %i "$work/scores.hi")" != "$before" ] && [ ! -e "$work/scores.hi.tmp" ] &&
  cmp -s "$work/scores.hi" <(table "${own[@]}") || fail "the second run's save did not replace scores.hi"

head -c 1100 "$data_file" >"$work/quorbix.dat"
rm "$work/scores.hi"
start_game nodata wine quorbix.exe
find_window Quorbix
box=""
for _ in {1..100}; do
  box=$(xdotool search --onlyvisible --name '^Quorbix$' | grep -vx "$win" | head -n 1) && break
  sleep 0.2
done
[ -n "$box" ] || fail "no message box for the damaged data file"
hold "$box" Return
wait_game 30
[ "$game_status" = 255 ] && [ ! -e "$work/scores.hi" ] && grep -q "quorbix.dat is damaged" "$work/stderr" ||
  fail "a damaged data file: exit status $game_status, a score file, or no reason given: $(cat "$work/stderr")"
echo "quorbix.exe under Wine: all checks passed"
