#!/bin/sh
# Tymlyn.bat, the suite's batch wrapper: runs the force-history tool that lies beside
# it with the same arguments, and has that tool note the wrapper's start in the log.
here=$(dirname -- "$0")
KINEMORA_SUITE_WRAPPER=$(basename -- "$0")
export KINEMORA_SUITE_WRAPPER
exec "$here/chronel.exe" "$@"
