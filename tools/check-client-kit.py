#!/usr/bin/env python3
"""Checks that the four descriptions of Loomkeys.dll's exports agree:
loomkeys.def (what the DLL exports), loomkeys.h (C and C++ clients),
Loomkeys.bas (VBA clients) and Loomkeys.cs (.NET clients). Every export of the
.def must be declared in each with the same number of parameters, each
parameter of the same kind (16-bit, 32-bit, address), a Sub in VBA exactly
where C returns void, and none may declare a function of the DLL that the .def
does not export. The .NET declarations must also have the header's exact
types: signed or unsigned as in C, out or ref for a pointer to a number, the
character set of each string, and stdcall.

Usage: check-client-kit.py [DEF HEADER BAS CS]   (default: the repository's)"""
import pathlib
import re
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
DEFAULT_PATHS = (ROOT / "addin/win32/loomkeys.def", ROOT / "addin/include/loomkeys.h",
                 ROOT / "clients/vba/Loomkeys.bas", ROOT / "clients/dotnet/Loomkeys.cs")

# A parameter's kind: what travels in its register or stack slot.
U16, U32, ADDRESS, UTF16_ADDRESS, VOID = "16-bit", "32-bit", "address", "UTF-16 address", "nothing"
C_HANDLE_TYPES = {"TShortcutCallbackFunc", "TUIDataHandle", "TUIProviderHandle"}


class Declaration:
    def __init__(self, result, parameters, c_types=None):
        self.result = result  # a kind, VOID for a procedure without result
        self.parameters = parameters  # list of (name, kind)
        self.c_types = c_types  # the header's: the result's C type, then each parameter's


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


def c_type(declaration, named):
    """A C type without const, struct and the parameter's name: "char*", "uint16_t"."""
    words = re.findall(r"\w+|\*", declaration)
    if named:
        words = words[:-1]
    return "".join(word for word in words if word not in ("const", "struct"))


def header_declarations(text):
    text = re.sub(r"/\*.*?\*/", " ", text, flags=re.S)
    text = re.sub(r"//[^\n]*", " ", text)
    declarations = {}
    pattern = r"LOOMKEYS_API\s+([^;]*?)\s*LOOMKEYS_CALL\s+(\w+)\s*\(([^;]*)\)\s*;"
    for result, name, parameters in re.findall(pattern, text, flags=re.S):
        items = [] if parameters.strip() in ("", "void") else split_parameters(parameters)
        declarations.setdefault(name, []).append(
            Declaration(c_kind(result), [(c_parameter_name(p), c_kind(p)) for p in items],
                        [c_type(result, False)] + [c_type(p, True) for p in items]))
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


class DotNetImport:
    def __init__(self, result, parameters, char_set, calling_convention):
        self.result = result  # the C# result type
        self.parameters = parameters  # list of (name, modifier, type, attributes)
        self.char_set = char_set  # "Ansi" or "Unicode": how a string without MarshalAs travels
        self.calling_convention = calling_convention


def dotnet_source(text):
    """The C# text without comments (this file has no "//" inside strings)."""
    text = re.sub(r"/\*.*?\*/", " ", text, flags=re.S)
    return re.sub(r"//[^\n]*", " ", text)


