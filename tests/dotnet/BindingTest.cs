// The .NET binding (clients/dotnet/Loomkeys.cs, compiled on its own as a C# 7.3 library) driven
// against the real Loomkeys.dll under Wine, by a program that acts as PowerPoint: it loads the
// library from an add-in folder of its own, shows a window of PowerPoint's editing-window class in
// front, presses keys with SendInput and answers the boxes and dialogs from watcher threads.
//
// Usage: BindingTest.dll ADDIN_FOLDER BINDING_ASSEMBLY
using System;
using System.Collections.Generic;
using System.IO;
using System.Runtime.CompilerServices;
using System.Text.RegularExpressions;

namespace Loomkeys.Tests
{
    internal static class Check
    {
        public static int Passed, Failed;

        public static void That(bool condition, string what)
        {
            if (condition)
            {
                ++Passed;
                return;
            }
            ++Failed;
            Console.WriteLine("FAILED: " + what);
        }

        public static void Equal<T>(T expected, T actual, string what)
        {
            That(EqualityComparer<T>.Default.Equals(expected, actual), what + ": expected " + expected + ", got " + actual);
        }

        public static void Throws<TException>(Action action, string what) where TException : Exception
        {
            try
            {
                action();
                That(false, what + ": no " + typeof(TException).Name);
            }
            catch (TException)
            {
                That(true, what);
            }
            catch (Exception e)
            {
                That(false, what + ": " + e.GetType().Name + " instead of " + typeof(TException).Name + ": " + e.Message);
            }
        }

        public static void Section(string title)
        {
            Console.WriteLine("-- " + title);
        }
    }

    internal static class Program
    {
        private static readonly List<ShortcutPress> Presses = new List<ShortcutPress>();
        private static IntPtr editingWindow;

        private static int Main(string[] args)
        {
            string addinFolder = args[0], bindingAssembly = args[1];
            editingWindow = Host.CreateWindow("PPTFrameClass", "Deck - PowerPoint");
            Check.That(Host.BringToFront(editingWindow), "the editing window comes to the front");

            Check.Section("LoadLoomkeys loads the add-in's own copy of the library");
            Check.That(!LoomkeysLibrary.LoadLoomkeys(Path.Combine(addinFolder, "no such folder")), "a folder without the library");
            Check.That(LoomkeysLibrary.LoadLoomkeys(addinFolder), "the add-in's folder");

            KeysRegisteredAndForgottenStillRunTheirHandlers();
            AThrowingHandlerIsReportedAndTheOthersRun();
            UIDataTreesThroughTheSafeHandle();
            RawDeclarationsCarryTheHeadersTypes();
            NamespaceTextSavedAndLoadedBack();
            CustomizeDialogWithAProviderWrittenInCSharp();
            TheBindingUsesOnlyTheStandardSurface(bindingAssembly);

            Console.WriteLine(Check.Passed + " passed, " + Check.Failed + " failed");
            return Check.Failed == 0 ? 0 : 1;
        }

        // Registers without keeping the registration object, as a careless add-in would.
        [MethodImpl(MethodImplOptions.NoInlining)]
        private static void RegisterAndDrop(string nameSpace, ushort key, ShiftKeys shift, ActiveModes modes, string context)
        {
            Shortcut.Register(nameSpace, key, shift, modes, context, press => Presses.Add(press));
        }

        private static void CollectGarbage()
        {
            for (int i = 0; i < 3; ++i)
            {
                GC.Collect();
                GC.WaitForPendingFinalizers();
            }
        }

        private static bool PressAndWait(ShiftKeys shift, ushort key, int expectedPresses)
        {
            Host.PressChord(shift, key);
            return Host.PumpUntil(() => Presses.Count >= expectedPresses, 3000);
        }

