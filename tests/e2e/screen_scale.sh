#!/usr/bin/env bash
# On a 1920x1080 desktop the window is 1280x960, is Quorbix's (class, icon), and shows the high-score
# page as a 1x window on a 1024x768 desktop does, every pixel a 2x2 block. Args: GAME DATA_FILE
screen_size=1920x1080
source "$(dirname "$0")/lib.sh"

# score_page NAME: the high-score page in NAME.png, its window's properties in NAME.props; then Esc.
score_page() {
  start_game
  find_window Quorbix
  sleep 9.5
  screenshot "$win" "$work/$1.png"
  xprop -id "$win" WM_CLASS WM_HINTS >"$work/$1.props"
  hold "$win" Escape
  wait_game
  [ "$game_status" = 0 ] || fail "exit status $game_status after Esc: $(cat "$work/stderr")"
}

score_page big
[ "$(identify -format %wx%h "$work/big.png")" = 1280x960 ] || fail "the window is not 1280x960"
grep -qx 'WM_CLASS(STRING) = "quorbix", "Quorbix"' "$work/big.props" || fail "wrong class: $(cat "$work/big.props")"
grep -q "bitmap id # to use for icon" "$work/big.props" || fail "no icon: $(cat "$work/big.props")"
start_display 1024x768
score_page small
# The heading's colour flickers, so the page is compared below its top 60 rows.
differing=$(convert "$work/small.png" -filter point -resize 200% "$work/big.png" -chop 0x120 -compose difference \
  -composite -colorspace Gray -threshold 0 -format "%[fx:round(mean * w * h)]" info:)
[ "$differing" = 0 ] || fail "$differing pixels of the 2x page are not the 1x page scaled"
echo "screen scaled: ok"
