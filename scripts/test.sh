#!/usr/bin/env bash
# Sets up what is missing, builds both flavours and runs every test and
# static check.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"

scripts/setup.sh
if ! scripts/wine-rig.sh running; then
    scripts/wine-rig.sh start
    trap 'scripts/wine-rig.sh stop' EXIT
fi

status=0
for preset in win64 win32; do
    labels=()
    # 32-bit programs cannot run on this machine: their static checks only.
    [ "$preset" = win32 ] && labels=(-L static)
    start=$(date +%s)
    ctest --preset "$preset" "${labels[@]}" || status=1
    echo "$preset: $(( $(date +%s) - start )) s"
done
exit $status
