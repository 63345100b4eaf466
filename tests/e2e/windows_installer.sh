#!/usr/bin/env bash
# The installer, silent, for this user alone: the game's files and uninstaller in %LOCALAPPDATA%\Programs\Quorbix,
# a Start-menu shortcut, an entry in the user's list of programs; the shortcut starts the game in that folder,
# where it keeps scores.hi; the silent uninstall takes everything but scores.hi away. Args: SETUP DATA WINE_ROOT
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/wine.sh" "$3"
setup=$1
start_wm
wine_session
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorbix'
place_of() { winepath -u "$(wine cmd /c echo "%$1%" | tr -d '\r')"; }
folder=$(place_of LOCALAPPDATA)/Programs/Quorbix
link="$(place_of APPDATA)/Microsoft/Windows/Start Menu/Programs/Quorbix.lnk"

# Under Wine a wrong installer can end with 0 too: what counts is what it left.
wine "$setup" /S
installed=$(ls "$folder" | tr '\n' ' ')
[ "$installed" = "COPYRIGHT.txt LICENSE-Allegro.txt LICENSE.txt README.txt quorbix.dat quorbix.exe uninstall.exe " ] ||
  fail "installed: $installed"
[ -e "$link" ] || fail "no shortcut in the Start menu"
wine reg query "$key" /v UninstallString | grep -q 'uninstall.exe' || fail "not in the user's list of programs"

wine start "$(winepath -w "$link")"
find_window Quorbix
for _ in {1..50}; do screenshot "$win" "$work/title.png" && lit "$work/title.png" 640 90 0 385 && break; sleep 0.2; done
hold "$win" Escape
timeout 20 sh -c "until [ -e '$folder/scores.hi' ] && ! xdotool search --onlyvisible --name '^Quorbix\$'; do sleep 0.2; done" \
  >/dev/null || fail "the game from the shortcut left no scores.hi in its folder"

wine "$folder/uninstall.exe" /S
timeout 20 sh -c "while [ -e '$folder/uninstall.exe' ]; do sleep 0.2; done" || fail "the uninstaller did not finish"
[ "$(ls "$folder" 2>&1)" = scores.hi ] || fail "the uninstall left: $(ls "$folder" 2>&1)"
[ ! -e "$link" ] || fail "the uninstall left the shortcut"
! wine reg query "$key" >/dev/null 2>&1 || fail "still in the user's list of programs"
echo "installer: files, shortcut, the game in its folder, uninstall keeping scores.hi: ok"
