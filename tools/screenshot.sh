#!/bin/sh
# Takes a screenshot of Tarnel with a file open: starts the editor on a
# virtual X display, opens the file through File, Open (the open dialog is
# driven with xdotool, as a user would type) and captures the screen. With
# "wrap" it opens an HTML page of long paragraphs instead and switches
# Options, Wordwrap on through the menu.
#
#   tools/screenshot.sh [build-dir] [output.png] [wrap | file]
#
# The picture goes to build-dir/tarnel-screenshot.png unless named; the file
# opened is a small Java applet unless one is named.
#
# Needs the Debian packages xvfb, xdotool and imagemagick.
set -eu

here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
out=${2:-$build/tarnel-screenshot.png}
third=${3:-}
case $out in /*) ;; *) out=$(pwd)/$out ;; esac
mode="" file=""
case $third in wrap) mode=wrap ;; "") ;; /*) file=$third ;; *) file=$(pwd)/$third ;; esac
program=$build/bin/tarnel
[ -x "$program" ] || { echo "no program at $program (build it first)" >&2; exit 1; }

if [ -z "${TARNEL_SCREENSHOT_INNER:-}" ]; then
    export TARNEL_SCREENSHOT_INNER=1
    exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$build" "$out" "$third"
fi

work=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
# The editor's settings and recent list stay out of the user's own.
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

sample=$work/HelloApplet.java
if [ -n "$file" ]; then
    sample=$work/$(basename "$file")
    cp "$file" "$sample"
else
cat > "$sample" <<'JAVA'
/*
 * A small applet that greets its visitor.
 */
import java.applet.Applet;
import java.awt.Graphics;

public class HelloApplet extends Applet {
    private String greeting = "Hello from Tarnel";
    private int count = 42;

    // Paints the greeting a few times.
    public void paint(Graphics g) {
        for (int i = 0; i < 3; i++) {
            g.drawString(greeting + " #" + i, 20, 20 + i * 16);
        }
        if (count > 0x1F) {
            g.drawString("count: " + count, 20, 80);
        }
    }
}
JAVA
fi

if [ "$mode" = wrap ]; then
    sample=$work/wrapped.htm
    cat > "$sample" <<'HTML'
<html>
<head><title>Word wrap</title></head>
<body bgcolor="#FFFFFF">
<h1>A page of long paragraphs</h1>
<p>This paragraph is a single line of the file, far longer than the window is wide. With word wrap on, the editor shows it on several rows, each cut after the last blank or delimiter that fits, and the file itself is not changed at all.</p>
<p>A second long line: <a href="http://www.example.com/a/rather/long/address/that/runs/on/and/on/index.html">a link with a long address</a> followed by more words, <b>bold words</b>, <i>italic words</i> and a <font color="#FF0000">coloured part</font> to see the highlighting carry on from one row to the next.</p>
<ul>
<li>A short item</li>
<li>An item long enough to need two rows in a window of this size, so that the rows below it move down by one to make room.</li>
</ul>
</body>
</html>
HTML
fi

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

"$program" &
pid=$!

# Give the main window the whole screen (there is no window manager to
# maximise it).
window=$(wait_for_window "Tarnel version")
xdotool windowmove "$window" 0 0 windowsize "$window" 1024 768
sleep 0.5

# File, Open: type the path into the dialog's file name field.
xdotool windowfocus --sync "$window" key --clearmodifiers ctrl+o
dialog=$(wait_for_window "Open document")
sleep 0.5
xdotool windowfocus --sync "$dialog" type --delay 20 "$sample"
xdotool key --clearmodifiers Return
sleep 1.5
if [ "$mode" = wrap ]; then
    # Options, then Syntax Highlight, Highlight URLs, Wordwrap.
    xdotool windowfocus --sync "$window" key --clearmodifiers alt+o
    sleep 0.5
    xdotool key Down Down Return
    sleep 1
fi

import -window root "$out"
echo "screenshot written to $out"