        private static void KeysRegisteredAndForgottenStillRunTheirHandlers()
        {
            Check.Section("keys registered through the typed layer, garbage collected, then pressed");
            var cases = new (string Namespace, ushort Key, ShiftKeys Shift, ActiveModes Modes, string Context)[]
            {
                ("DotNetAddin", 'K', ShiftKeys.Control | ShiftKeys.Shift, ActiveModes.SlideDesign, "InsertDate"),
                ("Other Add-in", 'M', ShiftKeys.Control | ShiftKeys.Alt, ActiveModes.All, "macro with spaces"),
                ("DotNetAddin", 0x77 /* F8 */, ShiftKeys.Shift, ActiveModes.SlideDesign | ActiveModes.SlideShow, "café"),
            };
            foreach (var c in cases) RegisterAndDrop(c.Namespace, c.Key, c.Shift, c.Modes, c.Context);
            CollectGarbage();
            Host.BringToFront(editingWindow);
            foreach (var c in cases)
            {
                Presses.Clear();
                string what = c.Namespace + "/" + c.Context + ": ";
                Check.That(PressAndWait(c.Shift, c.Key, 1), what + "the handler ran");
                Host.Pump(100);  // a second call would come meanwhile
                Check.Equal(1, Presses.Count, what + "handler calls");
                if (Presses.Count != 1) continue;
                Check.Equal(c.Namespace, Presses[0].Namespace, what + "namespace");
                Check.Equal(c.Key, Presses[0].VirtualKey, what + "virtual key");
                Check.Equal(c.Shift, Presses[0].ShiftKeys, what + "shift keys");
                Check.Equal(c.Context, Presses[0].Context, what + "context");
                Check.That(LoomkeysLibrary.TryGetShortcut(c.Namespace, c.Context, out ShortcutInfo info), what + "found by context");
                Check.Equal(info.ShortcutId, Presses[0].ShortcutId, what + "shortcut id");
                Check.Equal(c.Modes, info.ActiveModes, what + "active modes");
            }

            Check.Section("a registration that the library refuses is an exception with its result");
            var first = cases[0];
            try
            {
                Shortcut.Register(first.Namespace, first.Key, first.Shift, first.Modes, first.Context, press => { });
                Check.That(false, "a duplicate registration throws");
            }
            catch (LoomkeysException e)
            {
                Check.Equal(LoomkeysResult.Duplicate, e.Result, "a duplicate registration's result");
            }

            Check.Section("a disposed shortcut is removed with its key");
            Shortcut own = Shortcut.Register("DotNetAddin", 'Q', ShiftKeys.Control | ShiftKeys.Shift, ActiveModes.All, "own",
                press => Presses.Add(press));
            Check.Equal(3u, LoomkeysLibrary.GetShortcutCount("DotNetAddin"), "shortcuts of the namespace before");
            own.Dispose();
            Check.Equal(2u, LoomkeysLibrary.GetShortcutCount("DotNetAddin"), "shortcuts of the namespace after");
            Check.Equal((int)LoomkeysResult.UnknownShortcutId, NativeMethods.UnregisterShortcut(own.Id), "its id is gone");
            Presses.Clear();
            Check.That(!PressAndWait(ShiftKeys.Control | ShiftKeys.Shift, 'Q', 1), "its key calls nothing");

            LoomkeysLibrary.UnloadNamespace("DotNetAddin");
            LoomkeysLibrary.UnloadNamespace("Other Add-in");
            Check.Equal(0u, LoomkeysLibrary.GetShortcutCount("DotNetAddin"), "the namespace is unloaded");
        }

        private static void AThrowingHandlerIsReportedAndTheOthersRun()
        {
            Check.Section("a handler that throws: the box is shown, the key's other handlers run, the program goes on");
            const string message = "The add-in's handler failed on purpose.";
            var calls = new List<string>();
            Shortcut throwing = Shortcut.Register("Failing", 'T', ShiftKeys.Control | ShiftKeys.Shift, ActiveModes.All, "first",
                press => { calls.Add("first"); throw new InvalidOperationException(message); });
            Shortcut after = Shortcut.Register("Failing", 'T', ShiftKeys.Control | ShiftKeys.Shift, ActiveModes.All, "second",
                press => calls.Add("second"));
            using (var boxes = new DialogAnswerer("Keyloom Exception", Host.IDOK))
            {
                Host.PressChord(ShiftKeys.Control | ShiftKeys.Shift, 'T');
                Host.PumpUntil(() => calls.Count >= 2, 5000);
                Host.Pump(100);
                Check.Equal("first,second", string.Join(",", calls), "handlers called");
                Check.Equal(1, boxes.Texts.Count, "boxes shown");
                if (boxes.Texts.Count == 1) Check.Equal(message, boxes.Texts[0], "the box's text");
            }
            throwing.Dispose();
            after.Dispose();
        }

        private struct CommandCase
        {
            public string Category, Name, Description;
            public ushort Key;
            public ShiftKeys Shift;
            public ActiveModes Modes;

            public CommandCase(string category, string name, string description, ushort key, ShiftKeys shift, ActiveModes modes)
            {
                Category = category;
                Name = name;
                Description = description;
                Key = key;
                Shift = shift;
                Modes = modes;
            }
        }

