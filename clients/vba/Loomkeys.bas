Attribute VB_Name = "Loomkeys"
' Loomkeys.bas: Loomkeys.dll for VBA in 64-bit Office (PowerPoint 2010 and later, 64-bit).
'
' Import this module into the add-in's project (File > Import File...). It declares every
' function of Loomkeys.dll, and holds a small sample add-in that uses them: two commands with
' keyboard shortcuts, saved between sessions, that the user can change in the Customize
' Shortcuts dialog. Start it with LoomkeysSampleStart and stop it with LoomkeysSampleStop
' (for instance from the add-in's Auto_Open and Auto_Close).
'
' Loading: Windows looks for "Loomkeys.dll" when the first function is called. Call
' LoadLoomkeys with the add-in's folder first, and the Declare statements below use that copy.
'
' Types: the library's unsigned 16-bit values (virtual key, shift keys, active mode) are
' Integer here (&HFFFF reads as -1); its 32-bit values (results, shortcut ids, sizes) are Long;
' addresses and handles are LongPtr. Namespaces, contexts and the strings of AddCommand and
' GetCommand are passed ByVal As String, which VBA hands over as ANSI text. AddCommand2 and
' GetCommand2 take UTF-16 text: pass StrPtr of a String variable.
'
' Threads: VBA runs on PowerPoint's main thread, which is the thread that the library needs.
' Callbacks and provider macros run there too, while PowerPoint is idle or inside the dialog.
Option Explicit

' ---- Results -------------------------------------------------------------------------------

Public Const LOOMKEYS_OK As Long = 0                   ' success
Public Const LOOMKEYS_DUPLICATE As Long = 2            ' the namespace's earliest entry on this key has the same context
Public Const LOOMKEYS_KEY_NOT_BOUND As Long = 3        ' the key could not be bound as a system hot key
Public Const LOOMKEYS_BUFFER_TOO_SMALL As Long = 4     ' the buffer is too small; the needed size was written back
Public Const LOOMKEYS_UNKNOWN_SHORTCUT_ID As Long = 5  ' no entry has this shortcut id
Public Const LOOMKEYS_ERROR_RAISED As Long = 6         ' an error inside the call: failed copy, bad blob text
Public Const LOOMKEYS_CALL_FAILED As Long = 7          ' the call failed, or a provider record has an unknown version
Public Const LOOMKEYS_UNKNOWN_PROVIDER As Long = 8     ' the provider handle is not registered
Public Const LOOMKEYS_COMMAND_EXISTS As Long = 9       ' the category already has a command of that name
Public Const LOOMKEYS_NO_SUCH_COMMAND As Long = 10     ' no such category, or no such command in it
Public Const LOOMKEYS_NO_ENTRIES As Long = 11          ' the namespace has no entries
Public Const LOOMKEYS_INDEX_PAST_ENTRIES As Long = 12  ' the namespace has fewer entries than the 1-based index
Public Const LOOMKEYS_NO_SUCH_CONTEXT As Long = 13     ' the namespace has entries, but none with this context
Public Const LOOMKEYS_WRONG_THREAD As Long = 14        ' called on another thread than the one that loaded the library

' ---- Keys and modes -------------------------------------------------------------------------

Public Const LOOMKEYS_MOD_ALT As Integer = 1
Public Const LOOMKEYS_MOD_CONTROL As Integer = 2
Public Const LOOMKEYS_MOD_SHIFT As Integer = 4
Public Const LOOMKEYS_MOD_WIN As Integer = 8

Public Const LOOMKEYS_MODE_SLIDE_DESIGN As Integer = 1  ' live while the editing window is in front
Public Const LOOMKEYS_MODE_SLIDE_SHOW As Integer = 2    ' live while the slide show is in front
Public Const LOOMKEYS_MODE_ALL As Integer = &HFFFF      ' every mode (-1)

Public Const LOOMKEYS_PROVIDER_NATIVE As Long = 10  ' provider with native callbacks (not for VBA)
Public Const LOOMKEYS_PROVIDER_MACRO As Long = 20   ' provider with two macros run through Application.Run

' ---- Shortcuts ------------------------------------------------------------------------------
' lpCallback is AddressOf a Sub shaped like LoomkeysSampleOnShortcut below.

' Registers a shortcut and binds its key. 0 and the new id; 2 duplicate; 3 key not bound.
Public Declare PtrSafe Function RegisterShortcut2 Lib "Loomkeys.dll" (ByVal lpNamespace As String, _
    ByVal uVirtualKey As Integer, ByVal uShiftKeys As Integer, ByVal uActiveMode As Integer, _
    ByVal lpCallback As LongPtr, ByVal lpContext As String, ByRef lpShortcutId As Long) As Long
