/*
 * Loomkeys: keyboard shortcuts of the user's choosing for PowerPoint.
 *
 * The public interface of Loomkeys.dll (64-bit) for add-ins written in C or
 * C++. Every function is a plain C function in the stdcall convention,
 * exported under its undecorated name. No C++ exception ever leaves it.
 *
 * Threads: the library works on the thread that loaded it, the host's user
 * interface thread, which must run a message loop. Its hidden window, its
 * timer, the shortcut callbacks and the dialogs all run there. Shortcuts are
 * registered and removed on that thread only, because Windows binds and
 * unbinds hot keys only for the thread that owns their window:
 * RegisterShortcut(2), UnregisterShortcut and LoadNamespace(2) called on
 * another thread answer LOOMKEYS_WRONG_THREAD and change nothing, and
 * UnloadNamespace and ShowCustomizeShortcutsUI do nothing there. The queries
 * and GetNamespaceData(2), GetNamespaceDataSize(2) and NamespaceRename may be
 * called from any thread.
 *
 * Unloading: unload the library on the thread that loaded it, also from
 * inside a shortcut callback, a provider's OnDestroyUI, or the host's own
 * code that the message loop of the About box or of the Customize Shortcuts
 * dialog runs. Unload it on another thread while the library's thread is in
 * no call of the library's functions, or in ShowAboutBox or
 * ShowCustomizeShortcutsUI: key presses may come meanwhile (a press that
 * comes once the unload has begun waits for it and then finds the library
 * gone). In a process that forbids code written at run time, a press that
 * comes at that moment can still resume in code that is gone: unload on the
 * library's thread there. While a key press, a dialog or a box of the library runs, the
 * library holds a reference on itself: an unload meanwhile completes when
 * the call that opened it returns (on the library's thread, before the
 * return reaches the caller), and the press's other callbacks still run. The
 * unload releases every key, atom, window, timer and the named mutex; when
 * it completes on another thread than the library's, the library's window
 * goes the next time the library's thread pumps messages. No message enters
 * the library's code after the unload, and a later load starts afresh (a new
 * window, ids from 1).
 *
 * Strings: namespaces and contexts are NUL-terminated ANSI strings in the
 * system's default code page; a null pointer reads as the empty string, and
 * two strings are equal when their bytes are (case-sensitive). A null
 * out-pointer is not written. The library copies every string it is given
 * before it uses it and keeps no pointer of the caller's.
 *
 * Unusable pointers: every string, record, Application VARIANT and variable
 * that a pointer argument leads to is read, and every out-variable and
 * buffer written, behind a guard against access violations. When one of
 * them cannot be read or written, the function answers
 * LOOMKEYS_ERROR_RAISED (6); GetShortcutCount and the size functions answer
 * 0, and the functions without a result do nothing. The library is then as
 * it was before the call: a shortcut or a provider whose id or handle cannot
 * be written is removed again (the id is not handed out again), nothing else
 * was stored or changed, and no lock stays held. Out-variables and buffers
 * written before the fault keep what was written. Memory that can be read
 * but not written is fine for strings and records, and for out-variables
 * that the call has nothing to write into.
 *
 * Sizes: ask for the size first, then for the data. A buffer that is too
 * small gives LOOMKEYS_BUFFER_TOO_SMALL with the needed size written back;
 * data is copied without a terminating NUL.
 *
 * Numbers: virtual keys, shift keys and active modes are unsigned 16-bit,
 * shortcut ids unsigned 32-bit; results are 32-bit signed integers.
 */
#ifndef LOOMKEYS_H
#define LOOMKEYS_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define LOOMKEYS_CALL __stdcall
#ifdef LOOMKEYS_BUILDING_DLL
#define LOOMKEYS_API
#else
#define LOOMKEYS_API __declspec(dllimport)
#endif

