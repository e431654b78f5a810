#!/usr/bin/env bash
# Builds and runs the benchmarks under the Wine rig (win64 unless
# TARVO_FLAVOUR says otherwise) and prints their figures.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"
FLAVOUR=${TARVO_FLAVOUR:-win64}
scripts/setup.sh >/dev/null
if ! scripts/wine-rig.sh running; then
    scripts/wine-rig.sh start
    trap 'scripts/wine-rig.sh stop' EXIT
fi
for bench in build/"$FLAVOUR"/bin/*_bench.exe; do
    echo "== $(basename "$bench" .exe) ($FLAVOUR)"
    scripts/wine-rig.sh exec "$bench"
done