' RegisterShortcut2 active in every mode.
Public Declare PtrSafe Function RegisterShortcut Lib "Loomkeys.dll" (ByVal lpNamespace As String, _
    ByVal uVirtualKey As Integer, ByVal uShiftKeys As Integer, ByVal lpCallback As LongPtr, _
    ByVal lpContext As String, ByRef lpShortcutId As Long) As Long
' Removes a shortcut. 0; 5 unknown id.
Public Declare PtrSafe Function UnregisterShortcut Lib "Loomkeys.dll" (ByVal uShortcutId As Long) As Long
' Key, shift keys and active mode of a shortcut. 0; 5 unknown id.
Public Declare PtrSafe Function GetShortcutInfoByShortcutId Lib "Loomkeys.dll" (ByVal uShortcutId As Long, _
    ByRef lpVirtualKey As Integer, ByRef lpShiftKeys As Integer, ByRef lpActiveMode As Integer) As Long
' The namespace's first shortcut with this context. 0; 11 no entries; 13 no such context.
Public Declare PtrSafe Function GetShortcutInfoByContext Lib "Loomkeys.dll" (ByVal lpNamespace As String, _
    ByVal lpContext As String, ByRef lpVirtualKey As Integer, ByRef lpShiftKeys As Integer, _
    ByRef lpActiveMode As Integer, ByRef lpShortcutId As Long) As Long
' The number of shortcuts of the namespace.
Public Declare PtrSafe Function GetShortcutCount Lib "Loomkeys.dll" (ByVal lpNamespace As String) As Long
' The context length of the namespace's shortcut number uIndex (1-based). 0; 11; 12.
Public Declare PtrSafe Function GetShortcutDataSize Lib "Loomkeys.dll" (ByVal lpNamespace As String, _
    ByVal uIndex As Long, ByRef lpSize As Long) As Long
' Copies that shortcut's context into a buffer (VarPtr of a Byte array) and gives its id. 0; 4; 6; 11; 12.
Public Declare PtrSafe Function GetShortcutData Lib "Loomkeys.dll" (ByVal lpNamespace As String, _
    ByVal uIndex As Long, ByVal lpBuffer As LongPtr, ByRef lpSize As Long, ByRef lpShortcutId As Long) As Long

' ---- Namespaces: save and restore all shortcuts of a namespace as text --------------------

' The length of the namespace's blob text without active modes; 0 when it has no shortcuts.
Public Declare PtrSafe Function GetNamespaceDataSize Lib "Loomkeys.dll" (ByVal lpNamespace As String) As Long
' The same for the blob text with active modes.
Public Declare PtrSafe Function GetNamespaceDataSize2 Lib "Loomkeys.dll" (ByVal lpNamespace As String) As Long
' Copies the blob text (no terminator) into a buffer. 0; 4 too small; 6; 11 no shortcuts.
Public Declare PtrSafe Function GetNamespaceData Lib "Loomkeys.dll" (ByVal lpNamespace As String, _
    ByVal lpBuffer As LongPtr, ByRef lpSize As Long) As Long
' The same with active modes.
Public Declare PtrSafe Function GetNamespaceData2 Lib "Loomkeys.dll" (ByVal lpNamespace As String, _
    ByVal lpBuffer As LongPtr, ByRef lpSize As Long) As Long
' Registers every shortcut of a text from GetNamespaceData under lpNamespace and lpCallback. 0; 6 bad text.
Public Declare PtrSafe Function LoadNamespace Lib "Loomkeys.dll" (ByVal lpNamespace As String, _
    ByVal lpCallback As LongPtr, ByVal lpData As String, ByVal uDataSize As Long) As Long
' The same for a text from GetNamespaceData2; active modes are restored.
Public Declare PtrSafe Function LoadNamespace2 Lib "Loomkeys.dll" (ByVal lpNamespace As String, _
    ByVal lpCallback As LongPtr, ByVal lpData As String, ByVal uDataSize As Long) As Long
' Removes every shortcut of the namespace.
Public Declare PtrSafe Sub UnloadNamespace Lib "Loomkeys.dll" (ByVal lpNamespace As String)
' Moves every shortcut of lpNamespace to lpNewNamespace.
Public Declare PtrSafe Sub NamespaceRename Lib "Loomkeys.dll" (ByVal lpNamespace As String, _
    ByVal lpNewNamespace As String)

' ---- UI data: the commands that a provider shows in the Customize Shortcuts dialog --------

