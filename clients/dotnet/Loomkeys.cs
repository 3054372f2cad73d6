// Loomkeys.cs: Loomkeys.dll for add-ins written in C# or VB.NET (64-bit PowerPoint).
//
// Add this file to the add-in's project. It is C# 7.3 and uses only APIs of .NET Standard 2.0,
// so it builds for the .NET Framework 4.7.2 and later (VSTO and other COM add-ins) and for
// current .NET alike. A VB.NET add-in takes it as a small C# class library project.
//
// NativeMethods declares every function of Loomkeys.dll with the exact types of loomkeys.h, for
// authors who want the raw calls. The classes around it make the usual mistakes impossible:
// the callbacks that the library calls are kept alive until the shortcut or provider is disposed,
// no .NET exception ever leaves a callback (each one is shown in a box, as the library shows a
// faulting callback), UI data trees are SafeHandles that are refused once disposed, and failures
// arrive as LoomkeysException or as bool results.
//
// Threads: the library works on the thread that loaded it, which must be PowerPoint's user
// interface thread (a VSTO add-in's ThisAddIn_Startup runs there). Register and remove shortcuts
// and providers, load and unload namespaces, use UI data trees and show the dialogs on that
// thread only; the library refuses registrations from other threads (LoomkeysResult.WrongThread).
// Callbacks run there too, while PowerPoint is idle or inside a dialog.
using System;
using System.Collections.Concurrent;
using System.Collections.Generic;
using System.Runtime.InteropServices;
using System.Text;

namespace Loomkeys
{
    /// <summary>The results of the functions of Loomkeys.dll that report an outcome.</summary>
    public enum LoomkeysResult
    {
        /// <summary>Success.</summary>
        Ok = 0,
        /// <summary>The namespace's earliest shortcut on this key has the same context.</summary>
        Duplicate = 2,
        /// <summary>The key could not be bound as a system hot key (another program holds it).</summary>
        KeyNotBound = 3,
        /// <summary>The buffer is too small; the needed size was written back.</summary>
        BufferTooSmall = 4,
        /// <summary>No shortcut has this id.</summary>
        UnknownShortcutId = 5,
        /// <summary>An error inside the call: bad blob text, out of memory, or an unusable pointer.</summary>
        ErrorRaised = 6,
        /// <summary>The call failed, or a provider record has an unknown version.</summary>
        CallFailed = 7,
        /// <summary>The provider handle is not registered.</summary>
        UnknownProvider = 8,
        /// <summary>The category already has a command of that name.</summary>
        CommandExists = 9,
        /// <summary>No such category, or no such command in it.</summary>
        NoSuchCommand = 10,
        /// <summary>The namespace has no shortcuts.</summary>
        NoEntries = 11,
        /// <summary>The namespace has fewer shortcuts than the 1-based index.</summary>
        IndexPastEntries = 12,
        /// <summary>The namespace has shortcuts, but none with this context.</summary>
        NoSuchContext = 13,
        /// <summary>Called on another thread than the one that loaded the library: nothing was done.</summary>
        WrongThread = 14,
    }

    /// <summary>The shift keys of a shortcut, as RegisterHotKey takes them.</summary>
    [Flags]
    public enum ShiftKeys : ushort
    {
        /// <summary>No shift key.</summary>
        None = 0,
        /// <summary>Alt.</summary>
        Alt = 0x0001,
        /// <summary>Ctrl.</summary>
        Control = 0x0002,
        /// <summary>Shift.</summary>
        Shift = 0x0004,
        /// <summary>The Windows key.</summary>
        Win = 0x0008,
    }

    /// <summary>Where a shortcut's key is live: while PowerPoint's editing window or its slide show is in front.</summary>
    [Flags]
    public enum ActiveModes : ushort
    {
        /// <summary>Never live.</summary>
        None = 0,
        /// <summary>While the editing window (slide design) is in front.</summary>
        SlideDesign = 0x0001,
        /// <summary>While the slide show is in front.</summary>
        SlideShow = 0x0002,
        /// <summary>In every mode (0xFFFF), the mode of the functions that take none.</summary>
        All = 0xFFFF,
    }

    /// <summary>A call of Loomkeys.dll that did not succeed, with the library's result.</summary>
    public class LoomkeysException : Exception
    {
        /// <summary>Creates the exception for a result of the named function.</summary>
        public LoomkeysException(string function, LoomkeysResult result)
            : base(function + " failed: " + result + " (" + (int)result + ")")
        {
            Result = result;
        }

        /// <summary>What the library answered.</summary>
        public LoomkeysResult Result { get; }
    }

    /// <summary>One press of a shortcut's key, as the library reports it to the shortcut's handler.</summary>
    public sealed class ShortcutPress
    {
        internal ShortcutPress(string nameSpace, ushort virtualKey, ShiftKeys shiftKeys, string context, uint shortcutId)
        {
            Namespace = nameSpace;
            VirtualKey = virtualKey;
            ShiftKeys = shiftKeys;
            Context = context;
            ShortcutId = shortcutId;
        }

