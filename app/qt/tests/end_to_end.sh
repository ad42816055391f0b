#!/bin/bash
# lorrin on its own X server with the real clipboard: texts placed with xclip come back as
# pictures that zbarimg reads (as PNG, and as SVG rendered by rsvg-convert), also after a
# burst of texts placed as fast as xclip can; a Japanese text as QR comes back from zbar
# and ZXing as it was copied, and one too long for QR stays on the clipboard; a
# terminated program ends within a second and leaves a settings file with every key.
# The picture outlives lorrin and lorrin-cli --clipboard: their keeper serves it until
# another program copies, or a clipboard manager takes it over.
# Usage: [LORRIN_BURST=texts] end_to_end.sh lorrin lorrin-keeper lorrin-cli clipboard-manager
set -u
# shellcheck source=SCRIPTDIR/../../../test_support/scripts/test_helpers.sh
source "$(dirname "$0")/../../../test_support/scripts/test_helpers.sh"
xvfb_pid=
lorrin_pid=
xclip_pid=
manager_pid=

cleanup() {
    [ -n "$xclip_pid" ] && kill "$xclip_pid" 2>/dev/null
    [ -n "$lorrin_pid" ] && kill -KILL "$lorrin_pid" 2>/dev/null
    [ -n "$manager_pid" ] && kill "$manager_pid" 2>/dev/null
    # A keeper still running ends with the X server.
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

for tool in Xvfb xclip zbarimg ZXingReader xwininfo cc rsvg-convert compare convert identify pgrep; do
    command -v "$tool" >/dev/null || fail "$tool is not installed"
done

start_xvfb
export QT_QPA_PLATFORM=xcb
export XDG_CONFIG_HOME="$work/config"
# Sanitizer builds: the leak scan at exit takes up to half a second under load and is no
# part of the program's answer to SIGTERM (leaks are the unit tests' business); memory
# errors still show in the logs, the keeper's among them (it writes nowhere else).
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0:log_path=$work/sanitizer"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:+$UBSAN_OPTIONS:}log_path=$work/sanitizer"

# The programs as installed side by side; pictures turned by 90 degrees.
mkdir -p "$work/program"
cp "$1" "$work/program/lorrin"
cp "$2" "$work/program/lorrin-keeper"
cp "$3" "$work/program/lorrin-cli"
manager=$4
printf '[barcode]\nwpconly=0\nangle=1\n' >"$work/program/lorrin.ini"

shown() { xwininfo -root -tree | grep -q '"Quillmark"'; }
# A program that does not answer must not hold the test up.
targets() { timeout 2 xclip -selection clipboard -t TARGETS -o; }
holds_picture() { targets | grep -qx 'image/png'; }

# A text already on the clipboard at start is left alone.
printf 'c39@OLD' >"$work/old.txt"
xclip -quiet -selection clipboard -i "$work/old.txt" >/dev/null 2>&1 &
xclip_pid=$!
wait_for 5 sh -c 'xclip -selection clipboard -o | grep -q OLD' || fail "xclip did not take the clipboard"

start_lorrin() {
    "$work/program/lorrin" -clip >>"$work/lorrin.log" 2>&1 &
    lorrin_pid=$!
    wait_for 20 shown || fail "the window did not appear"
}
stop_lorrin() {
    kill -TERM "$lorrin_pid"
    wait "$lorrin_pid"
    lorrin_pid=
}

start_lorrin
sleep 0.5
[ "$(xclip -selection clipboard -o)" = "c39@OLD" ] || fail "the text present at start was converted"

# What zbarimg reads in the picture on the clipboard now, into $work/read.
read_picture() {
    holds_picture || return 1
    timeout 2 xclip -selection clipboard -t image/png -o >"$work/picture.png" || return 1
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

now_ms() { echo $(($(date +%s%N) / 1000000)); }
cpu_ms() { awk -v hz="$(getconf CLK_TCK)" '{ print int(($14 + $15) * 1000 / hz) }' "/proc/$lorrin_pid/stat"; }

# A burst: texts placed one after the other as fast as xclip can, codes and other texts
# mixed (lower-case letters are no Code 39).  Each xclip keeps its text until the next
# takes the clipboard.  LORRIN_BURST texts, the last one "c39@BURST".
burst=${LORRIN_BURST:-300}
mkdir "$work/burst"
for i in $(seq "$burst"); do
    case $((i % 4)) in
    0) printf 'c39@A%d' "$i" ;;
    1) printf 'text %d' "$i" ;;
    2) printf 'upc@49%010d\r\n' "$i" ;;
    3) printf 'c39@a%d' "$i" ;;
    esac >"$work/burst/$i"
done
printf 'c39@BURST' >"$work/burst/$burst"
place_burst() {
    local i
    for i in $(seq "$1"); do xclip -selection clipboard -i "$work/burst/$i" 2>/dev/null; done
}

