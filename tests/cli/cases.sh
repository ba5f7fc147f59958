#!/usr/bin/env bash
# korvel-cli on real files: runs the steps of tests/data/cli/cases.txt, which
# says what each kind of step checks. The path of korvel-cli is the argument.
set -euo pipefail
CLI=$(readlink -f "${1:?path of the korvel-cli binary}")
DATA=$(cd "$(dirname "$0")/../data/cli" && pwd)
WORK=$(mktemp -d /tmp/korvel-cli-test.XXXXXX)
trap 'rm -rf "$WORK"' EXIT
cd "$WORK"
export XDG_CONFIG_HOME="$WORK/config" LANG=C.UTF-8
unset LC_ALL LC_MESSAGES QT_QPA_PLATFORM DISPLAY XDG_RUNTIME_DIR

cp -r "$DATA"/. .
DEEP=$(printf 'd%.0s' $(seq 100))
DEEP=$DEEP/$DEEP/$DEEP/good.ktf
mkdir -p "$(dirname "$DEEP")" && cp good.ktf "$DEEP"
awk 'BEGIN { pi = atan2(0, -1)
  for (k = 0; k < 6000; k++) printf "%.9g %.9g\n", k * 0.5, 40 + 300 * sin(2 * pi * 0.004 * k * 0.5)
  print 3000 }' >sine.ktf

# The failing step, with its line in the table, ends the test.
bad() { echo "FAIL cases.txt:$n: $step${1:+ ($1)}" >&2; exit 1; }
n=0
while IFS= read -r step; do
  n=$((n + 1))
  read -r verb rest <<<"$step" || true
  case $verb in
    '' | '#'*) ;;
    run | fail) eval "set -- $rest"
      want=0
      [ "$verb" = run ] || { want=$1; shift; }
      status=0
      timeout 60 "$CLI" "$@" >out 2>err </dev/null || status=$?
      [ "$status" = "$want" ] && { [ "$verb" = run ] || [ ! -s out ]; } || { cat out err; bad "exit status $status"; } ;;
    pipe) eval "set -- $rest"  # FILE ARGS: FILE through a pipe on the standard input
      from=$1; shift
      status=0
      cat "$from" | "$CLI" "$@" >out 2>err || status=$?
      [ "$status" = 0 ] || { cat out err; bad "exit status $status"; } ;;
    sh) eval "$rest" || bad ;;
    has) printf -v line '%b' "${rest#* }"
      grep -qFx -- "$line" "${rest%% *}" || { head -c 2000 "${rest%% *}"; bad; } ;;
    says) grep -qF -- "$rest" err || { cat err; bad; } ;;
    lines) [ "$(wc -l <out)" -eq "$rest" ] || bad "$(wc -l <out) lines" ;;
    same) cmp $rest || bad ;;
    differ) ! cmp -s $rest || bad ;;
    absent) [ ! -e "$rest" ] || bad ;;
    *) bad "no such step" ;;
  esac
done <"$DATA/cases.txt"
echo "$n steps"