        private static readonly CommandCase[] Commands =
        {
            new CommandCase("Bearbeiten", "Größe ändern", "Ändert die Größe der Form.", 'G', ShiftKeys.Control | ShiftKeys.Shift,
                ActiveModes.SlideDesign),
            new CommandCase("Slide Show", "Black Screen", "", 'B', ShiftKeys.Control, ActiveModes.SlideShow),
            new CommandCase("Slide Show", "No Key Yet", "A command without a key.", 0, ShiftKeys.None, ActiveModes.All),
            new CommandCase("日本語", "コマンド", "UTF-16 beyond any ANSI code page", 'J', ShiftKeys.Alt, ActiveModes.All),
        };

        private static void UIDataTreesThroughTheSafeHandle()
        {
            Check.Section("a UI data tree through the SafeHandle: commands added and read back");
            using (var libraryBoxes = new DialogAnswerer("Exception", Host.IDOK))
            {
                UIData tree = UIData.Create();
                foreach (CommandCase c in Commands)
                {
                    Check.That(tree.AddCommand(c.Category, c.Name, c.Description, c.Key, c.Shift, c.Modes), c.Name + ": added");
                }
                foreach (CommandCase c in Commands)
                {
                    Check.That(tree.TryGetCommand(c.Category, c.Name, out ushort key, out ShiftKeys shift, out ActiveModes modes),
                        c.Name + ": found");
                    Check.Equal(c.Key, key, c.Name + ": key");
                    Check.Equal(c.Shift, shift, c.Name + ": shift keys");
                    Check.Equal(c.Modes, modes, c.Name + ": active modes");
                }
                CommandCase one = Commands[0];
                Check.That(!tree.AddCommand(one.Category, one.Name, "again", 'H', ShiftKeys.Control, ActiveModes.All),
                    "a second command of the same name is not added");
                Check.That(tree.TryGetCommand(one.Category, one.Name, out ushort kept, out _, out _) && kept == one.Key,
                    "and the first one is unchanged");
                Check.That(!tree.TryGetCommand(one.Category, "No such command", out _, out _, out _), "a missing command");
                Check.That(!tree.TryGetCommand("No such category", one.Name, out _, out _, out _), "a missing category");

                Check.Section("a disposed tree is refused before it reaches the library");
                tree.Dispose();
                Check.Throws<ObjectDisposedException>(() => tree.AddCommand("C", "N", "D", 'A', ShiftKeys.None, ActiveModes.All),
                    "AddCommand on a disposed tree");
                Check.Throws<ObjectDisposedException>(() => tree.TryGetCommand(one.Category, one.Name, out _, out _, out _),
                    "TryGetCommand on a disposed tree");
                tree.Dispose();

                Check.Section("a tree left to the garbage collector is freed on the library's thread");
                AbandonATree();
                CollectGarbage();
                UIData.Create().Dispose();
                Host.Pump(200);
                // The library shows every handle it is given that is no live tree in an "Exception" box.
                Check.Equal(0, libraryBoxes.Texts.Count, "boxes of the library about dead trees");
            }
        }

        [MethodImpl(MethodImplOptions.NoInlining)]
        private static void AbandonATree()
        {
            UIData.Create().AddCommand("Abandoned", "Command", "", 'A', ShiftKeys.Control, ActiveModes.All);
        }

