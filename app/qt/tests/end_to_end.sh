#!/bin/bash
# lorrin on its own X server with the real clipboard: texts placed with xclip come back as
# pictures that zbarimg reads; a terminated program leaves a settings file with every key.
# Usage: end_to_end.sh path/to/lorrin
set -u
lorrin=$1
work=$(mktemp -d)
xvfb_pid=
lorrin_pid=
xclip_pid=

cleanup() {
    [ -n "$xclip_pid" ] && kill "$xclip_pid" 2>/dev/null
    [ -n "$lorrin_pid" ] && kill -KILL "$lorrin_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Polls `$@` every 0.05 s until it succeeds or `limit` seconds pass.
wait_for() {
    local limit=$1
    shift
    local tries=$((limit * 20))
    while ! "$@" 2>/dev/null; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || return 1
        sleep 0.05
    done
}

for tool in Xvfb xclip zbarimg xwininfo; do
    command -v "$tool" >/dev/null || fail "$tool is not installed"
done

# A free display chosen by the server itself.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb_pid=$!
wait_for 10 test -s "$work/display" || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$work/display")"
export QT_QPA_PLATFORM=xcb
export XDG_CONFIG_HOME="$work/config"

mkdir -p "$work/program"
cp "$lorrin" "$work/program/lorrin"
printf '[barcode]\nwpconly=0\n' >"$work/program/lorrin.ini"

shown() { xwininfo -root -tree | grep -q '"Quillmark"'; }
targets() { xclip -selection clipboard -t TARGETS -o; }
holds_picture() { targets | grep -qx 'image/png'; }

# A text already on the clipboard at start is left alone.
printf 'c39@OLD' >"$work/old.txt"
xclip -quiet -selection clipboard -i "$work/old.txt" >/dev/null 2>&1 &
xclip_pid=$!
wait_for 5 sh -c 'xclip -selection clipboard -o | grep -q OLD' || fail "xclip did not take the clipboard"

"$work/program/lorrin" -clip >"$work/lorrin.log" 2>&1 &
lorrin_pid=$!
wait_for 20 shown || fail "the window did not appear"
sleep 0.5
[ "$(xclip -selection clipboard -o)" = "c39@OLD" ] || fail "the text present at start was converted"

# What zbarimg reads in the picture on the clipboard now, into $work/read.
read_picture() {
    holds_picture || return 1
    xclip -selection clipboard -t image/png -o >"$work/picture.png" || return 1
    zbarimg -q "$work/picture.png" >"$work/read" 2>/dev/null
    return 0
}
reads_as() { read_picture && [ "$(cat "$work/read")" = "$1" ]; }

# Puts $1 on the clipboard and waits for the picture that replaces it to read as $2.
# The previous picture may still be there for a moment, so the wait is on the reading.
convert_text() {
    kill "$xclip_pid" 2>/dev/null
    wait "$xclip_pid" 2>/dev/null
    printf '%b' "$1" >"$work/text"
    : >"$work/read"
    xclip -quiet -selection clipboard -i "$work/text" >/dev/null 2>&1 &
    xclip_pid=$!
    wait_for 10 reads_as "$2" || fail "'$1' read as '$(cat "$work/read")'"
}

# Code 39 with its mod-43 check character: A10+B11+C12+1+2+3 = 39, '$'.
convert_text 'c39@ABC123' 'CODE-39:ABC123$'
convert_text 'upc@490123456789\n' 'EAN-13:4901234567894'

kill -TERM "$lorrin_pid"
wait_for 10 sh -c "! kill -0 $lorrin_pid" || fail "lorrin did not end on SIGTERM"
lorrin_pid=

ini="$work/program/lorrin.ini"
for key in barcode/h barcode/gh barcode/wn barcode/narrow barcode/gap barcode/check \
           barcode/ocrdisp barcode/addsum barcode/beep barcode/clipmode barcode/wpconly \
           font/name font/size sound/ok sound/ng loc/x loc/y barcode/type barcode/angle; do
    section=${key%/*}
    name=${key#*/}
    awk -v s="[$section]" -v k="$name" '
        /^\[/ { in_s = ($0 == s) }
        in_s && index($0, k "=") == 1 { found = 1 }
        END { exit !found }' "$ini" || fail "settings file lacks $key"
done
grep -qx 'type=0' "$ini" || fail "the JAN/UPC selection was not saved"
grep -qx 'wpconly=0' "$ini" || fail "wpconly was not kept"
# Sanitizer builds: a memory error or undefined behaviour in the run fails the test.
if grep -E 'ERROR: AddressSanitizer|runtime error:' "$work/lorrin.log"; then
    fail "the sanitizers reported errors"
fi
echo "PASS"