/* Results of the functions that report an outcome. */
enum {
  LOOMKEYS_OK = 0,                  /* success */
  LOOMKEYS_DUPLICATE = 2,           /* the namespace's earliest entry on this key has the same context */
  LOOMKEYS_KEY_NOT_BOUND = 3,       /* the key could not be bound as a system hot key */
  LOOMKEYS_BUFFER_TOO_SMALL = 4,    /* the buffer is too small; the needed size was written back */
  LOOMKEYS_UNKNOWN_SHORTCUT_ID = 5, /* no entry has this shortcut id */
  LOOMKEYS_ERROR_RAISED = 6,        /* an error inside the call: bad blob, out of memory, or a pointer
                                       argument that could not be read or written ("Unusable pointers") */
  LOOMKEYS_CALL_FAILED = 7,         /* the call failed, or a provider record has an unknown version */
  LOOMKEYS_UNKNOWN_PROVIDER = 8,    /* the provider handle is not registered */
  LOOMKEYS_COMMAND_EXISTS = 9,      /* the category already has a command of that name */
  LOOMKEYS_NO_SUCH_COMMAND = 10,    /* no such category, or no such command in it */
  LOOMKEYS_NO_ENTRIES = 11,         /* the namespace has no entries */
  LOOMKEYS_INDEX_PAST_ENTRIES = 12, /* the namespace has fewer entries than the 1-based index */
  LOOMKEYS_NO_SUCH_CONTEXT = 13,    /* the namespace has entries, but none with this context */
  LOOMKEYS_WRONG_THREAD = 14        /* called on another thread than the one that loaded the library:
                                       nothing was done (see "Threads" above) */
};

/* Shift keys, as RegisterHotKey takes them. */
#define LOOMKEYS_MOD_ALT 0x0001
#define LOOMKEYS_MOD_CONTROL 0x0002
#define LOOMKEYS_MOD_SHIFT 0x0004
#define LOOMKEYS_MOD_WIN 0x0008

/* Active modes: a shortcut's key is live while PowerPoint's editing window
   (slide design) or its slide show is in front. 0xFFFF means every mode. */
#define LOOMKEYS_MODE_SLIDE_DESIGN 0x0001
#define LOOMKEYS_MODE_SLIDE_SHOW 0x0002
#define LOOMKEYS_MODE_ALL 0xFFFF

/*
 * Called on the library's thread when a live key is pressed, once for every
 * shortcut registered on that key, in registration order.
 *
 * lpNamespace and lpContext are counted strings: the 32-bit word just before
 * the first character holds a count, and the text ends with a zero. The text
 * is the registered ANSI string written twice, in UTF-16, and the count is
 * its number of UTF-16 units, so a reader that takes the count as a number
 * of bytes (as a BSTR is read) sees the string exactly once. Both belong to
 * the library and are valid until the callback returns.
 */
typedef void(LOOMKEYS_CALL* TShortcutCallbackFunc)(const wchar_t* lpNamespace, uint16_t uVirtualKey,
                                                   uint16_t uShiftKeys, const wchar_t* lpContext, uint32_t uShortcutId);

/* ---- Shortcuts ---------------------------------------------------------- */

/* Registers a shortcut and binds its key as a system hot key if it is new.
   0 and the new id in *lpShortcutId; 2 duplicate; 3 the key could not be
   bound (held by another program); 14 on another thread than the library's.
   Nothing is stored unless 0. */
LOOMKEYS_API int32_t LOOMKEYS_CALL RegisterShortcut2(const char* lpNamespace, uint16_t uVirtualKey, uint16_t uShiftKeys,
                                                     uint16_t uActiveMode, TShortcutCallbackFunc lpCallback,
                                                     const char* lpContext, uint32_t* lpShortcutId);
/* RegisterShortcut2 with every active mode (0xFFFF). */
LOOMKEYS_API int32_t LOOMKEYS_CALL RegisterShortcut(const char* lpNamespace, uint16_t uVirtualKey, uint16_t uShiftKeys,
                                                    TShortcutCallbackFunc lpCallback, const char* lpContext,
                                                    uint32_t* lpShortcutId);
/* Removes a shortcut; its key is released when it was the key's last.
   0; 5 unknown id; 14 on another thread than the library's. */
LOOMKEYS_API int32_t LOOMKEYS_CALL UnregisterShortcut(uint32_t uShortcutId);
/* Key, shift keys and active mode of a shortcut. 0 or 5 (nothing written). */
LOOMKEYS_API int32_t LOOMKEYS_CALL GetShortcutInfoByShortcutId(uint32_t uShortcutId, uint16_t* lpVirtualKey,
                                                               uint16_t* lpShiftKeys, uint16_t* lpActiveMode);
