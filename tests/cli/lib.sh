# Shared helpers of the command-line tests: a private folder and settings,
# and checks of exit status, messages and figures. Source it; the path of
# korvel-cli is the first argument.
set -euo pipefail

CLI=${1:?path of the korvel-cli binary}
WORK=$(mktemp -d /tmp/korvel-cli-test.XXXXXX)
export XDG_CONFIG_HOME="$WORK/config"
export LANG=C.UTF-8
unset LC_ALL LC_MESSAGES QT_QPA_PLATFORM DISPLAY XDG_RUNTIME_DIR
trap 'rm -rf "$WORK"' EXIT
cd "$WORK"

fail() { echo "FAIL: $*" >&2; exit 1; }

# run_ok ARGS...: korvel-cli must succeed; its output is in $WORK/out, its
# messages in $WORK/err.
run_ok() {
  "$CLI" "$@" >"$WORK/out" 2>"$WORK/err" || { cat "$WORK/err" >&2; fail "korvel-cli $* exited $?"; }
}

# run_fails STATUS PATTERN ARGS...: korvel-cli must exit with STATUS, say
# something matching PATTERN (grep -E) on the standard error and write
# nothing to the standard output.
run_fails() {
  local status=$1 pattern=$2
  shift 2
  local got=0
  "$CLI" "$@" >"$WORK/out" 2>"$WORK/err" || got=$?
  [ "$got" -eq "$status" ] || { cat "$WORK/err" >&2; fail "korvel-cli $* exited $got, not $status"; }
  grep -qE -- "$pattern" "$WORK/err" || { cat "$WORK/err" >&2; fail "korvel-cli $*: no message like '$pattern'"; }
  [ ! -s "$WORK/out" ] || fail "korvel-cli $* wrote to the standard output"
}

# field NAME FILE: the value part of an "info" line ("Samples:  65534" -> 65534).
field() { sed -n "s/^$1: *//p" "$2"; }

# near A B TOLERANCE: |A - B| <= TOLERANCE.
near() { awk -v a="$1" -v b="$2" -v t="$3" 'BEGIN { d = a - b; if (d < 0) d = -d; exit !(d <= t) }'; }
