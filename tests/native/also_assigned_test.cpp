#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "customize/customize_form_logic.h"
#include "customize/hotkey_flags.h"
#include "fake_os/recording_client_code.h"
#include "providers_fixture.h"

namespace loomkeys {
namespace {

// Two providers' commands; the key field and the check boxes as the user set
// them for the selected command, before anything is stored.
class AlsoAssignedTest : public ::testing::Test, protected testing::ProvidersFixture {
 protected:
  AlsoAssignedTest() {
    UIData* first = AddProviderWithTree();
    Add(first, u"Format", u"Bold", 'B', kModControl, 3);
    Add(first, u"Edit", u"Copy", 'C', kModControl | kModShift, 2);
    Add(first, u"Edit", u"Paste");
    Add(first, u"Edit", u"Quiet", 'Q', kModControl, 0);
    Add(first, u"Edit", u"Window", 'W', kModControl | kModWin, 3);
    UIData* second = AddProviderWithTree();
    Add(second, u"Tools", u"Embolden", 'B', kModControl, 0xFFFF);
    Add(second, u"Tools", u"Macro 1", 'M', kModAlt, 1);
    Add(second, u"Tools", u"Macro 2", 'M', kModAlt, 2);
    Add(second, u"Tools", u"Macro 3", 'M', kModAlt, 3);
    logic.Init(providers);
  }

  void Select(std::u16string_view category, std::u16string_view command) {
    const auto& categories = state.categories;
    state.categoryIndex =
        static_cast<int>(std::find(categories.begin(), categories.end(), category) - categories.begin());
    logic.ShowSelectedCategory();
    const auto& commands = state.commands;
    state.commandIndex = static_cast<int>(std::find(commands.begin(), commands.end(), command) - commands.begin());
    logic.ShowSelectedCommand();
  }

  CustomizeFormState state;
  testing::RecordingErrorBoxes errors;
  CustomizeFormLogic logic{state, errors, [] { return false; }};
};

TEST_F(AlsoAssignedTest, TheNoticeNamesTheFirstOtherCommandWithTheKeyInAnOverlappingMode) {
  constexpr uint8_t kCtrl = kHotKeyControl;
  constexpr uint8_t kCtrlShift = kHotKeyControl | kHotKeyShift;
  const struct {
    const char* what;
    const char16_t* find;
    const char16_t* category;
    const char16_t* command;
    uint16_t hotKey;
    bool slideDesign, slideShow;
    const char16_t* notice;
  } cases[] = {
      {"the same key in another provider", u"", u"Format", u"Bold", HotKeyValue('B', kCtrl), true, true,
       u"Also assigned to \"Embolden\" (Tools)"},
      {"the same key in the same provider", u"", u"Edit", u"Paste", HotKeyValue('C', kCtrlShift), true, true,
       u"Also assigned to \"Copy\" (Edit)"},
      {"two holders, in provider order", u"", u"Edit", u"Paste", HotKeyValue('B', kCtrl), true, false,
       u"Also assigned to \"Bold\" (Format) and 1 more"},
      {"other shift keys", u"", u"Edit", u"Paste", HotKeyValue('C', kCtrl), true, true, u""},
      {"modes that do not overlap", u"", u"Edit", u"Paste", HotKeyValue('C', kCtrlShift), true, false, u""},
      {"no mode checked overlaps nothing", u"", u"Format", u"Bold", HotKeyValue('B', kCtrl), false, false, u""},
      {"a command of mode 0", u"", u"Edit", u"Paste", HotKeyValue('Q', kCtrl), true, true, u""},
      {"the selected command itself", u"", u"Edit", u"Copy", HotKeyValue('C', kCtrlShift), true, true, u""},
      {"three others", u"", u"Edit", u"Paste", HotKeyValue('M', kHotKeyAlt), true, true,
       u"Also assigned to \"Macro 1\" (Tools) and 2 more"},
      {"three others, two in the mode", u"", u"Edit", u"Paste", HotKeyValue('M', kHotKeyAlt), false, true,
       u"Also assigned to \"Macro 2\" (Tools) and 1 more"},
      {"a command hidden by the filter", u"paste", u"Edit", u"Paste", HotKeyValue('C', kCtrlShift), true, true,
       u"Also assigned to \"Copy\" (Edit)"},
      {"a stored MOD_WIN is not compared", u"", u"Edit", u"Paste", HotKeyValue('W', kCtrl), true, true,
       u"Also assigned to \"Window\" (Edit)"},
      {"the extended-key flag is not compared", u"", u"Edit", u"Paste", HotKeyValue('C', kCtrlShift | kHotKeyExtended),
       true, true, u"Also assigned to \"Copy\" (Edit)"},
      {"no key", u"", u"Edit", u"Paste", HotKeyValue(0, kCtrl), true, true, u""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    state.findText = c.find;
    logic.RefreshView();
    Select(c.category, c.command);
    ASSERT_EQ(state.commands[static_cast<size_t>(state.commandIndex)], c.command);
    state.hotKey = c.hotKey;
    state.slideDesignChecked = c.slideDesign;
    state.slideShowChecked = c.slideShow;
    logic.RefreshNotices();
    EXPECT_EQ(state.alsoAssignedNotice, c.notice);
  }
}

TEST_F(AlsoAssignedTest, TheNoticeStoresNothing) {
  Select(u"Edit", u"Paste");
  state.hotKey = HotKeyValue('B', kHotKeyControl);
  logic.RefreshNotices();
  ASSERT_NE(state.alsoAssignedNotice, u"");
  uint16_t vk = 1, shiftKeys = 1, mode = 1;
  ASSERT_EQ(trees[0]->GetCommand2(u"Edit", u"Paste", &vk, &shiftKeys, &mode), 0);
  EXPECT_EQ(vk, 0);
  EXPECT_EQ(shiftKeys, 0);
  EXPECT_EQ(mode, 0xFFFF);
}

}  // namespace
}  // namespace loomkeys
