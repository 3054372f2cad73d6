#include "customize/provider_list.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "provider_records.h"

namespace loomkeys {
namespace {

void LOOMKEYS_STDCALL CreateUI(TUIData**) {}
void LOOMKEYS_STDCALL DestroyUI(TUIData*, uint16_t) {}

std::vector<std::byte> RecordOfVersion(int32_t version) {
  std::vector<std::byte> record(kMacroProviderRecordSize, std::byte{0});
  Put(record, 0, version);
  return record;
}

class ProviderListTest : public testing::Test {
 protected:
  TUIProviderEntry* Register(const std::vector<std::byte>& record,
                             ProviderPlacement placement = ProviderPlacement::kBack) {
    TUIProviderEntry* handle = nullptr;
    EXPECT_EQ(providers.Register(record.data(), &handle, placement), kOk);
    EXPECT_NE(handle, nullptr);
    return handle;
  }
  std::vector<TUIProviderEntry*> Entries() const {
    std::vector<TUIProviderEntry*> entries;
    for (size_t i = 0; i < providers.Count(); ++i) entries.push_back(providers.At(i));
    return entries;
  }

  ProviderList providers;
};

TEST_F(ProviderListTest, ANativeRecordIsReadAtItsUnalignedOffsets) {
  TUIProviderEntry* entry = Register(NativeRecord(Address(reinterpret_cast<void (*)()>(&CreateUI)),
                                                  Address(reinterpret_cast<void (*)()>(&DestroyUI))));
  EXPECT_EQ(entry->Version, 10);
  EXPECT_EQ(entry->OnCreateUI, &CreateUI);
  EXPECT_EQ(entry->OnDestroyUI, &DestroyUI);
  EXPECT_EQ(entry->OnCreateUIMacro, "");
  EXPECT_EQ(entry->UIData, nullptr);

  TUIProviderEntry* empty = Register(NativeRecord(0, 0));
  EXPECT_EQ(empty->OnCreateUI, nullptr);
  EXPECT_EQ(empty->OnDestroyUI, nullptr);
}

TEST_F(ProviderListTest, AMacroRecordsNamesAreCopiedAndNullNamesStoredAsEmpty) {
  std::string create = "Module1.CreateUI";
  std::string destroy = "Module1.Destroy\xE4UI";
  TUIProviderEntry* entry = Register(MacroRecord(create.c_str(), destroy.c_str()));
  create.assign(create.size(), 'x');  // the client reuses its strings
  destroy.clear();
  EXPECT_EQ(entry->Version, 20);
  EXPECT_EQ(entry->OnCreateUIMacro, "Module1.CreateUI");
  EXPECT_EQ(entry->OnDestroyUIMacro, "Module1.Destroy\xE4UI");
  EXPECT_EQ(entry->OnCreateUI, nullptr);
  EXPECT_EQ(entry->UIData, nullptr);

  TUIProviderEntry* unnamed = Register(MacroRecord(nullptr, ""));
  EXPECT_EQ(unnamed->OnCreateUIMacro, "");
  EXPECT_EQ(unnamed->OnDestroyUIMacro, "");
}

TEST_F(ProviderListTest, AnUnknownVersionFailsAndLeavesTheHandleVariableAsItWas) {
  for (int32_t version : {15, 0, -10, 11, 19, 21, 2000}) {
    SCOPED_TRACE(version);
    auto* const marker = reinterpret_cast<TUIProviderEntry*>(0x5A5A);
    TUIProviderEntry* handle = marker;
    EXPECT_EQ(providers.Register(RecordOfVersion(version).data(), &handle, ProviderPlacement::kBack), kCallFailed);
    EXPECT_EQ(handle, marker);
  }
  EXPECT_EQ(providers.Count(), 0u);
}

TEST_F(ProviderListTest, NullPointersFailWithoutRegistering) {
  const std::vector<std::byte> record = NativeRecord(0, 0);
  TUIProviderEntry* handle = nullptr;
  EXPECT_EQ(providers.Register(nullptr, &handle, ProviderPlacement::kBack), kCallFailed);
  EXPECT_EQ(providers.Register(record.data(), nullptr, ProviderPlacement::kFront), kCallFailed);
  EXPECT_EQ(providers.Count(), 0u);
}

TEST_F(ProviderListTest, InitializeKeyloomAddinPutsItsProviderInFront) {
  TUIProviderEntry* a = Register(NativeRecord(1, 0));
  TUIProviderEntry* b = Register(MacroRecord("B", "B"));
  TUIProviderEntry* c = Register(NativeRecord(3, 0), ProviderPlacement::kFront);
  EXPECT_EQ(Entries(), (std::vector<TUIProviderEntry*>{c, a, b}));
}

TEST_F(ProviderListTest, TheSameRecordTwiceGivesTwoEntries) {
  const std::vector<std::byte> record = MacroRecord("Create", "Destroy");
  TUIProviderEntry* first = Register(record);
  TUIProviderEntry* second = Register(record);
  EXPECT_NE(first, second);
  EXPECT_EQ(Entries(), (std::vector<TUIProviderEntry*>{first, second}));
}

TEST_F(ProviderListTest, UnregisteringGoesByIdentityAndOnlyOnce) {
  const std::vector<std::byte> record = NativeRecord(1, 2);
  TUIProviderEntry* a = Register(record);
  TUIProviderEntry* b = Register(record);
  TUIProviderEntry* c = Register(record);

  EXPECT_EQ(providers.Unregister(b), kOk);
  EXPECT_EQ(providers.Unregister(b), kUnknownProvider);
  EXPECT_EQ(providers.Unregister(nullptr), kUnknownProvider);
  EXPECT_EQ(Entries(), (std::vector<TUIProviderEntry*>{a, c}));
  EXPECT_FALSE(providers.Contains(b));
  EXPECT_TRUE(providers.Contains(c));
}

TEST_F(ProviderListTest, ADestroyedTreeIsForgottenByEverySlotThatHeldIt) {
  TUIProviderEntry* a = Register(NativeRecord(0, 0));
  TUIProviderEntry* b = Register(MacroRecord("", ""));
  TUIProviderEntry* c = Register(NativeRecord(0, 0));
  TUIData destroyed, kept;
  a->UIData = &destroyed;
  b->UIData = &kept;
  c->UIData = &destroyed;

  providers.ForgetUIData(&destroyed);
  EXPECT_EQ(a->UIData, nullptr);
  EXPECT_EQ(b->UIData, &kept);
  EXPECT_EQ(c->UIData, nullptr);
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
  EXPECT_EQ(record->OnCreateUI, 0x1122334455667788u);
  EXPECT_EQ(record->OnDestroyUI, 0x99AABBCCDDEEFF00u);
}

}  // namespace
}  // namespace loomkeys