        /// <summary>The namespace that the shortcut was registered under.</summary>
        public string Namespace { get; }
        /// <summary>The virtual key.</summary>
        public ushort VirtualKey { get; }
        /// <summary>The shift keys held with it.</summary>
        public ShiftKeys ShiftKeys { get; }
        /// <summary>The context that the shortcut was registered with.</summary>
        public string Context { get; }
        /// <summary>The shortcut's id.</summary>
        public uint ShortcutId { get; }
    }

    /// <summary>Key, shift keys, active modes and id of a registered shortcut.</summary>
    public struct ShortcutInfo
    {
        /// <summary>The virtual key.</summary>
        public ushort VirtualKey;
        /// <summary>The shift keys.</summary>
        public ShiftKeys ShiftKeys;
        /// <summary>Where the key is live.</summary>
        public ActiveModes ActiveModes;
        /// <summary>The shortcut's id.</summary>
        public uint ShortcutId;
    }

    /// <summary>
    /// The library as a whole: loading it from the add-in's folder, the shortcuts of a namespace
    /// saved as text and loaded back, and the dialogs. Call it on the thread that loaded the
    /// library (PowerPoint's user interface thread) unless a member says otherwise.
    /// </summary>
    public static class LoomkeysLibrary
    {
        /// <summary>
        /// Loads Loomkeys.dll from the given folder (for instance the add-in's own), so that
        /// NativeMethods uses that copy rather than one that Windows finds elsewhere. Call it on
        /// PowerPoint's user interface thread before anything else: the library belongs to the
        /// thread that loads it. True when it is loaded.
        /// </summary>
        public static bool LoadLoomkeys(string folder)
        {
            return LoadLibraryW(System.IO.Path.Combine(folder, NativeMethods.LibraryName)) != IntPtr.Zero;
        }

        /// <summary>The number of shortcuts of the namespace. Any thread.</summary>
        public static uint GetShortcutCount(string nameSpace)
        {
            return NativeMethods.GetShortcutCount(nameSpace);
        }

        /// <summary>The namespace's first shortcut with this context; false when it has none. Any thread.</summary>
        public static bool TryGetShortcut(string nameSpace, string context, out ShortcutInfo info)
        {
            info = new ShortcutInfo();
            int result = NativeMethods.GetShortcutInfoByContext(nameSpace, context, out ushort key, out ushort shift,
                out ushort modes, out uint id);
            if (result != (int)LoomkeysResult.Ok) return false;
            info = new ShortcutInfo { VirtualKey = key, ShiftKeys = (ShiftKeys)shift, ActiveModes = (ActiveModes)modes, ShortcutId = id };
            return true;
        }

        /// <summary>
        /// The namespace's shortcuts with their active modes as text (hexadecimal digits), to be
        /// kept by the add-in and given to LoadNamespace next time; empty when it has none. Any thread.
        /// </summary>
        public static string SaveNamespace(string nameSpace)
        {
            for (;;)
            {
                uint size = NativeMethods.GetNamespaceDataSize2(nameSpace);
                if (size == 0) return "";
                byte[] buffer = new byte[size];
                int result = NativeMethods.GetNamespaceData2(nameSpace, buffer, ref size);
                if (result == (int)LoomkeysResult.Ok) return Encoding.ASCII.GetString(buffer, 0, (int)size);
                if (result == (int)LoomkeysResult.NoEntries) return "";
                // Shortcuts were added by another thread meanwhile: ask again.
                if (result != (int)LoomkeysResult.BufferTooSmall) throw new LoomkeysException("GetNamespaceData2", (LoomkeysResult)result);
            }
        }

        /// <summary>
        /// Registers every shortcut of a text from SaveNamespace under the namespace, with their
        /// active modes; each press calls onPress. Shortcuts already registered stay; those that
        /// are duplicates or whose key another program holds are skipped. False when the text is
        /// not such a text (the complete shortcuts before the fault stay registered). onPress is
        /// kept until UnloadNamespace; it is the handler of every shortcut of the namespace that
        /// has none of its own. Throws LoomkeysException on another thread than the library's.
        /// </summary>
        public static bool LoadNamespace(string nameSpace, string savedText, Action<ShortcutPress> onPress)
        {
            if (onPress == null) throw new ArgumentNullException(nameof(onPress));
            savedText = savedText ?? "";
            int result = NativeMethods.LoadNamespace2(nameSpace, Callbacks.Shortcut, savedText, (uint)savedText.Length);
            if (result == (int)LoomkeysResult.WrongThread) throw new LoomkeysException("LoadNamespace2", (LoomkeysResult)result);
            Callbacks.SetNamespaceHandler(nameSpace, onPress);
            return result == (int)LoomkeysResult.Ok;
        }

