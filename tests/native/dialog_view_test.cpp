#include "customize/dialog_view.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "customize/filter_text.h"
#include "customize/hotkey_flags.h"
#include "providers_fixture.h"

namespace loomkeys {
namespace {

using Names = std::vector<std::u16string>;

TEST(FilterTextTest, TrimmingRemovesEveryCodeUpTo32AtBothEndsOnly) {
  EXPECT_EQ(TrimFilterText(u" \t\r\n\x01\x1F bold text \x20\x0B"), u"bold text");
  EXPECT_EQ(TrimFilterText(u"\x21x\x21"), u"\x21x\x21");
  EXPECT_EQ(TrimFilterText(u"\u00A0x\u00A0"), u"\u00A0x\u00A0");  // no-break space is above 32
  EXPECT_EQ(TrimFilterText(u" \t "), u"");
  EXPECT_EQ(TrimFilterText(u""), u"");
}

TEST(FilterTextTest, OnlyAToZAreLowerCased) {
  EXPECT_EQ(LowerAsciiLetters(u"AZaz@[`{09"), u"azaz@[`{09");
  EXPECT_EQ(LowerAsciiLetters(u"\u00C4\u00D6\u0391"), u"\u00C4\u00D6\u0391");  // Ä, Ö, Greek Alpha stay
}

TEST(FilterTextTest, ANameMatchesWhenTheFilterOccursInItIgnoringAToZCase) {
  struct Case {
    const char16_t* name;
    const char16_t* filter;
    bool matches;
  } cases[] = {
      {u"Apply bold", u"bold", true},   {u"BOLD text", u"bold", true},
      {u"Bold", u"bold", true},         {u"Bol d", u"bold", false},
      {u"Anything", u"", true},         {u"\u00C4rger", u"\u00E4", false},  // a-umlaut does not find A-umlaut
      {u"\u00E4rger", u"\u00E4", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name, c.name + std::char_traits<char16_t>::length(c.name)));
    EXPECT_EQ(NameMatchesFilter(c.name, c.filter), c.matches);
  }
}

TEST(HotKeyFlagsTest, EachModifierMapsToItsCounterpartBothWays) {
  struct Case {
    uint8_t flags;
    uint16_t shiftKeys;
  } cases[] = {
      {0x00, 0}, {0x01, 4}, {0x02, 2}, {0x04, 1}, {0x03, 6}, {0x05, 5}, {0x06, 3}, {0x07, 7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.flags));
    EXPECT_EQ(ShiftKeysFromHotKeyFlags(c.flags), c.shiftKeys);
    EXPECT_EQ(HotKeyFlagsFromShiftKeys(c.shiftKeys), c.flags);
  }
}

TEST(HotKeyFlagsTest, TheExtendedFlagAndMODWINHaveNoCounterpart) {
  EXPECT_EQ(ShiftKeysFromHotKeyFlags(0x08), 0);
  EXPECT_EQ(ShiftKeysFromHotKeyFlags(0x0B), 6);  // Shift+Ctrl with the extended-key bit
  EXPECT_EQ(ShiftKeysFromHotKeyFlags(0xF0), 0);
  EXPECT_EQ(HotKeyFlagsFromShiftKeys(0x0008), 0);  // MOD_WIN
  EXPECT_EQ(HotKeyFlagsFromShiftKeys(0x000A), 0x02);
  EXPECT_EQ(HotKeyFlagsFromShiftKeys(0xFFF0), 0);
}

TEST(HotKeyFlagsTest, TheControlsValueHoldsTheKeyInItsLowByteAndTheFlagsInItsHighByte) {
  EXPECT_EQ(HotKeyValue(0x42, 0x02), 0x0242);
  EXPECT_EQ(HotKeyVirtualKey(0x0A25), 0x25);
  EXPECT_EQ(HotKeyFlags(0x0A25), 0x0A);
}

class DialogViewTest : public ::testing::Test, protected testing::ProvidersFixture {
 protected:
  // Category names of the view, in list order, each with its commands.
  std::vector<std::pair<std::u16string, Names>> Listed() const {
    std::vector<std::pair<std::u16string, Names>> listed;
    for (int i = 0; const Category* category = CategoryByIndex(view, i); ++i) {
      listed.push_back({category->name, {}});
      for (const auto& command : category->commands) listed.back().second.push_back(command->name);
    }
    return listed;
  }
  void Build(std::u16string_view text, bool assigned = true, bool unassigned = true) {
    ClearView(view);
    BuildView(providers, view, {text, assigned, unassigned});
  }

  ViewList view;
};

TEST_F(DialogViewTest, TheFilterSearchesLowerCasedNamesButNotDescriptionsOrCategories) {
  UIData* tree = AddProviderWithTree();
  Add(tree, u"Format", u"Apply bold");
  Add(tree, u"Format", u"Italic", 0, 0, 1, u"Not bold at all");
  Add(tree, u"Bold things", u"Underline");
  Add(tree, u"Text", u"BOLD text");
  Add(tree, u"Text", u"Bold");

  Build(u"bold");
  EXPECT_EQ(Listed(), (std::vector<std::pair<std::u16string, Names>>{{u"Format", {u"Apply bold"}},
                                                                     {u"Text", {u"BOLD text", u"Bold"}}}));
}

