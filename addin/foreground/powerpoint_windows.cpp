#include "foreground/powerpoint_windows.h"

namespace loomkeys {

bool IsPowerPointFrameClass(std::u16string_view className) {
  for (std::u16string_view frame :
       {u"PPTFrameClass", u"PP9FrameClass", u"PP10FrameClass", u"PP11FrameClass", u"PP12FrameClass"}) {
    if (className == frame) return true;
  }
  return false;
}

bool IsSlideShowClass(std::u16string_view className) { return className == u"screenClass"; }

bool IsPresenterViewCaption(std::u16string_view caption) {
  return caption.find(u"PowerPoint Presenter View") != std::u16string_view::npos;
}

bool IsMultipleMainWindowClass(std::u16string_view className) { return className == u"Multiple_PowerPoint_MainWin"; }

uint16_t ActiveModeOf(const ForegroundWindow& window) {
  if (!window.exists) return kModeNone;
  if (IsSlideShowClass(window.ClassName()) || IsPresenterViewCaption(window.Caption())) {
    return window.ownProcess ? kModeSlideShow : kModeNone;
  }
  if (IsPowerPointFrameClass(window.ClassName())) return window.ownProcess ? kModeSlideDesign : kModeNone;
  if (IsMultipleMainWindowClass(window.ClassName())) return kModeSlideDesign;
  return kModeNone;
}

}  // namespace loomkeys
