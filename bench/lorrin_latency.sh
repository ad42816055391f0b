#!/bin/bash
# lorrin on its own X server: the time from start to the mapped main window, and from a
# text placed on the clipboard to the picture that replaces it (the X server's own
# timestamps of the two selection owner changes).  Needs Xvfb, xclip, cc with libX11 and
# libXfixes headers.  Usage: bench/lorrin_latency.sh [path/to/lorrin] [runs]
set -eu
lorrin=${1:-build/default/app/qt/lorrin}
runs=${2:-7}
work=$(mktemp -d)
xvfb_pid=
lorrin_pid=
cleanup() {
    [ -n "$lorrin_pid" ] && kill "$lorrin_pid" 2>/dev/null && wait "$lorrin_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# Prints "ready", then the wall-clock time in ns when a top-level window is mapped.
cat >"$work/mapwatch.c" <<'C'
#include <X11/Xlib.h>
#include <stdio.h>
#include <time.h>
int main(void) {
    Display* d = XOpenDisplay(NULL);
    if (!d) return 1;
    XSelectInput(d, DefaultRootWindow(d), SubstructureNotifyMask);
    XSync(d, False);
    printf("ready\n"); fflush(stdout);
    for (;;) {
        XEvent e;
        XNextEvent(d, &e);
        if (e.type == MapNotify && !e.xmap.override_redirect) {
            struct timespec t;
            clock_gettime(CLOCK_REALTIME, &t);
            printf("%lld\n", (long long)t.tv_sec * 1000000000LL + t.tv_nsec);
            return 0;
        }
    }
}
C
# Prints "ready", then "server-time-ms owner" for each CLIPBOARD owner change.
cat >"$work/selwatch.c" <<'C'
#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>
#include <stdio.h>
int main(void) {
    Display* d = XOpenDisplay(NULL);
    int ev, er;
    if (!d || !XFixesQueryExtension(d, &ev, &er)) return 1;
    XFixesSelectSelectionInput(d, DefaultRootWindow(d), XInternAtom(d, "CLIPBOARD", False),
                               XFixesSetSelectionOwnerNotifyMask);
    XSync(d, False);
    printf("ready\n"); fflush(stdout);
    for (;;) {
        XEvent e;
        XNextEvent(d, &e);
        if (e.type != ev + XFixesSelectionNotify) continue;
        XFixesSelectionNotifyEvent* s = (XFixesSelectionNotifyEvent*)&e;
        printf("%lu %lu\n", (unsigned long)s->timestamp, (unsigned long)s->owner);
        fflush(stdout);
    }
}
C
cc -O2 -o "$work/mapwatch" "$work/mapwatch.c" -lX11
cc -O2 -o "$work/selwatch" "$work/selwatch.c" -lX11 -lXfixes

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
export DISPLAY=":$(head -n1 "$work/display")" QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME="$work/config"
mkdir "$work/program"
cp "$lorrin" "$work/program/lorrin"
printf '[barcode]\nwpconly=0\n' >"$work/program/lorrin.ini"

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

for i in $(seq "$runs"); do
    coproc MAP { "$work/mapwatch" 2>/dev/null; }
    read -r _ <&"${MAP[0]}"
    start=$(date +%s%N)
    "$work/program/lorrin" -clip 2>/dev/null &
    lorrin_pid=$!
    read -r shown <&"${MAP[0]}"
    wait "$MAP_PID" 2>/dev/null || true
    echo $(((shown - start) / 1000000))
    sleep 0.3
    if [ "$i" -lt "$runs" ]; then kill -TERM "$lorrin_pid"; wait "$lorrin_pid" || true; fi
done >"$work/startup"
echo "start-up to mapped window, ms: $(tr '\n' ' ' <"$work/startup")(median $(median <"$work/startup"))"

for i in $(seq "$runs"); do
    coproc SEL { "$work/selwatch" 2>/dev/null; }
    read -r _ <&"${SEL[0]}"
    printf 'c39@ABC%03d' "$i" >"$work/text"
    xclip -selection clipboard -i "$work/text"
    read -r placed _ <&"${SEL[0]}"
    # lorrin empties the clipboard (owner None), then owns it with the picture.
    owner=0
    while [ "$owner" = 0 ]; do read -r replaced owner <&"${SEL[0]}"; done
    kill "$SEL_PID"; wait "$SEL_PID" 2>/dev/null || true
    echo $((replaced - placed))
    sleep 0.2
done >"$work/clip"
echo "clipboard text to picture, ms: $(tr '\n' ' ' <"$work/clip")(median $(median <"$work/clip"))"
