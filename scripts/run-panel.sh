#!/usr/bin/env bash
# Sets up what is missing, builds, and runs the panel with the simulated
# receiver. With a display it runs until the panel is closed; without one it
# runs on a virtual display, saves a screenshot, closes the panel cleanly and
# exits 0.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"
FLAVOUR=${TARVO_FLAVOUR:-win64}
RUN_DIR=build/run-$FLAVOUR
SHOT=build/screenshots/panel-$FLAVOUR.png
WINDOW_WAIT_S=60

scripts/setup.sh
if [ "$FLAVOUR" = win32 ]; then
    scripts/emulation-i386.sh setup
    trap 'scripts/emulation-i386.sh teardown' EXIT
fi

# A release folder as a user lays it out: the panel with its plug-in beside it.
rm -rf "$RUN_DIR" && mkdir -p "$RUN_DIR" "$(dirname "$SHOT")"
cp "build/$FLAVOUR/bin/TARVO.exe" "build/$FLAVOUR/bin/EXTIO_TARVO.DLL" "$RUN_DIR/"
if [ -f "build/$FLAVOUR/bin/VORN_Encoder.dll" ]; then
    cp "build/$FLAVOUR/bin/VORN_Encoder.dll" "$RUN_DIR/"
fi

had_display=${DISPLAY:-}
if ! scripts/wine-rig.sh running; then
    scripts/wine-rig.sh start
    trap 'scripts/wine-rig.sh stop; [ "$FLAVOUR" != win32 ] || scripts/emulation-i386.sh teardown' EXIT
fi
DISPLAY=$(sed -n 's/^DISPLAY=//p' build/wine-rig/env)
export DISPLAY

if [ -n "$had_display" ] && [ "$DISPLAY" = "$had_display" ]; then
    scripts/wine-rig.sh exec "$RUN_DIR/TARVO.exe"
    exit 0
fi

scripts/wine-rig.sh exec "$RUN_DIR/TARVO.exe" &
panel=$!
for _ in $(seq $((WINDOW_WAIT_S * 10))); do
    xwininfo -root -tree | grep -q '"TARVO Control' && break
    sleep 0.1
done
# Let both windows finish drawing.
sleep 2
import -window root "$SHOT"
echo "Screenshot: $ROOT/$SHOT"
# Without /F, taskkill asks the window to close, as its close button does.
scripts/wine-rig.sh exec taskkill /im TARVO.exe >/dev/null
code=0
wait "$panel" || code=$?
echo "The panel closed with exit code $code"