        /// <summary>
        /// Removes every shortcut of the namespace and lets go of their handlers. Nothing happens on
        /// another thread than the library's.
        /// </summary>
        public static void UnloadNamespace(string nameSpace)
        {
            NativeMethods.UnloadNamespace(nameSpace);
            if (NativeMethods.GetShortcutCount(nameSpace) == 0) Callbacks.ForgetNamespace(nameSpace);
        }

        /// <summary>Moves every shortcut of a namespace, with its handler, to another namespace; keys and ids stay. Any thread.</summary>
        public static void RenameNamespace(string nameSpace, string newNameSpace)
        {
            NativeMethods.NamespaceRename(nameSpace, newNameSpace);
            Callbacks.RenameNamespace(nameSpace, newNameSpace);
        }

        /// <summary>
        /// Runs every provider's OnCreateUI, shows the Customize Shortcuts dialog modally, then runs
        /// every provider's OnDestroyUI. Pass PowerPoint's Application object: the library runs the
        /// macros of macro providers through its Run method. Returns when the dialog is closed;
        /// errors are shown in boxes by the library.
        /// </summary>
        public static void ShowCustomizeShortcuts(object application)
        {
            NativeMethods.ShowCustomizeShortcutsUI(ref application);
        }

        /// <summary>Shows the About box modally and returns once the user has closed it.</summary>
        public static void ShowAboutBox()
        {
            NativeMethods.ShowAboutBox();
        }

        [DllImport("kernel32.dll", CharSet = CharSet.Unicode, ExactSpelling = true, SetLastError = true)]
        private static extern IntPtr LoadLibraryW(string lpLibFileName);
    }

    /// <summary>
    /// A registered shortcut. The object keeps its handler, and the library's pointer to it, alive
    /// until it is disposed, even when the add-in keeps no reference to it. Dispose removes the
    /// shortcut (its key is released when it was the key's last).
    /// </summary>
    public sealed class Shortcut : IDisposable
    {
        private readonly Action<ShortcutPress> onPress;

        private Shortcut(string nameSpace, uint id, Action<ShortcutPress> onPress)
        {
            Namespace = nameSpace;
            Id = id;
            this.onPress = onPress;
        }

        /// <summary>The namespace that the shortcut belongs to.</summary>
        public string Namespace { get; internal set; }

        /// <summary>The shortcut's id (1, 2, 3 ... while the library is loaded).</summary>
        public uint Id { get; }

        /// <summary>
        /// Registers a shortcut and binds its key as a system hot key if it is new. onPress runs on
        /// the library's thread for every press while the key is live; an exception that it throws
        /// is shown in a "Keyloom Exception" box. Throws LoomkeysException when the library answers
        /// anything but Ok: Duplicate, KeyNotBound (another program holds the key) or WrongThread.
        /// </summary>
        public static Shortcut Register(string nameSpace, ushort virtualKey, ShiftKeys shiftKeys, ActiveModes activeModes,
            string context, Action<ShortcutPress> onPress)
        {
            LoomkeysResult result = TryRegister(nameSpace, virtualKey, shiftKeys, activeModes, context, onPress, out Shortcut shortcut);
            if (result != LoomkeysResult.Ok) throw new LoomkeysException("RegisterShortcut2", result);
            return shortcut;
        }

        /// <summary>Register, but the library's answer is returned; shortcut is null unless it is Ok.</summary>
        public static LoomkeysResult TryRegister(string nameSpace, ushort virtualKey, ShiftKeys shiftKeys, ActiveModes activeModes,
            string context, Action<ShortcutPress> onPress, out Shortcut shortcut)
        {
            if (onPress == null) throw new ArgumentNullException(nameof(onPress));
            shortcut = null;
            int result = NativeMethods.RegisterShortcut2(nameSpace, virtualKey, (ushort)shiftKeys, (ushort)activeModes,
                Callbacks.Shortcut, context, out uint id);
            if (result != (int)LoomkeysResult.Ok) return (LoomkeysResult)result;
            shortcut = new Shortcut(nameSpace ?? "", id, onPress);
            lock (Callbacks.Gate) Callbacks.Shortcuts[id] = shortcut;
            return LoomkeysResult.Ok;
        }

        /// <summary>
        /// Removes the shortcut. Throws LoomkeysException (WrongThread) on another thread than the
        /// library's; the shortcut then stays registered.
        /// </summary>
        public void Dispose()
        {
            int result = NativeMethods.UnregisterShortcut(Id);
            if (result == (int)LoomkeysResult.WrongThread) throw new LoomkeysException("UnregisterShortcut", (LoomkeysResult)result);
            lock (Callbacks.Gate) Callbacks.Shortcuts.Remove(Id);
        }

        internal void Run(ShortcutPress press)
        {
            onPress(press);
        }
    }

