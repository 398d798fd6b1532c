#!/usr/bin/env bash
# Takes the pictures in docs/screenshots/ from the real program on the sample trials,
# so the README and the manual never show windows that have since changed.
#
#   scripts/screenshots.sh [BUILD_DIR]
#
# Builds the program in BUILD_DIR (default build-screenshots, without sanitizers),
# runs it under Xvfb with a window manager and drives it with xdotool. A window that
# is not part of the program yet is left out with a note.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build-screenshots}
out="$here/docs/screenshots"

for tool in Xvfb xdotool openbox import convert; do
  command -v "$tool" >/dev/null || "$here/scripts/deps.sh"
done
if [ ! -x "$build/program/orvane" ] || [ -z "${1:-}" ]; then
  cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVANE_TESTS=OFF >/dev/null
  cmake --build "$build" -j"$(nproc)" --target orvane kinemora-suite orvane_samples
fi
mkdir -p "$out"
build=$(cd "$build" && pwd)

work=$(mktemp -d "${TMPDIR:-/tmp}/orvane-shots.XXXXXX")
pids=()
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

display=""
for n in $(seq 141 190); do
  if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=$n; break; fi
done
[ -n "$display" ] || { echo "screenshots: no free X display" >&2; exit 1; }
Xvfb ":$display" -screen 0 1280x900x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
export DISPLAY=":$display"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
mkdir -p "$work/home"
HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" openbox --sm-disable >/dev/null 2>&1 &
pids+=($!)
sleep 1

# The sample data directory as a user keeps it, with settings of its own.
cp -r "$build/samples" "$work/data"
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_STATE_HOME="$work/state"
export KINEMORA="$build/program" LANG=C.UTF-8 LC_ALL=C.UTF-8
unset QT_QPA_PLATFORM

program=""
start() {
  (cd "$work/data" && exec "$build/program/orvane" "$@") >"$work/orvane.log" 2>&1 &
  program=$!
}
finish() {
  kill "$program" 2>/dev/null || true
  wait "$program" 2>/dev/null || true
}

# The id of the program's visible window with this exact title, waiting up to 15 s.
window() {
  local id
  for _ in $(seq 150); do
    id=$(xdotool search --all --onlyvisible --pid "$program" --name "^$1\$" 2>/dev/null | tail -n 1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

# Saves one window with its frame, as the desktop shows it.
shoot() {
  local id=$1 name=$2
  xdotool windowactivate --sync "$id" >/dev/null 2>&1 || true
  sleep 0.6
  import -window "$id" -frame "$out/$name.png" 2>/dev/null || import -window "$id" "$out/$name.png"
  echo "screenshots: $out/$name.png"
}

skip() { echo "screenshots: $1 left out: $2" >&2; }

# The progress dialog and the main window, started on a trial as a user does.
start WALK01.RF
if reading=$(window 'Reading\.    Please wait\.\.\.'); then
  sleep 1.5
  shoot "$reading" reading
  main=$(window 'Orvane System')
  xdotool windowactivate --sync "$reading" key --clearmodifiers alt+d
  sleep 0.5
  shoot "$main" main

  # Ctrl+V: the raw listing.
  xdotool windowactivate --sync "$main" key --clearmodifiers ctrl+v
  if listing=$(window 'Raw Forces and Centres of Pressure'); then
    shoot "$listing" listing
    xdotool key --clearmodifiers Escape alt+k 2>/dev/null || true
  else
    skip "the raw listing" "no window after Ctrl+V"
  fi

  # Ctrl+A: the animation, caught while it plays.
  xdotool windowactivate --sync "$main" key --clearmodifiers ctrl+a
  if animation=$(window 'Display Force Vectors'); then
    # "Static view" draws the whole trial at once; playback would be caught mid-pass.
    sleep 2
    xdotool mousemove --window "$animation" 530 104 click 1
    sleep 2
    shoot "$animation" animation

    # Ctrl+G: the graphs beside the stopped animation, the cursor on the first peak.
    xdotool windowactivate --sync "$animation" key --clearmodifiers ctrl+g
    if graphs=$(window 'Force Graphs'); then
      # The animation keeps its place (its frame and title on screen); the graphs
      # take the rest of the screen's width beside it.
      xdotool windowmove --sync "$animation" 0 20
      sleep 0.5
      right=$(xwininfo -frame -id "$animation" | awk '/Absolute upper-left X/ {x=$NF} /Width:/ {w=$NF} END {print x + w}')
      right=$((right < 640 ? 676 : right))
      xdotool windowsize --sync "$graphs" $((1270 - right)) 840
      xdotool windowmove --sync "$graphs" $((right + 4)) 20
      xdotool windowactivate --sync "$graphs" key --clearmodifiers Home Next Next
      sleep 1
      import -window root "$out/graphs.png"
      echo "screenshots: $out/graphs.png"
    else
      skip "the force graphs" "no window after Ctrl+G"
    fi
  else
    skip "the animation window" "no window after Ctrl+A"
  fi
else
  skip "the progress dialog and the main window" "no progress dialog"
fi
finish

# The About box, as the splash shows it at a start without a trial.
start
if about=$(window 'About the Kinemora Motion Analysis System'); then
  import -window "$about" -frame "$out/about.png" 2>/dev/null || import -window "$about" "$out/about.png"
  echo "screenshots: $out/about.png"
else
  skip "the About box" "no splash window"
fi
finish

# The text viewer with a help text, and the PDF reader with the program's manual.
start ";"
if main=$(window 'Orvane System'); then
  xdotool windowactivate --sync "$main" key --clearmodifiers alt+h Down Return
  if viewer=$(window 'Text Viewer.*'); then
    shoot "$viewer" viewer
  else
    skip "the text viewer" "no window after Help > Ground reactions"
  fi
  xdotool windowactivate --sync "$main" key --clearmodifiers alt+g
  if reader=$(window 'View Acrobat PDF Documents'); then
    sleep 2
    shoot "$reader" reader
  else
    skip "the PDF reader" "no window after Guide"
  fi
else
  skip "the viewer and the reader" "no main window"
fi
finish
