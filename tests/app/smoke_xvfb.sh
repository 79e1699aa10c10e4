#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Starts the real viewer on a virtual X server and checks, as a person would,
# what the screen shows. Usage: smoke_xvfb.sh path/to/dirchart path/to/dirchart-sample
# Set DIRCHART_SHOT_DIR to keep the screenshots.
set -euo pipefail
viewer=$(realpath "$1")
sample=$(realpath "$2")

# English dialogs whatever the caller's locale: the dialogs are found by title.
export LC_ALL=C.UTF-8 LANGUAGE=

work=$(mktemp -d)
pid=
servers=
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    for server in $servers; do kill "$server" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

# A virtual X server of our own on a free display, which it names on fd 3
# only once it accepts connections: no fixed number to collide on and no
# start-up race. -noreset: by default the server resets whenever its last
# client leaves, and drops whoever connects during the reset; here clients
# (xdotool, import, the viewer itself) come and go all the time.
start_server() { # WIDTHxHEIGHT
    rm -f "$work/display"
    Xvfb -displayfd 3 -noreset -screen 0 "$1x24" -nolisten tcp 3>"$work/display" \
        2>"$work/xvfb.err" &
    servers="$servers $!"
    for _ in $(seq 100); do
        [ -s "$work/display" ] && break
        sleep 0.1
    done
    [ -s "$work/display" ] || { echo "FAIL Xvfb did not start"; cat "$work/xvfb.err"; exit 1; }
    export DISPLAY=":$(tr -d '[:space:]' <"$work/display")"
}
start_server 1024x768
unset WAYLAND_DISPLAY XAUTHORITY

failures=0
check() { # description actual expected
    if [ "$2" == "$3" ]; then
        echo "ok   $1"
    else
        echo "FAIL $1: got '$2', expected '$3'"
        failures=$((failures + 1))
    fi
}

# The viewer works at its own pace: asks again until the answer is the
# expected one or five seconds have passed, then checks the last answer.
expect() { # description expected command...
    local description=$1 expected=$2 actual deadline=$((SECONDS + 5))
    shift 2
    while :; do
        actual=$("$@" 2>/dev/null || true)
        [ "$actual" == "$expected" ] || [ "$SECONDS" -ge "$deadline" ] && break
        sleep 0.2
    done
    check "$description" "$actual" "$expected"
}

shoot() { # name: a screenshot, kept when DIRCHART_SHOT_DIR is set
    import -window root "$work/$1.png"
    [ -z "${DIRCHART_SHOT_DIR:-}" ] || cp "$work/$1.png" "$DIRCHART_SHOT_DIR/"
}

pixel_of() { # name x y -> #RRGGBB of a screenshot
    convert "$work/$1.png" -crop "1x1+$2+$3" -depth 8 txt:- |
        grep -o '#[0-9A-Fa-f]\{6\}' | head -n 1 | tr a-f A-F
}

screen_pixel() { # x y -> #RRGGBB on the screen now
    import -window root "$work/now.png"
    pixel_of now "$1" "$2"
}

visible_window() { # title -> window id, empty when there is none
    xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1 || true
}

wait_for_window() { # title
    local deadline=$((SECONDS + 10)) id
    while :; do
        id=$(visible_window "$1")
        [ -n "$id" ] || [ "$SECONDS" -ge "$deadline" ] && break
        sleep 0.1
    done
    echo "$id"
}

# Clicks a control at a point of the client area, in logical pixels.
scale=1
click_at() { xdotool mousemove "$((origin_x + scale * $1))" "$((origin_y + scale * $2))" click 1; }

# What a text box holds, read the way a person copies it.
text_of() { # x y of a point inside the text box
    click_at "$1" "$2"
    xdotool key ctrl+a ctrl+c
    sleep 0.1
    xclip -o -selection clipboard
}

# Screen positions of points of Picture1's and Picture2's drawing areas
# (inside their 2-pixel borders).
chart_pixel() { screen_pixel "$((origin_x + 2 + $1))" "$((origin_y + 2 + $2))"; }
polar_pixel() { screen_pixel "$((origin_x + 114 + $1))" "$((origin_y + 370 + $2))"; }