kill "$xclip_pid" 2>/dev/null
wait "$xclip_pid" 2>/dev/null
xclip_pid=
cpu_before=$(cpu_ms)
: >"$work/read"
began=$(now_ms)
place_burst "$burst"
placed=$(now_ms)
# B11+U30+R27+S28+T29 = 125 = 2 x 43 + 39, '$'.
wait_for 10 reads_as 'CODE-39:BURST$' || fail "after the burst the picture read as '$(cat "$work/read")'"
echo "burst of $burst texts placed in $((placed - began)) ms; the last converted $(($(now_ms) - placed)) ms after it; lorrin used $(($(cpu_ms) - cpu_before)) ms of CPU"

# A burst that ends in a text that is no code: whatever the program is still busy with,
# that text stays.
place_burst 60
printf 'no code' | xclip -selection clipboard -i
sleep 1
[ "$(timeout 2 xclip -selection clipboard -o)" = 'no code' ] || fail "the text after the second burst was replaced"

# A two-dimensional code: a Japanese text after "qr@" comes back from both decoders byte
# for byte without its prefix.
qr_text='日本語のラベル https://example.jp/'
printf '%s\n' "$qr_text" >"$work/expected"
# Both decoders' texts of the picture on the clipboard, one line each.  zbar misses
# modules of one pixel, so it reads the picture at four pixels a module.
reads_matrix_as_expected() {
    holds_picture || return 1
    timeout 2 xclip -selection clipboard -t image/png -o >"$work/matrix.png" || return 1
    convert "$work/matrix.png" -scale 400% "$work/matrix4.png" || return 1
    zbarimg -q --raw "$work/matrix4.png" >"$work/zbar.txt" 2>/dev/null
    ZXingReader "$work/matrix.png" >"$work/zxing.out" 2>/dev/null
    sed -n 's/^Text: *"\(.*\)"$/\1/p' "$work/zxing.out" >"$work/zxing.txt"
    cmp -s "$work/zbar.txt" "$work/expected" && cmp -s "$work/zxing.txt" "$work/expected"
}
kill "$xclip_pid" 2>/dev/null
wait "$xclip_pid" 2>/dev/null
printf 'qr@%s' "$qr_text" >"$work/text"
xclip -quiet -selection clipboard -i "$work/text" >/dev/null 2>&1 &
xclip_pid=$!
wait_for 10 reads_matrix_as_expected ||
    fail "the QR symbol read as '$(cat "$work/zbar.txt")' (zbar) and '$(cat "$work/zxing.txt")' (ZXing)"

# A text the code refuses (8000 letters are more than any QR symbol holds) stays on the
# clipboard byte for byte.  xclip counts the requests it serves: once the program has
# asked for the text, it has had half a second to answer it.
kill "$xclip_pid" 2>/dev/null
wait "$xclip_pid" 2>/dev/null
{
    printf 'qr@'
    head -c 8000 /dev/zero | tr '\0' 'A'
} >"$work/long.txt"
xclip -verbose -selection clipboard -i "$work/long.txt" >"$work/xclip.log" 2>&1 &
xclip_pid=$!
wait_for 10 grep -q 'request number 2' "$work/xclip.log" || fail "lorrin did not read the long text"
sleep 0.5
holds_picture && fail "the refused text was replaced by a picture"
timeout 2 xclip -selection clipboard -o >"$work/long.out"
cmp -s "$work/long.txt" "$work/long.out" || fail "the refused text did not stay as it was"

# The program goes on converting, also after a refusal.
# Code 39 with its mod-43 check character: A10+B11+C12+1+2+3 = 39, '$'.
convert_text 'c39@ABC123' 'CODE-39:ABC123$'
convert_text 'upc@490123456789\n' 'EAN-13:4901234567894'

# The SVG on the clipboard is the same picture: rendered at the PNG's scale, zbar reads it,
# and across the bars (rows 5 to 54 of the upright picture, columns from the right once
# turned) it is dark exactly where the PNG is.
timeout 2 xclip -selection clipboard -t image/svg+xml -o >"$work/picture.svg" || fail "no SVG on the clipboard"
rsvg-convert -b white "$work/picture.svg" -o "$work/svg.png" || fail "rsvg-convert refused the SVG"
[ "$(zbarimg -q "$work/svg.png")" = 'EAN-13:4901234567894' ] || fail "the SVG read as '$(zbarimg -q "$work/svg.png")'"
timeout 2 xclip -selection clipboard -t image/png -o >"$work/picture.png" || fail "no PNG on the clipboard"
size=$(identify -format '%wx%h' "$work/picture.png")
[ "$(identify -format '%wx%h' "$work/svg.png")" = "$size" ] || fail "the SVG is not the PNG's size $size"
bars="50x${size#*x}+$((${size%x*} - 55))+0"
edges=$(compare -metric AE -fuzz 50% "$work/picture.png[$bars]" "$work/svg.png[$bars]" null: 2>&1)
[ "$edges" = 0 ] || fail "the SVG's bars differ from the PNG's in $edges pixels"