    /// <summary>
    /// A UI data tree: one provider's categories with their commands for the Customize Shortcuts
    /// dialog. Use it on the library's thread only. Dispose frees the tree; a disposed tree is
    /// refused with ObjectDisposedException before any call reaches the library. A tree that is
    /// never disposed is freed on the library's thread the next time a tree is created there.
    /// </summary>
    public sealed class UIData : SafeHandle
    {
        // Trees that the finalizer found: freed on the library's thread, since trees have no lock.
        private static readonly ConcurrentQueue<IntPtr> Abandoned = new ConcurrentQueue<IntPtr>();
        private readonly int ownerThread;

        private UIData(IntPtr tree)
            : base(IntPtr.Zero, true)
        {
            ownerThread = Environment.CurrentManagedThreadId;
            SetHandle(tree);
        }

        /// <summary>True when the handle is no tree (zero). A live tree is never zero.</summary>
        public override bool IsInvalid
        {
            get { return handle == IntPtr.Zero; }
        }

        /// <summary>A new, empty tree. Throws OutOfMemoryException when the library has no memory for it.</summary>
        public static UIData Create()
        {
            while (Abandoned.TryDequeue(out IntPtr orphan)) NativeMethods.DestroyUIData(orphan);
            IntPtr tree = NativeMethods.CreateUIData();
            if (tree == IntPtr.Zero) throw new OutOfMemoryException("CreateUIData returned no tree");
            return new UIData(tree);
        }

        /// <summary>
        /// Adds a command, creating its category on first use. virtualKey 0 means that no key is
        /// assigned. False when the category already has a command of that name (nothing changed);
        /// LoomkeysException when the call failed.
        /// </summary>
        public bool AddCommand(string category, string name, string description, ushort virtualKey, ShiftKeys shiftKeys,
            ActiveModes activeModes)
        {
            int result = WithTree(tree => NativeMethods.AddCommand2(tree, category, name, description, virtualKey,
                (ushort)shiftKeys, (ushort)activeModes));
            if (result == (int)LoomkeysResult.CommandExists) return false;
            if (result != (int)LoomkeysResult.Ok) throw new LoomkeysException("AddCommand2", (LoomkeysResult)result);
            return true;
        }

        /// <summary>
        /// Reads a command's key, shift keys and active modes back (after the dialog, the ones the
        /// user chose; virtual key 0 when the command has no key). False when there is no such
        /// category or command.
        /// </summary>
        public bool TryGetCommand(string category, string name, out ushort virtualKey, out ShiftKeys shiftKeys,
            out ActiveModes activeModes)
        {
            ushort key = 0, shift = 0, modes = 0;
            int result = WithTree(tree => NativeMethods.GetCommand2(tree, category, name, out key, out shift, out modes));
            virtualKey = key;
            shiftKeys = (ShiftKeys)shift;
            activeModes = (ActiveModes)modes;
            if (result == (int)LoomkeysResult.NoSuchCommand) return false;
            if (result != (int)LoomkeysResult.Ok) throw new LoomkeysException("GetCommand2", (LoomkeysResult)result);
            return true;
        }

        /// <summary>Frees the tree.</summary>
        protected override bool ReleaseHandle()
        {
            if (Environment.CurrentManagedThreadId == ownerThread) NativeMethods.DestroyUIData(handle);
            else Abandoned.Enqueue(handle);
            return true;
        }

        // Calls the library with the tree's handle, which stays valid meanwhile.
        private int WithTree(Func<IntPtr, int> call)
        {
            if (IsClosed || IsInvalid) throw new ObjectDisposedException(nameof(UIData), "The UI data tree has been disposed.");
            bool added = false;
            DangerousAddRef(ref added);
            try
            {
                return call(DangerousGetHandle());
            }
            finally
            {
                if (added) DangerousRelease();
            }
        }
    }

    /// <summary>
    /// A native UI provider (version 10): contributes commands to the Customize Shortcuts dialog.
    /// Before the dialog opens, onCreateUI gets a new, empty tree to fill; after it closes,
    /// onDestroyUI gets the same tree back with the flag cancelled (false after OK) to read the
    /// user's keys from, and the tree is freed afterwards. Exceptions that they throw are shown in
    /// "OnCreateUI Exception" and "OnDestroyUI Exception" boxes. The object keeps both alive until
    /// it is disposed; Dispose removes the provider. Register and dispose on the library's thread.
    /// </summary>
    public sealed class UIProvider : IDisposable
    {
        private static readonly HashSet<UIProvider> Registered = new HashSet<UIProvider>();
        private readonly Action<UIData> onCreateUI;
        private readonly Action<UIData, bool> onDestroyUI;
        private readonly NativeMethods.OnCreateUICallback createThunk;
        private readonly NativeMethods.OnDestroyUICallback destroyThunk;
        private readonly Dictionary<IntPtr, UIData> trees = new Dictionary<IntPtr, UIData>();
        private IntPtr handle;

        private UIProvider(Action<UIData> onCreateUI, Action<UIData, bool> onDestroyUI)
        {
            this.onCreateUI = onCreateUI;
            this.onDestroyUI = onDestroyUI;
            createThunk = OnCreateUI;
            destroyThunk = OnDestroyUI;
        }

