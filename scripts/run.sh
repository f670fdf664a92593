#!/usr/bin/env bash
# Builds the translator and runs it with the repository's data root; a later
# --data-root on the command line wins.
# usage: scripts/run.sh [options] ["English sentence"]   (translator --help lists the options)
#        scripts/run.sh --check    the end-to-end translation checks only
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
# The end-to-end checks: the core services over a data root, the English
# analysis of the shipped sentences, and the translation chain (parse, map,
# generate) of the sentences the translator must get right, with the
# dev-file measure.
if [ "${1:-}" = "--check" ]; then
  "$root/scripts/setup.sh" --unit >&2
  "$root/scripts/build.sh" "$root/build" >/dev/null
  exec ctest --test-dir "$root/build" --output-on-failure -V -R 'Smoke\.|CfgShippedSentences\.|ShippedChainTest\.'
fi

# Only what building and running the translator needs. A tree configured once
# is left to `cmake --build`, which configures again by itself when a
# CMakeLists.txt changed; so a second call starts translating at once.
"$root/scripts/setup.sh" >&2
if [ ! -f "$root/build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$root/build" --target translator -j "$(nproc)" >/dev/null
exec "$root/build/app/translator" --data-root "$root/dataroot" "$@"
