#!/usr/bin/env bash
# quiet-start.sh [--shots DIR --keys "KEY ..."] PROGRAM [ARG...]
# Starts PROGRAM on a virtual display of its own under a window manager (openbox), the way a
# user's desktop starts it, waits until its window shows, lets it settle, ends it, and prints
# what it wrote on standard error. Exits 2 when no window appeared within 15 seconds.
# With --shots, DIR/before.png is the window once settled; then the keys are typed (xdotool
# names, 0.4 s apart) and DIR/after.png is the window two seconds later.
set -eu
shots=""; keys=""
while [ $# -gt 0 ]; do
  case $1 in
    --shots) shots=$2; shift 2 ;;
    --keys) keys=$2; shift 2 ;;
    *) break ;;
  esac
done
[ $# -gt 0 ] || { echo "usage: quiet-start.sh [--shots DIR --keys K] PROGRAM [ARG...]" >&2; exit 64; }
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
inner=$work/inner.sh
{
  echo '#!/usr/bin/env bash'
  echo 'openbox >/dev/null 2>&1 & wm=$!; sleep 0.5'
  printf '%q ' "$@"; echo "2>$work/stderr >/dev/null & pid=\$!"
  echo 'shown=1; w='
  echo 'for i in $(seq 1 60); do w=$(xdotool search --onlyvisible --pid $pid --name . 2>/dev/null | tail -n 1); [ -n "$w" ] && { shown=0; break; }; sleep 0.25; done'
  echo 'sleep 1.5'
  if [ -n "$shots" ]; then
    printf 'shots=%q\n' "$shots"
    printf 'keys=%q\n' "$keys"
    # A screenshot that the X server holds up (a grab at the wrong moment) is taken again.
    echo 'shot() { for t in 1 2 3; do timeout 10 import -window "$w" "$1" && return 0; done; return 1; }'
    echo 'if [ -n "$w" ]; then'
    echo '  shot "$shots/before.png"'
    echo '  timeout 10 xdotool windowactivate --sync "$w" 2>/dev/null || true'
    echo '  for k in $keys; do timeout 10 xdotool key "$k"; sleep 0.4; done'
    echo '  sleep 2; shot "$shots/after.png"'
    echo 'fi'
  fi
  echo 'kill $pid 2>/dev/null; wait $pid 2>/dev/null; kill $wm 2>/dev/null'
  echo 'exit $shown'
} > "$inner"
chmod +x "$inner"
status=0
xvfb-run -a -s '-screen 0 1280x1024x24' "$inner" || status=$?
cat "$work/stderr"
[ "$status" -eq 0 ] || { echo "quiet-start: no window appeared" >&2; exit 2; }