def dotnet_imports(text):
    """The DllImport declarations of Loomkeys.dll in a C# file, by export name."""
    constants = dict(re.findall(r'const\s+string\s+(\w+)\s*=\s*"([^"]*)"', text))
    pattern = (r"\[\s*DllImport\s*\(([^)]*)\)\s*\]\s*(?:\[[^\]]*\]\s*)*((?:\w+\s+)*?)extern\s+([\w.\[\]]+)\s+"
               r"(\w+)\s*\((.*?)\)\s*;")
    imports = {}
    for arguments, _, result, name, parameters in re.findall(pattern, text, flags=re.S):
        library, _, options = arguments.partition(",")
        library = library.strip()
        library = library[1:-1] if library.startswith('"') else constants.get(library, library)
        if library.lower() not in ("loomkeys.dll", "loomkeys"):
            continue
        option = dict((key.strip(), value.strip()) for key, _, value in
                      (item.partition("=") for item in split_parameters(options)))
        export = option.get("EntryPoint", name).strip('"')
        parsed = []
        for parameter in split_parameters(parameters):
            attributes = " ".join(re.findall(r"\[([^\]]*)\]", re.sub(r"\w+\s*\[\s*\]", "", parameter)))
            words = re.sub(r"^(\s*\[[^\]]*\])*", "", parameter).split()
            modifier = words.pop(0) if words[0] in ("out", "ref", "in") else ""
            parsed.append((words[-1], modifier, " ".join(words[:-1]).replace(" ", ""), attributes))
        char_set = option.get("CharSet", "CharSet.Ansi").split(".")[-1]
        convention = option.get("CallingConvention", "CallingConvention.Winapi").split(".")[-1]
        imports.setdefault(export, []).append(DotNetImport(result, parsed, char_set, convention))
    return imports


def header_shortcut_callback(text):
    """The C types of TShortcutCallbackFunc's parameters."""
    match = re.search(r"typedef\s+void\s*\(\s*LOOMKEYS_CALL\s*\*\s*TShortcutCallbackFunc\s*\)\s*\(([^;]*)\)\s*;", text)
    return [c_type(p, True) for p in split_parameters(match.group(1))] if match else []


def dotnet_shortcut_delegates(text, callback_types):
    """The stdcall delegate types of the C# file that fit TShortcutCallbackFunc. Its two strings
    are counted and doubled, so they must arrive as IntPtr: marshalled as a string they would
    read up to the zero, the text twice."""
    pattern = (r"\[\s*UnmanagedFunctionPointer\s*\(\s*CallingConvention\.(\w+)[^\]]*\]\s*(?:\w+\s+)*?"
               r"delegate\s+void\s+(\w+)\s*\(([^)]*)\)")
    fitting = set()
    for convention, name, parameters in re.findall(pattern, text):
        declared = [parameter.split()[:-1] for parameter in split_parameters(parameters)]
        declared = [("", words[0]) if len(words) == 1 else (words[0], words[1]) for words in declared]
        wanted = [{("", "IntPtr")} if c == "wchar_t*" else dotnet_expected(c, set(), set()) for c in callback_types]
        if convention in ("StdCall", "Winapi") and len(declared) == len(wanted) and all(
                parameter in expected for parameter, expected in zip(declared, wanted)):
            fitting.add(name)
    return fitting


def dotnet_structs(text):
    return set(re.findall(r"\bstruct\s+(\w+)", text))


def dotnet_expected(c_type_name, delegates, structs):
    """The (modifier, C# type) pairs that pass a parameter or result of this C type exactly."""
    numbers = {"uint16_t": "ushort", "uint32_t": "uint", "int32_t": "int"}
    if c_type_name in numbers:
        return {("", numbers[c_type_name])}
    if c_type_name.endswith("*") and c_type_name[:-1] in numbers:
        return {(modifier, numbers[c_type_name[:-1]]) for modifier in ("out", "ref")}
    if c_type_name in ("char*", "wchar_t*"):
        return {("", "string")}
    if c_type_name == "void":
        return {("", "void")}
    if c_type_name == "void*":
        return {("", "byte[]"), ("", "IntPtr")}
    if c_type_name == "TShortcutCallbackFunc":
        return {("", "IntPtr")} | {("", name) for name in delegates}
    if c_type_name in ("TUIDataHandle", "TUIProviderHandle"):
        return {("", "IntPtr")}
    if c_type_name == "TUIProviderHandle*":
        return {("out", "IntPtr"), ("ref", "IntPtr")}
    if c_type_name == "TUIProvider*":
        return {("", "IntPtr")} | {(modifier, name) for name in structs for modifier in ("ref", "in")}
    if c_type_name == "tagVARIANT*":
        return {("", "IntPtr"), ("ref", "object")}
    raise ValueError(f"no .NET type is known for the C type '{c_type_name}'")


