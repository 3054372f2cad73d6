/* An add-in author's program that uses the release package, not the source
   tree: loomkeys.h from the package's include folder, linked against one of
   its import libraries, run with its Loomkeys.dll. The same file is built
   with MinGW-w64 (through the package's CMake config, C runtime and main) and
   with clang in Microsoft mode without a Windows SDK or C runtime
   (ConsumerEntry), so it declares the three kernel32 functions it calls.

   It registers a key, reads it back, saves the namespace's blob text, unloads
   the namespace and loads the blob back, printing each step; it exits with 0
   only when every answer was the documented one. */
#include <stddef.h>
#include <stdint.h>

#include "loomkeys.h"

__declspec(dllimport) void* __stdcall GetStdHandle(uint32_t nStdHandle);
__declspec(dllimport) int __stdcall WriteFile(void* hFile, const void* lpBuffer, uint32_t nNumberOfBytesToWrite,
                                              uint32_t* lpNumberOfBytesWritten, void* lpOverlapped);
__declspec(dllimport) __declspec(noreturn) void __stdcall ExitProcess(uint32_t uExitCode);

#define kStdOutputHandle ((uint32_t)-11)

/* Ctrl+Alt+Shift+F19: no keyboard has F19, and neither Windows, Wine nor
   another test binds it, so RegisterShortcut2 does not meet it held (3). */
#define kKey 0x82
#define kShift (LOOMKEYS_MOD_CONTROL | LOOMKEYS_MOD_ALT | LOOMKEYS_MOD_SHIFT)
static const char kNamespace[] = "PackageConsumer";
static const char kContext[] = "package";
/* The blob text of that one shortcut: version 20, key 0x82, shift keys 7,
   slide design, the context's length 7 and its bytes, each byte as two
   hexadecimal digits, little-endian. */
/* clang-format off */
static const char kBlob[] = "14000000"
                            "8200"
                            "0700"
                            "0100"
                            "07000000"
                            "7061636B616765";
/* clang-format on */

static size_t TextLength(const char* text) {
  size_t length = 0;
  while (text[length] != '\0') ++length;
  return length;
}

static void Print(const char* text) {
  uint32_t written = 0;
  WriteFile(GetStdHandle(kStdOutputHandle), text, (uint32_t)TextLength(text), &written, NULL);
}

static int failures = 0;

static void Check(int passed, const char* what) {
  Print(passed ? "ok       " : "FAILED   ");
  Print(what);
  Print("\r\n");
  if (!passed) ++failures;
}

static int SameBytes(const char* data, uint32_t size, const char* text) {
  uint32_t i;
  if (size != TextLength(text)) return 0;
  for (i = 0; i < size; ++i)
    if (data[i] != text[i]) return 0;
  return 1;
}

static void LOOMKEYS_CALL OnShortcut(const wchar_t* lpNamespace, uint16_t uVirtualKey, uint16_t uShiftKeys,
                                     const wchar_t* lpContext, uint32_t uShortcutId) {
  (void)lpNamespace;
  (void)uVirtualKey;
  (void)uShiftKeys;
  (void)lpContext;
  (void)uShortcutId;
}

/* The shortcut of kContext is there with the registered key, shift keys and mode. */
static int ShortcutIsRegistered(uint32_t* lpShortcutId) {
  uint16_t key = 0, shift = 0, mode = 0;
  return GetShortcutInfoByContext(kNamespace, kContext, &key, &shift, &mode, lpShortcutId) == LOOMKEYS_OK &&
         key == kKey && shift == kShift && mode == LOOMKEYS_MODE_SLIDE_DESIGN && GetShortcutCount(kNamespace) == 1;
}

static int RunChecks(void) {
  uint32_t id = 0, foundId = 0, size = 0;
  char blob[64];

  Check(
      RegisterShortcut2(kNamespace, kKey, kShift, LOOMKEYS_MODE_SLIDE_DESIGN, OnShortcut, kContext, &id) == LOOMKEYS_OK,
      "RegisterShortcut2 registers Ctrl+Alt+Shift+F19 for slide design");
  Check(ShortcutIsRegistered(&foundId) && foundId == id,
        "GetShortcutInfoByContext reads the key, shift keys, mode and id back");

  size = GetNamespaceDataSize2(kNamespace);
  Check(size == TextLength(kBlob), "GetNamespaceDataSize2 gives the length of the blob text");
  size = sizeof blob - 1;
  Check(GetNamespaceData2(kNamespace, blob, &size) == LOOMKEYS_OK && SameBytes(blob, size, kBlob),
        "GetNamespaceData2 saves the namespace's blob text:");
  blob[size < sizeof blob ? size : 0] = '\0';
  Print("         ");
  Print(blob);
  Print("\r\n");

  UnloadNamespace(kNamespace);
  Check(GetShortcutCount(kNamespace) == 0 &&
            GetShortcutInfoByShortcutId(id, NULL, NULL, NULL) == LOOMKEYS_UNKNOWN_SHORTCUT_ID,
        "UnloadNamespace removes the shortcut");

  Check(LoadNamespace2(kNamespace, OnShortcut, blob, size) == LOOMKEYS_OK && ShortcutIsRegistered(&foundId),
        "LoadNamespace2 registers the saved shortcut from its blob text again");
  UnloadNamespace(kNamespace);
  Check(GetShortcutCount(kNamespace) == 0, "UnloadNamespace leaves the namespace empty");

  Print(failures == 0 ? "package consumer: every call answered as documented\r\n"
                      : "package consumer: some calls did not answer as documented\r\n");
  return failures == 0 ? 0 : 1;
}

/* MinGW-w64: the C runtime calls main. */
int main(void) { return RunChecks(); }

/* Microsoft mode links without a C runtime and starts here (/entry:ConsumerEntry). */
void ConsumerEntry(void);
void ConsumerEntry(void) { ExitProcess((uint32_t)RunChecks()); }