# Waits for the viewer's window and reads where its client area lies;
# stops the test when no window comes.
find_viewer() { # description
    window=$(wait_for_window Form1)
    check "$1" "$([ -n "$window" ] && echo yes)" yes
    [ -n "$window" ] || { cat "$work/viewer.err"; exit 1; }
    info=$(xwininfo -id "$window")
    origin_x=$(awk '/Absolute upper-left X/ {print $4}' <<<"$info")
    origin_y=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$info")
}

"$viewer" 2>"$work/viewer.err" &
pid=$!

find_viewer "a window named Form1 is mapped"
check "client area width" "$(awk '/Width:/ {print $2}' <<<"$info")" 878
check "client area height" "$(awk '/Height:/ {print $2}' <<<"$info")" 637

# The empty chart, drawn before the window was shown.
expect "chart box corner (29, 231) is black" "#000000" chart_pixel 29 231
for corner in "750 231" "750 50" "29 50"; do
    read -r x y <<<"$corner"
    check "chart box corner ($x, $y) is black" "$(chart_pixel "$x" "$y")" "#000000"
done
check "chart box edge (400, 50) is black" "$(chart_pixel 400 50)" "#000000"
check "plot area (400, 140) is white" "$(chart_pixel 400 140)" "#FFFFFF"
check "legend line for 0 is blue" "$(chart_pixel 790 230)" "#0000FF"
check "legend line for 1016 is red" "$(chart_pixel 790 103)" "#FF0700"
shoot startup

# Load a log through the real prompt and Open dialog.
"$sample" "$work/030115.log" --test-pattern
click_at 52 560 # 読み込み
check "the load prompt appears" "$([ -n "$(wait_for_window dirchart)" ] && echo yes)" yes
xdotool key Escape # Escape answers No
expect "Escape at the prompt closes it" "" visible_window dirchart
check "Escape at the prompt opens no dialog" "$(visible_window Open)" ""

click_at 52 560
wait_for_window dirchart >/dev/null
xdotool key Return # Yes is the default button
check "the Open dialog appears" "$([ -n "$(wait_for_window Open)" ] && echo yes)" yes
xdotool key ctrl+a
xdotool type --delay 5 "$work/030115.log"
xdotool key Return
expect "the Open dialog closes" "" visible_window Open
expect "slot 100, bin 5 (0) is black" "#000000" chart_pixel 130 225
check "slot 100, bin 50 (100) is blue" "$(chart_pixel 130 180)" "#0064FF"
check "slot 300, bin 100 (600) is green" "$(chart_pixel 330 130)" "#59FF00"
check "slot 600, bin 179 (1000) is red" "$(chart_pixel 630 51)" "#FF1700"
check "slot 719, bin 10 (1000) is red" "$(chart_pixel 749 220)" "#FF1700"
check "the chart box is intact" "$(chart_pixel 750 140)" "#000000"
shoot loaded
label_ink=$(convert "$work/loaded.png" -crop "80x13+$((origin_x + 502))+$((origin_y + 22))" \
    -depth 8 txt:- | grep -c '#000000' || true)
check "a date label is printed at (500, 20)" "$([ "$label_ink" -gt 20 ] && echo yes)" yes
expect "Text1 shows the path" "$work/030115.log" text_of 550 412

# The polar plot, driven by mouse and keyboard on its two sliders.
click_at 400 304 # HScroll1's trough: one slot on
expect "a trough click steps the time slider" "0:02" text_of 550 444
click_at 400 304
xdotool key End
expect "End goes to the last slot" "23:58" text_of 550 444
expect "slot 719 (1000) at 90 degrees, near the outer ring" "#FF0000" polar_pixel 254 132
check "the 93-pixel ring is grey" "$(polar_pixel 39 132)" "#7F7F7F"
shoot slot719
click_at 400 304
xdotool key Home Right Left
expect "Home, Right, Left: back to the first slot" "0:00" text_of 550 444
expect "slot 0 (100) at 90 degrees, 12 pixels out" "#FF0000" polar_pixel 144 132
check "no trace of the previous curve" "$(polar_pixel 254 132)" "#7F7F7F"
click_at 600 544 # HScroll4's trough: gain 2
expect "the gain slider shows its value" "2" text_of 484 516
expect "gain 2 doubles the radius" "#FF0000" polar_pixel 156 132
click_at 600 544
xdotool key End
expect "End on the gain slider shows 50" "50" text_of 484 516