def compare_dotnet(export, header, declared, delegates, structs, problems):
    where = f"{export} in Loomkeys.cs"
    if declared.calling_convention not in ("StdCall", "Winapi"):
        problems.append(f"{where}: calling convention {declared.calling_convention}; the library's is stdcall")
    c_params = header.c_types[1:]
    if len(c_params) != len(declared.parameters):
        problems.append(f"{where}: {len(declared.parameters)} parameters, {len(c_params)} in loomkeys.h")
        return
    if ("", declared.result) not in dotnet_expected(header.c_types[0], delegates, structs):
        problems.append(f"{where}: result {declared.result}, but loomkeys.h returns {header.c_types[0]}")
    for position, (c_name, (name, modifier, type_name, attributes)) in enumerate(
            zip(c_params, declared.parameters), 1):
        expected = dotnet_expected(c_name, delegates, structs)
        if c_name == "TShortcutCallbackFunc" and (modifier, type_name) not in expected and type_name != "IntPtr":
            problems.append(f"{where}: parameter {position} ({name}) is the delegate {type_name}, which does not "
                            f"fit TShortcutCallbackFunc: stdcall, IntPtr for the two counted strings, the header's "
                            f"exact number types")
        elif (modifier, type_name) not in expected:
            wanted = " or ".join(sorted(f"{m} {t}".strip() for m, t in expected))
            problems.append(f"{where}: parameter {position} ({name}) is '{f'{modifier} {type_name}'.strip()}', "
                            f"but loomkeys.h has {c_name}: declare it {wanted}")
        elif c_name == "tagVARIANT*" and type_name == "object" and "UnmanagedType.Struct" not in attributes:
            problems.append(f"{where}: parameter {position} ({name}) must travel as a VARIANT: "
                            f"[MarshalAs(UnmanagedType.Struct)] ref object")
        if type_name == "string":
            marshal = re.search(r"UnmanagedType\.(\w+)", attributes)
            char_set = {"LPStr": "Ansi", "LPWStr": "Unicode"}.get(marshal.group(1) if marshal else "", declared.char_set)
            wanted = "Unicode" if c_name == "wchar_t*" else "Ansi"
            if char_set != wanted:
                problems.append(f"{where}: parameter {position} ({name}) is {c_name} in loomkeys.h, "
                                f"but travels as {char_set} text: use CharSet.{wanted}")


def check(def_path, header_path, bas_path, cs_path):
    problems = []
    exports = def_exports(pathlib.Path(def_path).read_text())
    header_text = pathlib.Path(header_path).read_text()
    header = header_declarations(header_text)
    vba = vba_declarations(pathlib.Path(bas_path).read_text(encoding="latin-1"), problems)
    cs_text = dotnet_source(pathlib.Path(cs_path).read_text(encoding="utf-8"))
    dotnet = dotnet_imports(cs_text)
    shortcut_delegates = dotnet_shortcut_delegates(cs_text, header_shortcut_callback(header_text))
    for export in sorted(set(e for e in exports if exports.count(e) > 1)):
        problems.append(f"loomkeys.def exports {export} more than once")
    for source, declarations in (("loomkeys.h", header), ("Loomkeys.bas", vba), ("Loomkeys.cs", dotnet)):
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
        if export in header and export in dotnet:
            compare_dotnet(export, header[export][0], dotnet[export][0], shortcut_delegates,
                           dotnet_structs(cs_text), problems)
    return exports, problems


def main(argv):
    paths = argv[1:] if len(argv) == 5 else DEFAULT_PATHS
    try:
        exports, problems = check(*paths)
    except ValueError as error:
        exports, problems = [], [str(error)]
    for problem in problems:
        print(f"check-client-kit: {problem}")
    if problems:
        return 1
    print(f"check-client-kit: loomkeys.def, loomkeys.h, Loomkeys.bas and Loomkeys.cs agree on {len(exports)} exports")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
