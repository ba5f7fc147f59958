# Shared helpers of the end-to-end tests: a private X server, the program in
# it, keys and screenshots. Source it; the program's path is the first argument.
set -euo pipefail

KORVEL_BIN=${1:?path of the korvel binary}
WORK=$(mktemp -d /tmp/korvel-e2e.XXXXXX)
export XDG_RUNTIME_DIR="$WORK/runtime"
export XDG_CONFIG_HOME="$WORK/config"
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM
export LANG=${LANG_UNDER_TEST:-C.UTF-8}
unset LC_ALL LC_MESSAGES
APP_PID=
XVFB_PID=

cleanup() {
  [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
  if [ -n "${KEEP_SHOTS:-}" ]; then echo "screenshots kept in $WORK"; else rm -rf "$WORK"; fi
}
trap cleanup EXIT

# Starts Xvfb of a given size (default 1280x800) on a display it picks itself:
# the server claims a free number and tells it, so parallel runs never collide.
start_x() {
  local size=${1:-1280x800}
  local fifo="$WORK/displayfd"
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$fifo" >"$WORK/xvfb.log" 2>&1 &
  XVFB_PID=$!
  local display
  read -r -t 10 display <"$fifo" || { echo "no X server could be started" >&2; cat "$WORK/xvfb.log" >&2; return 1; }
  export DISPLAY=":$display"
  for _ in $(seq 50); do
    xdotool getmouselocation >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "X server :$display does not answer" >&2
  return 1
}

# Starts the program; extra arguments go to it.
start_app() {
  "$KORVEL_BIN" "$@" >"$WORK/app.log" 2>&1 &
  APP_PID=$!
}

# Waits for a window whose name matches a pattern; prints its id.
wait_window() {
  local pattern=$1
  for _ in $(seq 100); do
    local id
    id=$(xdotool search --name "$pattern" 2>/dev/null | head -1 || true)
    if [ -n "$id" ]; then echo "$id"; return 0; fi
    kill -0 "$APP_PID" 2>/dev/null || { echo "program ended early" >&2; cat "$WORK/app.log" >&2; return 1; }
    sleep 0.1
  done
  echo "no window named '$pattern'" >&2
  return 1
}

# Gives a window the keyboard (there is no window manager to do it).
focus() { xdotool windowfocus --sync "$1"; }

# Saves a screenshot of the whole screen.
shot() { import -window root "$1"; }

# The colour of one pixel of a screenshot as rrggbb.
pixel() { convert "$1" -format "%[hex:p{$2,$3}]" info: | tr 'A-F' 'a-f' | cut -c1-6; }

fail() {
  echo "FAIL: $*" >&2
  [ -s "$WORK/app.log" ] && tail -5 "$WORK/app.log" >&2
  exit 1
}
