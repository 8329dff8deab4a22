#!/usr/bin/env bash
# quiet-start.sh PROGRAM [ARG...]
# Starts PROGRAM on a virtual display of its own under a window manager (openbox), the way a
# user's desktop starts it, waits until its window shows, lets it settle, ends it, and prints
# what it wrote on standard error. Exits 2 when no window appeared within 15 seconds.
set -eu
[ $# -gt 0 ] || { echo "usage: quiet-start.sh PROGRAM [ARG...]" >&2; exit 64; }
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
inner=$work/inner.sh
{
  echo '#!/usr/bin/env bash'
  echo 'openbox >/dev/null 2>&1 & wm=$!; sleep 0.5'
  printf '%q ' "$@"; echo "2>$work/stderr >/dev/null & pid=\$!"
  echo 'shown=1'
  echo 'for i in $(seq 1 60); do xdotool search --onlyvisible --pid $pid --name . >/dev/null 2>&1 && { shown=0; break; }; sleep 0.25; done'
  echo 'sleep 1.5'
  echo 'kill $pid 2>/dev/null; wait $pid 2>/dev/null; kill $wm 2>/dev/null'
  echo 'exit $shown'
} > "$inner"
chmod +x "$inner"
status=0
xvfb-run -a -s '-screen 0 1280x1024x24' "$inner" || status=$?
cat "$work/stderr"
[ "$status" -eq 0 ] || { echo "quiet-start: no window appeared" >&2; exit 2; }