' A new, empty tree of categories and commands.
Public Declare PtrSafe Function CreateUIData Lib "Loomkeys.dll" () As LongPtr
' Adds a command (UTF-16 text: StrPtr). 0; 9 the category already has it; 7 failed.
Public Declare PtrSafe Function AddCommand2 Lib "Loomkeys.dll" (ByVal uiData As LongPtr, _
    ByVal lpCategory As LongPtr, ByVal lpName As LongPtr, ByVal lpDescription As LongPtr, _
    ByVal uVirtualKey As Integer, ByVal uShiftKeys As Integer, ByVal uActiveMode As Integer) As Long
' Adds a command (ANSI text), active in every mode.
Public Declare PtrSafe Function AddCommand Lib "Loomkeys.dll" (ByVal uiData As LongPtr, _
    ByVal lpCategory As String, ByVal lpName As String, ByVal lpDescription As String, _
    ByVal uVirtualKey As Integer, ByVal uShiftKeys As Integer) As Long
' Reads a command's key, shift keys and active mode back (UTF-16 text: StrPtr). 0; 10 not found.
Public Declare PtrSafe Function GetCommand2 Lib "Loomkeys.dll" (ByVal uiData As LongPtr, _
    ByVal lpCategory As LongPtr, ByVal lpName As LongPtr, ByRef lpVirtualKey As Integer, _
    ByRef lpShiftKeys As Integer, ByRef lpActiveMode As Integer) As Long
' Reads a command's key and shift keys back (ANSI text). 0; 10 not found.
Public Declare PtrSafe Function GetCommand Lib "Loomkeys.dll" (ByVal uiData As LongPtr, _
    ByVal lpCategory As String, ByVal lpName As String, ByRef lpVirtualKey As Integer, _
    ByRef lpShiftKeys As Integer) As Long
' Frees a tree.
Public Declare PtrSafe Sub DestroyUIData Lib "Loomkeys.dll" (ByVal uiData As LongPtr)

' ---- UI providers ---------------------------------------------------------------------------
' lpProvider is VarPtr of a provider record (see LoomkeysRegisterMacroProvider).

' Adds a provider at the end of the list. 0 and its handle; 7 unknown version or failure.
Public Declare PtrSafe Function RegisterUIProvider Lib "Loomkeys.dll" (ByVal lpProvider As LongPtr, _
    ByRef lpHandle As LongPtr) As Long
' Adds a provider at the front of the list (for the host add-in).
Public Declare PtrSafe Function InitializeKeyloomAddin Lib "Loomkeys.dll" (ByVal lpProvider As LongPtr, _
    ByRef lpHandle As LongPtr) As Long
' Removes a provider. 0; 8 not registered.
Public Declare PtrSafe Function UnregisterUIProvider Lib "Loomkeys.dll" (ByVal provider As LongPtr) As Long

' ---- The dialogs ----------------------------------------------------------------------------

' Runs every provider's OnCreateUI, shows the Customize Shortcuts dialog, then runs every
' provider's OnDestroyUI. Pass PowerPoint's Application object in a Variant (see
' LoomkeysShowCustomize): the library runs version-20 providers' macros through its Run.
Public Declare PtrSafe Sub ShowCustomizeShortcutsUI Lib "Loomkeys.dll" (ByRef lpApplication As Variant)
' Shows the About box modally.
Public Declare PtrSafe Sub ShowAboutBox Lib "Loomkeys.dll" ()

' ---- Helpers --------------------------------------------------------------------------------

Private Declare PtrSafe Function LoadLibraryW Lib "kernel32" (ByVal lpLibFileName As LongPtr) As LongPtr
Private Declare PtrSafe Sub CopyMemory Lib "kernel32" Alias "RtlMoveMemory" (ByRef Destination As Any, _
    ByRef Source As Any, ByVal Length As LongPtr)

' A version-20 provider record: 24 bytes, the addresses of the two macro names at offsets 8
' and 16. 64-bit VBA aligns a LongPtr member to 8 bytes, which gives exactly that layout.
Private Type TUIProviderMacro
    Version As Long
    Reserved As Long
    OnCreateUIMacro As LongPtr
    OnDestroyUIMacro As LongPtr
End Type

' The sample add-in's namespace, where it keeps its shortcuts between sessions, and its
' provider's handle. (VBA wants module-level declarations before the first procedure.)
Private Const SAMPLE_NAMESPACE As String = "LoomkeysVbaSample"
Private Const SAMPLE_SETTINGS As String = "Loomkeys VBA Sample"
Private sampleProvider As LongPtr

