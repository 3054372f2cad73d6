#!/usr/bin/env python3
"""Zips a folder so that the same files always give the same bytes: the
folder itself is the archive's one top-level entry, entries come in sorted
order, every entry has the time SOURCE_DATE_EPOCH (the commit's time, in
UTC), fixed permissions and no extra fields.

Usage: make-package-zip.py FOLDER ARCHIVE.zip"""
import os
import pathlib
import sys
import time
import zipfile

ZIP_EARLIEST = 315532800  # 1980-01-01, the first time a zip entry can hold


def entry(name, epoch, mode):
    info = zipfile.ZipInfo(name, time.gmtime(max(epoch, ZIP_EARLIEST))[:6])
    info.create_system = 3  # Unix, so that unzip applies the permissions below
    info.external_attr = mode << 16
    if not name.endswith("/"):
        info.compress_type = zipfile.ZIP_DEFLATED
    return info


def main(folder, archive):
    epoch = int(os.environ["SOURCE_DATE_EPOCH"])
    root = pathlib.Path(folder)
    names = {path: f"{root.name}/{path.relative_to(root).as_posix()}" + ("/" if path.is_dir() else "")
             for path in root.rglob("*")}
    partial = pathlib.Path(archive + ".partial")
    with zipfile.ZipFile(partial, "w") as zip_file:
        zip_file.writestr(entry(f"{root.name}/", epoch, 0o40755), b"")
        for path, name in sorted(names.items(), key=lambda item: item[1]):
            if path.is_dir():
                zip_file.writestr(entry(name, epoch, 0o40755), b"")
            else:
                zip_file.writestr(entry(name, epoch, 0o100644), path.read_bytes(), compresslevel=9)
    partial.replace(archive)


if __name__ == "__main__":
    main(*sys.argv[1:])
