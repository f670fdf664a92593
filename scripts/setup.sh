#!/usr/bin/env bash
# Installs what the build and the tests need, when it is missing. Safe to run
# again; it installs nothing on a machine that already has everything.
set -euo pipefail

packages=(cmake g++ make libgtest-dev googletest libbenchmark-dev libxml2-utils clang libclang-rt-14-dev python3 libcli11-dev)
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
