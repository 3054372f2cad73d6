#include "customize/provider_list.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "provider_records.h"

namespace loomkeys {
namespace {

void LOOMKEYS_STDCALL CreateUI(UIDataHandle*) {}
void LOOMKEYS_STDCALL DestroyUI(UIDataHandle, uint16_t) {}

std::vector<std::byte> RecordOfVersion(int32_t version) {
  std::vector<std::byte> record(kMacroProviderRecordSize, std::byte{0});
  Put(record, 0, version);
  return record;
}

class ProviderListTest : public testing::Test {
 protected:
  RegisteredProvider* Register(const std::vector<std::byte>& record,
                               ProviderPlacement placement = ProviderPlacement::kBack) {
    RegisteredProvider* handle = nullptr;
    EXPECT_EQ(providers.Register(record.data(), &handle, placement), kOk);
    EXPECT_NE(handle, nullptr);
    return handle;
  }
  std::vector<RegisteredProvider*> Providers() const {
    std::vector<RegisteredProvider*> entries;
    for (size_t i = 0; i < providers.Count(); ++i) entries.push_back(providers.At(i));
    return entries;
  }

  ProviderList providers;
};

TEST_F(ProviderListTest, ANativeRecordIsReadAtItsUnalignedOffsets) {
  RegisteredProvider* provider = Register(NativeRecord(Address(reinterpret_cast<void (*)()>(&CreateUI)),
                                                       Address(reinterpret_cast<void (*)()>(&DestroyUI))));
  EXPECT_EQ(provider->version, 10);
  EXPECT_EQ(provider->onCreateUI, &CreateUI);
  EXPECT_EQ(provider->onDestroyUI, &DestroyUI);
  EXPECT_EQ(provider->onCreateUIMacro, "");
  EXPECT_EQ(provider->tree, nullptr);

  RegisteredProvider* empty = Register(NativeRecord(0, 0));
  EXPECT_EQ(empty->onCreateUI, nullptr);
  EXPECT_EQ(empty->onDestroyUI, nullptr);
}

TEST_F(ProviderListTest, AMacroRecordsNamesAreCopiedAndNullNamesStoredAsEmpty) {
  std::string create = "Module1.CreateUI";
  std::string destroy = "Module1.Destroy\xE4UI";
  RegisteredProvider* provider = Register(MacroRecord(create.c_str(), destroy.c_str()));
  create.assign(create.size(), 'x');  // the client reuses its strings
  destroy.clear();
  EXPECT_EQ(provider->version, 20);
  EXPECT_EQ(provider->onCreateUIMacro, "Module1.CreateUI");
  EXPECT_EQ(provider->onDestroyUIMacro, "Module1.Destroy\xE4UI");
  EXPECT_EQ(provider->onCreateUI, nullptr);
  EXPECT_EQ(provider->tree, nullptr);

  RegisteredProvider* unnamed = Register(MacroRecord(nullptr, ""));
  EXPECT_EQ(unnamed->onCreateUIMacro, "");
  EXPECT_EQ(unnamed->onDestroyUIMacro, "");
}

TEST_F(ProviderListTest, AnUnknownVersionFailsAndLeavesTheHandleVariableAsItWas) {
  for (int32_t version : {15, 0, -10, 11, 19, 21, 2000}) {
    SCOPED_TRACE(version);
    auto* const marker = reinterpret_cast<RegisteredProvider*>(0x5A5A);
    RegisteredProvider* handle = marker;
    EXPECT_EQ(providers.Register(RecordOfVersion(version).data(), &handle, ProviderPlacement::kBack), kCallFailed);
    EXPECT_EQ(handle, marker);
  }
  EXPECT_EQ(providers.Count(), 0u);
}

TEST_F(ProviderListTest, NullPointersFailWithoutRegistering) {
  const std::vector<std::byte> record = NativeRecord(0, 0);
  RegisteredProvider* handle = nullptr;
  EXPECT_EQ(providers.Register(nullptr, &handle, ProviderPlacement::kBack), kCallFailed);
  EXPECT_EQ(providers.Register(record.data(), nullptr, ProviderPlacement::kFront), kCallFailed);
  EXPECT_EQ(providers.Count(), 0u);
}

TEST_F(ProviderListTest, InitializeKeyloomAddinPutsItsProviderInFront) {
  RegisteredProvider* a = Register(NativeRecord(1, 0));
  RegisteredProvider* b = Register(MacroRecord("B", "B"));
  RegisteredProvider* c = Register(NativeRecord(3, 0), ProviderPlacement::kFront);
  EXPECT_EQ(Providers(), (std::vector<RegisteredProvider*>{c, a, b}));
}

TEST_F(ProviderListTest, TheSameRecordTwiceGivesTwoProviders) {
  const std::vector<std::byte> record = MacroRecord("Create", "Destroy");
  RegisteredProvider* first = Register(record);
  RegisteredProvider* second = Register(record);
  EXPECT_NE(first, second);
  EXPECT_EQ(Providers(), (std::vector<RegisteredProvider*>{first, second}));
}

TEST_F(ProviderListTest, UnregisteringGoesByIdentityAndOnlyOnce) {
  const std::vector<std::byte> record = NativeRecord(1, 2);
  RegisteredProvider* a = Register(record);
  RegisteredProvider* b = Register(record);
  RegisteredProvider* c = Register(record);

  EXPECT_EQ(providers.Unregister(b), kOk);
  EXPECT_EQ(providers.Unregister(b), kUnknownProvider);
  EXPECT_EQ(providers.Unregister(nullptr), kUnknownProvider);
  EXPECT_EQ(Providers(), (std::vector<RegisteredProvider*>{a, c}));
  EXPECT_FALSE(providers.Contains(b));
  EXPECT_TRUE(providers.Contains(c));
}

TEST_F(ProviderListTest, ADestroyedTreeIsForgottenByEverySlotThatHeldIt) {
  RegisteredProvider* a = Register(NativeRecord(0, 0));
  RegisteredProvider* b = Register(MacroRecord("", ""));
  RegisteredProvider* c = Register(NativeRecord(0, 0));
  UIData destroyed, kept;
  const UIDataHandle kDestroyedHandle = 1, kKeptHandle = 2;
  a->tree = &destroyed, a->treeHandle = kDestroyedHandle;
  b->tree = &kept, b->treeHandle = kKeptHandle;
  c->tree = &destroyed, c->treeHandle = kDestroyedHandle;

  providers.ForgetUIData(&destroyed);
  EXPECT_EQ(a->tree, nullptr);
  EXPECT_EQ(b->tree, &kept);
  EXPECT_EQ(c->tree, nullptr);
  EXPECT_EQ(std::vector<UIDataHandle>({a->treeHandle, b->treeHandle, c->treeHandle}),
            std::vector<UIDataHandle>({0, kKeptHandle, 0}));
}

TEST(ProviderRecordTest, ARecordShorterThanItsVersionNeedsIsNotRead) {
  const std::vector<std::byte> native = NativeRecord(1, 2);
  const std::vector<std::byte> macro = MacroRecord("a", "b");
  EXPECT_TRUE(ReadProviderRecord(native).has_value());
  EXPECT_TRUE(ReadProviderRecord(macro).has_value());
  EXPECT_FALSE(ReadProviderRecord(std::span(native).first(kNativeProviderRecordSize - 1)).has_value());
  EXPECT_FALSE(ReadProviderRecord(std::span(macro).first(kMacroProviderRecordSize - 1)).has_value());
  EXPECT_FALSE(ReadProviderRecord(std::span(macro).first(3)).has_value());
}

TEST(ProviderRecordTest, ARecordAtAnAddressIsReadNoFurtherThanItsVersionsSize) {
  // Exactly 20 bytes on the heap: a sanitizer build reports any read past them.
  const std::vector<std::byte> native = NativeRecord(0x1122334455667788, 0x99AABBCCDDEEFF00);
  const std::optional<ProviderRecord> record = ReadProviderRecordAt(native.data());
  ASSERT_TRUE(record.has_value());
  EXPECT_EQ(record->onCreateUI, 0x1122334455667788u);
  EXPECT_EQ(record->onDestroyUI, 0x99AABBCCDDEEFF00u);
}

}  // namespace
}  // namespace loomkeys
