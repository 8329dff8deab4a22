#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# install_smoke_test.sh BUILD_DIR: installs the build into a temporary DESTDIR (twice, as an
# upgrade would) and runs the programs from that tree only: voxtrelle-cli edits a WAV file,
# voxtrelle opens a file named on its command line, zentora opens its sample recording from
# the installed data folder through its menu, and a file named on its command line. Nothing
# may be written into the installed tree, and the uninstall script removes every installed
# file again. Runs on a virtual display of its own (xvfb-run), so the window manager it starts
# there never moves the windows of tests running beside it.
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
if [ -z "${INSTALL_SMOKE_TEST_DISPLAY:-}" ]; then
  INSTALL_SMOKE_TEST_DISPLAY=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/install-smoke.XXXXXX")
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# `cmake --install` rewrites the build's install manifest; keep the one of a real install.
manifest=$build/install_manifest.txt
[ -f "$manifest" ] && cp "$manifest" "$work/real_manifest.txt"
root=$work/root
for round in 1 2; do
  DESTDIR=$root cmake --install "$build" --prefix /usr >"$work/install$round.log" ||
    fail "install round $round: $(tail -5 "$work/install$round.log")"
done
cp "$manifest" "$work/smoke_manifest.txt"
if [ -f "$work/real_manifest.txt" ]; then cp "$work/real_manifest.txt" "$manifest"; else rm -f "$manifest"; fi

prefix=$root/usr
for f in bin/voxtrelle bin/voxtrelle-cli bin/zentora share/zentora/eg.mp3 share/zentora/chord.wav \
         share/applications/voxtrelle.desktop share/applications/zentora.desktop \
         share/metainfo/example.voxtrelle.Voxtrelle.metainfo.xml \
         share/metainfo/example.zentora.Zentora.metainfo.xml \
         share/man/man1/voxtrelle.1.gz share/man/man1/voxtrelle-cli.1.gz share/man/man1/zentora.1.gz \
         share/icons/hicolor/scalable/apps/voxtrelle.svg share/icons/hicolor/scalable/apps/zentora.svg; do
  [ -s "$prefix/$f" ] || fail "$f is not installed"
done
for size in 16 32 48 64 128 256; do
  for program in voxtrelle zentora; do
    icon=$prefix/share/icons/hicolor/${size}x${size}/apps/$program.png
    [ "$(identify -format '%wx%h' "$icon")" = "${size}x${size}" ] || fail "$icon is not ${size} px"
  done
done
(cd "$root" && find . | sort) >"$work/tree_before.txt"

# From here on only the installed tree is on the path, and the build tree is out of reach.
export PATH=$prefix/bin:/usr/bin:/bin
export XDG_CONFIG_HOME=$work/config
export ZENTORA_AUDIO_SINK="fakesink sync=true"
cd "$work"
[ "$(command -v voxtrelle-cli)" = "$prefix/bin/voxtrelle-cli" ] || fail "voxtrelle-cli not from DESTDIR"

version=$(voxtrelle-cli --version)
[ "$version" = "voxtrelle-cli $(zentora --version | cut -d' ' -f2)" ] || fail "versions: $version"
sox -q -n -r 8000 -c 1 -b 16 tone.wav synth 0.5 sine 440
voxtrelle-cli edit tone.wav faded.wav fade-in 0 2000 volume 50 || fail "voxtrelle-cli edit"
voxtrelle-cli info faded.wav | grep -q "4000" || fail "edited file: $(voxtrelle-cli info faded.wav)"

# Waits up to 20 s for a window whose title matches $1.
wait_window() {
  for _ in $(seq 100); do
    xdotool search --name "$1" >/dev/null 2>&1 && return 0
    sleep 0.2
  done
  return 1
}
if command -v openbox >/dev/null; then
  openbox >/dev/null 2>&1 &
  pids+=($!)
fi

voxtrelle "$work/tone.wav" 2>"$work/voxtrelle.err" &
pids+=($!)
wait_window '^Voxtrelle - \[tone.wav\]' || fail "voxtrelle did not open tone.wav: $(cat "$work/voxtrelle.err")"
echo "voxtrelle window: $(xdotool search --name '^Voxtrelle - ' getwindowname)"

zentora 2>"$work/zentora.err" &
pids+=($!)
wait_window '^Zentora ' || fail "no zentora window: $(cat "$work/zentora.err")"
window=$(xdotool search --name '^Zentora ' | head -1)
# Help (Alt+H), its first entry (the sample submenu), then the sample recording.
xdotool windowactivate --sync "$window" 2>/dev/null || true
sleep 0.5
xdotool key --clearmodifiers alt+h
sleep 0.5
xdotool key Return
sleep 0.5
xdotool key Return
wait_window '^eg - Zentora ' || fail "zentora did not open its installed sample: $(cat "$work/zentora.err")"
echo "zentora window: $(xdotool search --name '^eg - Zentora ' getwindowname)"
[ -s "$work/zentora.err" ] && echo "zentora printed: $(cat "$work/zentora.err")"
kill "${pids[-1]}"

# A file named on the command line, relative to the current folder, as a file manager passes it.
cp "$prefix/share/zentora/eg.mp3" tune.mp3
zentora tune.mp3 2>"$work/zentora2.err" &
pids+=($!)
wait_window '^tune - Zentora ' || fail "zentora did not open tune.mp3: $(cat "$work/zentora2.err")"

for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
wait 2>/dev/null || true
pids=()
(cd "$root" && find . | sort) >"$work/tree_after.txt"
diff -u "$work/tree_before.txt" "$work/tree_after.txt" || fail "the programs wrote into the installed tree"

DESTDIR=$root cmake -DMANIFEST="$work/smoke_manifest.txt" -P "$here/../../cmake/uninstall.cmake" >/dev/null
left=$(cd "$root" && find . -type f)
[ -z "$left" ] || fail "uninstall left files behind: $left"
echo "install smoke test passed"
