#!/usr/bin/env bash
# Builds the translator and runs it with the repository's data root; a later
# --data-root on the command line wins.
# usage: scripts/run.sh [options] ["English sentence"]   (translator --help lists the options)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh" >&2
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" --target translator -j "$(nproc)" >/dev/null
exec "$root/build/app/translator" --data-root "$root/dataroot" "$@"
