#!/usr/bin/env python3
"""The client-kit check fails when loomkeys.def, loomkeys.h, Loomkeys.bas or
Loomkeys.cs is changed alone, and passes on the repository's four files."""
import importlib.util
import pathlib
import shutil
import tempfile
import unittest

TOOLS = pathlib.Path(__file__).resolve().parent
spec = importlib.util.spec_from_file_location("check_client_kit", TOOLS / "check-client-kit.py")
check_client_kit = importlib.util.module_from_spec(spec)
spec.loader.exec_module(check_client_kit)

DEF, HEADER, BAS, CS = check_client_kit.DEFAULT_PATHS

# (what changes, file, text replaced, replacement): each one alone must fail.
MUTATIONS = [
    ("an export added to the .def alone", DEF, "  UnloadNamespace\n", "  UnloadNamespace\n  UnloadAll\n"),
    ("an export dropped from the .def alone", DEF, "  NamespaceRename\n", ""),
    ("a parameter added in the header alone", HEADER,
     "UnregisterShortcut(uint32_t uShortcutId);", "UnregisterShortcut(uint32_t uShortcutId, uint32_t uFlags);"),
    ("a declaration dropped from the header alone", HEADER,
     "LOOMKEYS_API uint32_t LOOMKEYS_CALL GetShortcutCount(const char* lpNamespace);", ""),
    ("a function declared in the header that the DLL does not export", HEADER,
     "#ifdef __cplusplus\n}", "LOOMKEYS_API void LOOMKEYS_CALL ResetAll(void);\n#ifdef __cplusplus\n}"),
    ("a parameter's width changed in the header alone", HEADER,
     "UnregisterShortcut(uint32_t uShortcutId);", "UnregisterShortcut(uint16_t uShortcutId);"),
    ("a parameter dropped in the VBA module alone", BAS,
     "(ByVal lpNamespace As String, _\n    ByVal uIndex As Long, ByRef lpSize As Long) As Long",
     "(ByVal lpNamespace As String, _\n    ByVal uIndex As Long) As Long"),
    ("a declaration dropped from the VBA module alone", BAS,
     'Public Declare PtrSafe Sub DestroyUIData Lib "Loomkeys.dll" (ByVal uiData As LongPtr)\n', ""),
    ("a function declared in the VBA module that the DLL does not export", BAS,
     "' ---- Helpers", 'Public Declare PtrSafe Sub ResetAll Lib "Loomkeys.dll" ()\n\' ---- Helpers'),
    ("a 16-bit parameter declared as Long in the VBA module", BAS,
     "ByVal uVirtualKey As Integer, ByVal uShiftKeys As Integer, ByVal uActiveMode As Integer, _",
     "ByVal uVirtualKey As Long, ByVal uShiftKeys As Integer, ByVal uActiveMode As Integer, _"),
    ("UTF-16 text declared as a VBA String", BAS, "ByVal lpCategory As LongPtr, ByVal lpName As LongPtr, ByRef",
     "ByVal lpCategory As String, ByVal lpName As LongPtr, ByRef"),
    ("an out-parameter passed by value in the VBA module", BAS, "ByRef lpShortcutId As Long) As Long\n' RegisterShortcut2",
     "ByVal lpShortcutId As Long) As Long\n' RegisterShortcut2"),
    ("a Sub declared as a Function in the VBA module", BAS,
     'Public Declare PtrSafe Sub UnloadNamespace Lib "Loomkeys.dll" (ByVal lpNamespace As String)',
     'Public Declare PtrSafe Function UnloadNamespace Lib "Loomkeys.dll" (ByVal lpNamespace As String) As Long'),
    ("a declaration without PtrSafe in the VBA module", BAS,
     "Public Declare PtrSafe Function UnregisterUIProvider", "Public Declare Function UnregisterUIProvider"),
    ("a declaration dropped from the .NET binding alone", CS,
     "public static extern void ShowAboutBox();", "public static void ShowAboutBox() { }"),
    ("a function imported in the .NET binding that the DLL does not export", CS,
     "public static extern void ShowAboutBox();",
     "public static extern void ShowAboutBox();\n[DllImport(LibraryName)] public static extern void ResetAll();"),
    ("an import's entry point renamed in the .NET binding", CS,
     "CallingConvention.StdCall, ExactSpelling = true)]\n        public static extern void ShowAboutBox();",
     "CallingConvention.StdCall, ExactSpelling = true, EntryPoint = \"ShowAbout\")]\n"
     "        public static extern void ShowAboutBox();"),
    ("a parameter dropped in the .NET binding alone", CS,
     "GetNamespaceData(string lpNamespace, [Out] byte[] lpBuffer, ref uint lpSize);",
     "GetNamespaceData(string lpNamespace, [Out] byte[] lpBuffer);"),
    ("an unsigned 32-bit id declared as int in the .NET binding", CS,
     "UnregisterShortcut(uint uShortcutId);", "UnregisterShortcut(int uShortcutId);"),
    ("an unsigned 32-bit out-value declared as int in the .NET binding", CS,
     "GetShortcutDataSize(string lpNamespace, uint uIndex, out uint lpSize);",
     "GetShortcutDataSize(string lpNamespace, uint uIndex, out int lpSize);"),
    ("an out-value passed by value in the .NET binding", CS,
     "GetShortcutInfoByShortcutId(uint uShortcutId, out ushort lpVirtualKey,",
     "GetShortcutInfoByShortcutId(uint uShortcutId, ushort lpVirtualKey,"),
    ("a 16-bit key declared as 32-bit in the .NET binding", CS,
     "GetCommand(IntPtr uiData, string lpCategory, string lpName, out ushort lpVirtualKey,",
     "GetCommand(IntPtr uiData, string lpCategory, string lpName, out uint lpVirtualKey,"),
    ("UTF-16 text imported with the ANSI character set", CS,
     "CharSet = CharSet.Unicode, ExactSpelling = true)]\n        public static extern int AddCommand2(",
     "CharSet = CharSet.Ansi, ExactSpelling = true)]\n        public static extern int AddCommand2("),
    ("ANSI text imported with the Unicode character set", CS,
     "CharSet = CharSet.Ansi, ExactSpelling = true)]\n        public static extern uint GetShortcutCount(",
     "CharSet = CharSet.Unicode, ExactSpelling = true)]\n        public static extern uint GetShortcutCount("),
    ("one ANSI string marshalled as UTF-16 in the .NET binding", CS,
     "NamespaceRename(string lpNamespace, string lpNewNamespace);",
     "NamespaceRename(string lpNamespace, [MarshalAs(UnmanagedType.LPWStr)] string lpNewNamespace);"),
    ("a handle result declared as a number in the .NET binding", CS,
     "public static extern IntPtr CreateUIData();", "public static extern long CreateUIData();"),
    ("a void function imported with a result in the .NET binding", CS,
     "public static extern void DestroyUIData(IntPtr uiData);", "public static extern int DestroyUIData(IntPtr uiData);"),
    ("an import with the C calling convention in the .NET binding", CS,
     "CallingConvention.StdCall, ExactSpelling = true)]\n        public static extern int UnregisterUIProvider(",
     "CallingConvention.Cdecl, ExactSpelling = true)]\n        public static extern int UnregisterUIProvider("),
    ("the shortcut callback's counted string marshalled as a string in the .NET binding", CS,
     "public delegate void ShortcutCallback(IntPtr lpNamespace,", "public delegate void ShortcutCallback(string lpNamespace,"),
    ("the shortcut callback's id declared as int in the .NET binding", CS,
     "IntPtr lpContext,\n            uint uShortcutId);", "IntPtr lpContext,\n            int uShortcutId);"),
    ("a provider's delegate passed where the shortcut callback goes in the .NET binding", CS,
     "ShortcutCallback lpCallback, string lpData, uint uDataSize);\n\n        /// <summary>The same for",
     "OnCreateUICallback lpCallback, string lpData, uint uDataSize);\n\n        /// <summary>The same for"),
    ("the Application object passed as an interface instead of a VARIANT", CS,
     "[MarshalAs(UnmanagedType.Struct)] ref object lpApplication",
     "[MarshalAs(UnmanagedType.IDispatch)] ref object lpApplication"),
]


