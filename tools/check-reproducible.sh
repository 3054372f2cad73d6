#!/usr/bin/env bash
# Proves that the release package is reproducible: builds it twice from the
# checked-out commit (git archive, so uncommitted changes are left out), in
# two folders of different names under build/reproducible/, and requires
# byte-identical Loomkeys.dll (as linked, with its symbols), Stubwright.exe
# and zip. Prints their SHA-256s. About 2 minutes on 2 cores (3 when the
# machine is busy).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

"$root/tools/setup.sh"
commit=$(git rev-parse HEAD)
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct "$commit")
export SOURCE_DATE_EPOCH
out=build/reproducible
copies=(first second-copy)
rm -rf "$out"
for copy in "${copies[@]}"; do
  echo "== package of $commit built in $out/$copy"
  mkdir -p "$out/$copy"
  git archive "$commit" | tar -x -C "$out/$copy"
  "$out/$copy/tools/package.sh" >/dev/null
done

name=$(cat "$out/${copies[0]}/build/win64/package/name.txt")
status=0
for file in build/win64/bin/Loomkeys.dll build/win32/bin/Stubwright.exe "build/package/$name.zip"; do
  for copy in "${copies[@]}"; do sha256sum "$out/$copy/$file"; done
  if cmp -s "$out/${copies[0]}/$file" "$out/${copies[1]}/$file"; then
    echo "same bytes: $(basename "$file")"
  else
    echo "DIFFERENT: $(basename "$file")"
    status=1
  fi
done
exit $status
