# Helpers of the end-to-end and install tests: a scratch folder, a private Xvfb display, keys by xdotool. Args: GAME
# DATA; install tests get cmake_command, build_dir, bin_dir, game_dir, share_dir, man_dir, data_dir, version, from.
set -euo pipefail

game_binary=$1 data_file=$2
work=$(mktemp -d /tmp/quorbix-e2e-XXXXXX)
xvfb_pid="" xvfb_pids="" game_pid=""

cleanup() { kill $game_pid $xvfb_pids 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

# start_display [WxH]: a private Xvfb display of that size (800x600 unless $screen_size says) for what follows.
start_display() {
  rm -f "$work/displayfd" && mkfifo "$work/displayfd"
  # -noreset: a server that resets as its last client leaves drops a game connecting at that moment.
  Xvfb -displayfd 3 -screen 0 "${1:-${screen_size:-800x600}}x24" -nolisten tcp -noreset 3>"$work/displayfd" 2>/dev/null &
  xvfb_pid=$! xvfb_pids="$xvfb_pids $!"
  read -r -t 10 display <"$work/displayfd" || fail "Xvfb did not start"
  export DISPLAY=":$display"
}
start_display

# Ends the last display, as a lost X server; the cleanup must not kill its pid, which may soon be another's.
stop_display() {
  kill "$xvfb_pid"
  wait "$xvfb_pid" || true
  xvfb_pids=${xvfb_pids/ $xvfb_pid/}
}

# Starts Debian's openbox on the display and waits until it answers as a window manager.
start_wm() {
  openbox >/dev/null 2>&1 &
  timeout 10 sh -c 'until xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"; do sleep 0.1; done' || fail "no openbox"
}

# start_game [nodata] [COMMAND...]: the game (or COMMAND) in the scratch folder, with the data file unless nodata.
start_game() {
  if [ "${1:-}" = nodata ]; then shift; else cp "$data_file" "$work/quorbix.dat"; fi
  [ $# -gt 0 ] || set -- "$game_binary"
  (cd "$work" && exec "$@" >"$work/stdout" 2>"$work/stderr") &
  game_pid=$!
}

# Waits for a window titled $1 and puts its id in win; searched again when a window vanished under the search.
find_window() {
  win=$(timeout 20 sh -c "until xdotool search --onlyvisible --name '^$1\$' 2>/dev/null | grep .; do sleep 0.1; done" | head -n 1) || true
  [ -n "$win" ] || fail "no window titled $1: $(cat "$work/stderr" 2>/dev/null)"
}

# Gives window $1 the keyboard within 5 s.
focus() {
  timeout 5 sh -c "until xdotool windowfocus --sync $1 2>/dev/null; do sleep 0.1; done" ||
    fail "the window never took the keyboard"
}

# Holds key $2 down in window $1 for several logic ticks.
hold() {
  focus "$1"
  xdotool keydown "$2" sleep 0.3 keyup "$2"
}

# Where window $win lies, as WxH+X+Y; waits up to 10 s for it to match the pattern $1.
place() { xwininfo -id "$win" | awk '/te upper-left X/ {x=$4} /te upper-left Y/ {y=$4} /Width/ {w=$2} /Height/ {h=$2}
  END {print w "x" h "+" x "+" y}'; }
wait_place() {
  for _ in {1..100}; do [[ $(place) == $1 ]] && return; sleep 0.1; done
  fail "the window lies at $(place), not $1"
}

screenshot() { xwd -silent -id "$1" | convert xwd:- "png:$2"; }

# lit PNG W H X Y: true if anything is drawn in that rectangle of the picture.
lit() { [ "$(convert "$1" -crop "$2x$3+$4+$5" +repage -colorspace Gray -format "%[fx:mean]" info:)" != 0 ]; }

# Waits at most $1 s (default 20) for the game to end, then kills it; its status goes in game_status. The watchdog
# dies with the game, killed outright so as not to run the test's cleanup, as the game's pid may soon be another's.
wait_game() {
  (sleep "${1:-20}"; kill -9 "$game_pid") >/dev/null 2>&1 &
  local watchdog=$!
  disown "$watchdog"
  game_status=0
  wait "$game_pid" || game_status=$?
  kill -9 "$watchdog" 2>/dev/null || true
  game_pid=""
}

# A score table of NAME:SCORE entries (the default if none) as the game writes it: 12-byte names, LE scores.
table() {
  [ $# -gt 0 ] || set -- Morwick:100 Tallo:90 Brenna:75 Quill:50 Dastor:30 Fennig:20 Ulmar:15
  perl -e 'print map { /(.*):(-?\d+)/; pack("a12 l<", $1, $2) } @ARGV' "$@"
}

# An install test's tree is installed under $root.
if [ -n "${bin_dir:-}" ]; then
  root=$work/root launcher=$root$bin_dir/quorbix
  installed_game=$root$game_dir/quorbix installed_data=$root$data_dir/quorbix.dat
  package=$build_dir/quorbix_${version}_$(dpkg --print-architecture).deb
fi

# Installs the build under $root as a package build stages it, or unpacks its package there.
install_game() {
  if [ "$from" = package ]; then
    dpkg-deb -x "$package" "$root" || fail "cannot unpack $package"
  else
    DESTDIR=$root "$cmake_command" --install "$build_dir" >"$work/install.log" 2>&1 ||
      fail "cmake --install failed: $(cat "$work/install.log")"
  fi
}
