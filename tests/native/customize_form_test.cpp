#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "customize/customize_form_logic.h"
#include "customize/hotkey_flags.h"
#include "fake_os/recording_client_code.h"
#include "providers_fixture.h"

namespace loomkeys {
namespace {

using Names = std::vector<std::u16string>;

// The dialog's logic over registered providers' trees, with the controls'
// state that the Windows form would copy in and out.
class CustomizeFormTest : public ::testing::Test, protected testing::ProvidersFixture {
 protected:
  void Open() { logic.Init(providers); }
  void SelectCategory(int index) {
    state.categoryIndex = index;
    logic.ShowSelectedCategory();
  }
  void SelectCommand(int index) {
    state.commandIndex = index;
    logic.ShowSelectedCommand();
  }
  void SetFind(std::u16string text) {
    state.findText = std::move(text);
    logic.RefreshView();
  }
  void SetShow(FilterChoice choice) {
    state.filter = choice;
    logic.RefreshView();
  }
  // The user types a key into the key field and leaves it.
  void EnterKey(uint8_t vk, uint8_t flags) {
    state.hotKey = HotKeyValue(vk, flags);
    logic.StoreKey();
  }
  void ExpectEmptyState() const {
    EXPECT_TRUE(state.categories.empty());
    EXPECT_TRUE(state.commands.empty());
    EXPECT_EQ(state.categoryIndex, -1);
    EXPECT_EQ(state.commandIndex, -1);
    EXPECT_FALSE(state.hotKeyEnabled);
    EXPECT_EQ(state.hotKey, 0);
    EXPECT_FALSE(state.slideDesignEnabled);
    EXPECT_FALSE(state.slideShowEnabled);
    EXPECT_TRUE(state.slideDesignChecked);
    EXPECT_TRUE(state.slideShowChecked);
    EXPECT_EQ(state.description, u"");
  }

