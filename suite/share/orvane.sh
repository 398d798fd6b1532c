#!/bin/sh
# Starts Orvane from its program directory with KINEMORA naming that directory, so
# the program finds the suite's tools, help texts and manuals beside it.
here=$(dirname -- "$(readlink -f -- "$0")")
KINEMORA=$(cd -- "$here/../lib/orvane" && pwd) || exit 1
export KINEMORA
exec "$KINEMORA/orvane" "$@"
