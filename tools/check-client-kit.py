#!/usr/bin/env python3
"""Checks that the three descriptions of Loomkeys.dll's exports agree:
loomkeys.def (what the DLL exports), loomkeys.h (C and C++ clients) and
Loomkeys.bas (VBA clients). Every export of the .def must be declared in both
with the same number of parameters, each parameter of the same kind (16-bit,
32-bit, address), a Sub in VBA exactly where C returns void, and neither may
declare a function of the DLL that the .def does not export.

Usage: check-client-kit.py [DEF HEADER BAS]   (default: the repository's)"""
import pathlib
import re
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
DEFAULT_PATHS = (ROOT / "addin/win32/loomkeys.def", ROOT / "addin/include/loomkeys.h",
                 ROOT / "clients/vba/Loomkeys.bas")

# A parameter's kind: what travels in its register or stack slot.
U16, U32, ADDRESS, UTF16_ADDRESS, VOID = "16-bit", "32-bit", "address", "UTF-16 address", "nothing"
C_HANDLE_TYPES = {"TShortcutCallbackFunc", "TUIDataHandle", "TUIProviderHandle"}


class Declaration:
    def __init__(self, result, parameters):
        self.result = result  # a kind, VOID for a procedure without result
        self.parameters = parameters  # list of (name, kind)


def def_exports(text):
    body = text.split("EXPORTS", 1)[1] if "EXPORTS" in text else ""
    names = []
    for line in body.splitlines():
        line = line.split(";", 1)[0].strip()
        if line:
            names.append(re.split(r"[\s=@]", line, 1)[0])
    return names


def split_parameters(text):
    """Splits a parameter list at its top-level commas."""
    parts, depth, current = [], 0, ""
    for ch in text:
        if ch in "(<":
            depth += 1
        elif ch in ")>":
            depth -= 1
        if ch == "," and depth == 0:
            parts.append(current.strip())
            current = ""
        else:
            current += ch
    if current.strip():
        parts.append(current.strip())
    return parts


def c_kind(declaration):
    """The kind of a C parameter or result type (name included or not)."""
    declaration = declaration.strip()
    if "wchar_t" in declaration and "*" in declaration:
        return UTF16_ADDRESS
    if "*" in declaration or "(" in declaration:
        return ADDRESS
    words = re.findall(r"\w+", declaration)
    if any(word in C_HANDLE_TYPES for word in words):
        return ADDRESS
    if "uint16_t" in words or "int16_t" in words:
        return U16
    if "uint32_t" in words or "int32_t" in words:
        return U32
    if words == ["void"]:
        return VOID
    raise ValueError(f"unknown C type in '{declaration}'")


def c_parameter_name(declaration):
    words = re.findall(r"\w+", declaration)
    return words[-1] if len(words) > 1 else ""


def header_declarations(text):
    text = re.sub(r"/\*.*?\*/", " ", text, flags=re.S)
    text = re.sub(r"//[^\n]*", " ", text)
    declarations = {}
    pattern = r"LOOMKEYS_API\s+([^;]*?)\s*LOOMKEYS_CALL\s+(\w+)\s*\(([^;]*)\)\s*;"
    for result, name, parameters in re.findall(pattern, text, flags=re.S):
        items = [] if parameters.strip() in ("", "void") else split_parameters(parameters)
        declarations.setdefault(name, []).append(
            Declaration(c_kind(result), [(c_parameter_name(p), c_kind(p)) for p in items]))
    return declarations


def vba_kind(parameter):
    """The kind that a VBA Declare parameter passes."""
    words = parameter.split()
    by_value = words[0].lower() == "byval"
    type_name = words[-1].lower() if len(words) >= 3 and words[-2].lower() == "as" else "variant"
    if not by_value or type_name in ("longptr", "string"):
        return ADDRESS, type_name
    if type_name == "integer":
        return U16, type_name
    if type_name == "long":
        return U32, type_name
    raise ValueError(f"unknown VBA type in '{parameter}'")