# An owner that never answers (as one that went away after being asked) holds the
# window up for a moment at most: SIGTERM, sent while the window waits for it, still
# ends the program within a second.
cat >"$work/silent_owner.c" <<'C'
#include <X11/Xlib.h>
#include <stdio.h>
#include <unistd.h>
int main(void) {
    Display* d = XOpenDisplay(NULL);
    if (!d) return 1;
    Window w = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 1, 1, 0, 0, 0);
    XSetSelectionOwner(d, XInternAtom(d, "CLIPBOARD", False), w, CurrentTime);
    XSync(d, False);
    printf("ready\n");
    fflush(stdout);
    pause();
    return 0;
}
C
cc -o "$work/silent_owner" "$work/silent_owner.c" -lX11 || fail "the silent owner did not build"
kill "$xclip_pid" 2>/dev/null
"$work/silent_owner" >"$work/silent" &
xclip_pid=$!
wait_for 5 grep -q ready "$work/silent" || fail "the silent owner did not take the clipboard"
sleep 0.1
asked=$(now_ms)
kill -TERM "$lorrin_pid"
wait_for 1 sh -c "! kill -0 $lorrin_pid" || fail "lorrin did not end within a second of SIGTERM"
echo "SIGTERM to exit: $(($(now_ms) - asked)) ms"
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
# The picture outlives lorrin: closed after a draw, it leaves a keeper serving the
# picture, which ends when another program copies something.
keeper_runs() { pgrep -f -- "$work/program/lorrin-keeper" >/dev/null; }
no_keeper() { ! keeper_runs; }
# A copy by another program; the keeper must be gone soon after it.
copy_over_keeper() {
    printf 'later' | xclip -selection clipboard -i
    wait_for 3 no_keeper || fail "the keeper outlived a copy by another program"
}
start_lorrin
# K20+E14+E14+P25 = 73 = 43 + 30, 'U'.
convert_text 'c39@KEEP' 'CODE-39:KEEPU'
kill "$xclip_pid" 2>/dev/null
xclip_pid=
began=$(now_ms)
stop_lorrin
echo "lorrin closed with its picture on the clipboard in $(($(now_ms) - began)) ms"
keeper_runs || fail "no keeper serves the picture after lorrin closed"
reads_as 'CODE-39:KEEPU' || fail "after lorrin closed the clipboard read as '$(cat "$work/read")'"
copy_over_keeper

# lorrin-cli --clipboard: the picture is on the clipboard after lorrin-cli has ended, and
# lorrin-cli's output ends with it (the keeper holds no pipe).  A picture of some 600 kB
# as BMP comes in pieces (INCR), byte for byte the file lorrin-cli writes.
big="--narrow 4 --height 2000 -t code39"
timeout 5 sh -c "'$work/program/lorrin-cli' --clipboard $big CLI 2>&1 | cat >'$work/cli.out'" ||
    fail "lorrin-cli --clipboard did not end: $(cat "$work/cli.out")"
[ -s "$work/cli.out" ] && fail "lorrin-cli --clipboard said: $(cat "$work/cli.out")"
# C12+L21+I18 = 51 = 43 + 8, '8'.
reads_as 'CODE-39:CLI8' || fail "after lorrin-cli the clipboard read as '$(cat "$work/read")'"
"$work/program/lorrin-cli" $big -o "$work/cli.bmp" CLI || fail "lorrin-cli did not write cli.bmp"
timeout 5 xclip -selection clipboard -t image/bmp -o >"$work/clip.bmp"
cmp -s "$work/cli.bmp" "$work/clip.bmp" || fail "the BMP on the clipboard is not lorrin-cli's file"
copy_over_keeper

# With a clipboard manager, lorrin and lorrin-cli hand the picture over to it (lorrin
# through Qt as it ends, lorrin-cli through its keeper, which then ends), and no keeper
# stays behind.
"$manager" >"$work/manager.log" 2>&1 &
manager_pid=$!
wait_for 5 grep -qx ready "$work/manager.log" || fail "the clipboard manager did not start"
handed_over() { [ "$(grep -c serving "$work/manager.log")" = "$1" ]; }
start_lorrin
# S28+A10+V31+E14+D13 = 96 = 2 x 43 + 10, 'A'.
convert_text 'c39@SAVED' 'CODE-39:SAVEDA'
kill "$xclip_pid" 2>/dev/null
xclip_pid=
stop_lorrin
wait_for 5 handed_over 1 || fail "lorrin did not hand its picture to the clipboard manager"
no_keeper || fail "a keeper started although a clipboard manager runs"
reads_as 'CODE-39:SAVEDA' || fail "the manager's clipboard read as '$(cat "$work/read")'"
"$work/program/lorrin-cli" --clipboard -t code39 MGR || fail "lorrin-cli --clipboard failed"
wait_for 5 handed_over 2 || fail "lorrin-cli's keeper did not hand the picture to the manager"
wait_for 3 no_keeper || fail "the keeper stayed after handing the picture over"
# M22+G16+R27 = 65 = 43 + 22, 'M'.
reads_as 'CODE-39:MGRM' || fail "the manager's clipboard read as '$(cat "$work/read")'"
kill "$manager_pid"
manager_pid=

# Sanitizer builds: a memory error or undefined behaviour in the run fails the test.
if cat "$work/lorrin.log" "$work"/sanitizer.* 2>/dev/null | grep -E 'ERROR: AddressSanitizer|runtime error:'; then
    fail "the sanitizers reported errors"
fi
echo "PASS"
