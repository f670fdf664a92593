#!/usr/bin/env bash
# Builds and runs every test, in the normal build and in the build with
# AddressSanitizer and UndefinedBehaviorSanitizer, then runs the fuzz targets
# briefly. Fails when any test fails.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh" --tests

jobs="$(nproc)"
"$root/scripts/build.sh" "$root/build" -DLFG_BUILD_BENCH=ON -DLFG_WERROR=ON
ctest --test-dir "$root/build" --output-on-failure -j "$jobs"

"$root/scripts/build.sh" "$root/build-sanitize" -DLFG_SANITIZE=ON -DLFG_WERROR=ON
# The sanitizer run checks memory and undefined behaviour: the tests that only
# repeat the release build's figures or check data files are left out.
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir "$root/build-sanitize" --output-on-failure -j "$jobs" -LE release-only

# The fuzz targets, a fixed number of inputs each from their seeds (clang,
# with AddressSanitizer and UndefinedBehaviorSanitizer).
CXX=clang++ "$root/scripts/build.sh" "$root/build-fuzz" -DLFG_FUZZ=ON -DLFG_BUILD_TESTS=OFF -DLFG_WERROR=ON
ctest --test-dir "$root/build-fuzz" --output-on-failure -j "$jobs"
