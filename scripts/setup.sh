#!/usr/bin/env bash
# Installs what is missing, from Debian's packages only. Safe to run again; on
# a machine that already has everything it only asks dpkg once.
# usage: scripts/setup.sh            what building and running the translator needs
#        scripts/setup.sh --unit     and what the test suites need (GoogleTest, ...)
#        scripts/setup.sh --tests    and what every test needs: clang for the fuzz
#                                    targets, chromium and Node.js for the page's test
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
level="${1:-}"
case "$level" in
  ""|--unit|--tests) ;;
  *) echo "usage: scripts/setup.sh [--unit|--tests]" >&2; exit 2 ;;
esac

# The translator: CLI11 reads its command line; nlohmann-json writes the
# page's answers, and the page shows Urdu in the Nastaliq font of fonts-noto-core;
# python3 rebuilds the data root (tools/sync_data.py).
packages=(cmake g++ make python3 libcli11-dev nlohmann-json3-dev fonts-noto-core)
# The test suites and benchmarks; xmllint checks the XML the program writes.
if [ -n "$level" ]; then
  packages+=(libgtest-dev googletest libbenchmark-dev libxml2-utils)
fi
# The fuzz targets (clang with its sanitizer runtimes) and the page's browser
# test in Debian's chromium.
if [ "$level" = "--tests" ]; then
  packages+=(clang libclang-rt-14-dev chromium)
fi

# One dpkg query for all: a package that is not installed prints no "ok installed".
mapfile -t installed < <(dpkg-query -W -f='${db:Status-Status} ${Package}\n' "${packages[@]}" 2>/dev/null \
                         | awk '$1 == "installed" { print $2 }')
missing=()
for p in "${packages[@]}"; do
  [[ " ${installed[*]} " == *" $p "* ]] || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}" >&2
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
[ "$level" = "--tests" ] || exit 0

# The page's browser test: Node.js 20 or newer and playwright-core as pinned by
# tests/web/package-lock.json, driving the chromium above (it never downloads a
# browser of its own). Debian 12's own Node.js is 18: stop at once and say how
# to get a newer one rather than fetch a binary from elsewhere.
node_major="$(node -p 'process.versions.node.split(".")[0]' 2>/dev/null || echo 0)"
if [ "$node_major" -lt 20 ]; then
  cat >&2 <<MSG
The page's browser test needs Node.js 20 or newer (found: $(node --version 2>/dev/null || echo none)).
Install it from your distribution's backports or NodeSource's Debian packages
(https://github.com/nodesource/distributions), put it first on the PATH, and
run scripts/test.sh again. Translating needs none of it: scripts/run.sh works without.
MSG
  exit 1
fi
if [ ! -d "$root/tests/web/node_modules/playwright-core" ]; then
  (cd "$root/tests/web" && PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund) >&2
fi
