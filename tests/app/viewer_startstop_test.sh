#!/usr/bin/env bash
# Starts the viewer in an empty working directory with logging on, closes it with Alt+F4 (no
# window manager needed) and checks the exit status, option.ini and the log's exact bytes.
set -euo pipefail
viewer=$1
# A display of its own: other GUI tests of the same run open windows with the same title and
# take the keyboard focus.
if [ -z "${KORVANE_OWN_DISPLAY:-}" ]; then
    KORVANE_OWN_DISPLAY=1 exec xvfb-run -a -s "-screen 0 1280x900x24" "$0" "$@"
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
printf '[OPTION]\r\nUSE_LOG=TRUE\r\n' > option.ini

"$viewer" &
pid=$!
window=""
for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --name '^Korvane Viewer$' 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { echo "no viewer window appeared"; kill $pid; exit 1; }
timeout 10 xdotool windowfocus --sync "$window"
xdotool key alt+F4
for _ in $(seq 200); do
    kill -0 $pid 2>/dev/null || break
    sleep 0.1
done
if kill -0 $pid 2>/dev/null; then
    echo "the viewer did not close on Alt+F4"
    kill $pid
    exit 1
fi
status=0
wait $pid || status=$?
[ "$status" -eq 0 ] || { echo "viewer exited with $status"; exit 1; }

log=$(ls LOG/KorvaneViewer\ *.log)
day=$(date +%Y%m%d)
[ "$log" = "LOG/KorvaneViewer $day.log" ] || { echo "unexpected log file: $log"; exit 1; }
# The main window's own lines (the "Log End" line carries its line break into the next line),
# compared after their time stamps, which vary.
actual=$(awk '/\[CKorvaneViewerNewDlg\]/ { print; if (/Log End/) { getline; print } }' "$log" |
    sed -E 's/^[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}//' | od -c)
expected=$(printf '\t[CKorvaneViewerNewDlg]\t[OnInitDialog]\tLog Start!\r\r\n\t[CKorvaneViewerNewDlg]\t[OnInitDialog]\tKorvaneViewerDlg Init\r\r\n\t[CKorvaneViewerNewDlg]\t[OnClose]\tLog End\r\n\r\r\n' | od -c)
[ "$actual" = "$expected" ] || { echo "log differs:"; cat -A "$log"; exit 1; }
grep -q '^PLAY_VALUE=5' option.ini || { echo "option.ini lacks the defaults"; cat option.ini; exit 1; }
echo "viewer start and stop: ok"