        /// <summary>
        /// Registers a provider at the end of the provider list, or at its front (its categories
        /// first) when atFront is true, as the host add-in does. Throws LoomkeysException when the
        /// library refuses it.
        /// </summary>
        public static UIProvider Register(Action<UIData> onCreateUI, Action<UIData, bool> onDestroyUI, bool atFront = false)
        {
            if (onCreateUI == null) throw new ArgumentNullException(nameof(onCreateUI));
            if (onDestroyUI == null) throw new ArgumentNullException(nameof(onDestroyUI));
            var provider = new UIProvider(onCreateUI, onDestroyUI);
            NativeMethods.UIProviderRecord record = NativeMethods.UIProviderRecord.Native(
                Marshal.GetFunctionPointerForDelegate(provider.createThunk),
                Marshal.GetFunctionPointerForDelegate(provider.destroyThunk));
            int result = atFront
                ? NativeMethods.InitializeKeyloomAddin(ref record, out provider.handle)
                : NativeMethods.RegisterUIProvider(ref record, out provider.handle);
            if (result != (int)LoomkeysResult.Ok) throw new LoomkeysException("RegisterUIProvider", (LoomkeysResult)result);
            Registered.Add(provider);
            return provider;
        }

        /// <summary>Removes the provider; it is not asked again.</summary>
        public void Dispose()
        {
            if (!Registered.Remove(this)) return;
            NativeMethods.UnregisterUIProvider(handle);
        }

        private void OnCreateUI(IntPtr slot)
        {
            try
            {
                UIData tree = UIData.Create();
                trees[tree.DangerousGetHandle()] = tree;
                Marshal.WriteIntPtr(slot, tree.DangerousGetHandle());
                onCreateUI(tree);
            }
            catch (Exception e)
            {
                Callbacks.Report("OnCreateUI Exception", e);
            }
        }

        private void OnDestroyUI(IntPtr tree, ushort cancelled)
        {
            try
            {
                if (!trees.TryGetValue(tree, out UIData data)) return;
                trees.Remove(tree);
                using (data) onDestroyUI(data, cancelled != 0);
            }
            catch (Exception e)
            {
                Callbacks.Report("OnDestroyUI Exception", e);
            }
        }
    }

    // The one shortcut callback that the library gets from this file, kept alive for as long as
    // the program runs, and the handlers that it passes the presses on to.
    internal static class Callbacks
    {
        internal static readonly object Gate = new object();
        internal static readonly Dictionary<uint, Shortcut> Shortcuts = new Dictionary<uint, Shortcut>();
        internal static readonly NativeMethods.ShortcutCallback Shortcut = OnShortcut;
        private static readonly Dictionary<string, Action<ShortcutPress>> NamespaceHandlers =
            new Dictionary<string, Action<ShortcutPress>>(StringComparer.Ordinal);

        internal static void SetNamespaceHandler(string nameSpace, Action<ShortcutPress> onPress)
        {
            lock (Gate) NamespaceHandlers[nameSpace ?? ""] = onPress;
        }

        internal static void ForgetNamespace(string nameSpace)
        {
            nameSpace = nameSpace ?? "";
            lock (Gate)
            {
                NamespaceHandlers.Remove(nameSpace);
                var gone = new List<uint>();
                foreach (KeyValuePair<uint, Shortcut> entry in Shortcuts)
                {
                    if (entry.Value.Namespace == nameSpace) gone.Add(entry.Key);
                }
                foreach (uint id in gone) Shortcuts.Remove(id);
            }
        }

        internal static void RenameNamespace(string nameSpace, string newNameSpace)
        {
            nameSpace = nameSpace ?? "";
            newNameSpace = newNameSpace ?? "";
            lock (Gate)
            {
                foreach (Shortcut shortcut in Shortcuts.Values)
                {
                    if (shortcut.Namespace == nameSpace) shortcut.Namespace = newNameSpace;
                }
                if (NamespaceHandlers.TryGetValue(nameSpace, out Action<ShortcutPress> onPress))
                {
                    NamespaceHandlers.Remove(nameSpace);
                    NamespaceHandlers[newNameSpace] = onPress;
                }
            }
        }

        // Shows an exception as the library shows a faulting callback: no owner, its message, the error icon.
        internal static void Report(string caption, Exception e)
        {
            MessageBoxW(IntPtr.Zero, e.Message, caption, MB_OK | MB_ICONERROR);
        }

        private static void OnShortcut(IntPtr lpNamespace, ushort uVirtualKey, ushort uShiftKeys, IntPtr lpContext, uint uShortcutId)
        {
            try
            {
                var press = new ShortcutPress(CountedText(lpNamespace), uVirtualKey, (ShiftKeys)uShiftKeys,
                    CountedText(lpContext), uShortcutId);
                Action<ShortcutPress> handler = null;
                lock (Gate)
                {
                    if (Shortcuts.TryGetValue(uShortcutId, out Shortcut shortcut)) handler = shortcut.Run;
                    else NamespaceHandlers.TryGetValue(press.Namespace, out handler);
                }
                handler?.Invoke(press);
            }
            catch (Exception e)
            {
                Report("Keyloom Exception", e);
            }
        }