# Picking a moment on the chart: a click in the plot area moves the time
# slider to the slot under the cursor, and a drag moves it on.
click_at $((2 + 30 + 319)) 152 # slot 319
expect "a click on the chart shows the slot's time" "10:38" text_of 550 444
click_at 761 304 # HScroll1's right arrow: one step on from where the click put it
expect "the click moved the slider itself" "10:40" text_of 550 444
xdotool mousemove "$((origin_x + 2 + 30 + 100))" "$((origin_y + 152))" mousedown 1
xdotool mousemove "$((origin_x + 2 + 30 + 150))" "$((origin_y + 152))"
xdotool mousemove "$((origin_x + 2 + 30 + 200))" "$((origin_y + 152))" mouseup 1
expect "a drag along the chart ends at the slot released on" "6:40" text_of 550 444
check "the marker above the box shows the slot" "$(chart_pixel $((30 + 200)) 47)" "#C00000"
shoot picked

# Zooming: Ctrl+wheel over the chart zooms the time about the cell under the
# pointer, so the tooltip there reads the same before and after; Ctrl+0
# shows the whole day again. The tooltip is a small window of its own,
# compared as a picture.
hover() { # x y of Picture1's drawing area: from the slider below, so that a tip shows anew
    xdotool mousemove "$((origin_x + 400))" "$((origin_y + 330))"
    expect "no tooltip off the chart" "" shown_tip
    # Entering the chart, then a move within it, as a hand does: the tip
    # waits for the pointer to rest after a move.
    xdotool mousemove "$((origin_x + 1 + $1))" "$((origin_y + 1 + $2))"
    sleep 0.3
    xdotool mousemove "$((origin_x + 2 + $1))" "$((origin_y + 2 + $2))"
}
shown_tip() { # the tooltip's window, empty while none shows: xdotool does not see it
    local id
    id=$(xwininfo -root -tree | awk '/"dirchart": \("dirchart"/ && !/878x637|1756x1274/ {print $1; exit}')
    [ -n "$id" ] && xwininfo -id "$id" | grep -q 'IsViewable' && echo "$id"
}
tip_image() { # name: the tooltip's picture, once it shows
    local tip deadline=$((SECONDS + 10))
    while :; do
        tip=$(shown_tip || true)
        [ -n "$tip" ] || [ "$SECONDS" -ge "$deadline" ] && break
        sleep 0.2
    done
    check "a tooltip shows over the chart ($1)" "$([ -n "$tip" ] && echo yes)" yes
    [ -z "$tip" ] || import -window "$tip" "$work/$1.png"
}
check "before zooming the 1:00 tick is at column 60" "$(chart_pixel 60 233)" "#000000"
hover 400 140
tip_image tip-whole
xdotool keydown ctrl click 4 keyup ctrl
expect "Ctrl+wheel zooms the time: no tick at column 60" "#FFFFFF" chart_pixel 60 233
shoot zoomed
hover 400 140
tip_image tip-zoomed
check "after Ctrl+wheel the tooltip names the same cell" \
    "$(compare -metric AE "$work/tip-whole.png" "$work/tip-zoomed.png" null: 2>&1 || true)" 0
xdotool mousemove "$((origin_x + 400))" "$((origin_y + 330))"
xdotool key ctrl+0
expect "Ctrl+0 shows the whole day again" "#000000" chart_pixel 60 233

# Ctrl+Q closes the window.
xdotool key ctrl+q
expect "Ctrl+Q closes the window" "" visible_window Form1
wait "$pid" || true
pid=

