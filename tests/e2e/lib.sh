# Shared helpers of the end-to-end tests: a private X server, the program in
# it, keys, waits and screenshots. Source it; the program's path is the first
# argument. Every wait polls for what it waits for, up to 60 s, so that a
# loaded machine only makes a run slower.
set -euo pipefail

KORVEL_BIN=$(readlink -f "${1:?path of the korvel binary}")
WORK=$(mktemp -d /tmp/korvel-e2e.XXXXXX)
export XDG_RUNTIME_DIR="$WORK/runtime" XDG_CONFIG_HOME="$WORK/config" LANG=C.UTF-8
mkdir -m 700 "$XDG_RUNTIME_DIR" && cd "$WORK"  # the file dialogs open in the current folder
unset QT_QPA_PLATFORM LC_ALL LC_MESSAGES
trap '[ -n "${APP_PID:-}" ] && kill $APP_PID 2>/dev/null; [ -n "${XVFB_PID:-}" ] && kill $XVFB_PID; rm -rf "$WORK"' EXIT

fail() { echo "FAIL: $*" >&2; tail -5 "$WORK/app.log" >&2; exit 1; }

# wait_for COMMAND...: until it succeeds; the program must stay up meanwhile.
wait_for() {
  local end=$((SECONDS + 60))
  while [ $SECONDS -lt $end ]; do
    "$@" >/dev/null && return 0
    [ -z "${APP_PID:-}" ] || kill -0 "$APP_PID" 2>/dev/null || fail "the program ended"
    sleep 0.1
  done
  fail "waited in vain for: $*"
}

# Xvfb on a display it picks itself. Without -noreset the server resets when
# its last client (an xdotool call) leaves, and a program connecting in that
# moment is refused and aborts.
start_x() {
  mkfifo "$WORK/displayfd"
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset 3>"$WORK/displayfd" >/dev/null 2>&1 &
  XVFB_PID=$!
  read -r -t 30 DISPLAY <"$WORK/displayfd" || fail "no X server"
  export DISPLAY=":$DISPLAY"
}

# Starts the program (its arguments, if any, after the binary), answers its
# start-up notice and waits for the plot; sets $window and the sub-window
# plot's magenta frame: fw fh fx fy.
start_app() {
  "$KORVEL_BIN" "$@" >"$WORK/app.log" 2>&1 &
  APP_PID=$!
  wait_for visible '^KORVEL$'
  xdotool windowfocus --sync "$(visible '^KORVEL$')"
  xdotool key --clearmodifiers Return
  wait_for gone '^KORVEL$'
  window=$(visible '^KORVEL Oscillograph Release 1.05')
  wait_for framed
}

framed() {
  shot start
  local box=$(convert "$WORK/start.png" -fill black +opaque '#ff00ff' -fill white -opaque '#ff00ff' -format %@ info: 2>/dev/null)
  [[ $box =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] && [ "${BASH_REMATCH[1]}" -gt 400 ] || return 1
  fw=${BASH_REMATCH[1]} fh=${BASH_REMATCH[2]} fx=${BASH_REMATCH[3]} fy=${BASH_REMATCH[4]}
}

visible() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1 | grep .; }
gone() { ! visible "$1" >/dev/null; }
# Keys to the main window (Xvfb has no window manager to give it the focus).
keys() { xdotool windowfocus --sync "$window" && xdotool key --clearmodifiers --delay 40 "$@"; }
shot() { import -window root "$WORK/$1.png"; }
# count SHOT COLOUR [CROP]: pixels of one colour (not white) in a screenshot or a part of it.
count() {
  convert "$WORK/$1.png" ${3:+-crop "$3" +repage} -fill white +opaque "$2" -fill black -opaque "$2" \
    -negate -format '%[fx:round(mean*w*h)]' info:
}
# A part of the sub-window plot in hundredths of its width and height, and its black pixels.
part() { echo "$((fw * ($2 - $1) / 100))x$((fh * ($4 - $3) / 100))+$((fx + fw * $1 / 100))+$((fy + fh * $3 / 100))"; }
black() { count "$1" black "$(part "$2" "$3" "$4" "$5")"; }
# same NAME: a new screenshot shows the picture NAME.
same() { shot now && [ "$(compare -metric AE "$WORK/$1.png" "$WORK/now.png" null: 2>&1)" = 0 ]; }
# settled NAME: the screen has stopped changing; NAME is its picture.
settled() { same "$1" || { mv "$WORK/now.png" "$WORK/$1.png"; false; }; }