        private static void RawDeclarationsCarryTheHeadersTypes()
        {
            Check.Section("the raw declarations: ANSI commands, shortcut data and ids in their exact types");
            IntPtr tree = NativeMethods.CreateUIData();
            Check.That(tree != IntPtr.Zero, "CreateUIData gives a tree");
            Check.Equal(0, NativeMethods.AddCommand(tree, "Category", "Command", "Description", 0x70, 6), "AddCommand");
            Check.Equal(0, NativeMethods.GetCommand(tree, "Category", "Command", out ushort key, out ushort shift), "GetCommand");
            Check.Equal((ushort)0x70, key, "GetCommand's key");
            Check.Equal((ushort)6, shift, "GetCommand's shift keys");
            Check.Equal(0, NativeMethods.GetCommand2(tree, "Category", "Command", out _, out _, out ushort mode), "GetCommand2");
            Check.Equal((ushort)0xFFFF, mode, "AddCommand's active mode");
            NativeMethods.DestroyUIData(tree);
            Check.Equal(7, NativeMethods.AddCommand(tree, "Category", "Other", "", 0, 0), "a destroyed tree in the raw call");

            NativeMethods.ShortcutCallback ignore = (ns, vk, sk, context, id) => { };
            Check.Equal(0, NativeMethods.RegisterShortcut("Raw", 0x71, 2, ignore, "raw context", out uint rawId), "RegisterShortcut");
            Check.Equal(0, NativeMethods.GetShortcutInfoByShortcutId(rawId, out ushort rawKey, out ushort rawShift, out ushort rawMode),
                "GetShortcutInfoByShortcutId");
            Check.Equal((ushort)0x71, rawKey, "its key");
            Check.Equal((ushort)2, rawShift, "its shift keys");
            Check.Equal((ushort)0xFFFF, rawMode, "its active mode");
            Check.Equal(0, NativeMethods.GetShortcutDataSize("Raw", 1, out uint size), "GetShortcutDataSize");
            Check.Equal((uint)"raw context".Length, size, "the context's length");
            var small = new byte[4];
            uint smallSize = (uint)small.Length;
            Check.Equal(4, NativeMethods.GetShortcutData("Raw", 1, small, ref smallSize, out _), "GetShortcutData, buffer too small");
            Check.Equal(size, smallSize, "the needed size written back");
            var buffer = new byte[size];
            Check.Equal(0, NativeMethods.GetShortcutData("Raw", 1, buffer, ref size, out uint dataId), "GetShortcutData");
            Check.Equal("raw context", System.Text.Encoding.ASCII.GetString(buffer), "the context's bytes");
            Check.Equal(rawId, dataId, "the id");
            Check.Equal(12, NativeMethods.GetShortcutDataSize("Raw", 2, out _), "an index past the entries");

            Check.Section("the first blob layout and a rename through the raw declarations");
            uint textSize = NativeMethods.GetNamespaceDataSize("Raw");
            var text = new byte[textSize];
            Check.Equal(0, NativeMethods.GetNamespaceData("Raw", text, ref textSize), "GetNamespaceData");
            NativeMethods.NamespaceRename("Raw", "Raw renamed");
            Check.Equal(1u, NativeMethods.GetShortcutCount("Raw renamed"), "renamed");
            NativeMethods.UnloadNamespace("Raw renamed");
            string saved = System.Text.Encoding.ASCII.GetString(text);
            Check.Equal(0, NativeMethods.LoadNamespace("Raw", ignore, saved, (uint)saved.Length), "LoadNamespace");
            Check.That(NativeMethods.GetShortcutInfoByContext("Raw", "raw context", out ushort loadedKey, out _, out _, out _) == 0 &&
                loadedKey == 0x71, "the shortcut is back");
            NativeMethods.UnloadNamespace("Raw");
            GC.KeepAlive(ignore);
        }

        private static void NamespaceTextSavedAndLoadedBack()
        {
            Check.Section("a namespace's shortcuts saved as text and loaded back through the binding");
            const string nameSpace = "DotNetSaved";
            var cases = new (string Namespace, ushort Key, ShiftKeys Shift, ActiveModes Modes, string Context)[]
            {
                (nameSpace, 'D', ShiftKeys.Control | ShiftKeys.Shift, ActiveModes.SlideDesign, "Insert Date"),
                (nameSpace, 'E', ShiftKeys.Control | ShiftKeys.Alt, ActiveModes.SlideShow, "Black Screen"),
                (nameSpace, 0x78 /* F9 */, ShiftKeys.None, ActiveModes.All, "Everywhere"),
            };
            foreach (var c in cases) RegisterAndDrop(c.Namespace, c.Key, c.Shift, c.Modes, c.Context);
            string saved = LoomkeysLibrary.SaveNamespace(nameSpace);
            Check.That(Regex.IsMatch(saved, "^([0-9A-F]{2})+$"), "the text is hexadecimal: " + saved);
            LoomkeysLibrary.UnloadNamespace(nameSpace);
            Check.Equal(0u, LoomkeysLibrary.GetShortcutCount(nameSpace), "unloaded");
            Check.Equal("", LoomkeysLibrary.SaveNamespace(nameSpace), "an empty namespace saves as empty text");

            var loadedPresses = new List<ShortcutPress>();
            Check.That(LoomkeysLibrary.LoadNamespace(nameSpace, saved, press => loadedPresses.Add(press)), "loaded");
            CollectGarbage();
            foreach (var c in cases)
            {
                Check.That(LoomkeysLibrary.TryGetShortcut(nameSpace, c.Context, out ShortcutInfo info), c.Context + ": back");
                Check.Equal(c.Key, info.VirtualKey, c.Context + ": key");
                Check.Equal(c.Shift, info.ShiftKeys, c.Context + ": shift keys");
                Check.Equal(c.Modes, info.ActiveModes, c.Context + ": active modes");
            }
            Host.BringToFront(editingWindow);
            Host.PressChord(cases[0].Shift, cases[0].Key);
            Check.That(Host.PumpUntil(() => loadedPresses.Count == 1, 3000), "a loaded key runs the namespace's handler");
            if (loadedPresses.Count == 1) Check.Equal(cases[0].Context, loadedPresses[0].Context, "with its context");
            Check.That(!LoomkeysLibrary.LoadNamespace(nameSpace, "not hexadecimal", press => { }), "a text that is no saved text");
            LoomkeysLibrary.UnloadNamespace(nameSpace);
        }