/* The namespace's first shortcut with this context. 0; 11 no entries; 13 no such context. */
LOOMKEYS_API int32_t LOOMKEYS_CALL GetShortcutInfoByContext(const char* lpNamespace, const char* lpContext,
                                                            uint16_t* lpVirtualKey, uint16_t* lpShiftKeys,
                                                            uint16_t* lpActiveMode, uint32_t* lpShortcutId);
/* The number of shortcuts of the namespace. */
LOOMKEYS_API uint32_t LOOMKEYS_CALL GetShortcutCount(const char* lpNamespace);
/* The context length of the namespace's shortcut number uIndex (1-based).
   0; 11 no entries; 12 fewer entries than uIndex. */
LOOMKEYS_API int32_t LOOMKEYS_CALL GetShortcutDataSize(const char* lpNamespace, uint32_t uIndex, uint32_t* lpSize);
/* Copies that shortcut's context (no terminator) and its id. *lpSize is in:
   the buffer's size, out: the context's length. 0; 4 too small (size and id
   written); 6 the buffer could not be written; 11; 12. */
LOOMKEYS_API int32_t LOOMKEYS_CALL GetShortcutData(const char* lpNamespace, uint32_t uIndex, void* lpBuffer,
                                                   uint32_t* lpSize, uint32_t* lpShortcutId);

/* ---- Namespaces --------------------------------------------------------- */

/* A namespace's shortcuts saved as blob text: two hexadecimal digits (0-9,
   A-F) per byte of a version word and one record per shortcut. The first
   pair of functions stores key, shift keys and context; the functions
   ending in 2 store the active mode as well. Load a text with the function
   of the pair that produced it. */

/* The length of the namespace's text (first layout); 0 when it has no shortcuts. */
LOOMKEYS_API uint32_t LOOMKEYS_CALL GetNamespaceDataSize(const char* lpNamespace);
/* The same for the layout with active modes. */
LOOMKEYS_API uint32_t LOOMKEYS_CALL GetNamespaceDataSize2(const char* lpNamespace);
/* Copies the namespace's text (no terminator). *lpSize is in: the buffer's
   size, out: the text's length. 0; 4 too small (size written); 11 no
   shortcuts (size 0); 6 the buffer could not be written. */
LOOMKEYS_API int32_t LOOMKEYS_CALL GetNamespaceData(const char* lpNamespace, void* lpBuffer, uint32_t* lpSize);
/* The same for the layout with active modes. */
LOOMKEYS_API int32_t LOOMKEYS_CALL GetNamespaceData2(const char* lpNamespace, void* lpBuffer, uint32_t* lpSize);
/* Registers every shortcut of a text from GetNamespaceData under lpNamespace
   and lpCallback, active in every mode; existing shortcuts stay. Shortcuts
   that are duplicates or whose key cannot be bound are skipped. lpData is
   read up to its NUL; uDataSize is not used. 0 loaded; 6 the text is not
   hexadecimal, its version is wrong, or its last record is cut short (the
   complete records before it stay registered); 14 on another thread than
   the library's (nothing loaded). */
LOOMKEYS_API int32_t LOOMKEYS_CALL LoadNamespace(const char* lpNamespace, TShortcutCallbackFunc lpCallback,
                                                 const char* lpData, uint32_t uDataSize);
/* The same for a text from GetNamespaceData2; the active modes are restored. */
LOOMKEYS_API int32_t LOOMKEYS_CALL LoadNamespace2(const char* lpNamespace, TShortcutCallbackFunc lpCallback,
                                                  const char* lpData, uint32_t uDataSize);
/* Removes every shortcut of the namespace; keys left without shortcuts are
   released. Does nothing on another thread than the library's. */
LOOMKEYS_API void LOOMKEYS_CALL UnloadNamespace(const char* lpNamespace);
/* Moves every shortcut of lpNamespace to lpNewNamespace; keys and ids stay. */
LOOMKEYS_API void LOOMKEYS_CALL NamespaceRename(const char* lpNamespace, const char* lpNewNamespace);

/* ---- UI data: categories and commands for the Customize dialog ----------- */

