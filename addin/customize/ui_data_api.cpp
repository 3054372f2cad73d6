#include "customize/ui_data_api.h"

#include <string>
#include <string_view>

#include "common/active_mode.h"
#include "platform/ansi_text.h"

namespace loomkeys {
namespace {

std::u16string_view Utf16Text(const char16_t* text) { return text ? std::u16string_view(text) : std::u16string_view(); }
std::u16string AnsiText(const char* text) { return text ? AnsiToUtf16(text) : std::u16string(); }

}  // namespace

Result AddCommand2(const UIDataTrees& trees, UIDataHandle handle, const char16_t* category, const char16_t* name,
                   const char16_t* description, uint16_t virtualKey, uint16_t shiftKeys, uint16_t activeMode) {
  UIData* data = trees.Find(handle);
  if (!data) return kCallFailed;
  return data->AddCommand2(
      {Utf16Text(category), Utf16Text(name), Utf16Text(description), virtualKey, shiftKeys, activeMode});
}

Result AddCommand(const UIDataTrees& trees, UIDataHandle handle, const char* category, const char* name,
                  const char* description, uint16_t virtualKey, uint16_t shiftKeys) {
  UIData* data = trees.Find(handle);
  if (!data) return kCallFailed;
  const std::u16string categoryText = AnsiText(category);
  const std::u16string nameText = AnsiText(name);
  const std::u16string descriptionText = AnsiText(description);
  return data->AddCommand2({categoryText, nameText, descriptionText, virtualKey, shiftKeys, kEveryMode});
}

Result GetCommand2(const UIDataTrees& trees, UIDataHandle handle, const char16_t* category, const char16_t* name,
                   uint16_t* virtualKey, uint16_t* shiftKeys, uint16_t* activeMode) {
  UIData* data = trees.Find(handle);
  if (!data) return kCallFailed;
  return data->GetCommand2(Utf16Text(category), Utf16Text(name), virtualKey, shiftKeys, activeMode);
}

Result GetCommand(const UIDataTrees& trees, UIDataHandle handle, const char* category, const char* name,
                  uint16_t* virtualKey, uint16_t* shiftKeys) {
  UIData* data = trees.Find(handle);
  if (!data) return kCallFailed;
  return data->GetCommand2(AnsiText(category), AnsiText(name), virtualKey, shiftKeys, nullptr);
}

}  // namespace loomkeys
