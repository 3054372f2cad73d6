#include "foreground/powerpoint_windows.h"

#include <gtest/gtest.h>

#include "fake_os/fake_foreground_window.h"
#include "registry/registry_entry.h"

namespace loomkeys {
namespace {

TEST(PowerPointWindows, PowerPointFrameClassesMatchWholeAndCaseSensitive) {
  for (const char16_t* name :
       {u"PPTFrameClass", u"PP9FrameClass", u"PP10FrameClass", u"PP11FrameClass", u"PP12FrameClass"}) {
    EXPECT_TRUE(IsPowerPointFrameClass(name));
  }
  for (const char16_t* name : {u"PP8FrameClass", u"PP13FrameClass", u"PPTFrameClassX", u"PPTFrameClass ",
                               u"pptframeclass", u"PPFrameClass", u"", u"screenClass"}) {
    EXPECT_FALSE(IsPowerPointFrameClass(name));
  }
}

// One window test, one text, and whether the test must match it.
struct MatchCase {
  bool (*matches)(std::u16string_view);
  const char16_t* text;
  bool expected;
};

TEST(PowerPointWindows, SlideShowAndMultipleWindowClassesMatchExactlyAndPresenterViewAnywhereInItsOwnCase) {
  const MatchCase cases[] = {
      {IsSlideShowClass, u"screenClass", true},
      {IsSlideShowClass, u"ScreenClass", false},
      {IsSlideShowClass, u"screenClass2", false},
      {IsMultipleMainWindowClass, u"Multiple_PowerPoint_MainWin", true},
      {IsMultipleMainWindowClass, u"Multiple_PowerPoint_MainWin_", false},
      {IsPresenterViewCaption, u"PowerPoint Presenter View", true},
      {IsPresenterViewCaption, u"PowerPoint Presenter View - Deck.pptx", true},
      {IsPresenterViewCaption, u"Deck - PowerPoint Presenter View", true},
      {IsPresenterViewCaption, u"powerpoint presenter view", false},
      {IsPresenterViewCaption, u"PowerPoint Presenter", false},
  };
  for (const MatchCase& c : cases) {
    EXPECT_EQ(c.matches(c.text), c.expected) << "case " << &c - cases;
  }
}

struct ModeCase {
  const char* what;
  const char16_t* className;
  const char16_t* caption;
  bool ownProcess;
  uint16_t mode;
};

class ActiveModeTest : public ::testing::TestWithParam<ModeCase> {};

TEST_P(ActiveModeTest, ClassifiesTheWindowInFront) {
  testing::FakeForegroundWindow fake;
  fake.Show(GetParam().className, GetParam().caption, GetParam().ownProcess);
  ForegroundWindow window;
  fake.Read(window);
  EXPECT_EQ(ActiveModeOf(window), GetParam().mode) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Windows, ActiveModeTest,
    ::testing::Values(
        ModeCase{"own slide show", u"screenClass", u"", true, kModeSlideShow},
        ModeCase{"own presenter view, any class", u"SomeClass", u"PowerPoint Presenter View", true, kModeSlideShow},
        ModeCase{"presenter view words in lower case", u"SomeClass", u"powerpoint presenter view", true, kModeNone},
        ModeCase{"own editing window", u"PPTFrameClass", u"Deck - PowerPoint", true, kModeSlideDesign},
        ModeCase{"own older editing window", u"PP9FrameClass", u"", true, kModeSlideDesign},
        ModeCase{"another PowerPoint's editing window", u"PPTFrameClass", u"", false, kModeNone},
        ModeCase{"another process's slide show", u"screenClass", u"", false, kModeNone},
        ModeCase{"another process's presenter view in an editing class", u"PPTFrameClass", u"PowerPoint Presenter View",
                 false, kModeNone},
        ModeCase{"multiple-window main window of another process", u"Multiple_PowerPoint_MainWin", u"", false,
                 kModeSlideDesign},
        ModeCase{"own dialog box", u"#32770", u"Customize Shortcuts", true, kModeNone},
        ModeCase{"near miss of the editing class", u"PP13FrameClass", u"", true, kModeNone}));

TEST(ActiveMode, NoWindowInFrontIsModeNone) {
  ForegroundWindow nothing;
  EXPECT_EQ(ActiveModeOf(nothing), kModeNone);
}

}  // namespace
}  // namespace loomkeys
