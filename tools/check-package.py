#!/usr/bin/env python3
"""Checks the release package from the outside and unpacks it beside itself:
the zip holds exactly the files an add-in author is promised, each at the
commit's time; SHA256SUMS lists every file with its right checksum; the
shipped DLL has no symbols but names its symbol file with that file's
checksum; no file contains the folder it was built in; and the shipped DLL
and stub pass the deliverables' own checks.

Usage: check-package.py build/package/Loomkeys-<version>-win64.zip"""
import hashlib
import os
import pathlib
import re
import subprocess
import sys
import tempfile
import time
import zipfile

ROOT = pathlib.Path(__file__).resolve().parent.parent
FILES = [
    "README.txt",
    "SHA256SUMS",
    "bin/Loomkeys.dll",
    "bin/Stubwright.exe",
    "debug/Loomkeys.dll.debug",
    "dotnet/Loomkeys.cs",
    "include/loomkeys.h",
    "lib/Loomkeys.lib",
    "lib/cmake/Loomkeys/LoomkeysConfig.cmake",
    "lib/cmake/Loomkeys/LoomkeysConfigVersion.cmake",
    "lib/libLoomkeys.dll.a",
    "vba/Loomkeys.bas",
]
OBJDUMP = "x86_64-w64-mingw32-objdump"
OBJCOPY = "x86_64-w64-mingw32-objcopy"

failures = []


def check(passed, what):
    print(f"{'ok' if passed else 'FAILED':8} {what}")
    if not passed:
        failures.append(what)


def commit_time():
    epoch = os.environ.get("SOURCE_DATE_EPOCH") or subprocess.run(
        ["git", "-C", str(ROOT), "log", "-1", "--format=%ct"], capture_output=True, text=True, check=True).stdout
    stamp = time.gmtime(int(epoch))[:6]
    return stamp[:5] + (stamp[5] // 2 * 2,)  # a zip entry's time counts seconds in twos


def section_names(path):
    dump = subprocess.run([OBJDUMP, "-h", str(path)], capture_output=True, text=True, check=True).stdout
    return set(re.findall(r"^\s*\d+ (\S+)", dump, re.M))


def debug_link(dll):
    """The file name and CRC-32 that the DLL's .gnu_debuglink section holds."""
    with tempfile.TemporaryDirectory() as scratch:
        content = pathlib.Path(scratch, "debuglink")
        subprocess.run([OBJCOPY, f"--dump-section=.gnu_debuglink={content}", str(dll), str(pathlib.Path(scratch, "copy"))],
                       check=True, capture_output=True)
        data = content.read_bytes()
    name = data[:data.index(b"\0")].decode()
    return name, int.from_bytes(data[-4:], "little")


def main(archive):
    archive = pathlib.Path(archive)
    top = archive.name.removesuffix(".zip")
    with zipfile.ZipFile(archive) as zip_file:
        entries = zip_file.infolist()
        files = sorted(e.filename.removeprefix(f"{top}/") for e in entries if not e.is_dir())
        check(files == sorted(FILES), f"the zip holds exactly the {len(FILES)} files of the layout under {top}/")
        check({e.date_time for e in entries} == {commit_time()}, "every entry carries the commit's time")
        zip_file.extractall(archive.parent)
    package = archive.parent / top

    listed = {}
    for line in (package / "SHA256SUMS").read_text().splitlines():
        digest, name = line.split("  ", 1)
        listed[name] = digest
    actual = {name: hashlib.sha256((package / name).read_bytes()).hexdigest() for name in FILES if name != "SHA256SUMS"}
    check(listed == actual, "SHA256SUMS lists every other file with its SHA-256")

    dll = package / "bin/Loomkeys.dll"
    symbols = package / "debug/Loomkeys.dll.debug"
    check(not any(s.startswith(".debug") for s in section_names(dll)), "bin/Loomkeys.dll carries no symbols")
    check({".debug_info", ".debug_line"} <= section_names(symbols), "debug/Loomkeys.dll.debug holds the symbols")
    name, crc = debug_link(dll)
    check(name == "Loomkeys.dll.debug" and crc == zipfile.crc32(symbols.read_bytes()),
          "bin/Loomkeys.dll links to Loomkeys.dll.debug by name and checksum")

    build_folders = [str(ROOT).encode()]
    leaking = [name for name in FILES if any(f in (package / name).read_bytes() for f in build_folders)]
    check(not leaking, f"no file names the folder it was built in ({ROOT})" + (f": {leaking}" if leaking else ""))

    for command in ([sys.executable, ROOT / "tools/check-deliverables.py", dll],
                    [sys.executable, ROOT / "tools/check-stubwright.py", package / "bin/Stubwright.exe"]):
        result = subprocess.run([str(c) for c in command], capture_output=True, text=True)
        check(result.returncode == 0, f"{command[1].name} passes on the packaged {command[2].name}")
        if result.returncode != 0:
            print(result.stdout + result.stderr)

    print(f"check-package: {len(failures)} of the checks failed" if failures else f"check-package: {package} is complete")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