' Loads Loomkeys.dll from the given folder (for instance the add-in's own), so that the
' Declare statements above use that copy. True when it is loaded.
Public Function LoadLoomkeys(ByVal folder As String) As Boolean
    LoadLoomkeys = LoadLibraryW(StrPtr(folder & "\Loomkeys.dll")) <> 0
End Function

' The text of a namespace or context string that a shortcut callback receives.
'
' The library writes the registered string twice in a row, converts it to UTF-16 and counts
' it like a BSTR: the 32-bit word just before the first character holds the length of that
' doubled text in UTF-16 units, and a zero follows it. A BSTR's length word counts bytes, so
' reading the word as a BSTR reader does, as a length in bytes, gives exactly one copy of the
' string: (units \ 2) characters of 2 bytes each.
Public Function LoomkeysCallbackText(ByVal lpText As LongPtr) As String
    Dim units As Long
    Dim characters As Long
    If lpText = 0 Then Exit Function
    CopyMemory units, ByVal (lpText - 4), 4
    characters = units \ 2
    If characters = 0 Then Exit Function
    LoomkeysCallbackText = Space$(characters)
    CopyMemory ByVal StrPtr(LoomkeysCallbackText), ByVal lpText, characters * 2
End Function

' Registers a version-20 provider: the library runs the two macros through Application.Run
' around the Customize Shortcuts dialog. Give the names as Application.Run needs them (add
' "File.ppam!Module." in front when the name alone does not reach the macro). The library
' copies the record and both names before it returns.
Public Function LoomkeysRegisterMacroProvider(ByVal onCreateUIMacro As String, _
        ByVal onDestroyUIMacro As String, ByRef handle As LongPtr) As Long
    Dim record As TUIProviderMacro
    Dim createName() As Byte
    Dim destroyName() As Byte
    createName = StrConv(onCreateUIMacro & vbNullChar, vbFromUnicode)
    destroyName = StrConv(onDestroyUIMacro & vbNullChar, vbFromUnicode)
    record.Version = LOOMKEYS_PROVIDER_MACRO
    record.OnCreateUIMacro = VarPtr(createName(0))
    record.OnDestroyUIMacro = VarPtr(destroyName(0))
    LoomkeysRegisterMacroProvider = RegisterUIProvider(VarPtr(record), handle)
End Function

' Opens the Customize Shortcuts dialog, as a menu item or button of the add-in would.
Public Sub LoomkeysShowCustomize()
    Dim app As Variant
    Set app = Application
    ShowCustomizeShortcutsUI app
End Sub

' The blob text of a namespace, with active modes; empty when it has no shortcuts.
Public Function LoomkeysSaveNamespace(ByVal nameSpace As String) As String
    Dim size As Long
    Dim blob() As Byte
    size = GetNamespaceDataSize2(nameSpace)
    If size = 0 Then Exit Function
    ReDim blob(0 To size - 1)
    If GetNamespaceData2(nameSpace, VarPtr(blob(0)), size) = LOOMKEYS_OK Then
        LoomkeysSaveNamespace = StrConv(blob, vbUnicode)
    End If
End Function

' ---- The sample add-in ----------------------------------------------------------------------

' The sample's commands: category, name, description, the macro that the key runs (which is
' also the shortcut's context), the default key, its shift keys and its active mode.
Private Function SampleCommands() As Variant
    SampleCommands = Array( _
        Array("Sample Editing", "Insert Date", "Inserts today's date after the selected text.", _
              "LoomkeysSampleInsertDate", vbKeyD, LOOMKEYS_MOD_CONTROL Or LOOMKEYS_MOD_SHIFT, _
              LOOMKEYS_MODE_SLIDE_DESIGN), _
        Array("Sample Slide Show", "Black Screen", "Turns the slide show's screen black.", _
              "LoomkeysSampleBlackScreen", vbKeyK, LOOMKEYS_MOD_CONTROL Or LOOMKEYS_MOD_SHIFT, _
              LOOMKEYS_MODE_SLIDE_SHOW))
End Function

' Registers the sample's provider and its shortcuts: those saved last time, or the defaults.
Public Sub LoomkeysSampleStart()
    Dim saved As String
    Dim command As Variant
    Dim id As Long
    LoomkeysRegisterMacroProvider "LoomkeysSampleOnCreateUI", "LoomkeysSampleOnDestroyUI", sampleProvider
    saved = GetSetting(SAMPLE_SETTINGS, "Shortcuts", "Blob", "")
    If Len(saved) > 0 Then
        If LoadNamespace2(SAMPLE_NAMESPACE, AddressOf LoomkeysSampleOnShortcut, saved, Len(saved)) = LOOMKEYS_OK _
            Then Exit Sub
    End If
    For Each command In SampleCommands()
        RegisterShortcut2 SAMPLE_NAMESPACE, command(4), command(5), command(6), _
            AddressOf LoomkeysSampleOnShortcut, command(3), id
    Next
