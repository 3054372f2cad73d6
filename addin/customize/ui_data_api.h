#pragma once
// The command API on UI data trees as the exports offer it: handles, raw
// NUL-terminated strings (null taken as empty) and out-pointers. The 2
// variants take UTF-16; the others take text in the system's default ANSI
// code page, converted before anything else happens, and use active mode 0xFFFF.
//
// A handle that is no live tree of `trees` (0 included) answers 7 and no
// tree is read or written. Memory exhaustion and other errors
// are not caught here: the exports turn them into 7.
#include <cstdint>

#include "common/result_codes.h"
#include "customize/ui_data.h"
#include "customize/ui_data_trees.h"

namespace loomkeys {

Result AddCommand2(const UIDataTrees& trees, UIDataHandle handle, const char16_t* category, const char16_t* name,
                   const char16_t* description, uint16_t virtualKey, uint16_t shiftKeys, uint16_t activeMode);
Result AddCommand(const UIDataTrees& trees, UIDataHandle handle, const char* category, const char* name,
                  const char* description, uint16_t virtualKey, uint16_t shiftKeys);

Result GetCommand2(const UIDataTrees& trees, UIDataHandle handle, const char16_t* category, const char16_t* name,
                   uint16_t* virtualKey, uint16_t* shiftKeys, uint16_t* activeMode);
Result GetCommand(const UIDataTrees& trees, UIDataHandle handle, const char* category, const char* name,
                  uint16_t* virtualKey, uint16_t* shiftKeys);

}  // namespace loomkeys