def vba_declarations(text, problems):
    text = re.sub(r" _\r?\n\s*", " ", text)  # line continuations
    declarations = {}
    pattern = (r'^[ \t]*(?:(?:Public|Private)[ \t]+)?Declare[ \t]+(PtrSafe[ \t]+)?(Function|Sub)[ \t]+(\w+)[ \t]+'
               r'Lib[ \t]+"([^"]+)"[ \t]*(?:Alias[ \t]+"([^"]+)"[ \t]*)?\(([^)]*)\)[ \t]*(?:As[ \t]+(\w+))?')
    for match in re.finditer(pattern, text, flags=re.M | re.I):
        ptr_safe, kind, name, library, alias, parameters, result = match.groups()
        if library.lower() not in ("loomkeys.dll", "loomkeys"):
            continue
        export = alias or name
        if not ptr_safe:
            problems.append(f"Loomkeys.bas: {export} is declared without PtrSafe, which 64-bit Office needs")
        parsed = []
        for parameter in split_parameters(parameters):
            words = parameter.split()
            if words[0].lower() not in ("byval", "byref"):
                words.insert(0, "ByRef")  # VBA's default
            parsed.append((words[1], vba_kind(" ".join(words))))
        if kind.lower() == "sub":
            result_kind = VOID
        else:
            result_kind = {"long": U32, "longptr": ADDRESS}.get((result or "variant").lower(), "other")
        declarations.setdefault(export, []).append((Declaration(result_kind, parsed)))
    return declarations


def compare(export, header, vba, problems):
    c_params, vba_params = header.parameters, vba.parameters
    if len(c_params) != len(vba_params):
        problems.append(f"{export}: {len(c_params)} parameters in loomkeys.h, {len(vba_params)} in Loomkeys.bas")
        return
    if (header.result == VOID) != (vba.result == VOID):
        problems.append(f"{export}: loomkeys.h returns {header.result}, Loomkeys.bas declares a "
                        f"{'Sub' if vba.result == VOID else 'Function'}")
    elif header.result != vba.result:
        problems.append(f"{export}: result is {header.result} in loomkeys.h, {vba.result} in Loomkeys.bas")
    for position, ((c_name, c_kind_), (vba_name, (vba_kind_, vba_type))) in enumerate(zip(c_params, vba_params), 1):
        if c_kind_ == UTF16_ADDRESS:
            if vba_type == "string":
                problems.append(f"{export}: parameter {position} ({c_name}) is UTF-16 text; VBA would pass a "
                                f"String as ANSI: declare it ByVal As LongPtr and pass StrPtr")
            continue
        if c_kind_ != vba_kind_:
            problems.append(f"{export}: parameter {position} ({c_name}) is {c_kind_} in loomkeys.h, "
                            f"{vba_kind_} in Loomkeys.bas ({vba_name})")


def check(def_path, header_path, bas_path):
    problems = []
    exports = def_exports(pathlib.Path(def_path).read_text())
    header = header_declarations(pathlib.Path(header_path).read_text())
    vba = vba_declarations(pathlib.Path(bas_path).read_text(encoding="latin-1"), problems)
    for export in sorted(set(e for e in exports if exports.count(e) > 1)):
        problems.append(f"loomkeys.def exports {export} more than once")
    for source, declarations in (("loomkeys.h", header), ("Loomkeys.bas", vba)):
        for name, found in sorted(declarations.items()):
            if len(found) > 1:
                problems.append(f"{source} declares {name} {len(found)} times")
            if name not in exports:
                problems.append(f"{source} declares {name}, which loomkeys.def does not export")
        for export in exports:
            if export not in declarations:
                problems.append(f"{source} does not declare {export}, which loomkeys.def exports")
    for export in exports:
        if export in header and export in vba:
            compare(export, header[export][0], vba[export][0], problems)
    return exports, problems


def main(argv):
    paths = argv[1:] if len(argv) == 4 else DEFAULT_PATHS
    try:
        exports, problems = check(*paths)
    except ValueError as error:
        exports, problems = [], [str(error)]
    for problem in problems:
        print(f"check-client-kit: {problem}")
    if problems:
        return 1
    print(f"check-client-kit: loomkeys.def, loomkeys.h and Loomkeys.bas agree on {len(exports)} exports")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
