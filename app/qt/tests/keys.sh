#!/bin/bash
# lorrin on its own X server, driven by real key presses (xdotool, through the XTEST
# extension) under a Japanese, an English and the C locale: F1 hands the help document of
# the locale's language to the desktop's viewer (a stand-in xdg-open here), and Ctrl+Q
# closes the window and saves the settings as the close box does.  With LORRIN_SCREENSHOTS
# set to a folder, each window is captured there as the X server shows it.
# Usage: keys.sh PROGRAM_FOLDER   (the build tree's folder of lorrin, its catalogues and
# help documents beside it)
set -u
# shellcheck source=SCRIPTDIR/../../../test_support/scripts/test_helpers.sh
source "$(dirname "$0")/../../../test_support/scripts/test_helpers.sh"
xvfb_pid=
lorrin_pid=

cleanup() {
    # What lorrin said on a failed run, before its folder goes.
    [ -n "$lorrin_pid" ] && [ -s "$work/lorrin.log" ] && sed 's/^/lorrin: /' "$work/lorrin.log" >&2
    [ -n "$lorrin_pid" ] && kill -KILL "$lorrin_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

for tool in Xvfb xdotool import; do
    command -v "$tool" >/dev/null || fail "$tool is not installed"
done

start_xvfb
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

# The program as a user's copy: catalogues and help documents beside it, its settings too.
mkdir -p "$work/program" "$work/bin"
for file in lorrin lorrin-keeper lorrin.html lorrin.en.html locale translations; do
    cp -r "$1/$file" "$work/program/" || fail "no $file in $1"
done
# The desktop's viewer, as Qt finds it: it notes what it was asked to open.
printf '#!/bin/sh\nprintf "%%s\\n" "$1" >>"%s/opened"\n' "$work" >"$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"

# locale variable=value, the help document F1 opens under it
rows=(
    "LANG=ja_JP.UTF-8 lorrin.html"
    "LANG=C.UTF-8 lorrin.en.html"
    "LC_ALL=C lorrin.en.html"
    "LC_MESSAGES=ja_JP.UTF-8 lorrin.html"
)
for row in "${rows[@]}"; do
    read -r locale document <<<"$row"
    rm -f "$work/opened" "$work/program/lorrin.ini"
    # From a folder of no help document: the one beside the program is the one found.
    env -i -C "$work" PATH="$work/bin:/usr/bin:/bin" HOME="$work" DISPLAY="$DISPLAY" \
        QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME="$work/config" ASAN_OPTIONS="$ASAN_OPTIONS" \
        "$locale" "$work/program/lorrin" >>"$work/lorrin.log" 2>&1 &
    lorrin_pid=$!
    # Once shown (mapped), the window takes the keyboard focus.
    wait_for 20 xdotool search --onlyvisible --name '^Quillmark$' >"$work/window" ||
        fail "$locale: no window"
    window=$(head -n1 "$work/window")
    wait_for 10 xdotool windowfocus --sync "$window" || fail "$locale: the window takes no focus"
    if [ -n "${LORRIN_SCREENSHOTS:-}" ]; then
        import -window "$window" "$LORRIN_SCREENSHOTS/x11-${locale//[=.]/-}.png"
    fi

    xdotool key F1
    wait_for 10 test -s "$work/opened" || fail "$locale: F1 opened nothing"
    grep -qx "file://$work/program/$document" "$work/opened" ||
        fail "$locale: F1 opened $(cat "$work/opened"), not $document"

    xdotool key ctrl+q
    wait_for 10 sh -c "! kill -0 $lorrin_pid" || fail "$locale: Ctrl+Q left the window open"
    wait "$lorrin_pid" || fail "$locale: lorrin ended with status $?"
    lorrin_pid=
    grep -q '^\[loc\]' "$work/program/lorrin.ini" 2>/dev/null ||
        fail "$locale: Ctrl+Q saved no settings"
done
echo "F1 and Ctrl+Q work under ${#rows[@]} locales"
