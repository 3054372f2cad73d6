#pragma once
// Registered UI providers whose trees the test fills directly, as their
// OnCreateUI events would have.
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "customize/provider_list.h"
#include "customize/ui_data.h"

namespace loomkeys::testing {

class ProvidersFixture {
 public:
  // A version-10 provider without callbacks, at the back or the front.
  RegisteredProvider* AddProvider(ProviderPlacement placement = ProviderPlacement::kBack) {
    std::byte record[20] = {};
    const int32_t version = 10;
    std::memcpy(record, &version, sizeof version);
    RegisteredProvider* provider = nullptr;
    providers.Register(record, &provider, placement);
    return provider;
  }
  // A provider with a new, empty tree in its slot.
  UIData* AddProviderWithTree(ProviderPlacement placement = ProviderPlacement::kBack) {
    RegisteredProvider* provider = AddProvider(placement);
    trees.push_back(std::make_unique<UIData>());
    provider->tree = trees.back().get();
    return provider->tree;
  }
  static Command* Add(UIData* tree, std::u16string_view category, std::u16string_view name, uint16_t vk = 0,
                      uint16_t shiftKeys = 0, uint16_t mode = 0xFFFF, std::u16string_view description = u"") {
    tree->AddCommand2({category, name, description, vk, shiftKeys, mode});
    return tree->FindCategory(category)->FindCommand(name);
  }

  ProviderList providers;
  std::vector<std::unique_ptr<UIData>> trees;
};

}  // namespace loomkeys::testing
