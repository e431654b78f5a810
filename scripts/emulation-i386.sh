#!/usr/bin/env bash
# 32-bit (i386) programs for the win32 flavour's tests: Debian's 32-bit Wine, run
# natively where the kernel can, otherwise through qemu user-mode via binfmt_misc.
#
#   emulation-i386.sh setup [--force]
#                                install what is missing; where the kernel cannot run
#                                i386 programs, route them to qemu;
#                                --force emulates even where the kernel runs them natively,
#                                to reproduce the emulated platform on such a machine
#   emulation-i386.sh teardown   undo what setup added to the machine (entry, mount)
#   emulation-i386.sh env        print the export lines the Wine rig needs
#
# The binfmt_misc entry is machine-wide, so setup records what it added in a state file
# and teardown removes exactly that and nothing another tool registered.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
WORK=$ROOT/build/emulation-i386
STATE=$WORK/state
PROBE=$WORK/probe-i386
PROBE_EXIT=42

BINFMT=/proc/sys/fs/binfmt_misc
ENTRY=tarvo-i386
QEMU=/usr/bin/qemu-i386-static
WINE32=/usr/lib/wine/wine
# i386 ELF executables and shared objects (type 2 or 3), as qemu's own binfmt
# configuration describes them.
MAGIC='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
MASK='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
# Without a fixed reservation qemu lets 32-bit Wine probe the whole 64-bit address
# space for its own reservation, which costs about 50 s per process.
RESERVED_VA=0x81000000
PACKAGES=(qemu-user-static wine32:i386)

if [ "$(id -u)" -eq 0 ]; then SUDO=(); else SUDO=(sudo); fi

say() { echo "emulation-i386: $*"; }
die() { echo "emulation-i386: $*" >&2; exit 1; }

# The smallest i386 program: the 52-byte ELF header, one 32-byte program header that
# loads the file at 0x08048000, and 9 bytes of code at the entry point 0x08048054:
# xor ebx,ebx; mov bl,42; xor eax,eax; inc eax; int 0x80 (exit 42). Whether the kernel
# runs it tells native support, emulation and neither apart.
write_probe() {
    [ -x "$PROBE" ] && return
    mkdir -p "$WORK"
    # Tests start in parallel and each asks for the environment: write, then rename.
    local tmp
    tmp=$(mktemp "$PROBE.XXXXXX")
    printf '%b' \
        '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00' \
        '\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00' \
        '\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x28\x00\x00\x00\x00\x00' \
        '\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08' \
        '\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00' \
        '\x31\xdb\xb3\x2a\x31\xc0\x40\xcd\x80' > "$tmp"
    chmod +x "$tmp"
    mv -f "$tmp" "$PROBE"
}

probe_runs() {
    write_probe
    local rc=0
    "$PROBE" 2>/dev/null || rc=$?
    [ "$rc" -eq "$PROBE_EXIT" ]
}

binfmt_mounted() { [ -e "$BINFMT/register" ]; }

