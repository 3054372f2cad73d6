#pragma once
// The machine code of the hidden window's entry that lives outside the
// library's module (win32/press_entry_page.h), with the addresses it calls
// written in as 64-bit immediates. x86-64, Windows calling convention.
#include <cstdint>
#include <vector>

namespace loomkeys {

struct PressEntryAddresses {
  // Any message but WM_HOTKEY: the in-module procedure, reached by a jump.
  uint64_t otherMessages;
  // WM_HOTKEY, called while the entry holds the module's reference.
  uint64_t press;
  // The module's base address: the reference is looked up from it, and
  // must find this module and no other.
  uint64_t module;
  uint64_t getModuleHandleExW;
  uint64_t freeLibrary;
};

struct PressEntryCode {
  // The function, from offset 0.
  std::vector<uint8_t> code;
  // Its unwind information (UNWIND_INFO, version 1): where it goes, 4-byte
  // aligned after the code, and its bytes.
  uint32_t unwindInfoOffset;
  std::vector<uint8_t> unwindInfo;
};

PressEntryCode WritePressEntryCode(const PressEntryAddresses& addresses);

}  // namespace loomkeys
