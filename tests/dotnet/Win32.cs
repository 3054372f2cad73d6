// The test program as PowerPoint and as its user, through P/Invoke: a window of PowerPoint's
// editing-window class in front with a message pump on the library's thread, key presses with
// SendInput, and watcher threads that answer message boxes and dialogs.
using System;
using System.Collections.Generic;
using System.Diagnostics;
using System.Runtime.InteropServices;
using System.Text;
using System.Threading;

namespace Loomkeys.Tests
{
    internal static class Host
    {
        // A visible top-level window of the given class whose messages go to DefWindowProcW.
        public static IntPtr CreateWindow(string className, string title)
        {
            var windowClass = new WNDCLASSW
            {
                lpfnWndProc = GetProcAddress(GetModuleHandleW("user32.dll"), "DefWindowProcW"),
                hInstance = GetModuleHandleW(null),
                hbrBackground = new IntPtr(COLOR_WINDOW + 1),
                lpszClassName = className,
            };
            RegisterClassW(ref windowClass);
            return CreateWindowExW(0, className, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 400, 300, IntPtr.Zero,
                IntPtr.Zero, windowClass.hInstance, IntPtr.Zero);
        }

        // Dispatches this thread's messages until done() or the time is up.
        public static bool PumpUntil(Func<bool> done, int milliseconds)
        {
            var clock = Stopwatch.StartNew();
            for (;;)
            {
                while (PeekMessageW(out MSG message, IntPtr.Zero, 0, 0, PM_REMOVE))
                {
                    TranslateMessage(ref message);
                    DispatchMessageW(ref message);
                }
                if (done != null && done()) return true;
                if (clock.ElapsedMilliseconds >= milliseconds) return false;
                MsgWaitForMultipleObjects(0, null, false, 10, QS_ALLINPUT);
            }
        }

        public static void Pump(int milliseconds)
        {
            PumpUntil(null, milliseconds);
        }

        // Brings the window to the front and lets a few of the library's 50 ms ticks see it.
        public static bool BringToFront(IntPtr window)
        {
            SetForegroundWindow(window);
            SetFocus(window);
            bool inFront = PumpUntil(() => GetForegroundWindow() == window, 2000);
            Pump(200);
            return inFront;
        }

        // Presses virtualKey with the shift keys held, as a keyboard would.
        public static void PressChord(ShiftKeys shiftKeys, ushort virtualKey)
        {
            var held = new List<ushort>();
            if ((shiftKeys & ShiftKeys.Control) != 0) held.Add(VK_CONTROL);
            if ((shiftKeys & ShiftKeys.Shift) != 0) held.Add(VK_SHIFT);
            if ((shiftKeys & ShiftKeys.Alt) != 0) held.Add(VK_MENU);
            var inputs = new List<INPUT>();
            foreach (ushort key in held) inputs.Add(KeyInput(key, false));
            inputs.Add(KeyInput(virtualKey, false));
            inputs.Add(KeyInput(virtualKey, true));
            for (int i = held.Count - 1; i >= 0; --i) inputs.Add(KeyInput(held[i], true));
            SendInput((uint)inputs.Count, inputs.ToArray(), Marshal.SizeOf(typeof(INPUT)));
        }

        private static INPUT KeyInput(ushort virtualKey, bool up)
        {
            return new INPUT
            {
                type = INPUT_KEYBOARD,
                ki = new KEYBDINPUT
                {
                    wVk = virtualKey,
                    wScan = (ushort)MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC),
                    dwFlags = up ? KEYEVENTF_KEYUP : 0,
                },
            };
        }

        // A visible dialog-class window with this caption, or zero.
        public static IntPtr FindDialog(string caption)
        {
            IntPtr dialog = FindWindowW("#32770", caption);
            return dialog != IntPtr.Zero && IsWindowVisible(dialog) ? dialog : IntPtr.Zero;
        }

        // The text of a message box (its static control has the id 0xFFFF).
        public static string MessageBoxText(IntPtr box)
        {
            var text = new StringBuilder(512);
            GetDlgItemTextW(box, 0xFFFF, text, text.Capacity);
            return text.ToString();
        }

        public static void PressButton(IntPtr dialog, int buttonId)
        {
            PostMessageW(dialog, WM_COMMAND, new IntPtr(buttonId), IntPtr.Zero);  // BN_CLICKED is 0
        }

        public const int IDOK = 1;
        public const int IDCANCEL = 2;

        private const uint WS_OVERLAPPEDWINDOW = 0x00CF0000;
        private const uint WS_VISIBLE = 0x10000000;
        private const int COLOR_WINDOW = 5;
        private const uint PM_REMOVE = 1;
        private const uint QS_ALLINPUT = 0x04FF;
        private const uint INPUT_KEYBOARD = 1;
        private const uint KEYEVENTF_KEYUP = 2;
        private const uint MAPVK_VK_TO_VSC = 0;
        private const ushort VK_SHIFT = 0x10, VK_CONTROL = 0x11, VK_MENU = 0x12;
        private const uint WM_COMMAND = 0x0111;

