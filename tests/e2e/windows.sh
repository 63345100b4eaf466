#!/usr/bin/env bash
# quorbix.exe from the zip, under Wine and openbox on 1920x1080: Windows' DLLs only; a 1280x960 window showing the
# Linux game's title text; F11 and back; Esc: 0, scores.hi (a 2nd run's save replaces it); close button; damaged
# data; the installer, shortcut and uninstall, which leaves scores.hi. Args: LINUX_GAME DATA ZIP WINE_ROOT OBJDUMP SETUP
screen_size=1920x1080
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/wine.sh" "$4"
zip=$3 objdump=$5 setup=$6
start_wm
wine_session

# The text under the title picture in a 2x window, as $1-band.rgb.
shot_band() { screenshot "$win" "$work/$1.png" && convert "$work/$1.png" -crop 1280x190+0+770 "rgb:$work/$1-band.rgb"; }
start_game
find_window Quorbix
for _ in {1..50}; do shot_band linux && lit "$work/linux.png" 1280 190 0 770 && break; sleep 0.2; done
kill "$game_pid" && wait_game
rm -f "$work/scores.hi"* "$work/quorbix.dat"

unzip -q "$zip" -d "$work" || fail "cannot unpack $zip"
dlls=$("$objdump" -p "$work/quorbix.exe" | awk '/DLL Name:/ {print tolower($3)}')
! grep -vxE '(kernel32|user32|gdi32|msvcrt|ole32|winmm|ddraw|dsound|dinput)\.dll' <<<"$dlls" || fail "not Windows' DLLs"
start_game nodata wine quorbix.exe
find_window Quorbix
for _ in {1..50}; do shot_band windows && cmp -s "$work/"{linux,windows}-band.rgb && break; sleep 0.2; done
[[ $(place) == 1280x960+* ]] && cmp -s "$work/"{linux,windows}-band.rgb || fail "not the Linux game's title screen"
# F11, pressed again if Wine lost it while the window was being remade; then the window lies as $1 says.
switch_to() {
  hold "$win" F11
  for _ in {1..30}; do [[ $(place) == $1 ]] && return; sleep 0.1; done
  hold "$win" F11
  wait_place "$1"
}
switch_to 1920x1080+0+0
for try in {1..25}; do
  xwd -silent -root | convert xwd:- "$work/root.png"
  convert "$work/root.png" -fill black -draw "rectangle 320,60 1599,1019" "$work/bars.png"
  ! lit "$work/bars.png" 1920 1080 0 0 && lit "$work/root.png" 1280 960 320 60 && break
  [ "$try" -lt 25 ] || fail "the frame is not centred on black"; sleep 0.2
done
switch_to "1280x960+*"
sleep 1   # a key pressed while the window is still being remade may lose its release
hold "$win" Return
hold "$win" Escape
wait_game 30
[ "$game_status" = 0 ] && [ "$(stat -c %s "$work/scores.hi")" = 112 ] || fail "Esc in a game: exit status $game_status"

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
box=$(timeout 20 sh -c "until xdotool search --onlyvisible --name '^Quorbix\$' | grep -vx $win; do sleep 0.2; done")
hold "${box%%$'\n'*}" Return
wait_game 30
[ "$game_status" = 255 ] && [ ! -e "$work/scores.hi" ] && grep -q "quorbix.dat is damaged" "$work/stderr" ||
  fail "a damaged data file: exit status $game_status, a score file, or no reason given: $(cat "$work/stderr")"

# The installer, silent, for this user alone. Under Wine a wrong installer can end with 0 too: what counts is what
# it left. The Start menu's shortcut starts the game in its folder, which keeps scores.hi through the uninstall.
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorbix'
place_of() { winepath -u "$(wine cmd /c echo "%$1%" | tr -d '\r')"; }
folder=$(place_of LOCALAPPDATA)/Programs/Quorbix
link="$(place_of APPDATA)/Microsoft/Windows/Start Menu/Programs/Quorbix.lnk"
wine "$setup" /S
installed=$(ls "$folder" | tr '\n' ' ')
[ "$installed" = "COPYRIGHT.txt LICENSE-Allegro.txt LICENSE.txt README.txt quorbix.dat quorbix.exe uninstall.exe " ] ||
  fail "installed: $installed"
wine reg query "$key" /v UninstallString | grep -q 'uninstall.exe' || fail "not in the user's list of programs"
wine start "$(winepath -w "$link")"
find_window Quorbix
for _ in {1..50}; do shot_band installed && cmp -s "$work/"{linux,installed}-band.rgb && break; sleep 0.2; done
hold "$win" Escape
timeout 20 sh -c "until [ -e '$folder/scores.hi' ] && ! xdotool search --onlyvisible --name '^Quorbix\$'; do sleep 0.2; done" \
  >/dev/null || fail "the game from the shortcut left no scores.hi in its folder"
wine "$folder/uninstall.exe" /S
timeout 20 sh -c "while [ -e '$folder/uninstall.exe' ]; do sleep 0.2; done" || fail "the uninstaller did not finish"
[ "$(ls "$folder" 2>&1)" = scores.hi ] || fail "the uninstall left: $(ls "$folder" 2>&1)"
[ ! -e "$link" ] || fail "the uninstall left the shortcut"
! wine reg query "$key" >/dev/null 2>&1 || fail "still in the user's list of programs"
echo "quorbix.exe under Wine, from the zip and from the installer: ok"