        // A callback's namespace or context: the registered text written twice, with a length word
        // before it that counts the UTF-16 units of both copies.
        private static string CountedText(IntPtr text)
        {
            if (text == IntPtr.Zero) return "";
            int units = Marshal.ReadInt32(text, -4);
            return Marshal.PtrToStringUni(text, units / 2);
        }

        private const uint MB_OK = 0x00000000;
        private const uint MB_ICONERROR = 0x00000010;

        [DllImport("user32.dll", CharSet = CharSet.Unicode, ExactSpelling = true)]
        private static extern int MessageBoxW(IntPtr hWnd, string lpText, string lpCaption, uint uType);
    }

    /// <summary>
    /// Every function of Loomkeys.dll, with the types of loomkeys.h: ANSI strings (the system's
    /// default code page) for char*, UTF-16 for wchar_t*, unsigned 16-bit keys, shift keys and
    /// modes, unsigned 32-bit ids and sizes, IntPtr handles, 32-bit signed results. A delegate
    /// passed as a callback must be kept alive by the caller for as long as the library may call
    /// it; the classes above do that. Characters of an ANSI string that the code page cannot hold
    /// reach the library changed, as in any ANSI call: keep namespaces and contexts to characters
    /// of that code page (ASCII is safe everywhere).
    /// </summary>
    public static class NativeMethods
    {
        /// <summary>The file name of the library.</summary>
        public const string LibraryName = "Loomkeys.dll";

        /// <summary>Version of a provider record with native callbacks.</summary>
        public const int ProviderNative = 10;
        /// <summary>Version of a provider record with two macros run through Application.Run.</summary>
        public const int ProviderMacro = 20;

        /// <summary>
        /// Called on the library's thread when a live key is pressed, once for every shortcut on
        /// that key, in registration order. lpNamespace and lpContext are the registered strings
        /// written twice in UTF-16, with a 32-bit count of both copies' UTF-16 units just before
        /// the first character; valid until the callback returns. No exception may leave it.
        /// </summary>
        [UnmanagedFunctionPointer(CallingConvention.StdCall)]
        public delegate void ShortcutCallback(IntPtr lpNamespace, ushort uVirtualKey, ushort uShiftKeys, IntPtr lpContext,
            uint uShortcutId);

        /// <summary>A version-10 provider's OnCreateUI: stores a tree that it created and filled at lpSlot.</summary>
        [UnmanagedFunctionPointer(CallingConvention.StdCall)]
        public delegate void OnCreateUICallback(IntPtr lpSlot);

        /// <summary>A version-10 provider's OnDestroyUI: the tree back, uCancelled 0 after OK, 0xFFFF after Cancel.</summary>
        [UnmanagedFunctionPointer(CallingConvention.StdCall)]
        public delegate void OnDestroyUICallback(IntPtr uiData, ushort uCancelled);

        /// <summary>
        /// The provider record, 24 bytes: version 10 has the callbacks at offsets 4 and 12, version
        /// 20 the addresses of two ANSI macro names at offsets 8 and 16. The library copies it.
        /// </summary>
        [StructLayout(LayoutKind.Explicit, Size = 24)]
        public struct UIProviderRecord
        {
            /// <summary>ProviderNative (10) or ProviderMacro (20).</summary>
            [FieldOffset(0)] public int Version;
            /// <summary>Version 10: the OnCreateUI function pointer.</summary>
            [FieldOffset(4)] public IntPtr OnCreateUI;
            /// <summary>Version 10: the OnDestroyUI function pointer.</summary>
            [FieldOffset(12)] public IntPtr OnDestroyUI;
            /// <summary>Version 20: the address of the OnCreateUI macro's NUL-terminated ANSI name.</summary>
            [FieldOffset(8)] public IntPtr OnCreateUIMacro;
            /// <summary>Version 20: the address of the OnDestroyUI macro's NUL-terminated ANSI name.</summary>
            [FieldOffset(16)] public IntPtr OnDestroyUIMacro;

            /// <summary>A version-10 record with two function pointers (Marshal.GetFunctionPointerForDelegate).</summary>
            public static UIProviderRecord Native(IntPtr onCreateUI, IntPtr onDestroyUI)
            {
                return new UIProviderRecord { Version = ProviderNative, OnCreateUI = onCreateUI, OnDestroyUI = onDestroyUI };
            }

            /// <summary>A version-20 record with the addresses of two ANSI macro names.</summary>
            public static UIProviderRecord Macro(IntPtr onCreateUIMacro, IntPtr onDestroyUIMacro)
            {
                return new UIProviderRecord { Version = ProviderMacro, OnCreateUIMacro = onCreateUIMacro, OnDestroyUIMacro = onDestroyUIMacro };
            }
        }

