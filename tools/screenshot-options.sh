#!/bin/sh
# Takes a screenshot of each page of the editor options dialog: starts the
# editor on a virtual X display with a Java file, opens Options, Editor
# Options through the keyboard (driven with xdotool, as a user would type)
# and captures the screen on the Editor, Display and Colors pages.
#
#   tools/screenshot-options.sh [build-dir] [output-prefix]
#
# The pictures go to build-dir/options-editor.png, options-display.png and
# options-colors.png unless another prefix is given.
#
# Needs the Debian packages xvfb, xdotool and imagemagick.
set -eu

here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
prefix=${2:-$build/options}
case $prefix in /*) ;; *) prefix=$(pwd)/$prefix ;; esac
program=$build/bin/tarnel
[ -x "$program" ] || { echo "no program at $program (build it first)" >&2; exit 1; }

if [ -z "${TARNEL_SCREENSHOT_INNER:-}" ]; then
    export TARNEL_SCREENSHOT_INNER=1
    exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$build" "$prefix"
fi

work=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
# The editor's settings and recent list stay out of the user's own.
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

sample=$work/HelloApplet.java
cat > "$sample" <<'JAVA'
/*
 * A small applet that greets its visitor.
 */
import java.applet.Applet;
import java.awt.Graphics;

public class HelloApplet extends Applet {
    private String greeting = "Hello from Tarnel";
    private int count = 42;
}
JAVA

# The id of the first visible window whose title begins with $1, waiting up
# to ten seconds for it.
wait_for_window() {
    for _ in $(seq 1 100); do
        found=$(xdotool search --onlyvisible --name "^$1" 2>/dev/null | head -n 1 || true)
        [ -n "$found" ] && { echo "$found"; return 0; }
        sleep 0.1
    done
    echo "no window \"$1\" appeared" >&2
    return 1
}

"$program" "$sample" &
pid=$!

window=$(wait_for_window "Tarnel")
xdotool windowmove "$window" 0 0 windowsize "$window" 1024 768
sleep 1

# Options (Alt+O), then down past Syntax Highlight, Highlight URLs and
# Wordwrap to Editor Options...
xdotool windowfocus --sync "$window" key --clearmodifiers alt+o
sleep 0.5
xdotool key Down Down Down Return
dialog=$(wait_for_window "Properties")
xdotool windowmove "$dialog" 40 40
sleep 1
import -window root "$prefix-editor.png"
for page in display colors; do
    xdotool windowfocus --sync "$dialog" key --clearmodifiers ctrl+Tab
    sleep 1
    import -window root "$prefix-$page.png"
done
xdotool key Escape
echo "screenshots written to $prefix-editor.png, $prefix-display.png and $prefix-colors.png"