/* A UI data tree: one provider's categories, each with its commands. The
   handle is an opaque value, never null for a tree and never the address
   of anything; it is valid until DestroyUIData and refused for the rest of
   the process afterwards, as is any handle that is no live tree (null, or
   never handed out by the library). Category and command names are
   compared exactly (case-sensitive); a null string reads as empty. The
   functions without a 2 take ANSI strings in the system's default code
   page; the 2 variants take UTF-16 and carry the active mode. Trees have no
   lock: use them on the library's thread only. */
typedef struct LoomkeysUIData* TUIDataHandle;

/* A new, empty tree (null only when memory runs out). */
LOOMKEYS_API TUIDataHandle LOOMKEYS_CALL CreateUIData(void);
/* Adds a command, creating its category on first use. 0 added; 9 the
   category already has a command of that name (nothing changed); 7 failed
   (also for a handle that is no live tree). uVirtualKey 0 means that no key
   is assigned. */
LOOMKEYS_API int32_t LOOMKEYS_CALL AddCommand2(TUIDataHandle uiData, const wchar_t* lpCategory, const wchar_t* lpName,
                                               const wchar_t* lpDescription, uint16_t uVirtualKey, uint16_t uShiftKeys,
                                               uint16_t uActiveMode);
/* AddCommand2 with ANSI strings and every active mode (0xFFFF). */
LOOMKEYS_API int32_t LOOMKEYS_CALL AddCommand(TUIDataHandle uiData, const char* lpCategory, const char* lpName,
                                              const char* lpDescription, uint16_t uVirtualKey, uint16_t uShiftKeys);
/* Reads a command's key, shift keys and active mode back. 0 found; 10 no
   such category or command (nothing written); 7 failed (also for a handle
   that is no live tree). */
LOOMKEYS_API int32_t LOOMKEYS_CALL GetCommand2(TUIDataHandle uiData, const wchar_t* lpCategory, const wchar_t* lpName,
                                               uint16_t* lpVirtualKey, uint16_t* lpShiftKeys, uint16_t* lpActiveMode);
/* GetCommand2 with ANSI strings, without the active mode. */
LOOMKEYS_API int32_t LOOMKEYS_CALL GetCommand(TUIDataHandle uiData, const char* lpCategory, const char* lpName,
                                              uint16_t* lpVirtualKey, uint16_t* lpShiftKeys);
/* Frees the tree with all its categories and commands; null is ignored. A
   handle that is no live tree frees nothing and is shown in a message box
   captioned "Exception". */
LOOMKEYS_API void LOOMKEYS_CALL DestroyUIData(TUIDataHandle uiData);

/* ---- UI providers ----------------------------------------------------------- */

/* A UI provider contributes commands to the Customize dialog. The library
   copies its record when it registers, so the caller may reuse it at once.

   Version 10 (native): OnCreateUI gets the address of a slot and stores a
   tree there that it created and filled; OnDestroyUI gets that tree back
   with the cancelled flag (0 after OK, 0xFFFF after Cancel), reads the
   commands and destroys the tree. Either may be null.
   Version 20 (macros): the names of two macros that the library runs
   through PowerPoint's Application.Run, on a tree the library creates and
   destroys itself. A null name counts as empty.
   The provider list has no lock: register and unregister on the library's
   thread only (also from inside a provider's own event). */
#define LOOMKEYS_PROVIDER_NATIVE 10
#define LOOMKEYS_PROVIDER_MACRO 20

typedef struct LoomkeysUIProvider* TUIProviderHandle;
typedef void(LOOMKEYS_CALL* TOnCreateUIFunc)(TUIDataHandle* lpSlot);
typedef void(LOOMKEYS_CALL* TOnDestroyUIFunc)(TUIDataHandle uiData, uint16_t uCancelled);

/* The record has fixed offsets: version 10 is 20 bytes with the callbacks
   at offsets 4 and 12 (hence the packing); version 20 is 24 bytes with the
   names at offsets 8 and 16. */
#pragma pack(push, 4)
typedef struct TUIProviderNative {
  int32_t Version; /* LOOMKEYS_PROVIDER_NATIVE */
  TOnCreateUIFunc OnCreateUI;
  TOnDestroyUIFunc OnDestroyUI;
} TUIProviderNative;
#pragma pack(pop)