        // ---- Shortcuts: registered and removed on the library's thread only ----

        /// <summary>Registers a shortcut and binds its key. 0 and the new id; 2 duplicate; 3 key not bound; 14 wrong thread.</summary>
        [DllImport(LibraryName, CallingConvention = CallingConvention.StdCall, CharSet = CharSet.Ansi, ExactSpelling = true)]
        public static extern int RegisterShortcut2(string lpNamespace, ushort uVirtualKey, ushort uShiftKeys, ushort uActiveMode,
            ShortcutCallback lpCallback, string lpContext, out uint lpShortcutId);

        /// <summary>RegisterShortcut2 with every active mode (0xFFFF).</summary>
        [DllImport(LibraryName, CallingConvention = CallingConvention.StdCall, CharSet = CharSet.Ansi, ExactSpelling = true)]
        public static extern int RegisterShortcut(string lpNamespace, ushort uVirtualKey, ushort uShiftKeys,
            ShortcutCallback lpCallback, string lpContext, out uint lpShortcutId);

        /// <summary>Removes a shortcut; its key is released when it was the key's last. 0; 5 unknown id; 14 wrong thread.</summary>
        [DllImport(LibraryName, CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
        public static extern int UnregisterShortcut(uint uShortcutId);

        /// <summary>Key, shift keys and active mode of a shortcut. 0 or 5 (nothing written). Any thread.</summary>
        [DllImport(LibraryName, CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
        public static extern int GetShortcutInfoByShortcutId(uint uShortcutId, out ushort lpVirtualKey, out ushort lpShiftKeys,
            out ushort lpActiveMode);

        /// <summary>The namespace's first shortcut with this context. 0; 11 no entries; 13 no such context. Any thread.</summary>
        [DllImport(LibraryName, CallingConvention = CallingConvention.StdCall, CharSet = CharSet.Ansi, ExactSpelling = true)]
        public static extern int GetShortcutInfoByContext(string lpNamespace, string lpContext, out ushort lpVirtualKey,
            out ushort lpShiftKeys, out ushort lpActiveMode, out uint lpShortcutId);

        /// <summary>The number of shortcuts of the namespace. Any thread.</summary>
        [DllImport(LibraryName, CallingConvention = CallingConvention.StdCall, CharSet = CharSet.Ansi, ExactSpelling = true)]
        public static extern uint GetShortcutCount(string lpNamespace);

        /// <summary>The context length (bytes) of the namespace's shortcut number uIndex (1-based). 0; 11; 12.</summary>
        [DllImport(LibraryName, CallingConvention = CallingConvention.StdCall, CharSet = CharSet.Ansi, ExactSpelling = true)]
        public static extern int GetShortcutDataSize(string lpNamespace, uint uIndex, out uint lpSize);

        /// <summary>
        /// Copies that shortcut's ANSI context (no terminator) and its id. lpSize is in: the
        /// buffer's size, out: the context's length. 0; 4 too small (size and id written); 6; 11; 12.
        /// </summary>
        [DllImport(LibraryName, CallingConvention = CallingConvention.StdCall, CharSet = CharSet.Ansi, ExactSpelling = true)]
        public static extern int GetShortcutData(string lpNamespace, uint uIndex, [Out] byte[] lpBuffer, ref uint lpSize,
            out uint lpShortcutId);

        // ---- Namespaces: a namespace's shortcuts as hexadecimal text ----

        /// <summary>The length of the namespace's text (without active modes); 0 when it has no shortcuts. Any thread.</summary>
        [DllImport(LibraryName, CallingConvention = CallingConvention.StdCall, CharSet = CharSet.Ansi, ExactSpelling = true)]
        public static extern uint GetNamespaceDataSize(string lpNamespace);

        /// <summary>The length of the namespace's text with active modes. Any thread.</summary>
        [DllImport(LibraryName, CallingConvention = CallingConvention.StdCall, CharSet = CharSet.Ansi, ExactSpelling = true)]
        public static extern uint GetNamespaceDataSize2(string lpNamespace);

        /// <summary>Copies the namespace's text (no terminator). lpSize in: buffer size, out: text length. 0; 4; 6; 11. Any thread.</summary>
        [DllImport(LibraryName, CallingConvention = CallingConvention.StdCall, CharSet = CharSet.Ansi, ExactSpelling = true)]
        public static extern int GetNamespaceData(string lpNamespace, [Out] byte[] lpBuffer, ref uint lpSize);

        /// <summary>The same with active modes. Any thread.</summary>
        [DllImport(LibraryName, CallingConvention = CallingConvention.StdCall, CharSet = CharSet.Ansi, ExactSpelling = true)]
        public static extern int GetNamespaceData2(string lpNamespace, [Out] byte[] lpBuffer, ref uint lpSize);

        /// <summary>
        /// Registers every shortcut of a text from GetNamespaceData under lpNamespace and
        /// lpCallback, in every mode. 0; 6 bad text (the complete records before it stay); 14 wrong thread.
        /// </summary>
        [DllImport(LibraryName, CallingConvention = CallingConvention.StdCall, CharSet = CharSet.Ansi, ExactSpelling = true)]
        public static extern int LoadNamespace(string lpNamespace, ShortcutCallback lpCallback, string lpData, uint uDataSize);

        /// <summary>The same for a text from GetNamespaceData2; the active modes are restored.</summary>
        [DllImport(LibraryName, CallingConvention = CallingConvention.StdCall, CharSet = CharSet.Ansi, ExactSpelling = true)]
        public static extern int LoadNamespace2(string lpNamespace, ShortcutCallback lpCallback, string lpData, uint uDataSize);

        /// <summary>Removes every shortcut of the namespace. Does nothing on another thread than the library's.</summary>
        [DllImport(LibraryName, CallingConvention = CallingConvention.StdCall, CharSet = CharSet.Ansi, ExactSpelling = true)]
        public static extern void UnloadNamespace(string lpNamespace);

        /// <summary>Moves every shortcut of lpNamespace to lpNewNamespace; keys and ids stay. Any thread.</summary>
        [DllImport(LibraryName, CallingConvention = CallingConvention.StdCall, CharSet = CharSet.Ansi, ExactSpelling = true)]
        public static extern void NamespaceRename(string lpNamespace, string lpNewNamespace);

        // ---- UI data trees: the library's thread only; a handle is never zero for a live tree ----

        /// <summary>A new, empty tree (zero only when memory runs out).</summary>
        [DllImport(LibraryName, CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
        public static extern IntPtr CreateUIData();

        /// <summary>Adds a command (UTF-16 text). 0 added; 9 the category has it already; 7 failed (also a dead handle).</summary>
        [DllImport(LibraryName, CallingConvention = CallingConvention.StdCall, CharSet = CharSet.Unicode, ExactSpelling = true)]
        public static extern int AddCommand2(IntPtr uiData, string lpCategory, string lpName, string lpDescription,
            ushort uVirtualKey, ushort uShiftKeys, ushort uActiveMode);

        /// <summary>AddCommand2 with ANSI text and every active mode.</summary>
        [DllImport(LibraryName, CallingConvention = CallingConvention.StdCall, CharSet = CharSet.Ansi, ExactSpelling = true)]
        public static extern int AddCommand(IntPtr uiData, string lpCategory, string lpName, string lpDescription,
            ushort uVirtualKey, ushort uShiftKeys);

        /// <summary>Reads a command's key, shift keys and active mode back (UTF-16 text). 0; 10 not found; 7 failed.</summary>
        [DllImport(LibraryName, CallingConvention = CallingConvention.StdCall, CharSet = CharSet.Unicode, ExactSpelling = true)]
        public static extern int GetCommand2(IntPtr uiData, string lpCategory, string lpName, out ushort lpVirtualKey,
            out ushort lpShiftKeys, out ushort lpActiveMode);

        /// <summary>GetCommand2 with ANSI text, without the active mode.</summary>
        [DllImport(LibraryName, CallingConvention = CallingConvention.StdCall, CharSet = CharSet.Ansi, ExactSpelling = true)]
        public static extern int GetCommand(IntPtr uiData, string lpCategory, string lpName, out ushort lpVirtualKey,
            out ushort lpShiftKeys);

        /// <summary>Frees a tree; zero is ignored, a handle that is no live tree is shown in an "Exception" box.</summary>
        [DllImport(LibraryName, CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
        public static extern void DestroyUIData(IntPtr uiData);

        // ---- UI providers: the library's thread only ----

        /// <summary>Registers a provider at the end of the list. 0 and its handle; 7 unknown version or failure.</summary>
        [DllImport(LibraryName, CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
        public static extern int RegisterUIProvider([In] ref UIProviderRecord lpProvider, out IntPtr lpHandle);

        /// <summary>RegisterUIProvider at the front of the list (its categories come first). For the host add-in.</summary>
        [DllImport(LibraryName, CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
        public static extern int InitializeKeyloomAddin([In] ref UIProviderRecord lpProvider, out IntPtr lpHandle);

        /// <summary>Removes and frees a provider. 0; 8 not registered; 7 failed.</summary>
        [DllImport(LibraryName, CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
        public static extern int UnregisterUIProvider(IntPtr provider);

        // ---- The dialogs: the library's thread only ----

        /// <summary>Shows the About box modally.</summary>
        [DllImport(LibraryName, CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
        public static extern void ShowAboutBox();

        /// <summary>
        /// Runs every provider's OnCreateUI, shows the Customize Shortcuts dialog, then every
        /// provider's OnDestroyUI. lpApplication is PowerPoint's Application object, passed as a VARIANT.
        /// </summary>
        [DllImport(LibraryName, CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
        public static extern void ShowCustomizeShortcutsUI([MarshalAs(UnmanagedType.Struct)] ref object lpApplication);
    }
}