class ClientKitCheck(unittest.TestCase):
    def setUp(self):
        self.folder = pathlib.Path(tempfile.mkdtemp())
        self.copies = {}
        for original in (DEF, HEADER, BAS, CS):
            self.copies[original] = self.folder / original.name
            shutil.copy(original, self.copies[original])

    def tearDown(self):
        shutil.rmtree(self.folder)

    def run_check(self):
        return check_client_kit.check(self.copies[DEF], self.copies[HEADER], self.copies[BAS], self.copies[CS])

    def test_the_repository_files_agree(self):
        exports, problems = self.run_check()
        self.assertEqual(problems, [])
        self.assertGreaterEqual(len(exports), 25)

    def test_a_change_to_one_file_alone_is_reported(self):
        for what, original, old, new in MUTATIONS:
            with self.subTest(what):
                copy = self.copies[original]
                encoding = "utf-8" if original == CS else "latin-1"
                text = original.read_text(encoding=encoding).replace("\r\n", "\n")
                self.assertEqual(text.count(old), 1, "the mutation must apply to exactly one place")
                copy.write_text(text.replace(old, new), encoding=encoding)
                _, problems = self.run_check()
                self.assertNotEqual(problems, [], what)
                shutil.copy(original, copy)


if __name__ == "__main__":
    unittest.main()