        private static void CustomizeDialogWithAProviderWrittenInCSharp()
        {
            Check.Section("the Customize dialog with version-10 providers written in C#");
            var created = new List<string>();
            var destroyed = new List<bool>();
            var readBack = new List<ushort>();
            CommandCase command = Commands[0];
            UIProvider provider = UIProvider.Register(
                tree =>
                {
                    created.Add("filled");
                    tree.AddCommand(command.Category, command.Name, command.Description, command.Key, command.Shift, command.Modes);
                },
                (tree, cancelled) =>
                {
                    destroyed.Add(cancelled);
                    tree.TryGetCommand(command.Category, command.Name, out ushort key, out _, out _);
                    readBack.Add(key);
                });
            const string failure = "The provider could not fill its tree.";
            UIProvider failing = UIProvider.Register(tree => throw new InvalidOperationException(failure), (tree, cancelled) => { },
                atFront: true);
            CollectGarbage();

            var closings = new[] { new { Button = Host.IDOK, Cancelled = false }, new { Button = Host.IDCANCEL, Cancelled = true } };
            foreach (var closing in closings)
            {
                string what = "closed with " + (closing.Cancelled ? "Cancel" : "OK") + ": ";
                created.Clear();
                destroyed.Clear();
                readBack.Clear();
                using (var createBoxes = new DialogAnswerer("OnCreateUI Exception", Host.IDOK))
                using (var dialog = new DialogAnswerer("Customize Shortcuts", closing.Button))
                {
                    LoomkeysLibrary.ShowCustomizeShortcuts(null);
                    Host.Pump(100);
                    Check.Equal(1, dialog.Texts.Count, what + "dialogs shown");
                    Check.Equal(1, createBoxes.Texts.Count, what + "boxes about the failing provider");
                    if (createBoxes.Texts.Count == 1) Check.Equal(failure, createBoxes.Texts[0], what + "the box's text");
                }
                Check.Equal(1, created.Count, what + "OnCreateUI calls");
                Check.Equal(1, destroyed.Count, what + "OnDestroyUI calls");
                if (destroyed.Count == 1) Check.Equal(closing.Cancelled, destroyed[0], what + "cancelled");
                if (readBack.Count == 1) Check.Equal(command.Key, readBack[0], what + "the command read back");
            }
            provider.Dispose();
            failing.Dispose();
            created.Clear();
            using (var dialog = new DialogAnswerer("Customize Shortcuts", Host.IDOK))
            {
                LoomkeysLibrary.ShowCustomizeShortcuts(null);
            }
            Check.Equal(0, created.Count, "a disposed provider is not asked again");
        }

        private static void TheBindingUsesOnlyTheStandardSurface(string bindingAssembly)
        {
            Check.Section("the binding's assembly refers to no type outside .NET Standard 2.0");
            string netstandard = Path.Combine(Path.GetDirectoryName(typeof(object).Assembly.Location), "netstandard.dll");
            HashSet<string> standard = StandardSurface.StandardTypes(netstandard);
            // The list is the standard's, not everything that this runtime has.
            var known = new[]
            {
                new { Type = "System.Runtime.InteropServices.SafeHandle", InStandard = true },
                new { Type = "System.Collections.Concurrent.ConcurrentQueue`1", InStandard = true },
                new { Type = "System.Buffers.ArrayPool`1", InStandard = false },
                new { Type = "System.Span`1", InStandard = false },
                new { Type = "System.HashCode", InStandard = false },
            };
            foreach (var type in known) Check.Equal(type.InStandard, standard.Contains(type.Type), type.Type + " in the standard");
            List<string> outside = StandardSurface.TypesOutside(bindingAssembly, standard);
            Check.That(outside.Count == 0, "types outside the standard: " + string.Join(", ", outside));
        }
    }
}
