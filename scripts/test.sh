#!/usr/bin/env bash
# Sets up what is missing, builds both flavours and runs every test and
# static check on both.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"

scripts/setup.sh
# 32-bit programs: natively where the kernel can, otherwise through qemu
# (undone at exit).
scripts/emulation-i386.sh setup
started_rig=
cleanup() {
    if [ -n "$started_rig" ]; then scripts/wine-rig.sh stop; fi
    scripts/emulation-i386.sh teardown
}
trap cleanup EXIT
if ! scripts/wine-rig.sh running; then
    scripts/wine-rig.sh start
    started_rig=1
fi

status=0
for preset in win64 win32; do
    exclude=()
    # Under qemu, 32-bit code cannot run a waiting helper thread beside device
    # requests; natively it can.
    if [ "$preset" = win32 ] && [ -n "$(scripts/emulation-i386.sh env)" ]; then
        exclude=(-LE thread_and_device)
    fi
    start=$(date +%s)
    ctest --preset "$preset" "${exclude[@]}" || status=1
    echo "$preset: $(( $(date +%s) - start )) s"
done
exit $status
