#pragma once
// Functions that clients hand to the library are called the way Windows calls
// exports: stdcall. The 64-bit Windows ABI has one convention only, and the
// native build has no stdcall, so the macro is empty there.
#if defined(_WIN32) && !defined(_WIN64)
#define LOOMKEYS_STDCALL __stdcall
#else
#define LOOMKEYS_STDCALL
#endif
