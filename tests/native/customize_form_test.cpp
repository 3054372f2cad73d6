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

constexpr uint16_t kModWin = 0x0008;

// The dialog's logic over registered providers' trees, with the controls'
// state that the Windows form would copy in and out.
class CustomizeFormTest : public ::testing::Test, protected testing::ProvidersFixture {
 protected:
  void Open() { logic.Init(providers); }
  void SelectCategory(int index) {
    state.categoryIndex = index;
    logic.CategoryListBoxClick();
  }
  void SelectCommand(int index) {
    state.commandIndex = index;
    logic.CommandsListBoxClick();
  }
  void SetFind(std::u16string text) {
    state.findText = std::move(text);
    logic.FilterRadioGroupClick();
  }
  void SetShow(FilterChoice choice) {
    state.filter = choice;
    logic.FilterRadioGroupClick();
  }
  // The user types a key into the key field and leaves it.
  void EnterKey(uint8_t vk, uint8_t flags) {
    state.hotKey = HotKeyValue(vk, flags);
    logic.AssignedHotKeyExit();
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
  TUIData* empty = AddProviderWithTree();
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
  TUIData* tree = AddProviderWithTree();
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
  TUIData* tree = AddProviderWithTree();
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
  TUIData* tree = AddProviderWithTree();
  TCommand* command = Add(tree, u"Edit", u"Copy", 'C', kModControl, 0xFFFF);
  Open();
  EXPECT_TRUE(state.slideDesignChecked && state.slideShowChecked);

  logic.AssignedHotKeyExit();
  EXPECT_EQ(command->FActiveMode, 3);
  EXPECT_EQ(command->FVirtualKey, 'C');
  EXPECT_EQ(command->FShiftKeys, kModControl);
}

TEST_F(CustomizeFormTest, MODWINIsNotShownAndIsLostWhenTheKeyFieldIsLeft) {
  TUIData* tree = AddProviderWithTree();
  TCommand* command = Add(tree, u"Edit", u"Copy", 'C', kModWin | kModControl | kModAlt, 1);
  Open();
  EXPECT_EQ(state.hotKey, HotKeyValue('C', kHotKeyControl | kHotKeyAlt));

  logic.AssignedHotKeyExit();
  EXPECT_EQ(command->FShiftKeys, kModControl | kModAlt);
}

TEST_F(CustomizeFormTest, AKeyTypedIntoTheFieldIsStoredInTheViewAndInTheProvidersCommand) {
  TUIData* tree = AddProviderWithTree();
  Add(tree, u"Edit", u"Copy");
  TCommand* paste = Add(tree, u"Edit", u"Paste", 0, 0, 1);
  Open();
  SelectCommand(1);

  EnterKey(0x25, kHotKeyShift | kHotKeyAlt | kHotKeyExtended);  // Shift+Alt+Left, as the control reports it
  EXPECT_EQ(paste->FVirtualKey, 0x25);
  EXPECT_EQ(paste->FShiftKeys, kModShift | kModAlt);
  EXPECT_EQ(paste->FActiveMode, 1);

  SelectCommand(0);
  SelectCommand(1);  // the view's copy shows what was stored
  EXPECT_EQ(state.hotKey, HotKeyValue(0x25, kHotKeyShift | kHotKeyAlt));

  EnterKey(0, 0);  // an emptied field clears the key
  EXPECT_EQ(paste->FVirtualKey, 0);
  EXPECT_EQ(paste->FShiftKeys, 0);
}

TEST_F(CustomizeFormTest, TheCheckBoxesStoreTheModesAndBothUncheckedStoresZero) {
  TUIData* tree = AddProviderWithTree();
  TCommand* command = Add(tree, u"Edit", u"Copy", 'C', kModControl, 0xFFFF);
  Open();

  state.slideDesignChecked = false;
  logic.ActiveSlideDesignCheckBoxClick();
  EXPECT_EQ(command->FActiveMode, 2);
  state.slideShowChecked = false;
  logic.ActiveSlideShowCheckBoxClick();
  EXPECT_EQ(command->FActiveMode, 0);
  state.slideDesignChecked = true;
  logic.ActiveSlideDesignCheckBoxClick();
  EXPECT_EQ(command->FActiveMode, 1);
}

TEST_F(CustomizeFormTest, ADisabledCheckBoxsClickStoresNothing) {
  TUIData* tree = AddProviderWithTree();
  TCommand* command = Add(tree, u"Edit", u"Copy", 'C', kModControl, 0xFFFF);
  Open();
  state.slideShowEnabled = false;
  state.slideShowChecked = false;
  logic.ActiveSlideShowCheckBoxClick();
  EXPECT_EQ(command->FActiveMode, 0xFFFF);

  SetFind(u"nothing matches");  // empty state: no selection, boxes disabled
  logic.ActiveSlideDesignCheckBoxClick();
  logic.AssignedHotKeyExit();
  EXPECT_EQ(command->FActiveMode, 0xFFFF);
  EXPECT_EQ(command->FVirtualKey, 'C');
}

TEST_F(CustomizeFormTest, ACommandGivenAKeyStaysListedUnderUnassignedUntilTheNextRefresh) {
  TUIData* tree = AddProviderWithTree();
  TCommand* copy = Add(tree, u"Edit", u"Copy");
  Add(tree, u"Edit", u"Paste");
  Open();
  SetShow(FilterChoice::kUnassigned);
  EXPECT_EQ(state.commands, (Names{u"Copy", u"Paste"}));

  EnterKey('C', kHotKeyControl);
  EXPECT_EQ(copy->FVirtualKey, 'C');
  EXPECT_EQ(state.commands, (Names{u"Copy", u"Paste"}));

  logic.FilterRadioGroupClick();
  EXPECT_EQ(state.commands, (Names{u"Paste"}));
  SetShow(FilterChoice::kAssigned);
  EXPECT_EQ(state.commands, (Names{u"Copy"}));
}

TEST_F(CustomizeFormTest, ARefreshStartsAgainAtTheFirstCategoryAndCommand) {
  TUIData* tree = AddProviderWithTree();
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
  TUIData* tree = AddProviderWithTree();
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
  TUIData* tree = AddProviderWithTree();
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
  TUIData* a = AddProviderWithTree();
  TUIData* b = AddProviderWithTree();
  TCommand* copy = Add(a, u"Edit", u"Copy", 'C', kModControl, 1);
  TCommand* hidden = Add(b, u"Tools", u"Macro", 'M', kModAlt | kModWin, 2);
  Open();
  SetFind(u"copy");

  logic.ClearShortcutsButtonClick();
  EXPECT_EQ(questionsAsked, 1);
  for (const TCommand* command : {copy, hidden}) {
    EXPECT_EQ(command->FVirtualKey, 0);
    EXPECT_EQ(command->FShiftKeys, 0);
  }
  EXPECT_EQ(copy->FActiveMode, 1);
  EXPECT_EQ(hidden->FActiveMode, 2);
  EXPECT_EQ(state.hotKey, 0);  // the refreshed view shows the cleared key
  EXPECT_EQ(state.commands, (Names{u"Copy"}));
}

TEST_F(CustomizeFormTest, ClearAllAnsweredNoChangesNothing) {
  TUIData* tree = AddProviderWithTree();
  Add(tree, u"Format", u"Bold");
  TCommand* copy = Add(tree, u"Edit", u"Copy", 'C', kModControl, 1);
  Open();
  SelectCategory(1);
  const CustomizeFormState before = state;

  answerYes = false;
  logic.ClearShortcutsButtonClick();
  EXPECT_EQ(questionsAsked, 1);
  EXPECT_EQ(copy->FVirtualKey, 'C');
  EXPECT_EQ(copy->FShiftKeys, kModControl);
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
    logic.ShortcutsTimerTimer();
    EXPECT_EQ(state.powerPointNotice, c.notice);
  }
}

TEST_F(CustomizeFormTest, TheWidestItemsAreTheFirstOfTheLongestNames) {
  TUIData* tree = AddProviderWithTree();
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
  TUIData* tree = AddProviderWithTree();
  TCommand* copy = Add(tree, u"Edit", u"Copy", 'C', kModControl, 1);
  Open();
  providers.ForgetUIData(tree);  // the provider destroyed or dropped its tree meanwhile

  EnterKey('X', kHotKeyAlt);
  EXPECT_EQ(copy->FVirtualKey, 'C');
  EXPECT_EQ(copy->FShiftKeys, kModControl);
}

TEST_F(CustomizeFormTest, FinishingEmptiesTheViewAndKeepsTheProvidersTrees) {
  TUIData* tree = AddProviderWithTree();
  TCommand* copy = Add(tree, u"Edit", u"Copy");
  Open();
  EnterKey('C', kHotKeyControl);
  logic.Finish();
  EXPECT_TRUE(logic.View().empty());
  EXPECT_EQ(copy->FVirtualKey, 'C');
}

}  // namespace
}  // namespace loomkeys
