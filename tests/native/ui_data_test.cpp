#include "customize/ui_data_api.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace loomkeys {
namespace {

// Category names with their commands' names, in tree order.
using TreeLayout = std::vector<std::pair<std::u16string, std::vector<std::u16string>>>;

// A live tree, filled through the export-shaped API.
class UIDataTest : public testing::Test {
 protected:
  Result Add(const char16_t* category, const char16_t* name, uint16_t vk = 0x42, uint16_t sk = 2, uint16_t mode = 1,
             const char16_t* description = u"text") {
    return AddCommand2(trees, handle, category, name, description, vk, sk, mode);
  }
  TreeLayout Layout() const {
    TreeLayout layout;
    for (const auto& category : tree->categories) {
      layout.push_back({category->name, {}});
      for (const auto& command : category->commands) layout.back().second.push_back(command->name);
    }
    return layout;
  }

  UIDataTrees trees;
  UIDataHandle handle = trees.Create();
  UIData* tree = trees.Find(handle);
};

TEST_F(UIDataTest, ASecondCommandOfTheSameNameIsRefusedAndTheFirstStaysAsItWas) {
  EXPECT_EQ(Add(u"Format", u"Bold", 0x42, 2, 1, u"first"), kOk);
  EXPECT_EQ(Add(u"Format", u"Bold", 0x43, 4, 2, u"second"), kCommandExists);

  const Command* bold = tree->FindCategory(u"Format")->FindCommand(u"Bold");
  EXPECT_EQ(bold->virtualKey, 0x42);
  EXPECT_EQ(bold->shiftKeys, 2);
  EXPECT_EQ(bold->activeMode, 1);
  EXPECT_EQ(bold->description, u"first");
  EXPECT_EQ(Layout(), (TreeLayout{{u"Format", {u"Bold"}}}));
}

TEST_F(UIDataTest, NamesAreComparedExactlyAndKeepTheirInsertionOrder) {
  EXPECT_EQ(Add(u"Format", u"Bold"), kOk);
  EXPECT_EQ(Add(u"format", u"Bold"), kOk);
  EXPECT_EQ(Add(u"Format", u"bold"), kOk);
  EXPECT_EQ(Add(u"Format", u"Bold "), kOk);
  EXPECT_EQ(Add(u"Edit", u"Bold"), kOk);  // the same name in another category
  EXPECT_EQ(Add(u"Format", u"Apply"), kOk);
  EXPECT_EQ(
      Layout(),
      (TreeLayout{{u"Format", {u"Bold", u"bold", u"Bold ", u"Apply"}}, {u"format", {u"Bold"}}, {u"Edit", {u"Bold"}}}));
}

TEST_F(UIDataTest, NullStringsAreTakenAsEmpty) {
  EXPECT_EQ(Add(nullptr, nullptr, 0x41, 0, 1, nullptr), kOk);
  EXPECT_EQ(Add(u"", u""), kCommandExists);
  EXPECT_EQ(Add(u"", u"Bold"), kOk);
  EXPECT_EQ(Layout(), (TreeLayout{{u"", {u"", u"Bold"}}}));
  EXPECT_EQ(tree->FindCategory(u"")->FindCommand(u"")->description, u"");

  uint16_t vk = 0;
  EXPECT_EQ(GetCommand2(trees, handle, nullptr, nullptr, &vk, nullptr, nullptr), kOk);
  EXPECT_EQ(vk, 0x41);
}

TEST_F(UIDataTest, ReadingAMissingCommandOrCategoryLeavesTheVariablesUntouched) {
  Add(u"Format", u"Bold");
  struct Missing {
    const char16_t* category;
    const char16_t* name;
    const char* ansiCategory;
    const char* ansiName;
  };
  for (const Missing& missing :
       {Missing{u"Format", u"Italic", "Format", "Italic"}, Missing{u"Edit", u"Bold", "Edit", "Bold"}}) {
    uint16_t vk = 7, sk = 8, mode = 9;
    EXPECT_EQ(GetCommand2(trees, handle, missing.category, missing.name, &vk, &sk, &mode), kNoSuchCommand);
    EXPECT_EQ(GetCommand(trees, handle, missing.ansiCategory, missing.ansiName, &vk, &sk), kNoSuchCommand);
    EXPECT_EQ(std::vector<uint16_t>({vk, sk, mode}), std::vector<uint16_t>({7, 8, 9}));
  }
}

TEST_F(UIDataTest, ACommandAddedWithoutAModeIsActiveInEveryMode) {
  EXPECT_EQ(AddCommand(trees, handle, "Format", "Bold", "Makes text bold", 0x42, 2), kOk);
  uint16_t vk = 0, sk = 0, mode = 0;
  EXPECT_EQ(GetCommand2(trees, handle, u"Format", u"Bold", &vk, &sk, &mode), kOk);
  EXPECT_EQ(std::vector<uint16_t>({vk, sk, mode}), std::vector<uint16_t>({0x42, 2, 0xFFFF}));
  EXPECT_EQ(tree->FindCategory(u"Format")->FindCommand(u"Bold")->description, u"Makes text bold");
}

TEST_F(UIDataTest, TheAnsiVariantsConvertTheirNamesToUtf16) {
  // The native build reads ANSI text as Latin-1: 0xE4 is a-umlaut.
  EXPECT_EQ(AddCommand(trees, handle,
                       "Gr\xE4"
                       "fik",
                       "F\xE4rben", nullptr, 0x46, 4),
            kOk);
  EXPECT_EQ(Layout(), (TreeLayout{{u"Gr\u00E4fik", {u"F\u00E4rben"}}}));
  EXPECT_EQ(AddCommand2(trees, handle, u"Gr\u00E4fik", u"F\u00E4rben", nullptr, 0, 0, 0), kCommandExists);

  uint16_t vk = 0, sk = 0;
  EXPECT_EQ(GetCommand(trees, handle,
                       "Gr\xE4"
                       "fik",
                       "F\xE4rben", &vk, &sk),
            kOk);
  EXPECT_EQ(std::vector<uint16_t>({vk, sk}), std::vector<uint16_t>({0x46, 4}));
}

TEST_F(UIDataTest, GetCommandReturnsNoModeAndSkipsNullVariables) {
  Add(u"Format", u"Bold", 0x42, 6, 2);
  uint16_t sk = 0;
  EXPECT_EQ(GetCommand(trees, handle, "Format", "Bold", nullptr, &sk), kOk);
  EXPECT_EQ(sk, 6);
  EXPECT_EQ(GetCommand2(trees, handle, u"Format", u"Bold", nullptr, nullptr, nullptr), kOk);
}

TEST_F(UIDataTest, ALinkedCommandStandsForItsSourceAndFollowsTheSameRules) {
  Add(u"Format", u"Bold", 0x42, 2, 3, u"Makes text bold");
  Command* source = tree->FindCategory(u"Format")->FindCommand(u"Bold");

  UIData view;
  const CommandFields copy{u"Format",          u"Bold",           source->description,
                           source->virtualKey, source->shiftKeys, source->activeMode};
  EXPECT_EQ(view.AddLinkedCommand(source, copy), kOk);
  EXPECT_EQ(view.AddLinkedCommand(source, copy), kCommandExists);

  const Command* linked = view.FindCategory(u"Format")->FindCommand(u"Bold");
  EXPECT_EQ(linked->original, source);
  EXPECT_EQ(linked->description, u"Makes text bold");
  EXPECT_EQ(source->original, nullptr);
}

TEST_F(UIDataTest, CommandsKeepTheirAddressesWhileTheTreeGrows) {
  Add(u"Format", u"Bold");
  const Command* bold = tree->FindCategory(u"Format")->FindCommand(u"Bold");
  for (char16_t i = 0; i < 100; ++i) {
    const std::u16string name = u"Name " + std::u16string(1, static_cast<char16_t>(u'0' + i));
    ASSERT_EQ(Add(name.c_str(), u"Bold"), kOk);
    ASSERT_EQ(Add(u"Format", name.c_str()), kOk);
  }
  EXPECT_EQ(tree->FindCategory(u"Format")->FindCommand(u"Bold"), bold);
  EXPECT_EQ(tree->categories.size(), 101u);
}

}  // namespace
}  // namespace loomkeys
