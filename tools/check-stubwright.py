#!/usr/bin/env python3
"""Static checks of a built Stubwright.exe.

  check-stubwright.py FILE                the deliverable: a 32-bit (PE32,
                                          i386) GUI program, importing only
                                          system DLLs, with a version resource
                                          naming Stubwright 1.0.0.0, whose file
                                          ends where its last section ends
  check-stubwright.py --layout-only FILE  the last point alone (run after every
                                          link, for both architectures)

The stub takes the end of its last section for its own size and reads any
byte after it as a launcher's payload, so a bare stub must have none there
(no overlay, no symbol table)."""
import struct
import sys

SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "shell32.dll", "ole32.dll", "msvcrt.dll"}
MACHINE_I386 = 0x14C
PE32_MAGIC = 0x10B
SUBSYSTEM_WINDOWS_GUI = 2
RT_VERSION = 16
VERSION = "1.0.0.0"


class CheckFailed(Exception):
    pass


class PeFile:
    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise CheckFailed("no MZ header")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise CheckFailed("no PE signature")
        (self.machine, sections, _, self.symbol_table, _, optional_size, _) = struct.unpack_from(
            "<HHIIIHH", data, pe + 4)
        optional = pe + 24
        self.magic = struct.unpack_from("<H", data, optional)[0]
        self.subsystem = struct.unpack_from("<H", data, optional + 68)[0]
        directories = optional + (96 if self.magic == PE32_MAGIC else 112)
        self.directories = [struct.unpack_from("<II", data, directories + 8 * i) for i in range(16)]
        table = optional + optional_size
        self.sections = []
        for i in range(sections):
            virtual_size, rva, raw_size, raw_pointer = struct.unpack_from("<IIII", data, table + 40 * i + 8)
            self.sections.append((rva, max(virtual_size, raw_size), raw_pointer, raw_size))

    def end_of_last_section(self):
        return max(pointer + size for _, _, pointer, size in self.sections)

    def offset(self, rva):
        for start, length, pointer, _ in self.sections:
            if start <= rva < start + length:
                return rva - start + pointer
        raise CheckFailed(f"RVA {rva:#x} lies in no section")

    def imported_dlls(self):
        rva, _ = self.directories[1]
        names, at = [], self.offset(rva)
        while True:
            name_rva = struct.unpack_from("<I", self.data, at + 12)[0]
            if name_rva == 0:
                return names
            names.append(self.c_string(self.offset(name_rva)).lower())
            at += 20

    def c_string(self, at):
        return self.data[at:self.data.index(b"\0", at)].decode("ascii")

    def version_resource(self):
        rva, _ = self.directories[2]
        if rva == 0:
            raise CheckFailed("no resources")
        root = self.offset(rva)
        entry = self._find_entry(root, RT_VERSION)
        while entry & 0x80000000:  # name and language levels: take the first
            entry = self._first_entry(root + (entry & 0x7FFFFFFF))
        data_rva, size = struct.unpack_from("<II", self.data, root + entry)
        return self.data[self.offset(data_rva):self.offset(data_rva) + size]

    def _entries(self, directory):
        named, numbered = struct.unpack_from("<HH", self.data, directory + 12)
        return [struct.unpack_from("<II", self.data, directory + 16 + 8 * i) for i in range(named + numbered)]

    def _find_entry(self, directory, wanted):
        for name, target in self._entries(directory):
            if name == wanted:
                return target
        raise CheckFailed("no version resource")

    def _first_entry(self, directory):
        entries = self._entries(directory)
        if not entries:
            raise CheckFailed("empty resource directory")
        return entries[0][1]


def version_blocks(data, at=0):
    """Yields (key, value bytes, is_text, children offset range) of a
    VS_VERSIONINFO tree, depth first."""
    length, value_length, is_text = struct.unpack_from("<HHH", data, at)
    key_end = at + 6
    while data[key_end:key_end + 2] != b"\0\0":
        key_end += 2
    key = data[at + 6:key_end].decode("utf-16-le")
    value_at = (key_end + 2 + 3) & ~3
    value_size = value_length * 2 if is_text else value_length
    yield key, data[value_at:value_at + value_size], is_text
    child = (value_at + value_size + 3) & ~3
    while child < at + length:
        child_length = struct.unpack_from("<H", data, child)[0]
        if child_length == 0:
            break
        yield from version_blocks(data, child)
        child = (child + child_length + 3) & ~3


def check_version(resource):
    blocks = list(version_blocks(resource))
    if not blocks or blocks[0][0] != "VS_VERSION_INFO":
        raise CheckFailed("version resource without VS_VERSION_INFO")
    fixed = blocks[0][1]
    signature, _, file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<6I", fixed)
    if signature != 0xFEEF04BD:
        raise CheckFailed("version resource without VS_FIXEDFILEINFO")
    as_text = lambda hi, lo: f"{hi >> 16}.{hi & 0xFFFF}.{lo >> 16}.{lo & 0xFFFF}"
    if (as_text(file_ms, file_ls), as_text(product_ms, product_ls)) != (VERSION, VERSION):
        raise CheckFailed(f"fixed file/product version {as_text(file_ms, file_ls)}/"
                          f"{as_text(product_ms, product_ls)}, not {VERSION}")
    strings = {key: value.decode("utf-16-le").rstrip("\0") for key, value, is_text in blocks[1:] if is_text}
    wanted = {"ProductName": "Stubwright", "InternalName": "Stubwright", "FileVersion": VERSION,
              "ProductVersion": VERSION}
    for key, value in wanted.items():
        if strings.get(key) != value:
            raise CheckFailed(f"version string {key} is {strings.get(key)!r}, not {value!r}")


def check_layout(pe, size):
    end = pe.end_of_last_section()
    if size != end:
        raise CheckFailed(f"file size {size} differs from the end of the last section {end} "
                          "(a launcher's payload would start there)")
    if pe.symbol_table:
        raise CheckFailed("the file keeps a symbol table; link it stripped (-s)")


def check_deliverable(pe):
    if pe.magic != PE32_MAGIC or pe.machine != MACHINE_I386:
        raise CheckFailed(f"not a 32-bit i386 PE32 (machine {pe.machine:#x}, magic {pe.magic:#x})")
    if pe.subsystem != SUBSYSTEM_WINDOWS_GUI:
        raise CheckFailed(f"subsystem {pe.subsystem}, not the GUI subsystem")
    foreign = set(pe.imported_dlls()) - SYSTEM_DLLS
    if foreign:
        raise CheckFailed(f"imports other than system DLLs: {sorted(foreign)}")
    check_version(pe.version_resource())


def main(arguments):
    layout_only = arguments[:1] == ["--layout-only"]
    path = arguments[-1]
    data = open(path, "rb").read()
    try:
        pe = PeFile(data)
        check_layout(pe, len(data))
        if not layout_only:
            check_deliverable(pe)
    except (CheckFailed, struct.error, ValueError) as problem:
        print(f"check-stubwright: {path}: {problem}")
        return 1
    if not layout_only:
        print(f"check-stubwright: {path}: PE32 i386 GUI, {len(data)} bytes ending at its last section, "
              f"version {VERSION}, imports {' '.join(sorted(pe.imported_dlls()))}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
