#!/usr/bin/env bash
# Builds the .NET binding (clients/dotnet/Loomkeys.cs) on its own as a C# 7.3 library, then the
# test program that uses it, with the C# compiler of the .NET Core SDK for Windows
# (tools/dotnet-sdk.sh), and runs the program under Wine against the real Loomkeys.dll, which
# it loads from an add-in folder of its own.
#
# Usage: run-binding-test.sh LOOMKEYS_DLL WORK_FOLDER
set -euo pipefail
dll=$(realpath "$1")
work=$(realpath -m "$2")
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
sdk=$("$root/tools/dotnet-sdk.sh")
runtime_version=2.2.2
runtime=$sdk/shared/Microsoft.NETCore.App/$runtime_version
app=$work/app

rm -rf "$work"
mkdir -p "$app/addin"
cp "$dll" "$app/addin/Loomkeys.dll"

# Wine's drive Z: is the Unix root.
{
  echo "-nologo -nostdlib -deterministic -warnaserror+ -langversion:7.3"
  for reference in "$runtime"/System*.dll "$runtime"/mscorlib.dll "$runtime"/netstandard.dll \
    "$runtime"/Microsoft.Win32*.dll; do
    echo "-r:\"Z:$reference\""
  done
} >"$work/references.rsp"

csc() {
  "$root/tools/wine-run.sh" "$sdk/dotnet.exe" "Z:$sdk/sdk/2.2.104/Roslyn/bincore/csc.dll" -noconfig \
    "@Z:$work/references.rsp" "$@"
}

echo "== the binding as a library (C# 7.3, warnings and missing documentation are errors)"
csc -target:library "-out:Z:$app/LoomkeysBinding.dll" "-doc:Z:$work/LoomkeysBinding.xml" \
  "Z:$root/clients/dotnet/Loomkeys.cs"
echo "== the test program"
sources=()
for source in "$here"/*.cs; do sources+=("Z:$source"); done
csc -target:exe "-out:Z:$app/BindingTest.dll" "-r:Z:$app/LoomkeysBinding.dll" "${sources[@]}"
printf '{ "runtimeOptions": { "framework": { "name": "Microsoft.NETCore.App", "version": "%s" } } }\n' \
  "$runtime_version" >"$app/BindingTest.runtimeconfig.json"

echo "== the test program under Wine"
"$root/tools/wine-run.sh" "$sdk/dotnet.exe" "Z:$app/BindingTest.dll" "Z:$app/addin" "Z:$app/LoomkeysBinding.dll"
