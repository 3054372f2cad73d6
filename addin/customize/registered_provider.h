#pragma once
// The library's copy of a registered UI provider record. Its address is the
// provider handle that the client gets back.
#include <cstdint>
#include <memory>
#include <string>

#include "common/calling_convention.h"
#include "customize/provider_record.h"
#include "customize/ui_data.h"
#include "customize/ui_data_trees.h"

namespace loomkeys {

// Version 10 callbacks. OnCreateUI gets the address of the provider's tree
// slot and stores a tree's handle there; OnDestroyUI gets that handle back
// with the cancelled flag (0 after OK, 0xFFFF after Cancel).
using OnCreateUIFunc = void(LOOMKEYS_STDCALL*)(UIDataHandle* slot);
using OnDestroyUIFunc = void(LOOMKEYS_STDCALL*)(UIDataHandle uiData, uint16_t cancelled);

struct RegisteredProvider {
  int32_t version = 0;  // 10 or 20
  // Unique for the library's lifetime: tells a new provider from a freed one
  // that happened to have the same address.
  uint64_t serial = 0;
  // Version 10: the client's callbacks, either of which may be null.
  OnCreateUIFunc onCreateUI = nullptr;
  OnDestroyUIFunc onDestroyUI = nullptr;
  // Version 20: the macro names as ANSI bytes, owned by the library. A null
  // name is stored as empty, so a stored name is never absent.
  std::string onCreateUIMacro;
  std::string onDestroyUIMacro;
  // The provider's current tree while the Customize dialog runs, else null,
  // and the handle by which clients know it (0 without a tree).
  UIData* tree = nullptr;
  UIDataHandle treeHandle = 0;
};

// A new provider from a record that ReadProviderRecord accepted. The macro names
// are copied out of the client's memory now: the client may free its record
// and its strings once the registering call has returned.
std::unique_ptr<RegisteredProvider> MakeRegisteredProvider(const ProviderRecord& record);

}  // namespace loomkeys
