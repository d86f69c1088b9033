#!/bin/sh
# The program started without any display ends at once, non-zero, with a plain message on
# standard error: no crash, no hang.
program=$1
output=$(env -u DISPLAY -u WAYLAND_DISPLAY timeout 20 "$program" 2>&1 >/dev/null)
status=$?
echo "exit status $status: $output"
[ "$status" -ne 0 ] && [ "$status" -lt 124 ] || exit 1
echo "$output" | grep -q "cannot start the window system" || exit 1
