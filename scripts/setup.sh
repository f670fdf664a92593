#!/usr/bin/env bash
# Installs what the build and the tests need, when it is missing. Safe to run
# again; it installs nothing on a machine that already has everything.
set -euo pipefail

# python3 runs the data checks (sync_data.py, build_transition_table.py);
# clang builds the fuzz targets; CLI11 reads the translator's command line;
# cpp-httplib and nlohmann-json serve the page, which the browser test opens
# in Debian's chromium with the Nastaliq font of fonts-noto-core.
packages=(cmake g++ make libgtest-dev googletest libbenchmark-dev libxml2-utils python3 clang libclang-rt-14-dev
          libcli11-dev libcpp-httplib-dev nlohmann-json3-dev chromium fonts-noto-core)
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi

# The page's browser test: Node.js 20 or newer, and playwright-core as pinned
# by tests/web/package-lock.json. It drives the chromium above and never
# downloads a browser of its own.
node_major="$(node -p 'process.versions.node.split(".")[0]' 2>/dev/null || echo 0)"
if [ "$node_major" -lt 20 ]; then
  echo "Node.js 20 or newer is needed for the page's browser test (found: $(node --version 2>/dev/null || echo none))" >&2
  exit 1
fi
root="$(cd "$(dirname "$0")/.." && pwd)"
if [ ! -d "$root/tests/web/node_modules/playwright-core" ]; then
  (cd "$root/tests/web" && PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund)
fi