TEST_F(DialogViewTest, AssignedMeansAVirtualKeyOtherThanZero) {
  UIData* tree = AddProviderWithTree();
  Add(tree, u"Edit", u"With key", 0x42, 2);
  Add(tree, u"Edit", u"Shift keys only", 0, 2);
  Add(tree, u"Edit", u"Nothing");

  Build(u"", true, false);
  EXPECT_EQ(Listed(), (std::vector<std::pair<std::u16string, Names>>{{u"Edit", {u"With key"}}}));
  Build(u"", false, true);
  EXPECT_EQ(Listed(), (std::vector<std::pair<std::u16string, Names>>{{u"Edit", {u"Shift keys only", u"Nothing"}}}));
  Build(u"", true, true);
  EXPECT_EQ(Listed()[0].second.size(), 3u);
}

TEST_F(DialogViewTest, ViewCommandsAreCopiesThatPointAtTheProvidersCommands) {
  UIData* tree = AddProviderWithTree();
  Command* bold = Add(tree, u"Format", u"Bold", 0x42, 6, 2, u"Makes it bold");

  Build(u"");
  const Command* copy = CategoryByIndex(view, 0)->commands[0].get();
  EXPECT_NE(copy, bold);
  EXPECT_EQ(copy->original, bold);
  EXPECT_EQ(copy->description, u"Makes it bold");
  EXPECT_EQ(copy->virtualKey, 0x42);
  EXPECT_EQ(copy->shiftKeys, 6);
  EXPECT_EQ(copy->activeMode, 2);
  EXPECT_EQ(view[0].source, tree);
}

TEST_F(DialogViewTest, ProvidersWithoutATreeGetNoViewAndThoseWithNothingPassingAnEmptyOne) {
  AddProvider();
  UIData* hidden = AddProviderWithTree();
  Add(hidden, u"Edit", u"Copy");
  UIData* shown = AddProviderWithTree();
  Add(shown, u"Edit", u"Paste");

  Build(u"paste");
  ASSERT_EQ(view.size(), 2u);
  EXPECT_EQ(view[0].source, hidden);
  EXPECT_TRUE(view[0].tree->categories.empty());
  EXPECT_EQ(Listed(), (std::vector<std::pair<std::u16string, Names>>{{u"Edit", {u"Paste"}}}));
}

TEST_F(DialogViewTest, TwoProvidersCategoriesOfTheSameNameAreListedApartInProviderOrder) {
  UIData* a = AddProviderWithTree();
  UIData* b = AddProviderWithTree();
  UIData* c = AddProviderWithTree(ProviderPlacement::kFront);
  Add(a, u"Edit", u"A's command");
  Add(b, u"Edit", u"B's command");
  Add(c, u"Edit", u"C's command");
  Add(c, u"View", u"C's view");

  Build(u"");
  EXPECT_EQ(Listed(), (std::vector<std::pair<std::u16string, Names>>{{u"Edit", {u"C's command"}},
                                                                     {u"View", {u"C's view"}},
                                                                     {u"Edit", {u"A's command"}},
                                                                     {u"Edit", {u"B's command"}}}));
  EXPECT_EQ(CategoryByIndex(view, 4), nullptr);
  EXPECT_EQ(CategoryByIndex(view, -1), nullptr);
}

TEST_F(DialogViewTest, ClearAllClearsKeysOfEveryProviderCommandAndKeepsModes) {
  UIData* a = AddProviderWithTree();
  UIData* b = AddProviderWithTree();
  Command* first = Add(a, u"Edit", u"First", 0x41, 2, 1);
  Command* second = Add(b, u"Other", u"Second", 0x42, 0x0F, 0xFFFF);
  Build(u"First");  // the view hides Second; it is cleared all the same

  ClearAllShortcuts(providers);
  for (const Command* command : {first, second}) {
    EXPECT_EQ(command->virtualKey, 0);
    EXPECT_EQ(command->shiftKeys, 0);
  }
  EXPECT_EQ(first->activeMode, 1);
  EXPECT_EQ(second->activeMode, 0xFFFF);
}

TEST_F(DialogViewTest, ClearingTheViewLeavesTheProvidersTrees) {
  UIData* tree = AddProviderWithTree();
  Add(tree, u"Edit", u"Copy", 0x43, 2);
  Build(u"");
  ClearView(view);
  EXPECT_TRUE(view.empty());
  EXPECT_EQ(tree->FindCategory(u"Edit")->FindCommand(u"Copy")->virtualKey, 0x43);
}

TEST_F(DialogViewTest, ATreeIsHeldOnlyWhileAProviderSlotHasIt) {
  UIData* tree = AddProviderWithTree();
  EXPECT_TRUE(ProviderHoldsTree(providers, tree));
  providers.ForgetUIData(tree);
  EXPECT_FALSE(ProviderHoldsTree(providers, tree));
  EXPECT_FALSE(ProviderHoldsTree(providers, nullptr));
}

}  // namespace
}  // namespace loomkeys