# A log named on the command line, relative to the current folder, then the
# next day of its folder with Alt+Right.
mkdir "$work/days"
"$sample" "$work/days/261207.log" --test-pattern
head -c 259200 /dev/zero | tr '\0' '\001' >"$work/days/261209.log" # every cell 257
(cd "$work/days" && exec "$viewer" 261207.log) 2>>"$work/viewer.err" &
pid=$!
find_viewer "the viewer starts with a log named on its command line"
expect "the log is plotted at start-up: (100) is blue" "#0064FF" chart_pixel 130 180
expect "Text1 shows the log's absolute path" "$work/days/261207.log" text_of 550 412
xdotool key alt+Right
expect "Alt+Right shows the next day: (257) is cyan" "#00FFFE" chart_pixel 130 180
check "slot 600, bin 5 of the next day is cyan too" "$(chart_pixel 630 225)" "#00FFFE"
expect "Text1 shows the next day's path" "$work/days/261209.log" text_of 550 412
shoot nextday

# The day's events (Ctrl+Shift+E): with the keys alone, as the offscreen
# platform cannot show which keys a text box takes. The test pattern's 600s
# and 1000s are one event, whose peak is the first 1000, at 16:00.
xdotool key alt+Left
expect "Alt+Left goes back a day: (100) is blue" "#0064FF" chart_pixel 130 180
xdotool key ctrl+shift+e
events=$(wait_for_window "イベント - 261207.log")
check "Ctrl+Shift+E shows the day's events" "$([ -n "$events" ] && echo yes)" yes
xdotool key Tab Down
sleep 0.2
xdotool key Escape # the events window closes, the slot stays
expect "choosing the event moves the time to its peak" "16:00" text_of 550 444

# At 200 %, on a server large enough for the doubled window: a loaded log's
# cells are 2 x 2 blocks of device pixels. Slot 239 and 240 (100 and 600)
# above bin 9 (0) at Picture1's logical (269, 220): blue, green and black.
kill "$pid"
wait "$pid" 2>/dev/null || true
start_server 2048x1536
QT_SCALE_FACTOR=2 "$viewer" 2>"$work/viewer.err" &
pid=$!
find_viewer "at 200 % a window named Form1 is mapped"
check "at 200 % the client area is twice as wide" "$(awk '/Width:/ {print $2}' <<<"$info")" 1756
scale=2
click_at 52 560
wait_for_window dirchart >/dev/null
xdotool key Return
wait_for_window Open >/dev/null
xdotool key ctrl+a
xdotool type --delay 5 "$work/030115.log"
xdotool key Return
expect "at 200 % the Open dialog closes" "" visible_window Open
B='#0064FF' G='#59FF00' K='#000000'
cells() { # the 4 x 4 device pixels of Picture1's logical (269, 220) to (270, 221)
    import -window root "$work/scaled.png"
    convert "$work/scaled.png" -crop "4x4+$((origin_x + 4 + 538))+$((origin_y + 4 + 440))" \
        -depth 8 txt:- | grep -o '#[0-9A-Fa-f]\{6\}' | tr a-f A-F | paste -sd ' '
}
expect "at 200 % each cell is a 2 x 2 block" "$B $B $G $G $B $B $G $G $K $K $K $K $K $K $K $K" cells
# A click on the last screen pixel (lower right) of slot 300's cell picks
# that slot, not the next one half a logical pixel on.
xdotool mousemove "$((origin_x + 4 + 2 * (30 + 300) + 1))" "$((origin_y + 4 + 2 * 140 + 1))" click 1
expect "at 200 % a click on a cell's last screen pixel picks its slot" "10:00" text_of 550 444
# The title, rendered by the font at 200 %, is no enlarged bitmap: some of
# its 2 x 2 blocks are not of one colour.
convert "$work/scaled.png" -crop "400x26+$((origin_x + 4 + 540))+$((origin_y + 4 + 40))" \
    +repage "$work/title.png"
convert "$work/title.png" -sample 50% -sample 200% "$work/title-enlarged.png"
blocky=$(compare -metric AE "$work/title.png" "$work/title-enlarged.png" null: 2>&1 || true)
check "at 200 % the title is drawn at the screen's resolution" "$([ "$blocky" -gt 50 ] && echo yes)" yes
shoot scaled

if [ "$failures" -ne 0 ]; then
    echo "viewer's stderr:"
    cat "$work/viewer.err"
    exit 1
fi
echo "smoke test passed"