End Sub

' Saves the sample's shortcuts for next time and removes them with its provider.
Public Sub LoomkeysSampleStop()
    SaveSetting SAMPLE_SETTINGS, "Shortcuts", "Blob", LoomkeysSaveNamespace(SAMPLE_NAMESPACE)
    UnloadNamespace SAMPLE_NAMESPACE
    If sampleProvider <> 0 Then UnregisterUIProvider sampleProvider
    sampleProvider = 0
End Sub

' The shortcut callback: Loomkeys.dll calls it on PowerPoint's main thread when a key of the
' sample is pressed. Its shape fits TShortcutCallbackFunc, for AddressOf. No error may leave it,
' since the library called it, not VBA.
Public Sub LoomkeysSampleOnShortcut(ByVal lpNamespace As LongPtr, ByVal uVirtualKey As Integer, _
        ByVal uShiftKeys As Integer, ByVal lpContext As LongPtr, ByVal uShortcutId As Long)
    On Error GoTo Failed
    Application.Run LoomkeysCallbackText(lpContext)
    Exit Sub
Failed:
    Debug.Print "Shortcut " & uShortcutId & " of " & LoomkeysCallbackText(lpNamespace) & ": " & Err.Description
End Sub

' OnCreateUI of the sample's version-20 provider. Application.Run passes its arguments by
' reference: the macro's own name and the handle of an empty tree that the library created.
' The macro adds every command with the key that it has now (0 when it has none).
Public Sub LoomkeysSampleOnCreateUI(ByRef macroName As String, ByRef uiData As LongLong)
    Dim command As Variant
    Dim category As String, commandName As String, description As String
    Dim key As Integer, shift As Integer, mode As Integer, id As Long
    For Each command In SampleCommands()
        category = command(0): commandName = command(1): description = command(2)
        If GetShortcutInfoByContext(SAMPLE_NAMESPACE, command(3), key, shift, mode, id) <> LOOMKEYS_OK Then
            key = 0: shift = 0: mode = command(6)
        End If
        AddCommand2 uiData, StrPtr(category), StrPtr(commandName), StrPtr(description), key, shift, mode
    Next
End Sub

' OnDestroyUI of the sample's provider: the macro's name, the tree, and whether the dialog was
' cancelled. After OK it reads every command back and registers its shortcut again where the
' user changed it; the library destroys the tree afterwards.
Public Sub LoomkeysSampleOnDestroyUI(ByRef macroName As String, ByRef uiData As LongLong, _
        ByRef cancelled As Boolean)
    Dim command As Variant
    Dim category As String, commandName As String
    Dim key As Integer, shift As Integer, mode As Integer
    If cancelled Then Exit Sub
    For Each command In SampleCommands()
        category = command(0): commandName = command(1)
        If GetCommand2(uiData, StrPtr(category), StrPtr(commandName), key, shift, mode) = LOOMKEYS_OK Then
            SampleApplyKey command(3), key, shift, mode
        End If
    Next
End Sub

' Gives the command with this context the key that the dialog left, if it changed.
Private Sub SampleApplyKey(ByVal context As String, ByVal key As Integer, ByVal shift As Integer, _
        ByVal mode As Integer)
    Dim oldKey As Integer, oldShift As Integer, oldMode As Integer, id As Long
    If GetShortcutInfoByContext(SAMPLE_NAMESPACE, context, oldKey, oldShift, oldMode, id) = LOOMKEYS_OK Then
        If oldKey = key And oldShift = shift And oldMode = mode Then Exit Sub
        UnregisterShortcut id
    End If
    If key <> 0 Then
        If RegisterShortcut2(SAMPLE_NAMESPACE, key, shift, mode, AddressOf LoomkeysSampleOnShortcut, context, id) _
                <> LOOMKEYS_OK Then
            MsgBox "Another program holds that key; the command has no shortcut now.", vbExclamation
        End If
    End If
End Sub

' The sample's two commands.
Public Sub LoomkeysSampleInsertDate()
    ActiveWindow.Selection.TextRange.InsertAfter Format$(Date, "yyyy-mm-dd")
End Sub

Public Sub LoomkeysSampleBlackScreen()
    SlideShowWindows(1).View.State = ppSlideShowBlackScreen
End Sub
