#!/usr/bin/env bash
# The tray icon and minimizing as a user meets them: the real program on a virtual screen with a
# window manager (openbox), first with a notification area (trayer), then without one.
# Usage: TrayOnDesktopTest.sh PATH/TO/velloria
# Exits with 77 (skipped) when Xvfb, openbox, trayer, xdotool, xwininfo, xprop or import is missing;
# in CI (CI=true), where scripts/test.sh installs them, a missing tool is a failure.
set -uo pipefail
program=$(realpath "$1")
for tool in Xvfb openbox trayer xdotool xwininfo xprop import; do
    command -v "$tool" >/dev/null || { echo "SKIP: no $tool"; [ "${CI:-}" = true ] && exit 1; exit 77; }
done

work=$(mktemp -d)
pids=()
cleanup() {
    for ((i = ${#pids[@]} - 1; i >= 0; --i)); do stop "${pids[i]}" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*"
    tail -n 20 "$work/log"
    exit 1
}
# Runs the command until it succeeds, for at most ten seconds.
poll() {
    for _ in $(seq 100); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done
    return 1
}
# Starts a program in the background and keeps its process id in `started`.
start() { "$@" >>"$work/log" 2>&1 & started=$!; pids+=($started); }
stop() { kill "$1" && wait "$1" 2>/dev/null; }

# A display of its own, a fresh home, and no session bus: Qt would rather show its icon there.
# Without -noreset the server resets whenever its last client leaves, and a client that connects
# during the reset (openbox right after the first xprop) cannot open the display.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset 3>"$work/display" >>"$work/log" 2>&1 &
pids+=($!)
poll test -s "$work/display" || fail "Xvfb did not start"
export DISPLAY=:$(cat "$work/display")
unset QT_QPA_PLATFORM DBUS_SESSION_BUS_ADDRESS SESSION_MANAGER WAYLAND_DISPLAY
export HOME=$work/home XDG_RUNTIME_DIR=$work/run XDG_CONFIG_HOME=$work/config
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
start openbox
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'; }
poll wm_running || fail "openbox did not start"

# The main window is the one the window manager manages; the icon has the same name.
main_window() {
    for id in $(xdotool search --name '^Velloria$'); do
        xprop -id "$id" WM_STATE | grep -q Normal && window=$id && return 0
    done
    return 1
}
# Starts the program on a fresh library and sets `window` to its main window.
run_velloria() {
    XDG_DATA_HOME=$work/data-$1 start "$program"
    velloria=$started
    poll main_window || fail "the main window did not appear"
}
viewable() { xwininfo -id "$window" | grep -q IsViewable; }
unmapped() { xwininfo -id "$window" | grep -q IsUnMapped; }
wm_state() { xprop -id "$window" WM_STATE | grep -q "window state: $1"; }
# A painted window is mostly light; one that nothing paints is black.
painted() { (($(import -window "$window" -colorspace Gray -format '%[fx:int(100*mean)]' info:) > 30)); }
visible_windows() { xdotool search --onlyvisible --class velloria | wc -l; }
more_visible_windows() { (($(visible_windows) > $1)); }

# With a notification area.
# On a busy machine trayer now and then fails to map its panel; it gets a second start.
start_trayer() {
    start trayer --edge bottom --align right --widthtype pixel --width 200 --heighttype pixel --height 32
    trayer=$started
    poll xdotool search --class trayer
}
start_trayer || { stop "$trayer"; start_trayer; } || fail "trayer did not start"
run_velloria tray
icon_line() { xwininfo -tree -id "$(xdotool search --name '^panel$' | head -1)" | grep -m1 '"Velloria"'; }
poll icon_line || fail "the icon did not dock in the notification area"
pattern='([0-9]+)x([0-9]+)\+-?[0-9]+\+-?[0-9]+ +\+(-?[0-9]+)\+(-?[0-9]+)'
[[ $(icon_line) =~ $pattern ]] || fail "no place of the icon in: $(icon_line)"
icon_x=$((BASH_REMATCH[3] + BASH_REMATCH[1] / 2)) icon_y=$((BASH_REMATCH[4] + BASH_REMATCH[2] / 2))
# Clicks on the icon, with a pause first: two clicks within the double-click time are a double click.
click_icon() { sleep 0.5; xdotool mousemove "$icon_x" "$icon_y" click "$1"; }
poll painted || fail "the window was not painted at the start"

click_icon 1
poll unmapped || fail "a left click on the icon did not hide the window"
click_icon 1
poll viewable || fail "a second left click did not show the window"
poll painted || fail "the window shown by the icon was not painted"

xdotool windowminimize "$window"
poll unmapped || fail "minimizing left the window on screen ($(xwininfo -id "$window" | grep 'Map State'))"
sleep 0.5 # a window manager that maps it again does so at once
unmapped || fail "the minimized window came back as a frame"
click_icon 1
poll viewable || fail "the icon did not show the minimized window"
poll wm_state Normal || fail "the window shown by the icon is not in normal state"
poll painted || fail "the window shown again after minimizing was not painted"

before=$(visible_windows)
click_icon 3
poll more_visible_windows "$before" || fail "a right click did not open the icon's menu"
xdotool key Escape

# Without a notification area the window minimizes as any other.
stop "$velloria"
stop "$trayer"
run_velloria plain
xdotool windowminimize "$window"
poll wm_state Iconic || fail "without a notification area the window was not minimized"
xwininfo -id "$window" >/dev/null 2>&1 || fail "without a notification area the minimized window is gone"
echo "PASS"