# The enabled binfmt_misc entry that would take the probe, if any: the kernel compares
# the entry's magic with the file's first bytes under the entry's mask.
entry_for_probe() {
    binfmt_mounted || return 1
    write_probe
    local head entry magic mask offset i m k h
    head=$(od -An -tx1 -v -N128 "$PROBE" | tr -d ' \n')
    for entry in "$BINFMT"/*; do
        case ${entry##*/} in register | status) continue ;; esac
        grep -qx enabled "$entry" 2>/dev/null || continue
        magic=$(sed -n 's/^magic //p' "$entry")
        [ -n "$magic" ] || continue
        mask=$(sed -n 's/^mask //p' "$entry")
        offset=$(sed -n 's/^offset //p' "$entry")
        for ((i = 0; i < ${#magic}; i += 2)); do
            m=$((16#${magic:i:2}))
            k=$((16#${mask:i:2}))
            [ -n "$mask" ] || k=255
            h=${head:2*offset+i:2}
            if [ -z "$h" ] || (((16#$h & k) != (m & k))); then continue 2; fi
        done
        echo "${entry##*/}"
        return 0
    done
    return 1
}

entry_interpreter() { sed -n 's/^interpreter //p' "$BINFMT/$1"; }

state_get() { if [ -f "$STATE" ]; then sed -n "s/^$1=//p" "$STATE"; fi; }

state_add() {
    mkdir -p "$WORK"
    echo "$1=$2" >> "$STATE"
}

package_installed() {
    [ "$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null)" = "install ok installed" ]
}

install_packages() {
    local missing=() pkg
    for pkg in "$@"; do package_installed "$pkg" || missing+=("$pkg"); done
    [ ${#missing[@]} -gt 0 ] || { say "packages present: $*"; return; }

    local need_update=
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        "${SUDO[@]}" dpkg --add-architecture i386
        say "added the i386 architecture to dpkg"
        need_update=1
    fi
    for pkg in "${missing[@]}"; do
        grep -q 'Candidate: [^(]' <<<"$(apt-cache policy "$pkg" 2>/dev/null)" || need_update=1
    done
    if [ -n "$need_update" ]; then
        say "apt-get update"
        "${SUDO[@]}" apt-get update -qq
    fi
    say "installing ${missing[*]}"
    "${SUDO[@]}" env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

mount_binfmt() {
    binfmt_mounted && return
    "${SUDO[@]}" mount -t binfmt_misc binfmt_misc "$BINFMT"
    state_add mounted "$BINFMT"
    say "mounted binfmt_misc on $BINFMT"
}

register_entry() {
    [ -x "$QEMU" ] || die "$QEMU is missing"
    # Flag F opens the interpreter now, so the entry keeps working in other mount
    # namespaces and chroots.
    printf ':%s:M::%s:%s:%s:F\n' "$ENTRY" "$MAGIC" "$MASK" "$QEMU" \
        | "${SUDO[@]}" tee "$BINFMT/register" >/dev/null
    state_add entry "$ENTRY"
    say "registered binfmt_misc entry $ENTRY: i386 ELF -> $QEMU (flag F)"
}

# Emulate only where the kernel cannot run i386 code: qemu user-mode keeps one GDT for
# all threads of a process, so after a signal a 32-bit Wine thread can reload another
# thread's TEB and TLS selectors (hung device requests, crashes at exit).
cmd_setup() {
    local force=$1 entry version
    if entry=$(entry_for_probe); then
        say "i386 programs already go to $(entry_interpreter "$entry") (entry $entry)"
        install_packages wine32:i386
    elif [ -z "$force" ] && probe_runs; then
        say "this kernel runs i386 programs natively: no emulation needed"
        install_packages wine32:i386
    else
        install_packages "${PACKAGES[@]}"
        mount_binfmt
        if entry=$(entry_for_probe); then
            say "i386 programs already go to $(entry_interpreter "$entry") (entry $entry)"
        else
            register_entry
        fi
    fi
    probe_runs || die "an i386 program still does not run"
    version=$("$WINE32" --version) || die "the 32-bit Wine loader does not start"
    say "ready: $version runs i386 programs"
}

cmd_teardown() {
    local entry mounted undone=
    # Only setup registers an entry by this name, so it goes even if build/ was wiped.
    entry=$(state_get entry)
    entry=${entry:-$ENTRY}
    mounted=$(state_get mounted)
    if [ -e "$BINFMT/$entry" ]; then
        echo -1 | "${SUDO[@]}" tee "$BINFMT/$entry" >/dev/null
        say "removed binfmt_misc entry $entry"
        undone=1
    fi
    if [ -n "$mounted" ] && mountpoint -q "$mounted"; then
        "${SUDO[@]}" umount "$mounted"
        say "unmounted $mounted"
        undone=1
    fi
    rm -f "$STATE"
    [ -n "$undone" ] || say "nothing to undo"
}

# Only an emulated i386 needs the reservation; natively it would be a stray variable.
cmd_env() {
    local entry
    entry=$(entry_for_probe) || return 0
    case $(entry_interpreter "$entry") in
        *qemu-i386*) echo "export QEMU_RESERVED_VA=$RESERVED_VA" ;;
    esac
}

case "${1:-}" in
    setup)
        case "${2:-}" in
            "") cmd_setup "" ;;
            --force) cmd_setup force ;;
            *) echo "usage: $0 setup [--force]" >&2; exit 2 ;;
        esac
        ;;
    teardown) cmd_teardown ;;
    env) cmd_env ;;
    *) echo "usage: $0 setup [--force]|teardown|env" >&2; exit 2 ;;
esac
