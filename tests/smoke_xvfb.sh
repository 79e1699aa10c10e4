#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Starts the real viewer on a virtual X server and checks, as a person would,
# what the screen shows. Usage: smoke_xvfb.sh path/to/dirchart path/to/dirchart-sample
# Set DIRCHART_SHOT_DIR to keep the screenshots.
set -euo pipefail
viewer=$(realpath "$1")
sample=$(realpath "$2")

if [ -z "${DIRCHART_IN_XVFB:-}" ]; then
    exec env DIRCHART_IN_XVFB=1 timeout 150 \
        xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

work=$(mktemp -d)
pid=
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

failures=0
check() { # description, actual, expected
    if [ "$2" == "$3" ]; then
        echo "ok   $1"
    else
        echo "FAIL $1: got '$2', expected '$3'"
        failures=$((failures + 1))
    fi
}

shoot() { # name
    import -window root "$work/$1.png"
    [ -n "${DIRCHART_SHOT_DIR:-}" ] && cp "$work/$1.png" "$DIRCHART_SHOT_DIR/" || true
}

pixel() { # name x y -> #RRGGBB
    convert "$work/$1.png" -crop "1x1+$2+$3" -depth 8 txt:- |
        grep -o '#[0-9A-Fa-f]\{6\}' | head -n 1 | tr a-f A-F
}

# Counts the pixels of a colour in a rectangle: name x y width height colour.
count_colour() {
    convert "$work/$1.png" -crop "$4x$5+$2+$3" -depth 8 txt:- |
        grep -c -i "$6" || true
}

# Clicks a control at a point of the client area.
click_at() { xdotool mousemove "$((origin_x + $1))" "$((origin_y + $2))" click 1; }

# What a text box holds, read the way a person copies it.
text_of() { # x y of a point inside the text box
    click_at "$1" "$2"
    xdotool key ctrl+a ctrl+c
    sleep 0.2
    xclip -o -selection clipboard
}

# Screen position of a point of Picture1's drawing area (inside its 2-pixel
# border), given in chart coordinates.
chart_x() { echo $((origin_x + 2 + $1)); }
chart_y() { echo $((origin_y + 2 + $1)); }

export LANG=C.UTF-8
"$viewer" 2>"$work/viewer.err" &
pid=$!

window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Form1$' | head -n 1)
check "a window named Form1 is mapped" "$([ -n "$window" ] && echo yes)" yes
info=$(xwininfo -id "$window")
origin_x=$(awk '/Absolute upper-left X/ {print $4}' <<<"$info")
origin_y=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$info")
check "client area width" "$(awk '/Width:/ {print $2}' <<<"$info")" 878
check "client area height" "$(awk '/Height:/ {print $2}' <<<"$info")" 637
sleep 0.5

shoot startup
for corner in "29 231" "750 231" "750 50" "29 50"; do
    set -- $corner
    check "chart box corner ($1, $2) is black" "$(pixel startup "$(chart_x "$1")" "$(chart_y "$2")")" "#000000"
done
check "chart box edge (400, 50) is black" "$(pixel startup "$(chart_x 400)" "$(chart_y 50)")" "#000000"
check "plot area (400, 140) is white" "$(pixel startup "$(chart_x 400)" "$(chart_y 140)")" "#FFFFFF"
check "legend line for 0 is blue" "$(pixel startup "$(chart_x 790)" "$(chart_y 230)")" "#0000FF"
check "legend line for 1016 is red" "$(pixel startup "$(chart_x 790)" "$(chart_y 103)")" "#FF0700"

# Load a log through the real prompt and Open dialog.
"$sample" "$work/030115.log" --test-pattern
click_at 52 560 # 読み込み
prompt=$(timeout 10 xdotool search --sync --onlyvisible --name '^dirchart$' | head -n 1)
check "the load prompt appears" "$([ -n "$prompt" ] && echo yes)" yes
xdotool key Escape # Escape answers No
sleep 0.5
check "Escape at the prompt opens no dialog" \
    "$(xdotool search --onlyvisible --name '^Open$' 2>/dev/null | head -n 1)" ""

click_at 52 560
timeout 10 xdotool search --sync --onlyvisible --name '^dirchart$' >/dev/null
xdotool key Return # Yes is the default button
dialog=$(timeout 10 xdotool search --sync --onlyvisible --name '^Open$' | head -n 1)
check "the Open dialog appears" "$([ -n "$dialog" ] && echo yes)" yes
sleep 0.5
xdotool key ctrl+a
xdotool type --delay 5 "$work/030115.log"
xdotool key Return
sleep 1
shoot loaded
check "slot 100, bin 5 (0) is black" "$(pixel loaded "$(chart_x 130)" "$(chart_y 225)")" "#000000"
check "slot 100, bin 50 (100) is blue" "$(pixel loaded "$(chart_x 130)" "$(chart_y 180)")" "#0064FF"
check "slot 300, bin 100 (600) is green" "$(pixel loaded "$(chart_x 330)" "$(chart_y 130)")" "#59FF00"
check "slot 600, bin 179 (1000) is red" "$(pixel loaded "$(chart_x 630)" "$(chart_y 51)")" "#FF1700"
check "slot 719, bin 10 (1000) is red" "$(pixel loaded "$(chart_x 749)" "$(chart_y 220)")" "#FF1700"
check "the chart box is intact" "$(pixel loaded "$(chart_x 750)" "$(chart_y 140)")" "#000000"
label_ink=$(count_colour loaded "$(chart_x 500)" "$(chart_y 20)" 80 13 '#000000')
check "a date label is printed at (500, 20)" "$([ "$label_ink" -gt 20 ] && echo yes)" yes
check "Text1 shows the path" "$(text_of 550 412)" "$work/030115.log"

# The polar plot, driven by mouse and keyboard on its two sliders.
polar_x() { echo $((origin_x + 114 + $1)); }
polar_y() { echo $((origin_y + 370 + $1)); }
click_at 400 304 # HScroll1's trough: one slot on
sleep 0.3
check "a trough click steps the time slider" "$(text_of 550 444)" "0:02"
click_at 400 304
xdotool key End
sleep 0.3
shoot slot719
check "End goes to the last slot" "$(text_of 550 444)" "23:58"
check "slot 719 (1000) at 90 degrees, near the outer ring" \
    "$(pixel slot719 "$(polar_x 254)" "$(polar_y 132)")" "#FF0000"
check "the 93-pixel ring is grey" "$(pixel slot719 "$(polar_x 39)" "$(polar_y 132)")" "#7F7F7F"
click_at 400 304
xdotool key Home Right Left
sleep 0.3
shoot slot0
check "Home, Right, Left: back to the first slot" "$(text_of 550 444)" "0:00"
check "slot 0 (100) at 90 degrees, 12 pixels out" "$(pixel slot0 "$(polar_x 144)" "$(polar_y 132)")" "#FF0000"
check "no trace of the previous curve" "$(pixel slot0 "$(polar_x 254)" "$(polar_y 132)")" "#7F7F7F"
click_at 600 544 # HScroll4's trough: gain 2
sleep 0.3
shoot gain2
check "the gain slider shows its value" "$(text_of 484 516)" "2"
check "gain 2 doubles the radius" "$(pixel gain2 "$(polar_x 156)" "$(polar_y 132)")" "#FF0000"
click_at 600 544
xdotool key End
sleep 0.3
check "End on the gain slider shows 50" "$(text_of 484 516)" "50"

if [ "$failures" -ne 0 ]; then
    echo "viewer's stderr:"
    cat "$work/viewer.err"
    exit 1
fi
echo "smoke test passed"