        [StructLayout(LayoutKind.Sequential, CharSet = CharSet.Unicode)]
        private struct WNDCLASSW
        {
            public uint style;
            public IntPtr lpfnWndProc;
            public int cbClsExtra, cbWndExtra;
            public IntPtr hInstance, hIcon, hCursor, hbrBackground;
            public string lpszMenuName, lpszClassName;
        }

        [StructLayout(LayoutKind.Sequential)]
        private struct MSG
        {
            public IntPtr hwnd;
            public uint message;
            public IntPtr wParam, lParam;
            public uint time;
            public int x, y;
        }

        // INPUT of a keyboard event on 64-bit Windows: the KEYBDINPUT at offset 8, 40 bytes in all (the size
        // of the union's largest member, MOUSEINPUT).
        [StructLayout(LayoutKind.Sequential, Size = 40)]
        private struct INPUT
        {
            public uint type;
            public KEYBDINPUT ki;
        }

        [StructLayout(LayoutKind.Sequential)]
        private struct KEYBDINPUT
        {
            public ushort wVk, wScan;
            public uint dwFlags, time;
            public IntPtr dwExtraInfo;
        }

        [DllImport("kernel32.dll", CharSet = CharSet.Unicode)] private static extern IntPtr GetModuleHandleW(string name);
        [DllImport("kernel32.dll", CharSet = CharSet.Ansi)] private static extern IntPtr GetProcAddress(IntPtr module, string name);
        [DllImport("user32.dll", CharSet = CharSet.Unicode)] private static extern ushort RegisterClassW(ref WNDCLASSW windowClass);
        [DllImport("user32.dll", CharSet = CharSet.Unicode)]
        private static extern IntPtr CreateWindowExW(uint exStyle, string className, string title, uint style, int x, int y,
            int width, int height, IntPtr parent, IntPtr menu, IntPtr instance, IntPtr param);
        [DllImport("user32.dll")] private static extern bool PeekMessageW(out MSG message, IntPtr window, uint min, uint max, uint remove);
        [DllImport("user32.dll")] private static extern bool TranslateMessage(ref MSG message);
        [DllImport("user32.dll")] private static extern IntPtr DispatchMessageW(ref MSG message);
        [DllImport("user32.dll")]
        private static extern uint MsgWaitForMultipleObjects(uint count, IntPtr[] handles, bool waitAll, uint milliseconds, uint wakeMask);
        [DllImport("user32.dll")] private static extern bool SetForegroundWindow(IntPtr window);
        [DllImport("user32.dll")] private static extern IntPtr SetFocus(IntPtr window);
        [DllImport("user32.dll")] private static extern IntPtr GetForegroundWindow();
        [DllImport("user32.dll")] private static extern uint SendInput(uint count, INPUT[] inputs, int size);
        [DllImport("user32.dll")] private static extern uint MapVirtualKeyW(uint code, uint mapType);
        [DllImport("user32.dll", CharSet = CharSet.Unicode)] private static extern IntPtr FindWindowW(string className, string caption);
        [DllImport("user32.dll")] private static extern bool IsWindowVisible(IntPtr window);
        [DllImport("user32.dll", CharSet = CharSet.Unicode)]
        private static extern uint GetDlgItemTextW(IntPtr dialog, int id, StringBuilder text, int size);
        [DllImport("user32.dll")] private static extern bool PostMessageW(IntPtr window, uint message, IntPtr wParam, IntPtr lParam);
    }

    // Answers every dialog with one caption by pressing a button, as a user would, and keeps the
    // texts of the message boxes that it answered, until disposed.
    internal sealed class DialogAnswerer : IDisposable
    {
        private readonly string caption;
        private readonly int buttonId;
        private readonly List<string> texts = new List<string>();
        private readonly Thread thread;
        private volatile bool stop;

        public DialogAnswerer(string caption, int buttonId)
        {
            this.caption = caption;
            this.buttonId = buttonId;
            thread = new Thread(Watch) { IsBackground = true };
            thread.Start();
        }

        public List<string> Texts
        {
            get { lock (texts) return new List<string>(texts); }
        }

        public void Dispose()
        {
            stop = true;
            thread.Join();
        }

        private void Watch()
        {
            while (!stop)
            {
                IntPtr dialog = Host.FindDialog(caption);
                if (dialog == IntPtr.Zero)
                {
                    Thread.Sleep(10);
                    continue;
                }
                Thread.Sleep(50);  // the window exists before its controls do
                string text = Host.MessageBoxText(dialog);
                lock (texts) texts.Add(text);
                Host.PressButton(dialog, buttonId);
                for (int i = 0; i < 200 && Host.FindDialog(caption) == dialog; ++i) Thread.Sleep(10);
            }
        }
    }
}
