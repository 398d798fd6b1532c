#!/usr/bin/env bash
# Drives the real program as a user would: under Xvfb with a window manager, through
# the keyboard and mouse (xdotool), reading the windows through the accessibility bus.
#
#   tests/e2e/run.sh [BUILD_DIR] [SCENARIO_NAME_PART...]
#   tests/e2e/run.sh BUILD_DIR --exec COMMAND...   (runs COMMAND in that environment,
#                                                   e.g. to try dump_tree.py)
#
# BUILD_DIR holds program/orvane (default: build-e2e beside this tree). Each scenario
# gets its own home, configuration and state folders and a copy of the sample trials,
# and runs under a time limit; a failing one leaves a screenshot in $E2E_ARTIFACTS
# (default <BUILD_DIR>/e2e-artifacts). Exits non-zero when any scenario fails.
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(cd "${1:-$root/build-e2e}" && pwd) || exit 2
shift || true
filters=("$@")
limit=${E2E_TIME_LIMIT:-120}
artifacts=${E2E_ARTIFACTS:-$build/e2e-artifacts}

# The distribution's interpreter: pyatspi is a Debian package, not a pip one.
python=/usr/bin/python3
for tool in Xvfb xdotool openbox dbus-daemon import "$python"; do
  command -v "$tool" >/dev/null || { echo "e2e: $tool is missing (scripts/deps.sh installs it)" >&2; exit 2; }
done
"$python" -c 'import pyatspi' 2>/dev/null || { echo "e2e: python3-pyatspi is missing" >&2; exit 2; }
[ -x "$build/program/orvane" ] || { echo "e2e: no program at $build/program/orvane" >&2; exit 2; }
[ -d "$build/samples" ] || { echo "e2e: no sample trials at $build/samples" >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/orvane-e2e.XXXXXX")
mkdir -p "$artifacts"
rm -f "$artifacts"/*.png "$artifacts"/*.log

pids=()
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    kill "${pids[i]}" 2>/dev/null
  done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# A display number nobody holds: neither a lock file nor a socket.
display=""
for n in $(seq 90 140); do
  if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
    display=$n
    break
  fi
done
[ -n "$display" ] || { echo "e2e: no free X display" >&2; exit 2; }

Xvfb ":$display" -screen 0 1280x900x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
pids+=($!)
export DISPLAY=":$display"
for _ in $(seq 50); do
  xdpyinfo >/dev/null 2>&1 && break
  sleep 0.1
done
xdpyinfo >/dev/null 2>&1 || { echo "e2e: Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 2; }

# A private session bus; the accessibility bus is started on it on first request.
dbus-daemon --session --fork --nopidfile --print-address=3 --print-pid=4 \
  3>"$work/bus.address" 4>"$work/bus.pid" || { echo "e2e: no session bus" >&2; exit 2; }
pids+=("$(cat "$work/bus.pid")")
export DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$work/bus.address")
unset AT_SPI_BUS_ADDRESS

# The window manager gives focus and stacking as on a desktop.
mkdir -p "$work/wm-home"
HOME="$work/wm-home" XDG_CONFIG_HOME="$work/wm-home/.config" openbox --sm-disable \
  >"$work/openbox.log" 2>&1 &
pids+=($!)

export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
export QT_ACCESSIBILITY=1
export QT_QPA_PLATFORM=xcb
unset QT_QPA_PLATFORMTHEME
export LANG=C.UTF-8 LC_ALL=C.UTF-8
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
export ORVANE_BUILD="$build"
export E2E_ARTIFACTS="$artifacts"

# Registers the accessibility bus before the first program asks for it.
"$python" -c 'import pyatspi; pyatspi.Registry.getDesktop(0).childCount' >/dev/null 2>&1

if [ "${filters[0]:-}" = "--exec" ]; then
  case_dir="$work/exec"
  mkdir -p "$case_dir/home" "$case_dir/config" "$case_dir/state" "$case_dir/data"
  cp -r "$build/samples/." "$case_dir/data/"
  HOME="$case_dir/home" XDG_CONFIG_HOME="$case_dir/config" XDG_STATE_HOME="$case_dir/state" \
    E2E_CASE_DIR="$case_dir" E2E_NAME=exec PYTHONPATH="$here" KINEMORA="$build/program" \
    "${filters[@]:1}"
  exit $?
fi

passed=0
failed=0
failures=()
start_all=$(date +%s%N)
for script in "$here"/scenarios/[0-9]*.py; do
  name=$(basename "$script" .py)
  if [ ${#filters[@]} -gt 0 ]; then
    keep=0
    for f in "${filters[@]}"; do [[ "$name" == *"$f"* ]] && keep=1; done
    [ $keep -eq 1 ] || continue
  fi
  case_dir="$work/$name"
  mkdir -p "$case_dir/home" "$case_dir/config" "$case_dir/state" "$case_dir/data"
  cp -r "$build/samples/." "$case_dir/data/"
  start=$(date +%s%N)
  HOME="$case_dir/home" XDG_CONFIG_HOME="$case_dir/config" XDG_STATE_HOME="$case_dir/state" \
    E2E_CASE_DIR="$case_dir" E2E_NAME="$name" PYTHONPATH="$here" PYTHONDONTWRITEBYTECODE=1 \
    timeout --kill-after=10 "$limit" "$python" "$script" >"$case_dir/output.log" 2>&1
  status=$?
  tenths=$((($(date +%s%N) - start) / 100000000))
  seconds="$((tenths / 10)).$((tenths % 10))"
  if [ $status -eq 0 ]; then
    passed=$((passed + 1))
    echo "PASS $name (${seconds} s)"
  else
    failed=$((failed + 1))
    failures+=("$name")
    [ $status -eq 124 ] && echo "  timed out after $limit s" >>"$case_dir/output.log"
    # A scenario that timed out could not take its own picture.
    [ -e "$artifacts/$name.png" ] || import -display "$DISPLAY" -window root "$artifacts/$name.png" 2>/dev/null
    cp "$case_dir/output.log" "$artifacts/$name.log"
    echo "FAIL $name (${seconds} s, status $status; screenshot $artifacts/$name.png)"
    sed 's/^/    /' "$case_dir/output.log" | tail -n 40
  fi
  # Nothing a scenario started outlives it, even when the time limit ended it.
  if [ -f "$case_dir/pids" ]; then
    while read -r pid; do kill -9 -- "-$pid" 2>/dev/null; done <"$case_dir/pids"
  fi
done
total=$((($(date +%s%N) - start_all) / 1000000000))
[ ${#failures[@]} -eq 0 ] || echo "failed: ${failures[*]}"
echo "e2e: ${total} s in all"
echo "$passed passed, $failed failed"
[ $failed -eq 0 ] && [ $passed -gt 0 ]
