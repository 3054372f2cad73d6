#!/usr/bin/env python3
"""Static checks of the built Loomkeys.dll: a 64-bit PE with exactly the
exports of loomkeys.def under their plain names, importing only system
DLLs, with a version resource of the project version (CMakeLists.txt)."""
import pathlib
import re
import struct
import subprocess
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "comctl32.dll", "ole32.dll", "oleaut32.dll",
               "shell32.dll", "advapi32.dll", "msvcrt.dll", "comdlg32.dll"}


def fail(message):
    print(f"check-deliverables: {message}")
    sys.exit(1)


def def_exports():
    text = (ROOT / "addin/win32/loomkeys.def").read_text()
    body = text.split("EXPORTS", 1)[1]
    return sorted(line.split()[0] for line in body.splitlines() if line.strip() and not line.strip().startswith(";"))


def project_version():
    text = (ROOT / "CMakeLists.txt").read_text()
    return re.search(r"^project\(Loomkeys VERSION ([0-9.]+)", text, re.M).group(1)


def fixed_file_version(data):
    at = data.find(struct.pack("<I", 0xFEEF04BD))
    if at < 0:
        fail("no version resource")
    ms, ls = struct.unpack_from("<II", data, at + 8)
    pms, pls = struct.unpack_from("<II", data, at + 16)
    as_text = lambda hi, lo: f"{hi >> 16}.{hi & 0xFFFF}.{lo >> 16}.{lo & 0xFFFF}"
    return as_text(ms, ls), as_text(pms, pls)


def main(dll):
    dump = subprocess.run(["x86_64-w64-mingw32-objdump", "-p", dll], capture_output=True, text=True,
                          check=True).stdout
    if "file format pei-x86-64" not in dump:
        fail("Loomkeys.dll is not a 64-bit PE")
    table = dump.split("[Ordinal/Name Pointer] Table", 1)
    exported = sorted(re.findall(r"^\s+\[\s*\d+\] (\w+)$", table[1], re.M)) if len(table) == 2 else []
    if exported != def_exports():
        fail(f"exports {exported} differ from loomkeys.def {def_exports()}")
    imports = {name.lower() for name in re.findall(r"DLL Name: (\S+)", dump)}
    if not imports <= SYSTEM_DLLS:
        fail(f"imports other than system DLLs: {sorted(imports - SYSTEM_DLLS)}")
    versions = fixed_file_version(pathlib.Path(dll).read_bytes())
    if versions != (project_version(), project_version()):
        fail(f"file and product version are {versions}, not {project_version()}")
    print(f"check-deliverables: Loomkeys.dll exports {len(exported)} functions by name: {' '.join(exported)}")


if __name__ == "__main__":
    main(sys.argv[1])
