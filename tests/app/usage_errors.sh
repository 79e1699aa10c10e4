#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# What the viewer and the sample generator say, and the status they exit
# with, when they cannot do their work or are asked how to use them.
# Usage: usage_errors.sh path/to/dirchart path/to/dirchart-sample
set -uo pipefail
viewer=$(realpath "$1")
sample=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
mkdir runtime

# A display number no X server holds a lock or a socket for (a server
# started with -displayfd takes no lock, and listens on an abstract socket).
display=97
while [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ] ||
    grep -q "@/tmp/.X11-unix/X$display\$" /proc/net/unix; do
    display=$((display + 1))
done
advice='; start it from a desktop session'
nl=$'\n'

failures=0
# expect STATUS STREAM PATTERN COMMAND...: COMMAND, run in an empty folder
# with no display unless it sets one, exits with STATUS; STREAM (stdout or
# stderr), trailing newlines aside, matches the extended regular expression
# PATTERN as a whole and the
# other stream is empty; and the folder is still empty: no option became the
# name of a file.
expect() {
    local status=$1 stream=$2 pattern=$3 actual
    shift 3
    rm -rf scratch && mkdir scratch
    (cd scratch && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM \
        XDG_RUNTIME_DIR="$work/runtime" "$@" >../stdout 2>../stderr)
    actual=$?
    local problems=()
    [ "$actual" -eq "$status" ] || problems+=("exit status $actual, not $status")
    [[ "$(cat "$stream")" =~ ^$pattern$ ]] || problems+=("$stream: $(cat "$stream")")
    local other=stdout
    [ "$stream" = stdout ] && other=stderr
    [ -s "$other" ] && problems+=("$other: $(cat "$other")")
    [ -z "$(ls -A scratch)" ] || problems+=("wrote $(ls -A scratch)")
    if [ ${#problems[@]} -eq 0 ]; then
        echo "ok   $*"
    else
        echo "FAIL $*: ${problems[*]}"
        failures=$((failures + 1))
    fi
}

expect 1 stderr "dirchart: no display \(DISPLAY and WAYLAND_DISPLAY are unset\)$advice" \
    "$viewer"
expect 1 stderr "dirchart: no display \(cannot connect to DISPLAY=:$display\)$advice" \
    env DISPLAY=:$display "$viewer"
expect 1 stderr "dirchart: no display \(cannot connect to WAYLAND_DISPLAY=wayland-9\)$advice" \
    env WAYLAND_DISPLAY=wayland-9 "$viewer"
expect 1 stderr \
    "dirchart: no display \(cannot connect to WAYLAND_DISPLAY=/nowhere/wayland-0 or DISPLAY=:$display\)$advice" \
    env WAYLAND_DISPLAY=/nowhere/wayland-0 DISPLAY=:$display "$viewer"

# The viewer's usage errors: the problem in one line, then where help is.
try="${nl}Try 'dirchart --help'\."
expect 2 stderr "dirchart: unknown option '-261204\.log'$try" "$viewer" -261204.log
expect 2 stderr "dirchart: unknown option '--colour'$try" "$viewer" --colour=red x.log
expect 2 stderr "dirchart: missing value after '--render'$try" "$viewer" --render
expect 2 stderr "dirchart: $work/none: no such folder$try" "$viewer" --render "$work/none" x.log
expect 2 stderr "dirchart: $viewer: not a folder$try" "$viewer" --render "$viewer" x.log

usage="usage: dirchart-sample \[--test-pattern\] OUTPUT$nl       dirchart-sample --days N \[--start yymmdd\] FOLDER"
expect 0 stdout "$usage$nl.*" "$sample" --help
expect 0 stdout "$usage$nl.*" "$sample" day.log --help
expect 2 stderr "dirchart-sample: missing OUTPUT${nl}$usage" "$sample"
expect 2 stderr "dirchart-sample: missing OUTPUT${nl}$usage" "$sample" --test-pattern
expect 2 stderr "dirchart-sample: unknown option --bogus${nl}$usage" "$sample" --bogus day.log
expect 2 stderr "dirchart-sample: unknown option -h${nl}$usage" "$sample" day.log -h
expect 2 stderr "dirchart-sample: more than one OUTPUT: b.log${nl}$usage" "$sample" a.log b.log
days='--days needs a number of days from 1 to 36525: '
early='the days would begin before 2000, and log names hold only 2000\.\.2099: give --start a date from 000101 on, or at most 9839 days'
late='the days would run past 2099, and log names hold only 2000\.\.2099: give an earlier --start, or at most 2 days from this one'
expect 2 stderr "dirchart-sample: $days${nl}$usage" "$sample" --days '' year
expect 2 stderr "dirchart-sample: ${days}0${nl}$usage" "$sample" --days 0 year
expect 2 stderr "dirchart-sample: ${days}3x${nl}$usage" "$sample" --days 3x year
expect 2 stderr "dirchart-sample: ${days}36526${nl}$usage" "$sample" --days 36526 year
expect 2 stderr "dirchart-sample: missing value of --days${nl}$usage" "$sample" year --days
expect 2 stderr "dirchart-sample: $early${nl}$usage" "$sample" --days 9999 year
expect 2 stderr "dirchart-sample: $late${nl}$usage" "$sample" --days 3 --start 991230 year
expect 2 stderr "dirchart-sample: --start needs a date yymmdd: 260230${nl}$usage" \
    "$sample" --days 3 --start 260230 year
expect 2 stderr "dirchart-sample: --start needs a date yymmdd: 2612081${nl}$usage" \
    "$sample" --days 3 --start 2612081 year
expect 2 stderr "dirchart-sample: --start needs --days${nl}$usage" "$sample" --start 261208 day.log
expect 2 stderr "dirchart-sample: --test-pattern writes one log, not --days${nl}$usage" \
    "$sample" --days 2 --test-pattern year
expect 2 stderr "dirchart-sample: missing FOLDER${nl}$usage" "$sample" --days 2
expect 2 stderr "dirchart-sample: more than one FOLDER: b${nl}$usage" "$sample" --days 2 a b

# An archive: consecutive dates ending on 261208 by default, every day
# different, the same bytes on every run.
if "$sample" --days 3 one && "$sample" --days 2 --start 261207 two &&
    [ "$(ls one)" = "$(printf '261206.log\n261207.log\n261208.log')" ] &&
    cmp -s one/261207.log two/261207.log && cmp -s one/261208.log two/261208.log &&
    ! cmp -s one/261207.log one/261208.log && [ "$(stat -c %s one/261206.log)" = 259200 ]; then
    echo "ok   $sample --days"
else
    echo "FAIL $sample --days: $(ls one two)"
    failures=$((failures + 1))
fi

# A log whose name is not UTF-8, in a folder whose name is not either (a share
# from an older system): rendered and listed by its bytes, with no display.
odd="$work/$(printf '\377\376')"
log="$odd/$(printf 'day\351')-261227.log"
mkdir "$odd" && "$sample" "$log" &&
    env -u DISPLAY -u WAYLAND_DISPLAY "$viewer" --render "$odd" --quiet "$log" 2>stderr
status=$?
listed=$(env -u DISPLAY -u WAYLAND_DISPLAY "$viewer" --events "$log" | sed -n 2p | cut -d, -f1)
if [ "$status" -eq 0 ] && [ -s "$odd/$(printf 'day\351')-261227.png" ] && [ "$listed" = "$log" ]; then
    echo "ok   names that are not UTF-8"
else
    echo "FAIL names that are not UTF-8: exit $status, $(cat stderr), listed '$listed'"
    failures=$((failures + 1))
fi

[ "$failures" -eq 0 ] || exit 1
echo "usage checks passed"