  CustomizeFormState state;
  loomkeys::testing::RecordingErrorBoxes errors;
  bool answerYes = true;
  int questionsAsked = 0;
  CustomizeFormLogic logic{state, errors, [this] {
                             ++questionsAsked;
                             return answerYes;
                           }};
};

TEST_F(CustomizeFormTest, WithNothingToShowTheListsAreEmptyAndTheKeyFieldAndBoxesDisabledButChecked) {
  AddProvider();
  UIData* empty = AddProviderWithTree();
  (void)empty;
  state.hotKeyEnabled = true;
  state.hotKey = 0x0242;
  state.slideShowChecked = false;
  state.description = u"left over";
  Open();
  ExpectEmptyState();
  EXPECT_EQ(state.commandsCaption, u"Co&mmands:");
  EXPECT_TRUE(errors.shown.empty());
}

TEST_F(CustomizeFormTest, OpeningSelectsTheFirstCategoryAndCommandAndShowsIt) {
  UIData* tree = AddProviderWithTree();
  Add(tree, u"Format", u"Bold", 'B', kModControl | kModShift, 2, u"Makes the selection bold");
  Add(tree, u"Format", u"Italic");
  Add(tree, u"Edit", u"Copy");
  Open();

  EXPECT_EQ(state.categories, (Names{u"Format", u"Edit"}));
  EXPECT_EQ(state.commands, (Names{u"Bold", u"Italic"}));
  EXPECT_EQ(state.categoryIndex, 0);
  EXPECT_EQ(state.commandIndex, 0);
  EXPECT_TRUE(state.hotKeyEnabled);
  EXPECT_EQ(state.hotKey, HotKeyValue('B', kHotKeyControl | kHotKeyShift));
  EXPECT_TRUE(state.slideDesignEnabled && state.slideShowEnabled);
  EXPECT_FALSE(state.slideDesignChecked);
  EXPECT_TRUE(state.slideShowChecked);
  EXPECT_EQ(state.description, u"Makes the selection bold");
}

TEST_F(CustomizeFormTest, SelectingACategoryListsItsCommandsAndSelectingNoneShowsTheEmptyState) {
  UIData* tree = AddProviderWithTree();
  Add(tree, u"Format", u"Bold");
  Add(tree, u"Edit", u"Copy", 'C', kModControl, 1, u"Copies");
  Add(tree, u"Edit", u"Paste", 'V', kModAlt, 3, u"Pastes");
  Open();

  SelectCategory(1);
  EXPECT_EQ(state.commands, (Names{u"Copy", u"Paste"}));
  EXPECT_EQ(state.commandIndex, 0);
  EXPECT_EQ(state.description, u"Copies");
  SelectCommand(1);
  EXPECT_EQ(state.hotKey, HotKeyValue('V', kHotKeyAlt));
  EXPECT_EQ(state.description, u"Pastes");

  SelectCategory(-1);
  EXPECT_TRUE(state.commands.empty());
  EXPECT_FALSE(state.hotKeyEnabled);
  EXPECT_EQ(state.description, u"");
}

TEST_F(CustomizeFormTest, EveryModeShowsBothBoxesCheckedAndLeavingTheKeyFieldStoresMode3) {
  UIData* tree = AddProviderWithTree();
  Command* command = Add(tree, u"Edit", u"Copy", 'C', kModControl, 0xFFFF);
  Open();
  EXPECT_TRUE(state.slideDesignChecked && state.slideShowChecked);

  logic.StoreKey();
  EXPECT_EQ(command->activeMode, 3);
  EXPECT_EQ(command->virtualKey, 'C');
  EXPECT_EQ(command->shiftKeys, kModControl);
}

TEST_F(CustomizeFormTest, MODWINIsNotShownAndIsLostWhenTheKeyFieldIsLeft) {
  UIData* tree = AddProviderWithTree();
  Command* command = Add(tree, u"Edit", u"Copy", 'C', kModWin | kModControl | kModAlt, 1);
  Open();
  EXPECT_EQ(state.hotKey, HotKeyValue('C', kHotKeyControl | kHotKeyAlt));

  logic.StoreKey();
  EXPECT_EQ(command->shiftKeys, kModControl | kModAlt);
}

TEST_F(CustomizeFormTest, AKeyTypedIntoTheFieldIsStoredInTheViewAndInTheProvidersCommand) {
  UIData* tree = AddProviderWithTree();
  Add(tree, u"Edit", u"Copy");
  Command* paste = Add(tree, u"Edit", u"Paste", 0, 0, 1);
  Open();
  SelectCommand(1);

  EnterKey(0x25, kHotKeyShift | kHotKeyAlt | kHotKeyExtended);  // Shift+Alt+Left, as the control reports it
  EXPECT_EQ(paste->virtualKey, 0x25);
  EXPECT_EQ(paste->shiftKeys, kModShift | kModAlt);
  EXPECT_EQ(paste->activeMode, 1);

  SelectCommand(0);
  SelectCommand(1);  // the view's copy shows what was stored
  EXPECT_EQ(state.hotKey, HotKeyValue(0x25, kHotKeyShift | kHotKeyAlt));

  EnterKey(0, 0);  // an emptied field clears the key
  EXPECT_EQ(paste->virtualKey, 0);
  EXPECT_EQ(paste->shiftKeys, 0);
}

TEST_F(CustomizeFormTest, TheCheckBoxesStoreTheModesAndBothUncheckedStoresZero) {
  UIData* tree = AddProviderWithTree();
  Command* command = Add(tree, u"Edit", u"Copy", 'C', kModControl, 0xFFFF);
  Open();

  state.slideDesignChecked = false;
  logic.StoreSlideDesignMode();
  EXPECT_EQ(command->activeMode, 2);
  state.slideShowChecked = false;
  logic.StoreSlideShowMode();
  EXPECT_EQ(command->activeMode, 0);
  state.slideDesignChecked = true;
  logic.StoreSlideDesignMode();
  EXPECT_EQ(command->activeMode, 1);
}

TEST_F(CustomizeFormTest, ADisabledCheckBoxsClickStoresNothing) {
  UIData* tree = AddProviderWithTree();
  Command* command = Add(tree, u"Edit", u"Copy", 'C', kModControl, 0xFFFF);
  Open();
  state.slideShowEnabled = false;
  state.slideShowChecked = false;
  logic.StoreSlideShowMode();
  EXPECT_EQ(command->activeMode, 0xFFFF);

  SetFind(u"nothing matches");  // empty state: no selection, boxes disabled
  logic.StoreSlideDesignMode();
  logic.StoreKey();
  EXPECT_EQ(command->activeMode, 0xFFFF);
  EXPECT_EQ(command->virtualKey, 'C');
}

TEST_F(CustomizeFormTest, ACommandGivenAKeyStaysListedUnderUnassignedUntilTheNextRefresh) {
  UIData* tree = AddProviderWithTree();
  Command* copy = Add(tree, u"Edit", u"Copy");
  Add(tree, u"Edit", u"Paste");
  Open();
  SetShow(FilterChoice::kUnassigned);
  EXPECT_EQ(state.commands, (Names{u"Copy", u"Paste"}));

  EnterKey('C', kHotKeyControl);
  EXPECT_EQ(copy->virtualKey, 'C');
  EXPECT_EQ(state.commands, (Names{u"Copy", u"Paste"}));

  logic.RefreshView();
  EXPECT_EQ(state.commands, (Names{u"Paste"}));
  SetShow(FilterChoice::kAssigned);
  EXPECT_EQ(state.commands, (Names{u"Copy"}));
}

TEST_F(CustomizeFormTest, ARefreshStartsAgainAtTheFirstCategoryAndCommand) {
  UIData* tree = AddProviderWithTree();
  Add(tree, u"Format", u"Bold");
  Add(tree, u"Edit", u"Copy");
  Add(tree, u"Edit", u"Cut");
  Open();
  SelectCategory(1);
  SelectCommand(1);

  SetFind(u"c");
  EXPECT_EQ(state.categories, (Names{u"Edit"}));
  EXPECT_EQ(state.categoryIndex, 0);
  EXPECT_EQ(state.commandIndex, 0);
  EXPECT_EQ(state.commands, (Names{u"Copy", u"Cut"}));
}

TEST_F(CustomizeFormTest, TheFilteredCaptionFollowsOnlyTheTrimmedFindText) {
  UIData* tree = AddProviderWithTree();
  Add(tree, u"Edit", u"Copy", 'C', kModControl);
  Add(tree, u"Edit", u"Paste");
  Open();
  EXPECT_EQ(state.commandsCaption, u"Co&mmands:");

  SetFind(u" \t");
  EXPECT_EQ(state.commandsCaption, u"Co&mmands:");
  SetFind(u" copy ");
  EXPECT_EQ(state.commandsCaption, u"Co&mmands (Filtered):");
  EXPECT_EQ(state.commands, (Names{u"Copy"}));

  SetFind(u"");
  SetShow(FilterChoice::kAssigned);
  EXPECT_EQ(state.commandsCaption, u"Co&mmands:");
}

TEST_F(CustomizeFormTest, ARefreshWithoutCategoriesKeepsTheCaptionItHad) {
  UIData* tree = AddProviderWithTree();
  Add(tree, u"Edit", u"Copy");
  Open();
  SetFind(u"zzz");  // filtered, but nothing is listed
  ExpectEmptyState();
  EXPECT_EQ(state.commandsCaption, u"Co&mmands:");

  SetFind(u"co");
  ASSERT_EQ(state.commandsCaption, u"Co&mmands (Filtered):");
  state.findText.clear();  // one refresh with no Find text that lists nothing
  SetShow(FilterChoice::kAssigned);
  ExpectEmptyState();
  EXPECT_EQ(state.commandsCaption, u"Co&mmands (Filtered):");
}

TEST_F(CustomizeFormTest, ClearAllAnsweredYesClearsEveryKeyKeepsModesAndRefreshes) {
  UIData* a = AddProviderWithTree();
  UIData* b = AddProviderWithTree();
  Command* copy = Add(a, u"Edit", u"Copy", 'C', kModControl, 1);
  Command* hidden = Add(b, u"Tools", u"Macro", 'M', kModAlt | kModWin, 2);
  Open();
  SetFind(u"copy");

  logic.ClearAll();
  EXPECT_EQ(questionsAsked, 1);
  for (const Command* command : {copy, hidden}) {
    EXPECT_EQ(command->virtualKey, 0);
    EXPECT_EQ(command->shiftKeys, 0);
  }
  EXPECT_EQ(copy->activeMode, 1);
  EXPECT_EQ(hidden->activeMode, 2);
  EXPECT_EQ(state.hotKey, 0);  // the refreshed view shows the cleared key
  EXPECT_EQ(state.commands, (Names{u"Copy"}));
}

TEST_F(CustomizeFormTest, ClearAllAnsweredNoChangesNothing) {
  UIData* tree = AddProviderWithTree();
  Add(tree, u"Format", u"Bold");
  Command* copy = Add(tree, u"Edit", u"Copy", 'C', kModControl, 1);
  Open();
  SelectCategory(1);
  const CustomizeFormState before = state;

  answerYes = false;
  logic.ClearAll();
  EXPECT_EQ(questionsAsked, 1);
  EXPECT_EQ(copy->virtualKey, 'C');
  EXPECT_EQ(copy->shiftKeys, kModControl);
  EXPECT_EQ(state, before);
}

TEST_F(CustomizeFormTest, TheNoticeTellsWhatPowerPointDoesWithTheKeyInTheField) {
  struct Case {
    uint16_t hotKey;
    const char16_t* notice;
  } cases[] = {
      {HotKeyValue('B', kHotKeyControl), u"Defined by PowerPoint to Apply bold formatting"},
      {HotKeyValue(0x25, kHotKeyShift), u"Defined by PowerPoint to Select one character to the left"},
      {HotKeyValue(0x25, kHotKeyShift | kHotKeyExtended), u""},  // the whole flag byte is compared
      {HotKeyValue('B', kHotKeyAlt), u""},
      {HotKeyValue(0, kHotKeyControl), u""},
      {0, u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.hotKey);
    state.hotKey = c.hotKey;
    logic.RefreshNotices();
    EXPECT_EQ(state.powerPointNotice, c.notice);
  }
}

TEST_F(CustomizeFormTest, TheWidestItemsAreTheFirstOfTheLongestNames) {
  UIData* tree = AddProviderWithTree();
  Add(tree, u"Edit", u"Cut");
  Add(tree, u"Edit", u"Copy");
  Add(tree, u"Edit", u"Undo");
  Add(tree, u"Format", u"Bold");
  Add(tree, u"Formal", u"Bold");
  Open();
  EXPECT_EQ(state.widestCategory, u"Format");
  EXPECT_EQ(state.widestCommand, u"Copy");

  SetFind(u"zzz");
  EXPECT_EQ(state.widestCategory, u"");
}

TEST_F(CustomizeFormTest, AStoreNoLongerReachesATreeThatItsProviderHasGivenUp) {
  UIData* tree = AddProviderWithTree();
  Command* copy = Add(tree, u"Edit", u"Copy", 'C', kModControl, 1);
  Open();
  providers.ForgetUIData(tree);  // the provider destroyed or dropped its tree meanwhile

  EnterKey('X', kHotKeyAlt);
  EXPECT_EQ(copy->virtualKey, 'C');
  EXPECT_EQ(copy->shiftKeys, kModControl);
}

TEST_F(CustomizeFormTest, FinishingEmptiesTheViewAndKeepsTheProvidersTrees) {
  UIData* tree = AddProviderWithTree();
  Command* copy = Add(tree, u"Edit", u"Copy");
  Open();
  EnterKey('C', kHotKeyControl);
  logic.Finish();
  EXPECT_TRUE(logic.View().empty());
  EXPECT_EQ(copy->virtualKey, 'C');
}

}  // namespace
}  // namespace loomkeys
