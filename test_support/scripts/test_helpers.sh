# shellcheck shell=bash
# What the tests written in bash share; source it after `set -euo pipefail`.
#   $work             a scratch folder, removed when the script ends
#   fail MESSAGE      reports the failure and ends the test
#   wait_for S CMD…   polls CMD every 0.05 s until it succeeds; fails after S seconds
#   start_xvfb        an X server of its own on a free display: sets DISPLAY and xvfb_pid
#                     (the script's clean-up kills it)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

wait_for() {
  local tries=$(($1 * 20))
  shift
  while ! "$@" 2>/dev/null; do
    tries=$((tries - 1))
    [ "$tries" -gt 0 ] || return 1
    sleep 0.05
  done
}

# The display is chosen by the server itself.  -noreset: the server would reset whenever
# its last client left (a program closed, xdotool or xclip done) and refuse the
# connections made meanwhile.
start_xvfb() {
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" 2>/dev/null &
  xvfb_pid=$!
  wait_for 10 test -s "$work/display" || fail "Xvfb did not start"
  DISPLAY=":$(head -n1 "$work/display")"
  export DISPLAY
}