typedef struct TUIProviderMacro {
  int32_t Version; /* LOOMKEYS_PROVIDER_MACRO */
  int32_t Reserved;
  const char* OnCreateUIMacro;
  const char* OnDestroyUIMacro;
} TUIProviderMacro;

typedef union TUIProvider {
  int32_t Version;
  TUIProviderNative Native;
  TUIProviderMacro Macro;
} TUIProvider;

/* The library reads the record at these byte offsets, so a compiler that
   laid it out otherwise must stop here rather than build a client that
   registers garbage. (C before C11 has no compile-time assertion.) */
#if defined(__cplusplus)
#define LOOMKEYS_STATIC_ASSERT(condition, message) static_assert(condition, message)
#elif defined(__STDC_VERSION__) && __STDC_VERSION__ >= 201112L
#define LOOMKEYS_STATIC_ASSERT(condition, message) _Static_assert(condition, message)
#endif
#ifdef LOOMKEYS_STATIC_ASSERT
LOOMKEYS_STATIC_ASSERT(sizeof(void*) == 8, "Loomkeys.dll is a 64-bit library: build the client for 64 bits");
LOOMKEYS_STATIC_ASSERT(offsetof(TUIProviderNative, Version) == 0 && offsetof(TUIProviderNative, OnCreateUI) == 4 &&
                           offsetof(TUIProviderNative, OnDestroyUI) == 12 && sizeof(TUIProviderNative) == 20,
                       "version-10 provider record: Version at 0, OnCreateUI at 4, OnDestroyUI at 12, 20 bytes");
LOOMKEYS_STATIC_ASSERT(
    offsetof(TUIProviderMacro, Version) == 0 && offsetof(TUIProviderMacro, OnCreateUIMacro) == 8 &&
        offsetof(TUIProviderMacro, OnDestroyUIMacro) == 16 && sizeof(TUIProviderMacro) == 24,
    "version-20 provider record: Version at 0, OnCreateUIMacro at 8, OnDestroyUIMacro at 16, 24 bytes");
LOOMKEYS_STATIC_ASSERT(offsetof(TUIProvider, Version) == 0 && sizeof(TUIProvider) == 24,
                       "provider record union: Version first, as large as the version-20 record");
#undef LOOMKEYS_STATIC_ASSERT
#endif

/* Registers a provider at the end of the provider list. 0 and the handle in
   *lpHandle; 7 for a version other than 10 or 20 (*lpHandle untouched), or
   when the registration failed (*lpHandle null). Repeats are not detected:
   the same record twice gives two providers. */
LOOMKEYS_API int32_t LOOMKEYS_CALL RegisterUIProvider(const TUIProvider* lpProvider, TUIProviderHandle* lpHandle);
/* RegisterUIProvider, but the provider goes to the front of the list: its
   categories come first in the dialog. For the host add-in. */
LOOMKEYS_API int32_t LOOMKEYS_CALL InitializeKeyloomAddin(const TUIProvider* lpProvider, TUIProviderHandle* lpHandle);
/* Removes and frees a provider. 0; 8 the handle is not registered (also
   null, or already removed); 7 failed. */
LOOMKEYS_API int32_t LOOMKEYS_CALL UnregisterUIProvider(TUIProviderHandle provider);

/* ---- The About box ----------------------------------------------------- */

/* Shows the About box modally and returns once the user has closed it; the
   calling thread's other windows take no input meanwhile. Call it on the
   library's thread. */
LOOMKEYS_API void LOOMKEYS_CALL ShowAboutBox(void);

/* ---- The Customize Shortcuts dialog ----------------------------------- */

struct tagVARIANT; /* VARIANT, from <oaidl.h> */

/* Runs every provider's OnCreateUI, shows the Customize Shortcuts dialog
   modally (owned by the PowerPoint window in front, with every shortcut's
   key suspended), then runs every provider's OnDestroyUI with the cancelled
   flag. lpApplication holds PowerPoint's Application object (VT_DISPATCH),
   whose "Run" method runs the macros of version-20 providers. Errors are
   shown in message boxes; nothing is returned. Call it on the thread that
   loaded the library; a call made while the dialog runs returns at once. */
LOOMKEYS_API void LOOMKEYS_CALL ShowCustomizeShortcutsUI(struct tagVARIANT* lpApplication);

#ifdef __cplusplus
}
#endif

#endif /* LOOMKEYS_H */
