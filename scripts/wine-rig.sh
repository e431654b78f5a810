#!/usr/bin/env bash
# The Wine rig: one private prefix under build/, a virtual X display when there is
# none, and a clean shutdown. Used by the run command, the tests and the benchmarks.
#
#   wine-rig.sh start            prepare the prefix and display, keep wineserver up
#   wine-rig.sh stop             end every Wine process and the display we started
#   wine-rig.sh running          exit 0 when the rig is up (callers then leave it up)
#   wine-rig.sh exec PROG [ARG]  run a Windows program (32- or 64-bit) in the rig
#   wine-rig.sh run CMD [ARG]    start, run a host command inside the rig, stop
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
RIG=$ROOT/build/wine-rig
export WINEPREFIX=$ROOT/build/wineprefix
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko installer dialogs: nothing here needs them.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
WINE64=/usr/lib/wine/wine64
WINE32=/usr/lib/wine/wine
WINESERVER=$(command -v wineserver || echo /usr/lib/wine/wineserver64)
# Where 32-bit programs are emulated, qemu needs a fixed address-space reservation.
eval "$("$ROOT/scripts/emulation-i386.sh" env)"

load_env() {
    [ -f "$RIG/env" ] || { echo "wine-rig: not started (run '$0 start')" >&2; exit 1; }
    # shellcheck disable=SC1091
    . "$RIG/env"
    export DISPLAY
}

display_usable() {
    [ -n "${DISPLAY:-}" ] && command -v xdpyinfo >/dev/null && xdpyinfo >/dev/null 2>&1
}

start_display() {
    if display_usable; then
        echo "DISPLAY=$DISPLAY" > "$RIG/env"
        return
    fi
    local fdfile=$RIG/display
    rm -f "$fdfile"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
    echo $! > "$RIG/xvfb.pid"
    for _ in $(seq 100); do [ -s "$fdfile" ] && break; sleep 0.1; done
    [ -s "$fdfile" ] || { echo "wine-rig: Xvfb did not start" >&2; exit 1; }
    echo "DISPLAY=:$(tr -d '\n' < "$fdfile")" > "$RIG/env"
}

# Machine type from the PE header: 014c is i386, 8664 is x86-64.
pe_machine() {
    local off
    off=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
    od -An -tx2 -j$((off + 4)) -N2 "$1" | tr -d ' '
}

# Wine's own programs (taskkill, reg) are not files here: the 64-bit loader runs them.
loader_for() {
    if [ -f "$1" ] && [ "$(pe_machine "$1")" = 014c ]; then echo "$WINE32"; else echo "$WINE64"; fi
}

# What the prefix must serve: a prefix made while 32-bit Wine could not run lacks the
# 32-bit system files, so the ready marker records this and a change updates the prefix.
prefix_flavours() {
    if "$WINE32" --version >/dev/null 2>&1; then echo "win32 win64"; else echo win64; fi
}

prepare_prefix() {
    local flavours boot=--init
    flavours=$(prefix_flavours)
    if [ "$(cat "$WINEPREFIX/.tarvo-ready" 2>/dev/null)" = "$flavours" ]; then return; fi
    if [ -f "$WINEPREFIX/.tarvo-ready" ]; then boot=--update; fi
    mkdir -p "$WINEPREFIX"
    # Bootstrap mode lets an update add the 32-bit system files to a prefix that has
    # none: outside it Wine loads no DLL that lacks a file in the system folder.
    WINEBOOTSTRAPMODE=1 "$WINE64" wineboot "$boot" >/dev/null 2>&1
    "$WINESERVER" -w
    # A crash must fail the test that caused it, not wait for a click.
    "$WINE64" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    # The virtual display has no window manager: unmanaged windows take the
    # focus themselves, and hiding one does not wait for a manager that never
    # answers.
    "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    "$WINESERVER" -w
    echo "$flavours" > "$WINEPREFIX/.tarvo-ready"
}

cmd_start() {
    mkdir -p "$RIG"
    start_display
    load_env
    prepare_prefix
    # A persistent server spares every test the server's start-up.
    "$WINESERVER" -p
}

cmd_stop() {
    "$WINESERVER" -k 2>/dev/null || true
    "$WINESERVER" -w 2>/dev/null || true
    if [ -f "$RIG/xvfb.pid" ]; then
        kill "$(cat "$RIG/xvfb.pid")" 2>/dev/null || true
        rm -f "$RIG/xvfb.pid"
    fi
    rm -f "$RIG/env"
}

case "${1:-}" in
    start) cmd_start ;;
    running)
        [ -f "$RIG/env" ] || exit 1
        . "$RIG/env"
        export DISPLAY
        display_usable
        ;;
    stop) cmd_stop ;;
    exec)
        shift
        load_env
        prog=$1; shift
        # Wine's own processes (the desktop, services) may start with the
        # program and outlive it, holding whatever output it had: a pipe
        # would keep the caller (ctest) waiting. They get a file instead.
        output=$(mktemp)
        code=0
        "$(loader_for "$prog")" "$prog" "$@" >"$output" 2>&1 || code=$?
        cat "$output"
        rm -f "$output"
        exit $code
        ;;
    run)
        shift
        cmd_start
        trap cmd_stop EXIT
        "$@"
        ;;
    *) echo "usage: $0 start|stop|exec PROG [ARGS]|run CMD [ARGS]" >&2; exit 2 ;;
esac
